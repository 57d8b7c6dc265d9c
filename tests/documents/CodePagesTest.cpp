#include "documents/CodePages.h"

#include <gtest/gtest.h>

namespace tikmeter::documents {
namespace {

TEST(CodePages, Windows1252DecodesTheUpperHalf) {
    EXPECT_EQ(decodeCodePage(1252, 0x41), u'A');
    EXPECT_EQ(decodeCodePage(1252, 0x80), u'\u20AC');
    EXPECT_EQ(decodeCodePage(1252, 0x92), u'\u2019');
    EXPECT_EQ(decodeCodePage(1252, 0x9F), u'\u0178');
    EXPECT_EQ(decodeCodePage(1252, 0xA0), u'\u00A0');
    EXPECT_EQ(decodeCodePage(1252, 0xE9), u'\u00E9');
    EXPECT_EQ(decodeCodePage(1252, 0xFF), u'\u00FF');
}

TEST(CodePages, Windows1252UndefinedBytesBecomeC1ControlsAndBack) {
    for (const unsigned char byte : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) {
        EXPECT_EQ(decodeCodePage(1252, byte), char16_t(byte));
        EXPECT_EQ(encodeWindows1252(char16_t(byte)), byte);
    }
    // The other C1 controls have no byte: 0x80 is the euro sign.
    EXPECT_FALSE(encodeWindows1252(u'\u0080').has_value());
    EXPECT_FALSE(encodeWindows1252(u'\u009F').has_value());
}

TEST(CodePages, Windows1252EncodesEveryByteItDecodes) {
    for (int byte = 0; byte < 256; ++byte) {
        const char16_t c = decodeCodePage(1252, static_cast<unsigned char>(byte));
        ASSERT_EQ(encodeWindows1252(c), byte) << "byte " << byte;
    }
}

TEST(CodePages, Windows1252RefusesCharactersItCannotHold) {
    EXPECT_FALSE(encodeWindows1252(u'\u0100').has_value());
    EXPECT_FALSE(encodeWindows1252(u'\u03A9').has_value());
    EXPECT_FALSE(encodeWindows1252(u'\uFFFD').has_value());
    EXPECT_FALSE(encodeWindows1252(u'\xD800').has_value());
}

TEST(CodePages, UpperCharactersAreThoseOfBytes128To255) {
    EXPECT_TRUE(isWindows1252UpperChar(u'\u00E9'));
    EXPECT_TRUE(isWindows1252UpperChar(u'\u20AC'));
    EXPECT_TRUE(isWindows1252UpperChar(u'\u2019'));
    EXPECT_FALSE(isWindows1252UpperChar(u'e'));
    EXPECT_FALSE(isWindows1252UpperChar(u'\x7F'));
    EXPECT_FALSE(isWindows1252UpperChar(u'\u0151')); // o double acute: 1250, not 1252
}

TEST(CodePages, OtherWindowsCodePages) {
    EXPECT_EQ(decodeCodePage(1250, 0x8A), u'\u0160'); // S caron
    EXPECT_EQ(decodeCodePage(1250, 0xF5), u'\u0151'); // o double acute
    EXPECT_EQ(decodeCodePage(1251, 0xC0), u'\u0410'); // Cyrillic A
    EXPECT_EQ(decodeCodePage(1251, 0xFF), u'\u044F'); // Cyrillic ya
    EXPECT_EQ(decodeCodePage(1253, 0xC1), u'\u0391'); // Greek Alpha
    EXPECT_EQ(decodeCodePage(1254, 0xD0), u'\u011E'); // G breve
    EXPECT_EQ(decodeCodePage(1257, 0xE0), u'\u0105'); // a ogonek
    EXPECT_EQ(decodeCodePage(1255, 0xE0), u'\u05D0'); // alef
    EXPECT_EQ(decodeCodePage(874, 0xA1), u'\u0E01');
    // Bytes a code page leaves undefined.
    EXPECT_EQ(decodeCodePage(1253, 0xAA), u'\uFFFD');
    EXPECT_EQ(decodeCodePage(1251, 0x98), u'\uFFFD');
    // ASCII is the same everywhere.
    for (const int cp : {874, 1250, 1251, 1253, 1254, 1255, 1256, 1257, 1258}) {
        EXPECT_TRUE(isSupportedCodePage(cp));
        EXPECT_EQ(decodeCodePage(cp, 'z'), u'z');
    }
}

TEST(CodePages, UnknownCodePagesDecodeAs1252) {
    EXPECT_FALSE(isSupportedCodePage(932));
    EXPECT_FALSE(isSupportedCodePage(-1));
    EXPECT_EQ(decodeCodePage(932, 0xE9), u'\u00E9');
    EXPECT_EQ(decodeCodePage(0, 0x80), u'\u20AC');
}

TEST(CodePages, FontCharsetsMapToCodePages) {
    EXPECT_EQ(codePageForCharset(238), 1250);
    EXPECT_EQ(codePageForCharset(204), 1251);
    EXPECT_EQ(codePageForCharset(161), 1253);
    EXPECT_EQ(codePageForCharset(162), 1254);
    EXPECT_EQ(codePageForCharset(186), 1257);
    EXPECT_FALSE(codePageForCharset(0).has_value()); // ANSI: the document's code page
    EXPECT_FALSE(codePageForCharset(1).has_value());
    EXPECT_FALSE(codePageForCharset(128).has_value()); // Shift-JIS: not single-byte
}

} // namespace
} // namespace tikmeter::documents
