#include "engine/FileOps.h"

#include "documents/DocumentError.h"
#include "documents/FileIo.h"
#include "documents/Utf8.h"

#include <cstring>
#include <filesystem>

namespace tikmeter::engine {

namespace fs = std::filesystem;
using documents::toPath;

bool pathExists(std::u16string_view path) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(toPath(path), ec));
}

void createFolder(std::u16string_view path) {
    std::error_code ec;
    if (!fs::create_directory(toPath(path), ec) && ec) {
        throw documents::DocumentError(documents::documentErrorKindFor(ec.value()),
                                       "cannot create folder " + documents::toUtf8(path) + ": " +
                                           std::strerror(ec.value()));
    }
}

void copyFile(std::u16string_view from, std::u16string_view to) {
    documents::copyFileAtomically(toPath(from), toPath(to));
}

void appendToFile(std::u16string_view path, std::string_view bytes) {
    documents::appendWhole(toPath(path), bytes);
}

} // namespace tikmeter::engine
