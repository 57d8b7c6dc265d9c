#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace tikmeter::documents {

// Windows single-byte code pages, decoded with the project's own tables.
//
// Supported: 874 (Thai), 1250 (Central European), 1251 (Cyrillic), 1252 (Western),
// 1253 (Greek), 1254 (Turkish), 1255 (Hebrew), 1256 (Arabic), 1257 (Baltic) and
// 1258 (Vietnamese). Any other code page number is decoded as 1252.
//
// Undefined bytes: in 1252 the bytes 0x81, 0x8D, 0x8F, 0x90 and 0x9D have no character.
// They decode to the C1 control characters U+0081, U+008D, U+008F, U+0090 and U+009D, as
// Windows itself converts them, and those five characters encode back to the same bytes, so
// every byte survives a decode/encode round trip. In the other code pages an undefined byte
// decodes to U+FFFD.

inline constexpr int kDefaultCodePage = 1252;

using CodePageTable = std::array<char16_t, 256>;

// True for the code pages listed above.
bool isSupportedCodePage(int codePage);

// The byte-to-character table of a code page (1252 for an unsupported one).
const CodePageTable& codePageTable(int codePage);

// One byte decoded through a code page.
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
// default sets and for sets that name no single-byte Windows code page.
std::optional<int> codePageForCharset(int charset);

} // namespace tikmeter::documents
