#pragma once

#include "documents/Document.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace tikmeter::documents::test {

inline std::filesystem::path dataDir() {
    return TIKMETER_TEST_DATA_DIR;
}

inline std::string readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A document read from RTF code (throws DocumentError like setRtf).
inline Document fromRtf(std::string_view code) {
    Document document;
    document.setRtf(code);
    return document;
}

inline std::u16string textOf(std::string_view code) {
    return fromRtf(code).text();
}

} // namespace tikmeter::documents::test
