#include "documents/RtfTokenizer.h"

#include <array>
#include <limits>

namespace tikmeter::documents::rtf {

namespace {

enum : unsigned char { kPlain = 0, kSpecial = 1, kDropped = 2 };

// Byte classes: braces and backslash start tokens; CR, LF and the other control bytes except
// TAB are not part of the text (word processors break long code lines anywhere, even inside
// words).
constexpr std::array<unsigned char, 256> makeClasses() {
    std::array<unsigned char, 256> classes{};
    for (std::size_t b = 0; b < 0x20; ++b) {
        classes[b] = kDropped;
    }
    classes['\t'] = kPlain;
    classes['\\'] = kSpecial;
    classes['{'] = kSpecial;
    classes['}'] = kSpecial;
    return classes;
}
constexpr auto kClasses = makeClasses();

// In a skipped group only braces and backslashes matter.
constexpr std::array<bool, 256> makeSkipStops() {
    std::array<bool, 256> stops{};
    stops['\\'] = true;
    stops['{'] = true;
    stops['}'] = true;
    return stops;
}
constexpr auto kSkipStops = makeSkipStops();

bool isLetter(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}

int hexValue(unsigned char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

} // namespace

Token Tokenizer::next() {
    const std::size_t size = code_.size();
    while (pos_ < size) {
        const auto c = static_cast<unsigned char>(code_[pos_]);
        const unsigned char cls = kClasses[c];
        if (cls == kDropped) {
            ++pos_;
            continue;
        }
        Token token;
        if (cls == kPlain) {
            const std::size_t start = pos_;
            while (pos_ < size && kClasses[static_cast<unsigned char>(code_[pos_])] == kPlain) {
                ++pos_;
            }
            token.kind = TokenKind::Text;
            token.text = code_.substr(start, pos_ - start);
            return token;
        }
        if (c == '{') {
            ++pos_;
            token.kind = TokenKind::GroupOpen;
            return token;
        }
        if (c == '}') {
            ++pos_;
            token.kind = TokenKind::GroupClose;
            return token;
        }
        // Backslash.
        ++pos_;
        if (pos_ >= size) {
            break;
        }
        const auto d = static_cast<unsigned char>(code_[pos_]);
        if (isLetter(d)) {
            return controlWord();
        }
        if (d == '\'') {
            const int high =
                pos_ + 1 < size ? hexValue(static_cast<unsigned char>(code_[pos_ + 1])) : -1;
            const int low =
                pos_ + 2 < size ? hexValue(static_cast<unsigned char>(code_[pos_ + 2])) : -1;
            if (high >= 0 && low >= 0) {
                pos_ += 3;
                token.kind = TokenKind::HexByte;
                token.value = static_cast<unsigned char>(high * 16 + low);
                return token;
            }
            // A broken escape: drop the backslash and the quote.
            ++pos_;
            continue;
        }
        token.kind = TokenKind::ControlSymbol;
        token.text = code_.substr(pos_, 1);
        token.value = d;
        ++pos_;
        return token;
    }
    return Token{};
}

Token Tokenizer::controlWord() {
    const std::size_t size = code_.size();
    const std::size_t start = pos_;
    while (pos_ < size && isLetter(static_cast<unsigned char>(code_[pos_]))) {
        ++pos_;
    }
    Token token;
    token.kind = TokenKind::ControlWord;
    token.text = code_.substr(start, pos_ - start);

    bool negative = false;
    if (pos_ + 1 < size && code_[pos_] == '-' &&
        isDigit(static_cast<unsigned char>(code_[pos_ + 1]))) {
        negative = true;
        ++pos_;
    }
    if (pos_ < size && isDigit(static_cast<unsigned char>(code_[pos_]))) {
        // Saturate instead of overflowing: the magnitude never exceeds 2^31.
        constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
        std::int64_t value = 0;
        while (pos_ < size && isDigit(static_cast<unsigned char>(code_[pos_]))) {
            value = value * 10 + (code_[pos_] - '0');
            if (value > kLimit) {
                value = kLimit;
            }
            ++pos_;
        }
        if (negative) {
            value = -value;
        }
        if (value > std::numeric_limits<std::int32_t>::max()) {
            value = std::numeric_limits<std::int32_t>::max();
        }
        token.hasParam = true;
        token.param = static_cast<std::int32_t>(value);
    }
    if (pos_ < size && code_[pos_] == ' ') {
        ++pos_;
    }
    if (token.hasParam && token.text == "bin") {
        skipBinary(token.param, token);
    }
    return token;
}

bool Tokenizer::skipBinary(std::int32_t count, Token& token) {
    const std::size_t n = count > 0 ? static_cast<std::size_t>(count) : 0;
    if (n > code_.size() - pos_) {
        // Never trust the count: the data is not there, so the file is corrupt.
        token.kind = TokenKind::BadBinary;
        pos_ = code_.size();
        return false;
    }
    token.kind = TokenKind::Binary;
    token.text = code_.substr(pos_, n);
    pos_ += n;
    return true;
}

Tokenizer::SkipResult Tokenizer::skipGroup() {
    const std::size_t size = code_.size();
    const char* data = code_.data();
    std::size_t depth = 1;
    while (true) {
        while (pos_ < size && !kSkipStops[static_cast<unsigned char>(data[pos_])]) {
            ++pos_;
        }
        if (pos_ >= size) {
            return SkipResult::EndOfCode;
        }
        const char c = data[pos_++];
        if (c == '{') {
            ++depth;
        } else if (c == '}') {
            if (--depth == 0) {
                return SkipResult::Closed;
            }
        } else if (pos_ < size) {
            if (isLetter(static_cast<unsigned char>(data[pos_]))) {
                const Token word = controlWord();
                if (word.kind == TokenKind::BadBinary) {
                    return SkipResult::BadBinary;
                }
            } else {
                ++pos_; // \{ \} \\ and other symbols
            }
        }
    }
}

} // namespace tikmeter::documents::rtf
