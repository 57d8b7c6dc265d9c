#pragma once

#include <cstdint>
#include <span>

namespace tikmeter::documents {

class CodePage;

namespace detail {

// The data of one code page, as scripts/generate-code-pages.py writes it into codepages/*.inc
// from glibc's iconv. A code below 0x100 is a single byte; a two-byte code is lead byte * 256
// + second byte. Codes in no range have no character.

struct ByteRange {
    std::uint8_t first;
    std::uint8_t last;
};

// Codes first to last have the consecutive characters from `character` on.
struct LinearRange {
    std::uint16_t first;
    std::uint16_t last;
    char16_t character;
};

// Codes first to last have the characters chars[index], chars[index + 1], ... of their page.
struct ListedRange {
    std::uint16_t first;
    std::uint16_t last;
    std::uint16_t index;
};

struct CodePageData {
    int number;
    std::span<const ByteRange> leadBytes; // empty for a single-byte code page
    std::span<const LinearRange> linear;  // sorted by code
    std::span<const ListedRange> listed;  // sorted by code
    std::span<const char16_t> chars;
};

// Every supported code page, by ascending number.
std::span<const CodePage> codePageList();

} // namespace detail
} // namespace tikmeter::documents
