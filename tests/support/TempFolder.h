#pragma once

// Files for tests: a temporary folder that removes itself, and whole-file reads and writes.
// Shared by every test suite (plain C++, no Qt).
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace tikmeter::testing {

namespace fs = std::filesystem;

// A fresh folder below the system's temporary folder, removed with everything in it (also
// after a test locked parts of it).
class TempFolder {
public:
    TempFolder() {
        std::random_device random;
        do {
            path_ = fs::temp_directory_path() / ("tikmeter-test-" + std::to_string(random()));
        } while (!fs::create_directory(path_));
    }
    ~TempFolder() {
        std::error_code ec;
        for (auto it = fs::recursive_directory_iterator(path_, ec);
             !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
            if (it->is_directory(ec) && !it->is_symlink(ec)) {
                fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
            }
        }
        fs::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const fs::path& path() const { return path_; }
    fs::path operator/(const fs::path& name) const { return path_ / name; }

private:
    fs::path path_;
};

inline std::string readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

} // namespace tikmeter::testing
