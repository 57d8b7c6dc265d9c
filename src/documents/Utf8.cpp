#include "documents/Utf8.h"

namespace tikmeter::documents {

namespace {

void appendCodePoint(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

bool isHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool isLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// fromPath keeps a byte b that is not valid UTF-8 as the lone surrogate kEscapedByte + b.
constexpr char16_t kEscapedByte = 0xDC00;

struct Decoded {
    char32_t codePoint = 0;
    std::size_t length = 0; // 0: the bytes at this position are not valid UTF-8
};

// Decodes the one character whose UTF-8 sequence begins at bytes[i]. Overlong forms,
// surrogates, values past U+10FFFF and cut-off sequences are not valid.
Decoded decodeOne(std::string_view bytes, std::size_t i) {
    const auto b0 = static_cast<unsigned char>(bytes[i]);
    std::size_t extra = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if (b0 < 0x80) {
        return {b0, 1};
    } else if ((b0 & 0xE0) == 0xC0) {
        extra = 1, cp = b0 & 0x1Fu, minimum = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        extra = 2, cp = b0 & 0x0Fu, minimum = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        extra = 3, cp = b0 & 0x07u, minimum = 0x10000;
    } else {
        return {};
    }
    if (i + extra >= bytes.size()) {
        return {};
    }
    for (std::size_t k = 1; k <= extra; ++k) {
        const auto b = static_cast<unsigned char>(bytes[i + k]);
        if ((b & 0xC0) != 0x80) {
            return {};
        }
        cp = (cp << 6) | (b & 0x3Fu);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return {};
    }
    return {cp, extra + 1};
}

void appendUtf16(std::u16string& out, char32_t cp) {
    if (cp >= 0x10000) {
        cp -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (cp >> 10));
        out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
        out += static_cast<char16_t>(cp);
    }
}

// Calls visit(code point, false) for each character of text, or visit(byte, true) for each
// byte fromPath kept when keepBytes is set; an unpaired surrogate is U+FFFD.
template <typename Visit>
void forEachCharacter(std::u16string_view text, bool keepBytes, Visit visit) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (isHighSurrogate(c) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
            visit(0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00),
                  false);
            ++i;
        } else if (keepBytes && c >= kEscapedByte + 0x80 && c <= kEscapedByte + 0xFF) {
            visit(char32_t(c - kEscapedByte), true);
        } else if (isHighSurrogate(c) || isLowSurrogate(c)) {
            visit(0xFFFD, false);
        } else {
            visit(c, false);
        }
    }
}

// UTF-16 text to UTF-8, measured first so that a large text is not copied while it grows.
std::string encode(std::u16string_view text, bool keepBytes) {
    std::size_t size = 0;
    forEachCharacter(text, keepBytes, [&size](char32_t cp, bool byte) {
        size += byte || cp < 0x80 ? 1 : cp < 0x800 ? 2 : cp < 0x10000 ? 3 : 4;
    });
    std::string out;
    out.reserve(size);
    forEachCharacter(text, keepBytes, [&out](char32_t cp, bool byte) {
        if (byte) {
            out += static_cast<char>(cp);
        } else {
            appendCodePoint(out, cp);
        }
    });
    return out;
}

} // namespace

std::string toUtf8(std::u16string_view text) {
    return encode(text, false);
}

std::optional<std::u16string> fromUtf8(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    if (!appendFromUtf8(out, bytes)) {
        return std::nullopt;
    }
    return out;
}

bool appendFromUtf8(std::u16string& out, std::string_view bytes) {
    const std::size_t oldSize = out.size();
    std::size_t i = 0;
    while (i < bytes.size()) {
        if (const Decoded decoded = decodeOne(bytes, i); decoded.length > 0) {
            appendUtf16(out, decoded.codePoint);
            i += decoded.length;
        } else {
            out.resize(oldSize);
            return false;
        }
    }
    return true;
}

std::filesystem::path toPath(std::u16string_view text) {
    return std::filesystem::path(encode(text, true));
}

std::u16string fromPath(const std::filesystem::path& path) {
    const std::string& native = path.native();
    std::u16string text;
    text.reserve(native.size());
    std::size_t i = 0;
    while (i < native.size()) {
        if (const Decoded decoded = decodeOne(native, i); decoded.length > 0) {
            appendUtf16(text, decoded.codePoint);
            i += decoded.length;
        } else {
            // Not part of valid UTF-8: kept as a lone low surrogate that toPath turns back
            // into the byte (as Python's "surrogateescape" does).
            text += static_cast<char16_t>(kEscapedByte + static_cast<unsigned char>(native[i]));
            ++i;
        }
    }
    return text;
}

} // namespace tikmeter::documents
