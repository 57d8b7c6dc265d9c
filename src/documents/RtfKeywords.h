#pragma once

#include <cstdint>
#include <string_view>

namespace tikmeter::documents::rtf {

// The kind of a keyword decides which handler of the reader carries it out.
enum class KeywordKind : std::uint8_t {
    Destination, // the rest of the group goes somewhere else than the text
    Toggle,      // switches a character property on (no parameter, or not 0) or off (0)
    Value,       // sets a property to the parameter
    Symbol,      // stands for one character
    Special,     // paragraph ends, \uN, \plain, \*
};

enum class Destination : std::uint8_t {
    Skip,       // ignorable: the rest of the group is not text
    FontTable,  // \fonttbl
    ColorTable, // \colortbl
};

enum class Toggle : std::uint8_t {
    Bold,      // \b
    Italic,    // \i
    Underline, // \ul and the other underline styles, \ulnone
};

enum class Value : std::uint8_t {
    Font,         // \f
    FontSize,     // \fs, half points
    TextColor,    // \cf
    BackColor,    // \highlight \cb \chcbpat
    UnicodeSkip,  // \uc
    FontCharset,  // \fcharset (font table)
    Red,          // \red (colour table)
    Green,        // \green
    Blue,         // \blue
    AnsiCodePage, // \ansicpg
    DefaultFont,  // \deff
};

enum class Special : std::uint8_t {
    ParagraphEnd, // \par \sect \page \row, a backslash before a raw line end
    LineBreak,    // \line
    Unicode,      // \uN
    Plain,        // \plain: default character formatting
    Ignorable,    // \*: an ignorable destination follows
};

// One entry of the keyword table. Control symbols are in it too, under their one-character
// names (\~ is "~").
struct Keyword {
    std::string_view name;
    KeywordKind kind;
    std::uint8_t what = 0; // the entry's Destination, Toggle, Value or Special
    // The parameter of a word written without one (\b means \b1, \fs means \fs24).
    std::int32_t defaultParam = 0;
    // The parameter is ignored and the default always used (\ulnone).
    bool alwaysDefault = false;
    char16_t character = 0; // KeywordKind::Symbol

    Destination destination() const { return static_cast<Destination>(what); }
    Toggle toggle() const { return static_cast<Toggle>(what); }
    Value value() const { return static_cast<Value>(what); }
    Special special() const { return static_cast<Special>(what); }

    // The parameter the word stands for.
    std::int32_t parameter(bool hasParam, std::int32_t param) const {
        return hasParam && !alwaysDefault ? param : defaultParam;
    }
};

// The table entry of a control word or symbol, or nullptr for one the reader does not use
// (layout, paragraph and document settings): those are ignored.
const Keyword* findKeyword(std::string_view name);

} // namespace tikmeter::documents::rtf
