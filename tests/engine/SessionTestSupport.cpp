#include "SessionTestSupport.h"

#include "engine/SourceDocuments.h"

#include <cstdlib>
#include <sys/mount.h>

namespace tikmeter::engine::testing {

namespace {
struct Unlock {
    fs::path folder;
    bool immutable;
    ~Unlock() {
        const std::string command = "chattr -i '" + folder.string() + "' 2>/dev/null";
        if (immutable && std::system(command.c_str()) != 0) {
            ADD_FAILURE() << "cannot unlock " << folder;
        }
        std::error_code ec;
        fs::permissions(folder, fs::perms::owner_all, ec);
    }
};
struct Unmount {
    fs::path at;
    ~Unmount() { ::umount(at.c_str()); }
};
} // namespace

std::shared_ptr<void> lockFolder(const fs::path& folder) {
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    const std::string command = "chattr +i '" + folder.string() + "' 2>/dev/null";
    const bool immutable = ::geteuid() == 0 && std::system(command.c_str()) == 0;
    auto unlock = std::make_shared<Unlock>(folder, immutable);
    return immutable || ::geteuid() != 0 ? unlock : nullptr;
}

std::shared_ptr<void> mountFor(const fs::path& source, const fs::path& mountPoint, const char* type,
                               const char* options) {
    fs::create_directories(mountPoint);
    const unsigned long flags = type == nullptr ? MS_BIND : 0;
    if (::geteuid() != 0 ||
        ::mount(source.c_str(), mountPoint.c_str(), type, flags, options) != 0) {
        return nullptr;
    }
    auto unmount = std::make_shared<Unmount>(mountPoint);
    if (type == nullptr && ::mount(nullptr, mountPoint.c_str(), nullptr,
                                   MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) != 0) {
        return nullptr;
    }
    return unmount;
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

std::vector<fs::path> SessionTest::copyClass(const std::string& className,
                                             const std::vector<std::string>& files) {
    std::vector<fs::path> tests;
    for (const std::string& file : files) {
        fs::create_directories(classes / className);
        tests.push_back(classes / className / fs::path(file).filename());
        fs::copy_file(dataPath(file), tests.back(), fs::copy_options::overwrite_existing);
    }
    return tests;
}

fs::path SessionTest::classTest(const std::string& name, const std::string& data) {
    fs::create_directories(classes / "c");
    fs::copy_file(dataPath(data), classes / "c" / name, fs::copy_options::overwrite_existing);
    return classes / "c" / name;
}

} // namespace tikmeter::engine::testing
