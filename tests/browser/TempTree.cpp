#include "TempTree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

TempTree::TempTree() : root_(QDir::cleanPath(QFileInfo(dir_.path()).absoluteFilePath())) {}

QString TempTree::path(const QString& relative) const {
    return relative.isEmpty() ? root_ : root_ + '/' + relative;
}

QString TempTree::addFolder(const QString& relative) {
    const QString full = path(relative);
    QDir().mkpath(full);
    return full;
}

QString TempTree::addFile(const QString& relative, qint64 size) {
    const QString full = path(relative);
    QDir().mkpath(QFileInfo(full).absolutePath());
    QFile file(full);
    if (file.open(QIODevice::WriteOnly))
        file.resize(size);
    return full;
}

QString TempTree::addChain(const QString& relative, int depth) {
    QString chain = relative;
    for (int i = 1; i <= depth; ++i)
        chain += (chain.isEmpty() ? "" : "/") + QStringLiteral("d%1").arg(i);
    return addFolder(chain);
}
