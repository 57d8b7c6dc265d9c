#pragma once

#include "documents/DocumentError.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tikmeter::documents {

// The largest file this layer reads: 64 MiB. A typed speed test is a few kilobytes; the
// limit leaves room for pictures and keeps the memory of a load to a small multiple of it.
inline constexpr std::uintmax_t kMaxFileSize = std::uintmax_t{64} * 1024 * 1024;

// Every function below opens only regular files, and opens them without blocking, so a pipe,
// device or socket given as a file is refused at once (NotRegularFile) instead of hanging.
// Failures throw DocumentError with the kind documentErrorKindFor gives for the system error;
// the message names the file and the reason.

// Reads a whole regular file (symbolic links to one are followed). A file larger than
// kMaxFileSize is refused with TooLarge, and nothing of it is read.
std::string readWholeFile(const std::filesystem::path& path);

// Replaces (or creates) path with data, atomically: the data goes to a new temporary file
// ".tikmeter-<pid>-<random>.tmp" in the target's folder, is synced, and is renamed over the
// target; then the folder is synced. The target is either the old file or the complete new
// one, and on failure the temporary file is removed. A symbolic link at path is replaced by
// the file, never followed. A replaced file keeps its permissions; a new one gets 0666 less
// the umask. A read-only target is refused (PermissionDenied), as a rich-text control refuses
// to overwrite it; a target that is a folder, pipe or device is refused (NotRegularFile).
void writeFileAtomically(const std::filesystem::path& path, std::string_view data);

// Copies the regular file from (same rules and size limit as readWholeFile) to `to`, written
// as writeFileAtomically does. Copying a file onto itself (sameFile), or onto a regular file
// that already holds the same bytes, does nothing.
void copyFileAtomically(const std::filesystem::path& from, const std::filesystem::path& to);

// A file written next to its target under a temporary name, not yet in its place.
struct StagedFile {
    std::filesystem::path temporary;
    std::filesystem::path target;
};

// Writes many files durably with few syncs: stage each one (written, not synced), sync the
// file system once (syncFileSystem), then commit them (renamed into place) and sync the
// folder once. Until it is committed a target keeps its old content; after a crash it is the
// old file or the complete new one. Staging checks the target as writeFileAtomically does.
StagedFile stageFile(const std::filesystem::path& path, std::string_view data);
// A copy staged the same way; nothing when `from` and `to` are the same file or `to` already
// holds the same bytes.
std::optional<StagedFile> stageCopy(const std::filesystem::path& from,
                                    const std::filesystem::path& to);
// Renames a staged file over its target; on failure the temporary file is removed.
void commitStagedFile(const StagedFile& staged);
// Removes a staged file that will not be committed.
void discardStagedFile(const StagedFile& staged) noexcept;
// Makes everything written to the file system that holds `folder` durable, and the folder's
// own entries with it.
void syncFileSystem(const std::filesystem::path& folder);
// Makes the entries of a folder (its renames and new names) durable.
void syncFolder(const std::filesystem::path& folder);

// Appends bytes to path whole or not at all, creating the file (0666 less the umask) when it
// is missing. Only a regular file is appended to: a symbolic link, folder, pipe or device is
// refused (NotRegularFile). The bytes are written with O_APPEND and synced; when a write
// fails or stops short, the file is cut back to its earlier length before the error is thrown
// (DiskFull when the medium or quota is full).
// `syncNow` false leaves the sync to a later syncFileSystem.
void appendWhole(const std::filesystem::path& path, std::string_view bytes, bool syncNow = true);

// Removes from folder the temporary files ".tikmeter-<pid>-*.tmp" that writeFileAtomically
// left behind in a process that no longer runs; the files of running processes (this one
// included) are left alone. Best effort: never throws. Returns how many files were removed.
std::size_t removeStaleTemporaryFiles(const std::filesystem::path& folder);

// True when both paths name the same existing file (same device and inode, through symbolic
// links and any spelling of the path); false when either does not exist.
bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b);

// ENOENT/ENOTDIR -> NotFound, EACCES/EPERM -> PermissionDenied, EROFS -> WriteProtected,
// ENOSPC/EDQUOT -> DiskFull, EISDIR -> NotRegularFile, anything else -> Other.
DocumentErrorKind documentErrorKindFor(int errorNumber);

} // namespace tikmeter::documents
