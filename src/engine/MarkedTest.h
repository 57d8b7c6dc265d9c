#pragma once

#include "documents/Document.h"

#include <span>
#include <string>
#include <string_view>

// Turns the test in a document into its marked form: coloured marks, the report block at
// the end with its excess-word list highlighted, and the marked test's file name.
namespace tikmeter::engine {

// A mark to colour: its text and the 1-based position of its first character.
struct MarkSpan {
    std::u16string text;
    int position = 0;
};

// Error marks: bold, white on red. Repeat marks: red, underlined. A mark whose text ends
// with a space is coloured without that space.
void applyMarks(documents::Document& test, std::span<const MarkSpan> errorMarks,
                std::span<const MarkSpan> repeatMarks);

// Appends the report at the end in bold red "Courier" on white, highlights the list of
// excess words in it, and leaves the caret at the end.
void insertReport(documents::Document& test, std::u16string_view reportText);

// The marked test of a test copy: destPath, "/", the copy's file name without its last
// four characters, ".rug". An empty or blank title stands for "Untitled".
std::u16string markedTestPath(std::u16string_view destPath, std::u16string_view title);

} // namespace tikmeter::engine
