// The code page data generated from glibc's iconv (codepages/*.inc, written by
// scripts/generate-code-pages.py), and the byte tables built from it at compile time.
#include "documents/CodePageTables.h"

#include "documents/CodePages.h"

namespace tikmeter::documents::detail {

namespace {

#include "codepages/cp10000.inc"
#include "codepages/cp1250.inc"
#include "codepages/cp1251.inc"
#include "codepages/cp1252.inc"
#include "codepages/cp1253.inc"
#include "codepages/cp1254.inc"
#include "codepages/cp1255.inc"
#include "codepages/cp1256.inc"
#include "codepages/cp1257.inc"
#include "codepages/cp1258.inc"
#include "codepages/cp874.inc"
#include "codepages/cp932.inc"
#include "codepages/cp936.inc"
#include "codepages/cp949.inc"
#include "codepages/cp950.inc"

constexpr CodePageData kData874{874, {}, cp874::kLinear, cp874::kListed, cp874::kChars};
constexpr CodePageData kData1250{1250, {}, cp1250::kLinear, cp1250::kListed, cp1250::kChars};
constexpr CodePageData kData1251{1251, {}, cp1251::kLinear, cp1251::kListed, cp1251::kChars};
constexpr CodePageData kData1252{1252, {}, cp1252::kLinear, cp1252::kListed, cp1252::kChars};
constexpr CodePageData kData1253{1253, {}, cp1253::kLinear, cp1253::kListed, cp1253::kChars};
constexpr CodePageData kData1254{1254, {}, cp1254::kLinear, cp1254::kListed, cp1254::kChars};
constexpr CodePageData kData1255{1255, {}, cp1255::kLinear, cp1255::kListed, cp1255::kChars};
constexpr CodePageData kData1256{1256, {}, cp1256::kLinear, cp1256::kListed, cp1256::kChars};
constexpr CodePageData kData1257{1257, {}, cp1257::kLinear, cp1257::kListed, cp1257::kChars};
constexpr CodePageData kData1258{1258, {}, cp1258::kLinear, cp1258::kListed, cp1258::kChars};
constexpr CodePageData kData10000{10000, {}, cp10000::kLinear, cp10000::kListed, cp10000::kChars};
constexpr CodePageData kData932{932, cp932::kLeadBytes, cp932::kLinear, cp932::kListed,
                                cp932::kChars};
constexpr CodePageData kData936{936, cp936::kLeadBytes, cp936::kLinear, cp936::kListed,
                                cp936::kChars};
constexpr CodePageData kData949{949, cp949::kLeadBytes, cp949::kLinear, cp949::kListed,
                                cp949::kChars};
constexpr CodePageData kData950{950, cp950::kLeadBytes, cp950::kLinear, cp950::kListed,
                                cp950::kChars};

// The characters of the single bytes: U+FFFD where there is none, kLeadByte for lead bytes.
constexpr CodePageTable byteTable(const CodePageData& data) {
    CodePageTable table{};
    table.fill(u'\uFFFD');
    for (const ByteRange range : data.leadBytes) {
        for (int byte = range.first; byte <= range.last; ++byte) {
            table[static_cast<std::size_t>(byte)] = kLeadByte;
        }
    }
    for (const LinearRange range : data.linear) {
        for (std::size_t code = range.first; code <= range.last && code < 0x100; ++code) {
            table[code] = static_cast<char16_t>(range.character + (code - range.first));
        }
    }
    for (const ListedRange range : data.listed) {
        for (std::size_t code = range.first; code <= range.last && code < 0x100; ++code) {
            table[code] = data.chars[range.index + (code - range.first)];
        }
    }
    return table;
}

// glibc leaves five bytes of 1252 undefined; they decode to the C1 control of the same value
// (see CodePages.h).
constexpr CodePageTable windows1252Table() {
    CodePageTable table = byteTable(kData1252);
    for (std::size_t byte = 0x80; byte < 0xA0; ++byte) {
        if (table[byte] == u'\uFFFD') {
            table[byte] = static_cast<char16_t>(byte);
        }
    }
    return table;
}

// A listed range must stay inside its page's character list, and ranges must be sorted and
// apart, or the binary search in CodePage::decode would miss codes.
template <typename Range> constexpr bool sortedApart(std::span<const Range> ranges) {
    for (std::size_t i = 1; i < ranges.size(); ++i) {
        if (ranges[i].first <= ranges[i - 1].last) {
            return false;
        }
    }
    return true;
}
constexpr bool isSound(const CodePageData& data) {
    for (const ListedRange range : data.listed) {
        if (range.last < range.first ||
            std::size_t{range.index} + (range.last - range.first) >= data.chars.size()) {
            return false;
        }
    }
    for (const LinearRange range : data.linear) {
        if (range.last < range.first || range.character + (range.last - range.first) >= 0xFFFE) {
            return false;
        }
    }
    return sortedApart(data.linear) && sortedApart(data.listed);
}

constexpr CodePageTable kBytes874 = byteTable(kData874);
constexpr CodePageTable kBytes1250 = byteTable(kData1250);
constexpr CodePageTable kBytes1251 = byteTable(kData1251);
constexpr CodePageTable kBytes1252 = windows1252Table();
constexpr CodePageTable kBytes1253 = byteTable(kData1253);
constexpr CodePageTable kBytes1254 = byteTable(kData1254);
constexpr CodePageTable kBytes1255 = byteTable(kData1255);
constexpr CodePageTable kBytes1256 = byteTable(kData1256);
constexpr CodePageTable kBytes1257 = byteTable(kData1257);
constexpr CodePageTable kBytes1258 = byteTable(kData1258);
constexpr CodePageTable kBytes10000 = byteTable(kData10000);
constexpr CodePageTable kBytes932 = byteTable(kData932);
constexpr CodePageTable kBytes936 = byteTable(kData936);
constexpr CodePageTable kBytes949 = byteTable(kData949);
constexpr CodePageTable kBytes950 = byteTable(kData950);

constexpr CodePage kCodePages[] = {
    {kData874, kBytes874},   {kData932, kBytes932},   {kData936, kBytes936},
    {kData949, kBytes949},   {kData950, kBytes950},   {kData1250, kBytes1250},
    {kData1251, kBytes1251}, {kData1252, kBytes1252}, {kData1253, kBytes1253},
    {kData1254, kBytes1254}, {kData1255, kBytes1255}, {kData1256, kBytes1256},
    {kData1257, kBytes1257}, {kData1258, kBytes1258}, {kData10000, kBytes10000},
};

static_assert(isSound(kData874) && isSound(kData932) && isSound(kData936) && isSound(kData949) &&
              isSound(kData950) && isSound(kData1250) && isSound(kData1251) && isSound(kData1252) &&
              isSound(kData1253) && isSound(kData1254) && isSound(kData1255) &&
              isSound(kData1256) && isSound(kData1257) && isSound(kData1258) &&
              isSound(kData10000));

} // namespace

std::span<const CodePage> codePageList() {
    return kCodePages;
}

} // namespace tikmeter::documents::detail
