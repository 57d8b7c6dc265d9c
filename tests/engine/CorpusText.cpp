#include "CorpusText.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace tikmeter::engine::testing {

std::u16string fromUtf8(const std::string& utf8) {
    std::u16string text;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        char32_t code = 0;
        std::size_t length = 1;
        if (byte < 0x80) {
            code = byte;
        } else if ((byte & 0xE0) == 0xC0) {
            code = byte & 0x1F;
            length = 2;
        } else if ((byte & 0xF0) == 0xE0) {
            code = byte & 0x0F;
            length = 3;
        } else {
            code = byte & 0x07;
            length = 4;
        }
        if (i + length > utf8.size())
            throw std::runtime_error("truncated UTF-8");
        for (std::size_t k = 1; k < length; ++k)
            code = (code << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        if (code >= 0x10000) {
            code -= 0x10000;
            text += static_cast<char16_t>(0xD800 + (code >> 10));
            text += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
        } else {
            text += static_cast<char16_t>(code);
        }
        i += length;
    }
    return text;
}

std::string toUtf8(const std::u16string& text) {
    std::string utf8;
    for (const char16_t c : text) {
        if (c < 0x80) {
            utf8 += static_cast<char>(c);
        } else if (c < 0x800) {
            utf8 += static_cast<char>(0xC0 | (c >> 6));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            utf8 += static_cast<char>(0xE0 | (c >> 12));
            utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return utf8;
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
