#include "SessionTestSupport.h"

#include "engine/SourceDocuments.h"

using tikmeter::documents::fromPath;

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <sys/mount.h>
#include <unistd.h>

namespace tikmeter::engine::testing {

TempFolder::TempFolder() {
    std::random_device random;
    for (;;) {
        path_ = fs::temp_directory_path() / ("tikmeter-test-" + std::to_string(random()));
        if (fs::create_directory(path_)) {
            break;
        }
    }
}

TempFolder::~TempFolder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

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
    if (::geteuid() != 0) {
        return;
    }
    if (::mount(source.c_str(), mountPoint_.c_str(), nullptr, MS_BIND, nullptr) != 0) {
        return;
    }
    mounted_ = true;
    if (::mount(nullptr, mountPoint_.c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) !=
        0) {
        ::umount(mountPoint_.c_str());
        mounted_ = false;
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

std::string readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void writeBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
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

std::u16string u16(const std::string& utf8) {
    return *documents::fromUtf8(utf8);
}
std::string u8(const std::u16string& text) {
    return documents::toUtf8(text);
}

void pickSources(ScriptedWindow& window) {
    MaakBronOop(window, Language::Afrikaans,
                documents::fromPath(dataPath("sources/af1-libreoffice.rtf")));
    MaakBronOop(window, Language::English,
                documents::fromPath(dataPath("sources/en1-libreoffice.rtf")));
}

} // namespace tikmeter::engine::testing

namespace tikmeter::engine::testing {

void useSourcesInPlace(ScriptedWindow& window) {
    window.setSourcePath(Language::Afrikaans, fromPath(dataPath("sources/af1-libreoffice.rtf")));
    window.setSourcePath(Language::English, fromPath(dataPath("sources/en1-libreoffice.rtf")));
    window.richTextBox2().loadFile(dataPath("sources/en1-libreoffice.rtf"));
}

} // namespace tikmeter::engine::testing
