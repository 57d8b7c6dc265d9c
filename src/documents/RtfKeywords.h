#pragma once

#include <string_view>

namespace tikmeter::documents::rtf {

// What the reader does with a control word.
enum class Action {
    Ignore,        // not in the table: layout, paragraph and document settings
    SkipGroup,     // ignorable destination: the rest of the group is not text
    FontTable,     // \fonttbl
    ColorTable,    // \colortbl
    ParagraphEnd,  // \par \sect \page \row: CR LF, and a candidate document end mark
    LineBreak,     // \line: CR LF
    Character,     // a character given by the entry (\tab, \emdash, ...)
    Unicode,       // \uN
    UnicodeSkip,   // \ucN
    Plain,         // \plain: default character formatting
    Bold,          // \b \bN
    Italic,        // \i \iN
    Underline,     // \ul and the other underline styles, \ul0
    UnderlineNone, // \ulnone
    Font,          // \fN
    FontSize,      // \fsN
    TextColor,     // \cfN
    BackColor,     // \highlightN \cbN \chcbpatN
    FontCharset,   // \fcharsetN (font table)
    Red,           // \redN (colour table)
    Green,         // \greenN
    Blue,          // \blueN
    AnsiCodePage,  // \ansicpgN
    DefaultFont,   // \deffN
};

struct Keyword {
    std::string_view name;
    Action action;
    char16_t character = 0; // for Action::Character
};

// The table entry of a control word; Action::Ignore for words the reader does not use.
Keyword lookupKeyword(std::string_view name);

} // namespace tikmeter::documents::rtf
