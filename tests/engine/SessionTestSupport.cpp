#include "SessionTestSupport.h"

#include "engine/SourceDocuments.h"

#include <cstdlib>
#include <sys/mount.h>

namespace tikmeter::engine::testing {

ReadOnlyFolder::ReadOnlyFolder(fs::path folder) : folder_(std::move(folder)) {
    fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec);
    if (::geteuid() == 0) {
        const std::string command = "chattr +i '" + folder_.string() + "' 2>/dev/null";
        immutable_ = std::system(command.c_str()) == 0;
    }
}

ReadOnlyFolder::~ReadOnlyFolder() {
    if (immutable_) {
        const std::string command = "chattr -i '" + folder_.string() + "' 2>/dev/null";
        [[maybe_unused]] const int status = std::system(command.c_str());
    }
    std::error_code ec;
    fs::permissions(folder_, fs::perms::owner_all, ec);
}

WriteProtectedMount::WriteProtectedMount(const fs::path& source, fs::path mountPoint)
    : mountPoint_(std::move(mountPoint)) {
    fs::create_directories(mountPoint_);
    if (::geteuid() != 0 ||
        ::mount(source.c_str(), mountPoint_.c_str(), nullptr, MS_BIND, nullptr) != 0) {
        return;
    }
    mounted_ = ::mount(nullptr, mountPoint_.c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY,
                       nullptr) == 0;
    if (!mounted_) {
        ::umount(mountPoint_.c_str());
    }
}

WriteProtectedMount::~WriteProtectedMount() {
    if (mounted_) {
        ::umount(mountPoint_.c_str());
    }
}

fs::path dataPath(const std::string& relative) {
    return fs::path(TIKMETER_TEST_DATA_DIR) / relative;
}

std::vector<std::string> readLines(const fs::path& path) {
    const std::string content = readBytes(path);
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (std::size_t at = content.find("\r\n"); at != std::string::npos;
         at = content.find("\r\n", from)) {
        lines.push_back(content.substr(from, at - from));
        from = at + 2;
    }
    if (from < content.size()) {
        lines.push_back(content.substr(from) + "<no CR LF>");
    }
    return lines;
}

std::u16string u16(const fs::path& path) {
    return documents::fromPath(path);
}

SessionInput inputFor(const fs::path& programFolder, const std::vector<fs::path>& tests) {
    ProgramState state;
    SessionInput input;
    input.programFolder = u16(programFolder);
    input.afrikaansSource =
        openSourceDocument(state, input.programFolder, u16(dataPath("sources/af1-libreoffice.rtf")))
            .shownPath;
    OpenedSource english = openSourceDocument(state, input.programFolder,
                                              u16(dataPath("sources/en1-libreoffice.rtf")));
    input.englishSource = english.shownPath;
    input.lastSource = std::move(english.document);
    for (const fs::path& test : tests) {
        input.entries.push_back(u16(test));
    }
    return input;
}

} // namespace tikmeter::engine::testing
