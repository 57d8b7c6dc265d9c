// Windows-1252 both ways and the code pages of font character sets (the reader's rows check the
// characters of every code page).
#include "documents/CodePages.h"

#include <gtest/gtest.h>

namespace tikmeter::documents {
namespace {

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
