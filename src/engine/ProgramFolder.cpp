#include "engine/ProgramFolder.h"

#include "documents/Utf8.h"
#include "engine/PathText.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace tikmeter::engine {

namespace fs = std::filesystem;
using documents::fromPath;
using documents::toPath;

namespace {

std::u16string executableFolderOf() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fromPath(fs::current_path(ec)) : fromPath(exe.parent_path());
}

bool writableFolder(const std::u16string& folder) {
    return ::access(toPath(folder).c_str(), W_OK | X_OK) == 0;
}

} // namespace

ProgramFolder resolveProgramFolder(std::u16string executableFolder) {
    if (const char* home = std::getenv("EDU_TIKMETER_HOME"); home != nullptr && *home != '\0') {
        return {fromPath(fs::path(home)), false};
    }
    if (executableFolder.empty()) {
        executableFolder = executableFolderOf();
    }
    if (writableFolder(executableFolder)) {
        return {executableFolder, false};
    }
    const char* userHome = std::getenv("HOME");
    const std::u16string fallback =
        joinPath(fromPath(fs::path(userHome != nullptr ? userHome : "/tmp")), u"Edu Tikmeter");
    std::error_code ec;
    fs::create_directories(toPath(fallback), ec);
    return {fallback, true};
}

} // namespace tikmeter::engine
