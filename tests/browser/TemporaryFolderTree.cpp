#include "TemporaryFolderTree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

TemporaryFolderTree::TemporaryFolderTree()
    : root_(QDir::cleanPath(QFileInfo(dir_.path()).absoluteFilePath())) {}

QString TemporaryFolderTree::path(const QString& relative) const {
    return relative.isEmpty() ? root_ : root_ + '/' + relative;
}

QString TemporaryFolderTree::addFolder(const QString& relative) {
    const QString full = path(relative);
    QDir().mkpath(full);
    return full;
}

QString TemporaryFolderTree::addFile(const QString& relative, qint64 size) {
    const QString full = path(relative);
    QDir().mkpath(QFileInfo(full).absolutePath());
    QFile file(full);
    if (file.open(QIODevice::WriteOnly))
        file.resize(size);
    return full;
}

QString TemporaryFolderTree::addChain(const QString& relative, int depth) {
    QString chain = relative;
    for (int i = 1; i <= depth; ++i)
        chain += (chain.isEmpty() ? "" : "/") + QStringLiteral("d%1").arg(i);
    return addFolder(chain);
}
