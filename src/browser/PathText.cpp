#include "browser/PathText.h"

namespace tikmeter::browser {

QString folderOfPath(const QString& path) {
    return QString::fromStdU16String(documents::folderOf(path.toStdU16String()));
}

QString fileNameOfPath(const QString& path) {
    return QString::fromStdU16String(documents::fileNameOf(path.toStdU16String()));
}

bool isDriveRoot(const QString& path) {
    return path.endsWith(kPathSeparator);
}

QString joinEntryPath(const QString& folder, const QString& name) {
    return QString::fromStdU16String(
        documents::joinPath(folder.toStdU16String(), name.toStdU16String()));
}

QString joinFilePath(const QString& folder, const QString& name) {
    return isDriveRoot(folder) ? folder + name : joinEntryPath(folder, name);
}

int separatorCount(const QString& path) {
    return static_cast<int>(path.count(kPathSeparator));
}

} // namespace tikmeter::browser
