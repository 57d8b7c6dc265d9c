#include "documents/FileIo.h"

#include "documents/DocumentError.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace tikmeter::documents {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kTemporaryPrefix = ".tikmeter-";
constexpr std::string_view kTemporarySuffix = ".tmp";

[[noreturn]] void fail(DocumentErrorKind kind, std::string_view action, const fs::path& path,
                       std::string_view reason) {
    throw DocumentError(kind,
                        std::string(action) + " " + path.string() + ": " + std::string(reason));
}

[[noreturn]] void failWith(int errorNumber, std::string_view action, const fs::path& path) {
    fail(documentErrorKindFor(errorNumber), action, path, std::strerror(errorNumber));
}

void requireRegular(const struct stat& info, std::string_view action, const fs::path& path) {
    if (!S_ISREG(info.st_mode)) {
        fail(DocumentErrorKind::NotRegularFile, action, path, "not a regular file");
    }
}

// Closes a descriptor when it goes out of scope.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    FileDescriptor& operator=(FileDescriptor&&) = delete;
    ~FileDescriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int get() const { return fd_; }
    // Closes now and gives the error close reports (a delayed write error), or 0.
    int close() {
        const int result = ::close(std::exchange(fd_, -1));
        return result == 0 ? 0 : errno;
    }

private:
    int fd_;
};

// Opens a regular file for reading, without blocking; info receives its status. The path is
// looked at before it is opened, so that a device is not even opened, and the opened file is
// checked again, as the path may have changed in between.
FileDescriptor openForReading(const fs::path& path, struct stat& info) {
    if (::stat(path.c_str(), &info) != 0) {
        failWith(errno, "cannot open", path);
    }
    requireRegular(info, "cannot open", path);
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0) {
        failWith(errno, "cannot open", path);
    }
    if (::fstat(fd.get(), &info) != 0) {
        failWith(errno, "cannot read", path);
    }
    requireRegular(info, "cannot open", path);
    return fd;
}

[[noreturn]] void failTooLarge(const fs::path& path) {
    fail(DocumentErrorKind::TooLarge, "cannot read", path,
         "larger than " + std::to_string(kMaxFileSize / (1024 * 1024)) + " MiB");
}

// Writes all of data; gives 0, or the error that stopped it.
int writeAll(int fd, std::string_view data) {
    std::size_t written = 0;
    while (written < data.size()) {
        const ssize_t n = ::write(fd, data.data() + written, data.size() - written);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (n == 0) {
            return EIO; // no progress: give up rather than loop
        }
        written += static_cast<std::size_t>(n);
    }
    return 0;
}

// Syncs a file's data; file systems that cannot sync (EINVAL) count as synced.
int sync(int fd) {
    return ::fsync(fd) == 0 || errno == EINVAL ? 0 : errno;
}

std::string temporaryName(unsigned number) {
    char hex[9];
    const auto end = std::to_chars(hex, hex + sizeof hex - 1, number, 16).ptr;
    return std::string(kTemporaryPrefix) + std::to_string(::getpid()) + "-" +
           std::string(hex, end) + std::string(kTemporarySuffix);
}

// The process id in a temporary file's name, or 0 when the name is not one of ours.
pid_t temporaryOwner(std::string_view name) {
    if (!name.starts_with(kTemporaryPrefix) || !name.ends_with(kTemporarySuffix)) {
        return 0;
    }
    name.remove_prefix(kTemporaryPrefix.size());
    long long pid = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), pid);
    if (error != std::errc() || end == name.data() || *end != '-' || pid <= 0 || pid > 0x7FFFFFFF) {
        return 0;
    }
    return static_cast<pid_t>(pid);
}

} // namespace

DocumentErrorKind documentErrorKindFor(int errorNumber) {
    switch (errorNumber) {
    case ENOENT:
    case ENOTDIR:
        return DocumentErrorKind::NotFound;
    case EACCES:
    case EPERM:
        return DocumentErrorKind::PermissionDenied;
    case EROFS:
        return DocumentErrorKind::WriteProtected;
    case ENOSPC:
    case EDQUOT:
        return DocumentErrorKind::DiskFull;
    case EISDIR:
        return DocumentErrorKind::NotRegularFile;
    default:
        return DocumentErrorKind::Other;
    }
}

