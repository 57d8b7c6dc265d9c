#include "documents/CodePages.h"

#include "documents/CodePageTables.h"

namespace tikmeter::documents {

namespace {

// Characters of the 1252 bytes 0x80 to 0x9F; 0 marks the five undefined bytes, which map to
// the C1 control of the same value.
constexpr std::array<char16_t, 32> k1252C1Range = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

} // namespace

bool isSupportedCodePage(int codePage) {
    switch (codePage) {
    case 874:
    case 1250:
    case 1251:
    case 1252:
    case 1253:
    case 1254:
    case 1255:
    case 1256:
    case 1257:
    case 1258:
        return true;
    default:
        return false;
    }
}

const CodePageTable& codePageTable(int codePage) {
    switch (codePage) {
    case 874:
        return detail::kCodePage874;
    case 1250:
        return detail::kCodePage1250;
    case 1251:
        return detail::kCodePage1251;
    case 1253:
        return detail::kCodePage1253;
    case 1254:
        return detail::kCodePage1254;
    case 1255:
        return detail::kCodePage1255;
    case 1256:
        return detail::kCodePage1256;
    case 1257:
        return detail::kCodePage1257;
    case 1258:
        return detail::kCodePage1258;
    default:
        return detail::kCodePage1252;
    }
}

std::optional<std::uint8_t> encodeWindows1252(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        return static_cast<std::uint8_t>(c);
    }
    if (c <= 0x9F) {
        // A C1 control: only the five undefined bytes decode to one.
        if (k1252C1Range[c - 0x80] == 0) {
            return static_cast<std::uint8_t>(c);
        }
        return std::nullopt;
    }
    for (std::size_t i = 0; i < k1252C1Range.size(); ++i) {
        if (k1252C1Range[i] == c) {
            return static_cast<std::uint8_t>(0x80 + i);
        }
    }
    return std::nullopt;
}

std::optional<int> codePageForCharset(int charset) {
    switch (charset) {
    case 161:
        return 1253; // Greek
    case 162:
        return 1254; // Turkish
    case 163:
        return 1258; // Vietnamese
    case 177:
        return 1255; // Hebrew
    case 178:
        return 1256; // Arabic
    case 186:
        return 1257; // Baltic
    case 204:
        return 1251; // Russian
    case 222:
        return 874; // Thai
    case 238:
        return 1250; // Eastern European
    default:
        return std::nullopt; // 0 ANSI, 1 default, 2 symbol, multi-byte sets
    }
}

} // namespace tikmeter::documents
