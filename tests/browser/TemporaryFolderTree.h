#pragma once

#include <QString>
#include <QTemporaryDir>

// A temporary folder tree for one test: folders and files are made from paths relative to its
// root; everything is removed when the object goes.
class TemporaryFolderTree {
public:
    TemporaryFolderTree();

    bool isValid() const { return dir_.isValid(); }
    // The root folder's path in normalised form (no trailing separator).
    QString root() const { return root_; }
    QString path(const QString& relative) const;

    // Makes the folder and its parents; returns its full path.
    QString addFolder(const QString& relative);
    // Makes the file (and its folder) with `size` bytes; returns its full path.
    QString addFile(const QString& relative, qint64 size = 0);
    // Makes a chain of `depth` nested folders "d1/d2/..." under `relative`; returns the deepest.
    QString addChain(const QString& relative, int depth);

private:
    QTemporaryDir dir_;
    QString root_;
};
