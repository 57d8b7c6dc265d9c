#include "documents/CodePages.h"

#include <algorithm>

namespace tikmeter::documents {

namespace {

const CodePage* findCodePage(int number) {
    for (const CodePage& page : detail::codePageList()) {
        if (page.number() == number) {
            return &page;
        }
    }
    return nullptr;
}

// The range of `ranges` that holds `code`, or nullptr.
template <typename Range> const Range* rangeOf(std::span<const Range> ranges, unsigned code) {
    const auto after =
        std::upper_bound(ranges.begin(), ranges.end(), code,
                         [](unsigned c, const Range& range) { return c < range.first; });
    if (after == ranges.begin()) {
        return nullptr;
    }
    const Range& range = *(after - 1);
    return code <= range.last ? &range : nullptr;
}

} // namespace

char16_t CodePage::decode(unsigned char lead, unsigned char second) const {
    const unsigned code = unsigned{lead} << 8 | second;
    if (const auto* range = rangeOf(data_->linear, code)) {
        return static_cast<char16_t>(range->character + (code - range->first));
    }
    if (const auto* range = rangeOf(data_->listed, code)) {
        return data_->chars[range->index + (code - range->first)];
    }
    return u'\uFFFD';
}

bool isSupportedCodePage(int number) {
    return findCodePage(number) != nullptr;
}

const CodePage& codePage(int number) {
    if (const CodePage* page = findCodePage(number)) {
        return *page;
    }
    return *findCodePage(kDefaultCodePage);
}

std::optional<std::uint8_t> encodeWindows1252(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        return static_cast<std::uint8_t>(c);
    }
    // Only the bytes 0x80 to 0x9F decode to other characters (or, for the five undefined
    // ones, to the C1 control of the same value).
    const CodePageTable& table = codePageTable(1252);
    for (std::size_t byte = 0x80; byte < 0xA0; ++byte) {
        if (table[byte] == c) {
            return static_cast<std::uint8_t>(byte);
        }
    }
    return std::nullopt;
}

std::optional<int> codePageForCharset(int charset) {
    switch (charset) {
    case 77:
        return kMacRomanCodePage;
    case 128:
        return 932; // Shift JIS
    case 129:
        return 949; // Hangul
    case 134:
        return 936; // GB 2312 (GBK)
    case 136:
        return 950; // Big5
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
        return std::nullopt; // 0 ANSI, 1 default, 2 symbol, Johab and other sets
    }
}

} // namespace tikmeter::documents
