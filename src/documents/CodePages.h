#pragma once

#include "documents/CodePageTables.h"

#include <array>
#include <cstdint>
#include <optional>

namespace tikmeter::documents {

// Code pages, decoded with tables generated from glibc's iconv and kept in the source (see
// scripts/generate-code-pages.py), so that every build decodes the same way and none needs
// iconv or a locale at run time.
//
// Supported: the Windows single-byte code pages 874 (Thai), 1250 (Central European), 1251
// (Cyrillic), 1252 (Western), 1253 (Greek), 1254 (Turkish), 1255 (Hebrew), 1256 (Arabic),
// 1257 (Baltic) and 1258 (Vietnamese); 10000 (Mac Roman); and the double-byte code pages 932
// (Japanese, Shift JIS), 936 (Simplified Chinese, GBK), 949 (Korean) and 950 (Traditional
// Chinese, Big5). Any other code page number is decoded as 1252.
//
// Undefined bytes: in 1252 the bytes 0x81, 0x8D, 0x8F, 0x90 and 0x9D have no character.
// They decode to the C1 control characters U+0081, U+008D, U+008F, U+0090 and U+009D, as
// Windows itself converts them, and those five characters encode back to the same bytes, so
// every byte survives a decode/encode round trip. In the other code pages a byte or a
// two-byte code without a character decodes to U+FFFD.

inline constexpr int kDefaultCodePage = 1252;
inline constexpr int kMacRomanCodePage = 10000;

using CodePageTable = std::array<char16_t, 256>;

// Stands for a lead byte in the byte table of a double-byte code page (U+FFFF is a
// noncharacter, so no byte decodes to it).
inline constexpr char16_t kLeadByte = 0xFFFF;

class CodePage {
public:
    constexpr CodePage(const detail::CodePageData& data, const CodePageTable& bytes)
        : data_(&data), bytes_(&bytes) {}

    int number() const { return data_->number; }
    bool isDoubleByte() const { return !data_->leadBytes.empty(); }

    // The characters of the single bytes; kLeadByte marks the lead bytes.
    const CodePageTable& bytes() const { return *bytes_; }
    bool isLeadByte(unsigned char byte) const { return (*bytes_)[byte] == kLeadByte; }

    // The character of a lead byte and the byte after it, or U+FFFD when the pair has none.
    char16_t decode(unsigned char lead, unsigned char second) const;

private:
    const detail::CodePageData* data_;
    const CodePageTable* bytes_;
};

// True for the code pages listed above.
bool isSupportedCodePage(int codePage);

// A code page, or 1252 for an unsupported number.
const CodePage& codePage(int codePage);

// The byte-to-character table of a code page (1252 for an unsupported one).
inline const CodePageTable& codePageTable(int number) {
    return codePage(number).bytes();
}

// One byte decoded through a code page (kLeadByte for a lead byte).
inline char16_t decodeCodePage(int codePage, unsigned char byte) {
    return codePageTable(codePage)[byte];
}

// The 1252 byte of a character, or nothing when 1252 cannot hold it.
std::optional<std::uint8_t> encodeWindows1252(char16_t c);

// True when 1252 maps one of the bytes 128 to 255 to this character (the keystroke count
// counts such characters as three keystrokes).
inline bool isWindows1252UpperChar(char16_t c) {
    const auto byte = encodeWindows1252(c);
    return byte.has_value() && *byte >= 128;
}

// The code page of an RTF font character set (\fcharsetN), or nothing for the ANSI and
// default sets and for sets that name no supported code page.
std::optional<int> codePageForCharset(int charset);

} // namespace tikmeter::documents
