#include "engine/FileOps.h"

#include "documents/DocumentError.h"
#include "documents/FileIo.h"
#include "documents/Utf8.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace tikmeter::engine {

namespace fs = std::filesystem;
using documents::toPath;
using documents::toUtf8;

namespace {

[[noreturn]] void fail(int error, std::string_view action, std::u16string_view path) {
    throw documents::DocumentError(documents::documentErrorKindFor(error),
                                   std::string(action) + " " + toUtf8(path) + ": " +
                                       std::strerror(error));
}

} // namespace

bool pathExists(std::u16string_view path) {
    std::error_code ec;
    return fs::exists(toPath(path), ec);
}

void createFolder(std::u16string_view path) {
    std::error_code ec;
    if (!fs::create_directory(toPath(path), ec) && ec) {
        fail(ec.value(), "cannot create folder", path);
    }
}

void copyFileReplacing(std::u16string_view from, std::u16string_view to) {
    const fs::path source = toPath(from);
    const fs::path target = toPath(to);
    std::error_code ec;
    if (fs::equivalent(source, target, ec)) {
        return;
    }
    if (!fs::is_regular_file(source, ec)) {
        fail(ec ? ec.value() : ENOENT, "cannot copy", from);
    }
    fs::copy_file(source, target, fs::copy_options::overwrite_existing, ec);
    if (ec) {
        fail(ec.value(), "cannot copy to", to);
    }
}

void appendToFile(std::u16string_view path, std::string_view bytes) {
    const std::string native = toPath(path).native();
    const int fd = ::open(native.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
        fail(errno, "cannot open", path);
    }
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            const int error = errno;
            ::close(fd);
            fail(error, "cannot write", path);
        }
        written += static_cast<std::size_t>(n);
    }
    if (::close(fd) != 0) {
        fail(errno, "cannot close", path);
    }
}

} // namespace tikmeter::engine