std::string readWholeFile(const fs::path& path) {
    struct stat info {};
    const FileDescriptor fd = openForReading(path, info);
    const auto size = static_cast<std::uintmax_t>(info.st_size);
    if (size > kMaxFileSize) {
        failTooLarge(path);
    }
    // Room for one byte more than the size, to see whether the file grew meanwhile; reading
    // stops one byte past the limit.
    constexpr auto limit = static_cast<std::size_t>(kMaxFileSize);
    std::string data(static_cast<std::size_t>(size) + 1, '\0');
    std::size_t used = 0;
    while (true) {
        if (used == data.size()) {
            if (used > limit) {
                failTooLarge(path);
            }
            data.resize(std::min(2 * used, limit + 1));
        }
        const ssize_t n = ::read(fd.get(), data.data() + used, data.size() - used);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            failWith(errno, "cannot read", path);
        }
        if (n == 0) {
            break;
        }
        used += static_cast<std::size_t>(n);
    }
    data.resize(used);
    return data;
}

namespace {

// Writes data under a fresh temporary name next to path, with the checks every write of a
// target makes; `syncData` syncs it before it is closed.
StagedFile stage(const fs::path& path, std::string_view data, bool syncData) {
    struct stat existing {};
    const bool exists = ::lstat(path.c_str(), &existing) == 0;
    if (!exists && errno != ENOENT) {
        failWith(errno, "cannot write", path);
    }
    const bool replacesFile = exists && S_ISREG(existing.st_mode);
    if (exists && !replacesFile && !S_ISLNK(existing.st_mode)) {
        fail(DocumentErrorKind::NotRegularFile, "cannot write", path, "not a regular file");
    }
    if (replacesFile && ::access(path.c_str(), W_OK) != 0) {
        failWith(errno, "cannot write", path);
    }

    // A fresh, short name in the target's folder, so that the rename stays on one file system
    // and a target with a long name still fits. Mode 0666 lets the umask decide for a new file.
    const fs::path folder = path.parent_path();
    fs::path temporary;
    int descriptor = -1;
    std::random_device random;
    for (int attempt = 0; attempt < 100 && descriptor < 0; ++attempt) {
        temporary = folder / temporaryName(random());
        descriptor =
            ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (descriptor < 0 && errno != EEXIST) {
            break;
        }
    }
    FileDescriptor fd(descriptor);
    if (fd.get() < 0) {
        failWith(errno, "cannot write", path);
    }
    const auto abandon = [&](int errorNumber) {
        ::unlink(temporary.c_str());
        failWith(errorNumber, "cannot write", path);
    };
    if (replacesFile) {
        ::fchmod(fd.get(), existing.st_mode & 07777); // keep the file's permissions
    }
    if (const int error = writeAll(fd.get(), data); error != 0) {
        abandon(error);
    }
    if (syncData) {
        if (const int error = sync(fd.get()); error != 0) {
            abandon(error);
        }
    }
    if (const int error = fd.close(); error != 0) {
        abandon(error);
    }
    return {temporary, path};
}

void syncFolderOf(const fs::path& path) {
    const fs::path folder = path.parent_path();
    const FileDescriptor folderFd(
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folderFd.get() >= 0) {
        ::fsync(folderFd.get());
    }
}

} // namespace

StagedFile stageFile(const fs::path& path, std::string_view data) {
    return stage(path, data, false);
}

namespace {

// True when `path` is a regular file (not a link to one) that holds exactly `data`: copying
// over it would change nothing.
bool holdsAlready(const fs::path& path, std::string_view data) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) ||
        static_cast<std::uintmax_t>(info.st_size) != data.size()) {
        return false;
    }
    try {
        return readWholeFile(path) == data;
    } catch (const DocumentError&) {
        return false;
    }
}

} // namespace

