#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tikmeter::documents::rtf {

enum class TokenKind {
    End,           // no more code
    GroupOpen,     // {
    GroupClose,    // }
    ControlWord,   // \name or \nameN (the delimiting space is consumed)
    ControlSymbol, // \ followed by one character that is not a letter
    HexByte,       // \'hh
    Text,          // a run of plain bytes (raw CR, LF and other control bytes are dropped)
    Binary,        // the data of \binN
    BadBinary,     // \binN with N running past the end of the code
};

struct Token {
    TokenKind kind = TokenKind::End;
    // ControlWord: the name; ControlSymbol: the character; Text: the bytes; Binary: the data.
    std::string_view text;
    bool hasParam = false;
    // Numeric parameter, saturated to the 32-bit range.
    std::int32_t param = 0;
    // ControlSymbol: the character; HexByte: the byte.
    unsigned char value = 0;
};

// Splits RTF code into tokens. It knows nothing about groups, destinations or formatting;
// the only keyword it handles itself is \binN, whose data it must step over.
class Tokenizer {
public:
    explicit Tokenizer(std::string_view code, std::size_t start = 0) : code_(code), pos_(start) {}

    Token next();

    enum class SkipResult { Closed, EndOfCode, BadBinary };
    // Steps over the rest of the innermost open group, through its closing brace, without
    // producing tokens (fast: ignorable destinations such as pictures are mostly hex data).
    SkipResult skipGroup();

    std::size_t position() const { return pos_; }

private:
    Token controlWord();
    bool skipBinary(std::int32_t count, Token& token);

    std::string_view code_;
    std::size_t pos_ = 0;
};

} // namespace tikmeter::documents::rtf
