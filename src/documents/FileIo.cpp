#include "documents/FileIo.h"

#include "documents/DocumentError.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace tikmeter::documents {

namespace {

[[noreturn]] void fail(int errorNumber, const std::string& action,
                       const std::filesystem::path& path) {
    throw DocumentError(documentErrorKindFor(errorNumber),
                        action + " " + path.string() + ": " + std::strerror(errorNumber));
}

// Closes a descriptor when it goes out of scope.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int get() const { return fd_; }
    // Closes now and reports the error close gives (a delayed write error).
    int close() {
        const int result = ::close(fd_);
        fd_ = -1;
        return result == 0 ? 0 : errno;
    }

private:
    int fd_;
};

std::filesystem::path temporaryPathFor(const std::filesystem::path& path) {
    std::random_device random;
    const std::string name = "." + path.filename().string() + ".tmp" + std::to_string(::getpid()) +
                             "-" + std::to_string(random());
    return path.parent_path() / name;
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
    default:
        return DocumentErrorKind::Other;
    }
}

std::string readWholeFile(const std::filesystem::path& path) {
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        fail(errno, "cannot open", path);
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) {
        fail(errno, "cannot read", path);
    }
    if (S_ISDIR(info.st_mode)) {
        fail(EISDIR, "cannot read", path);
    }
    std::string data;
    if (S_ISREG(info.st_mode) && info.st_size > 0) {
        data.reserve(static_cast<std::size_t>(info.st_size));
    }
    // Read until the end (the size may change, and special files have none).
    std::size_t used = 0;
    while (true) {
        if (data.capacity() - used < 4096) {
            data.reserve(std::max<std::size_t>(data.capacity() * 2, 65536));
        }
        data.resize(data.capacity());
        const ssize_t n = ::read(fd.get(), data.data() + used, data.size() - used);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            fail(errno, "cannot read", path);
        }
        if (n == 0) {
            break;
        }
        used += static_cast<std::size_t>(n);
    }
    data.resize(used);
    return data;
}

void writeFileAtomically(const std::filesystem::path& path, std::string_view data) {
    struct stat existing {};
    const bool exists = ::stat(path.c_str(), &existing) == 0;
    if (exists && ::access(path.c_str(), W_OK) != 0) {
        fail(errno, "cannot write", path);
    }
    // A fresh name in the target's folder (so the rename stays on one file system); the
    // mode 0666 lets the process umask decide the permissions of a new file.
    std::filesystem::path temporary;
    int descriptor = -1;
    for (int attempt = 0; attempt < 100 && descriptor < 0; ++attempt) {
        temporary = temporaryPathFor(path);
        descriptor = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor < 0 && errno != EEXIST) {
            break;
        }
    }
    FileDescriptor fd(descriptor);
    if (fd.get() < 0) {
        fail(errno, "cannot write", path);
    }
    auto abandon = [&](int errorNumber) {
        ::unlink(temporary.c_str());
        fail(errorNumber, "cannot write", path);
    };
    if (exists && S_ISREG(existing.st_mode)) {
        ::fchmod(fd.get(), existing.st_mode & 07777); // keep the file's permissions
    }
    std::size_t written = 0;
    while (written < data.size()) {
        const ssize_t n = ::write(fd.get(), data.data() + written, data.size() - written);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            abandon(errno);
        }
        written += static_cast<std::size_t>(n);
    }
    if (::fsync(fd.get()) != 0 && errno != EINVAL) {
        abandon(errno);
    }
    if (const int error = fd.close(); error != 0) {
        abandon(error);
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        abandon(errno);
    }
}

} // namespace tikmeter::documents