std::optional<StagedFile> stageCopy(const fs::path& from, const fs::path& to) {
    if (sameFile(from, to)) {
        return std::nullopt;
    }
    std::string data = readWholeFile(from);
    if (holdsAlready(to, data)) {
        return std::nullopt;
    }
    return stage(to, data, false);
}

void commitStagedFile(const StagedFile& staged) {
    // rename replaces a symbolic link at the target; it never writes through it.
    if (::rename(staged.temporary.c_str(), staged.target.c_str()) != 0) {
        const int error = errno;
        ::unlink(staged.temporary.c_str());
        failWith(error, "cannot write", staged.target);
    }
}

void discardStagedFile(const StagedFile& staged) noexcept {
    ::unlink(staged.temporary.c_str());
}

void syncFileSystem(const fs::path& folder) {
    const FileDescriptor folderFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folderFd.get() < 0) {
        failWith(errno, "cannot sync", folder);
    }
#if defined(__linux__)
    if (::syncfs(folderFd.get()) != 0) {
        failWith(errno, "cannot sync", folder);
    }
#else
    ::sync();
#endif
    ::fsync(folderFd.get());
}

void syncFolder(const fs::path& folder) {
    const FileDescriptor folderFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folderFd.get() < 0 || ::fsync(folderFd.get()) != 0) {
        failWith(errno, "cannot sync", folder);
    }
}

void writeFileAtomically(const fs::path& path, std::string_view data) {
    commitStagedFile(stage(path, data, true));
    // Make the rename itself durable. The new file is in place by now, so a failure here
    // cannot be undone and is not reported.
    syncFolderOf(path);
}

void copyFileAtomically(const fs::path& from, const fs::path& to) {
    if (sameFile(from, to)) {
        return;
    }
    const std::string data = readWholeFile(from);
    if (!holdsAlready(to, data)) {
        writeFileAtomically(to, data);
    }
}

void appendWhole(const fs::path& path, std::string_view bytes, bool syncNow) {
    // Look before opening, so that a device is not opened and a symbolic link not followed;
    // O_NOFOLLOW, O_NONBLOCK and fstat keep to that should the path change in between.
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0) {
        requireRegular(info, "cannot append to", path);
    } else if (errno != ENOENT) {
        failWith(errno, "cannot append to", path);
    }
    FileDescriptor fd(::open(
        path.c_str(),
        O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666));
    if (fd.get() < 0) {
        const int error = errno;
        if (error == ELOOP || error == ENXIO) { // a symbolic link, or a pipe without reader
            fail(DocumentErrorKind::NotRegularFile, "cannot append to", path, "not a regular file");
        }
        failWith(error, "cannot append to", path);
    }
    if (::fstat(fd.get(), &info) != 0) {
        failWith(errno, "cannot append to", path);
    }
    requireRegular(info, "cannot append to", path);
    int error = writeAll(fd.get(), bytes);
    if (error == 0 && syncNow) {
        error = sync(fd.get());
    }
    if (error != 0) {
        // Take back the part that was written, so that no partial line stays.
        while (::ftruncate(fd.get(), info.st_size) != 0 && errno == EINTR) {
        }
        failWith(error, "cannot append to", path);
    }
    if (const int closeError = fd.close(); closeError != 0) {
        failWith(closeError, "cannot append to", path);
    }
}

std::size_t removeStaleTemporaryFiles(const fs::path& folder) {
    std::error_code ec;
    std::size_t removed = 0;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const pid_t owner = temporaryOwner(it->path().filename().native());
        if (owner == 0 || owner == ::getpid()) {
            continue;
        }
        // kill with signal 0 only asks whether the process exists; EPERM means it does.
        if (::kill(owner, 0) == 0 || errno != ESRCH) {
            continue;
        }
        std::error_code entryError;
        if (it->symlink_status(entryError).type() == fs::file_type::regular &&
            fs::remove(it->path(), entryError)) {
            ++removed;
        }
    }
    return removed;
}

bool sameFile(const fs::path& a, const fs::path& b) {
    struct stat first {};
    struct stat second {};
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

} // namespace tikmeter::documents
