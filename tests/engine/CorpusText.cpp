#include "CorpusText.h"

#include "documents/Utf8.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace tikmeter::engine::testing {

std::u16string fromUtf8(const std::string& utf8) {
    auto text = documents::fromUtf8(utf8);
    if (!text)
        throw std::runtime_error("invalid UTF-8");
    return *text;
}

std::string toUtf8(const std::u16string& text) {
    return documents::toUtf8(text);
}

std::string readDataFile(const std::string& relativePath) {
    std::ifstream in(std::string(TIKMETER_TEST_DATA_DIR) + "/" + relativePath, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot open test data " + relativePath);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

} // namespace tikmeter::engine::testing
