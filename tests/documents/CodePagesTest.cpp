// The code page tables (the reader's rows use them too): known characters of the pages, 1252
// both ways, and the code pages of font character sets.
#include "documents/CodePages.h"

#include <gtest/gtest.h>

namespace tikmeter::documents {
namespace {

struct Decoding {
    int codePage;
    unsigned code; // a single byte below 0x100, else lead byte * 256 + second byte
    char16_t expected;
};

void PrintTo(const Decoding& row, std::ostream* out) {
    *out << "cp" << row.codePage << " code " << std::hex << row.code;
}

class CodePageDecoding : public ::testing::TestWithParam<Decoding> {};

TEST_P(CodePageDecoding, KnownCharacters) {
    const auto [number, code, expected] = GetParam();
    const CodePage& page = codePage(number);
    const auto lead = static_cast<unsigned char>(code >> 8);
    EXPECT_EQ(page.isLeadByte(lead), code >= 0x100);
    EXPECT_EQ(code < 0x100 ? page.bytes()[code]
                           : page.decode(lead, static_cast<unsigned char>(code & 0xFF)),
              expected);
}

INSTANTIATE_TEST_SUITE_P(
    Tables, CodePageDecoding,
    ::testing::Values(
        Decoding{1252, 0x9F, u'\u0178'}, Decoding{1250, 0x8A, u'\u0160'},
        Decoding{1254, 0xD0, u'\u011E'}, Decoding{1255, 0xE0, u'\u05D0'},
        Decoding{1256, 0xC7, u'\u0627'}, Decoding{1257, 0xE0, u'\u0105'},
        Decoding{1258, 0xD2, u'\u0309'}, Decoding{874, 0xA1, u'\u0E01'},
        Decoding{10000, 0x80, u'\u00C4'}, Decoding{10000, 0xDB, u'\u20AC'},
        Decoding{932, 0x815F, u'\uFF3C'}, Decoding{936, 0xB0A1, u'\u554A'},
        Decoding{936, 0x80, u'\u20AC'}, Decoding{949, 0x8141, u'\uAC02'},
        Decoding{950, 0xA3E1, u'\u20AC'}, Decoding{950, 0xA140, u'\u3000'},
        // Bytes and codes without a character; code pages without a table decode as 1252.
        Decoding{1253, 0xAA, u'\uFFFD'}, Decoding{1251, 0x98, u'\uFFFD'},
        Decoding{932, 0xA0, u'\uFFFD'}, Decoding{932, 0x82F5, u'\uFFFD'},
        Decoding{949, 0x8140, u'\uFFFD'}, Decoding{437, 0x80, u'\u20AC'}));

// 1252 holds the characters of all 256 bytes (the five undefined ones decode to the C1 control
// of the same value) and no others; its "upper" characters are those of bytes 128 to 255.
TEST(CodePages, Windows1252BothWays) {
    for (unsigned byte = 0; byte < 256; ++byte) {
        const char16_t c = decodeCodePage(1252, static_cast<unsigned char>(byte));
        ASSERT_EQ(encodeWindows1252(c), byte) << "byte " << byte;
        EXPECT_EQ(isWindows1252UpperChar(c), byte >= 128) << "byte " << byte;
    }
    EXPECT_EQ(decodeCodePage(1252, 0x81), u'\u0081');
    for (const char16_t c : {u'\u0080', u'\u009F', u'\u0100', u'\u0151', u'\uFFFD', u'\xD800'}) {
        EXPECT_FALSE(encodeWindows1252(c).has_value()) << int(c);
    }
}

TEST(CodePages, FontCharsetsMapToCodePages) {
    // 0 (ANSI), 1 (default) and 2 (symbol) name no code page; 130 (Johab) is not supported.
    const std::pair<int, std::optional<int>> rows[] = {
        {238, 1250}, {204, 1251}, {161, 1253}, {162, 1254}, {163, 1258}, {177, 1255},
        {178, 1256}, {186, 1257}, {222, 874},  {77, 10000}, {128, 932},  {134, 936},
        {129, 949},  {136, 950},  {0, {}},     {1, {}},     {2, {}},     {130, {}}};
    for (const auto& [charset, expected] : rows) {
        EXPECT_EQ(codePageForCharset(charset), expected) << "charset " << charset;
    }
}

} // namespace
} // namespace tikmeter::documents
