#include "browser/FolderListing.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

namespace tikmeter::browser {

namespace {

constexpr QDir::SortFlags kByName = QDir::Name | QDir::IgnoreCase;
constexpr QDir::Filters kSubfolders = QDir::Dirs | QDir::NoDotAndDotDot;

bool isListable(const QDir& dir) {
    return dir.exists() && dir.isReadable();
}

} // namespace

std::optional<QString> normalisedFolder(const QString& path) {
    if (path.isEmpty())
        return std::nullopt;
    const QFileInfo info(path);
    if (!info.isDir() || !isListable(QDir(path)))
        return std::nullopt;
    return QDir::cleanPath(info.absoluteFilePath());
}

std::optional<QStringList> subfolderPaths(const QString& folder) {
    const QDir dir(folder);
    if (folder.isEmpty() || !isListable(dir))
        return std::nullopt;
    QStringList paths;
    for (const QFileInfo& info : dir.entryInfoList(kSubfolders, kByName))
        paths.push_back(info.absoluteFilePath());
    return paths;
}

bool hasSubfolders(const QString& folder) {
    if (folder.isEmpty())
        return false;
    return QDirIterator(folder, kSubfolders).hasNext();
}

QFileInfoList folderEntries(const QString& folder) {
    if (folder.isEmpty())
        return {};
    return QDir(folder).entryInfoList(QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot,
                                      kByName | QDir::DirsFirst);
}

FolderSize folderSize(const QString& folder, const std::function<bool()>& keepGoing) {
    FolderSize result;
    QStringList pending{folder};
    int sinceLastCheck = 0;
    while (!pending.isEmpty()) {
        const QString current = pending.takeLast();
        const QDir dir(current);
        if (!isListable(dir)) {
            result.outcome = FolderSize::Outcome::Failed;
            result.error = QStringLiteral("Permission denied: %1").arg(current);
            return result;
        }
        // Hidden and system entries count towards the total; linked folders are not followed.
        QDirIterator it(current, QDir::Dirs | QDir::Files | QDir::Hidden | QDir::System |
                                     QDir::NoDotAndDotDot);
        while (it.hasNext()) {
            const QFileInfo info = it.nextFileInfo();
            if (info.isDir()) {
                if (!info.isSymLink())
                    pending.push_back(info.absoluteFilePath());
            } else {
                result.bytes += info.size();
            }
            if (++sinceLastCheck >= 64) {
                sinceLastCheck = 0;
                if (keepGoing && !keepGoing()) {
                    result.outcome = FolderSize::Outcome::Stopped;
                    return result;
                }
            }
        }
    }
    return result;
}

} // namespace tikmeter::browser
