#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

// A temporary folder tree for one test: folders and files are made from paths relative to its
// root; everything is removed when the object goes.
class TemporaryFolderTree {
public:
    // The root folder's path in normalised form (no trailing separator).
    QString root() const { return root_; }
    QString path(const QString& relative) const {
        return relative.isEmpty() ? root_ : root_ + '/' + relative;
    }
    // Makes the folder and its parents.
    void addFolder(const QString& relative) { QDir(root_).mkpath(relative); }
    // Makes the file (and its folder) with `size` bytes.
    void addFile(const QString& relative, qint64 size = 0) {
        QDir().mkpath(QFileInfo(path(relative)).path());
        QFile file(path(relative));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(size));
    }
    // Removes the folder and everything in it.
    bool remove(const QString& relative) { return QDir(path(relative)).removeRecursively(); }

private:
    QTemporaryDir dir_;
    QString root_ = QDir(dir_.path()).canonicalPath();
};
