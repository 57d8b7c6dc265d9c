#pragma once

#include "TempFolder.h"
#include "documents/Utf8.h"

#include <filesystem>
#include <string>

namespace tikmeter::engine::testing {

using tikmeter::testing::readBytes;
using tikmeter::testing::TempFolder;
using tikmeter::testing::writeBytes;
namespace fs = std::filesystem;

inline std::u16string u16(const fs::path& path) {
    return documents::fromPath(path);
}

inline fs::path dataPath(const std::string& relative) {
    return fs::path(TIKMETER_TEST_DATA_DIR) / relative;
}

} // namespace tikmeter::engine::testing
