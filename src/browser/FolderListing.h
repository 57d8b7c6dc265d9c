#pragma once

#include <QFileInfoList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace tikmeter::browser {

// The folder listers of the browser: plain QDir calls. Hidden entries are not listed; names
// come sorted case-insensitively.

// The folder's path in normalised form (absolute, no "." or "..", no trailing separator except
// for the root), or nullopt when it is not a readable folder.
std::optional<QString> normalisedFolder(const QString& path);

// Full paths of the folder's immediate subfolders, or nullopt when it cannot be listed.
std::optional<QStringList> subfolderPaths(const QString& folder);

// Whether the folder has at least one subfolder (false when it cannot be listed).
bool hasSubfolders(const QString& folder);

// The subfolders, then the files of a folder, from one listing.
QFileInfoList folderEntries(const QString& folder);

// Total size of all files in a folder and its subfolders. keepGoing is called now and then
// while summing; when it returns false the walk stops.
struct FolderSize {
    enum class Outcome { Done, Stopped, Failed } outcome = Outcome::Done;
    qint64 bytes = 0;
    QString error; // set when Failed: a subfolder could not be read
};
FolderSize folderSize(const QString& folder, const std::function<bool()>& keepGoing);

} // namespace tikmeter::browser
