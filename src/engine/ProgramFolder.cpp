#include "engine/ProgramFolder.h"

#include "documents/FileIo.h"
#include "documents/PathText.h"
#include "documents/Utf8.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <system_error>
#include <unistd.h>

namespace tikmeter::engine {

namespace fs = std::filesystem;
using documents::fromPath;
using documents::toPath;

namespace {

std::u16string runningExecutableFolder() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fromPath(fs::current_path(ec)) : fromPath(exe.parent_path());
}

// "/a/b/" -> "/a/b"; the root keeps its separator.
std::u16string withoutTrailingSeparator(std::u16string folder) {
    while (folder.size() > 1 && folder.back() == documents::kSeparator) {
        folder.pop_back();
    }
    return folder;
}

// An installed program (the Debian package puts it in /usr/bin) keeps its users' files out of
// the system folders, also when the superuser could write there.
bool liesUnderUsr(const std::u16string& folder) {
    return folder == u"/usr" || folder.starts_with(u"/usr/");
}

std::u16string environmentText(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::u16string() : fromPath(fs::path(value));
}

} // namespace

bool canWriteIn(const std::u16string& folder) {
    std::error_code ec;
    if (!fs::is_directory(toPath(folder), ec)) {
        return false;
    }
    std::random_device random;
    for (int attempt = 0; attempt < 8; ++attempt) {
        const fs::path probe = toPath(folder) / (".edu-tikmeter-probe-" + std::to_string(random()));
        const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) {
            ::close(fd);
            ::unlink(probe.c_str());
            return true;
        }
        if (errno != EEXIST) {
            return false;
        }
    }
    return false;
}

bool ProgramFolder::ensureExists() const {
    std::error_code ec;
    fs::create_directories(toPath(path), ec);
    return fs::is_directory(toPath(path), ec);
}

void ProgramFolder::provideGuides() const {
    for (const std::u16string& dataFolder : guideFolders(executableFolder)) {
        copyMissingGuides(dataFolder, path);
    }
}

std::vector<std::u16string> guideFolders(const std::u16string& executableFolder) {
    const fs::path exe = toPath(executableFolder);
    return {fromPath(exe), fromPath((exe.parent_path() / "share" / "edu-tikmeter"))};
}

std::size_t copyMissingGuides(const std::u16string& dataFolder,
                              const std::u16string& programFolder) {
    std::size_t copied = 0;
    for (const std::u16string_view name : kGuideNames) {
        const fs::path target = toPath(documents::joinPath(programFolder, name));
        const fs::path shipped = toPath(documents::joinPath(dataFolder, name));
        std::error_code ec;
        // symlink_status: a dangling link or a folder of that name counts as taken too.
        if (fs::exists(fs::symlink_status(target, ec)) || !fs::is_regular_file(shipped, ec)) {
            continue;
        }
        try {
            documents::copyFileAtomically(shipped, target);
            ++copied;
        } catch (...) {
            // No guide is worth stopping the program for; the Help box still names them.
        }
    }
    return copied;
}

ProgramFolder resolveProgramFolder(std::u16string executableFolder) {
    ProgramFolder folder;
    folder.executableFolder = withoutTrailingSeparator(
        executableFolder.empty() ? runningExecutableFolder() : std::move(executableFolder));
    const std::u16string home = environmentText("EDU_TIKMETER_HOME");
    if (!home.empty()) {
        folder.preferredPath = withoutTrailingSeparator(home);
        std::error_code ec;
        fs::create_directories(toPath(folder.preferredPath), ec);
    } else {
        folder.preferredPath = folder.executableFolder;
    }
    folder.isSystemFolder = home.empty() && liesUnderUsr(folder.preferredPath);
    if (!folder.isSystemFolder && canWriteIn(folder.preferredPath)) {
        folder.path = folder.preferredPath;
    } else {
        const std::u16string userHome = environmentText("HOME");
        folder.path = documents::joinPath(
            withoutTrailingSeparator(userHome.empty() ? u"/tmp" : userHome), u"Edu Tikmeter");
        folder.isHomeFallback = true;
    }
    return folder;
}

} // namespace tikmeter::engine
