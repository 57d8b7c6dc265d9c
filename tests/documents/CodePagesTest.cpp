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

char16_t decode(int number, unsigned code) {
    const CodePage& page = codePage(number);
    if (code < 0x100) {
        return page.bytes()[code];
    }
    const auto lead = static_cast<unsigned char>(code >> 8);
    EXPECT_TRUE(page.isLeadByte(lead));
    return page.decode(lead, static_cast<unsigned char>(code & 0xFF));
}

class CodePageDecoding : public testing::TestWithParam<Decoding> {};

TEST_P(CodePageDecoding, KnownCharacters) {
    EXPECT_EQ(decode(GetParam().codePage, GetParam().code), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Tables, CodePageDecoding,
    testing::Values(Decoding{1252, 0x41, u'A'}, Decoding{1252, 0x80, u'\u20AC'},
                    Decoding{1252, 0x92, u'\u2019'}, Decoding{1252, 0x9F, u'\u0178'},
                    Decoding{1252, 0xA0, u'\u00A0'}, Decoding{1252, 0xE9, u'\u00E9'},
                    Decoding{1252, 0xFF, u'\u00FF'}, Decoding{1250, 0x8A, u'\u0160'},
                    Decoding{1250, 0xF5, u'\u0151'}, Decoding{1251, 0xC0, u'\u0410'},
                    Decoding{1251, 0xFF, u'\u044F'}, Decoding{1253, 0xC1, u'\u0391'},
                    Decoding{1254, 0xD0, u'\u011E'}, Decoding{1255, 0xE0, u'\u05D0'},
                    Decoding{1256, 0xC7, u'\u0627'}, Decoding{1257, 0xE0, u'\u0105'},
                    Decoding{1258, 0xD2, u'\u0309'}, Decoding{874, 0xA1, u'\u0E01'},
                    // Mac Roman.
                    Decoding{10000, 0xD5, u'\u2019'}, Decoding{10000, 0x8E, u'\u00E9'},
                    Decoding{10000, 0x80, u'\u00C4'}, Decoding{10000, 0xDB, u'\u20AC'},
                    // Double-byte: single bytes and two-byte codes.
                    Decoding{932, 0x82A0, u'\u3042'}, Decoding{932, 0x8140, u'\u3000'},
                    Decoding{932, 0x815F, u'\uFF3C'}, Decoding{932, 0xB1, u'\uFF71'},
                    Decoding{936, 0xD6D0, u'\u4E2D'}, Decoding{936, 0xB0A1, u'\u554A'},
                    Decoding{936, 0x80, u'\u20AC'}, Decoding{949, 0xB0A1, u'\uAC00'},
                    Decoding{949, 0x8141, u'\uAC02'}, Decoding{950, 0xA4A4, u'\u4E2D'},
                    Decoding{950, 0xA3E1, u'\u20AC'}, Decoding{950, 0xA140, u'\u3000'},
                    // Bytes and codes without a character.
                    Decoding{1253, 0xAA, u'\uFFFD'}, Decoding{1251, 0x98, u'\uFFFD'},
                    Decoding{932, 0xA0, u'\uFFFD'}, Decoding{932, 0x82F5, u'\uFFFD'},
                    Decoding{932, 0x8540, u'\uFFFD'}, Decoding{932, 0x8220, u'\uFFFD'},
                    Decoding{949, 0x8140, u'\uFFFD'},
                    // Unknown code pages decode as 1252.
                    Decoding{437, 0x80, u'\u20AC'}, Decoding{-1, 0xE9, u'\u00E9'}));

TEST(CodePages, EverySupportedPageIsAsciiBelow128AndOnlyDoubleByteOnesHaveLeadBytes) {
    for (const int number :
         {874, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258, 10000, 932, 936, 949, 950}) {
        ASSERT_TRUE(isSupportedCodePage(number)) << number;
        const CodePage& page = codePage(number);
        EXPECT_EQ(page.number(), number);
        for (unsigned byte = 0; byte < 0x80; ++byte) {
            EXPECT_EQ(page.bytes()[byte], byte) << number;
        }
        const bool doubleByte = number >= 932 && number <= 950;
        EXPECT_EQ(page.isDoubleByte(), doubleByte) << number;
        EXPECT_EQ(page.isLeadByte(0x81), doubleByte && number != 950) << number;
        EXPECT_EQ(page.isLeadByte(0xA4), doubleByte && number != 932) << number;
    }
    EXPECT_FALSE(isSupportedCodePage(437));
    EXPECT_EQ(codePage(437).number(), 1252);
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

TEST(CodePages, FontCharsetsMapToCodePages) {
    // 0 (ANSI), 1 (default) and 2 (symbol) name no code page; 130 (Johab) is not supported.
    const std::pair<int, std::optional<int>> rows[] = {
        {238, 1250},       {204, 1251},       {161, 1253},         {162, 1254}, {163, 1258},
        {177, 1255},       {178, 1256},       {186, 1257},         {222, 874},  {77, 10000},
        {128, 932},        {134, 936},        {129, 949},          {136, 950},  {0, std::nullopt},
        {1, std::nullopt}, {2, std::nullopt}, {130, std::nullopt},
    };
    for (const auto& [charset, expected] : rows) {
        EXPECT_EQ(codePageForCharset(charset), expected) << "charset " << charset;
    }
}

} // namespace
} // namespace tikmeter::documents
