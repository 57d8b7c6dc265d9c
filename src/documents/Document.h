#pragma once

#include "CharFormat.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tikmeter::documents {

// One run of characters that share a format: [start, start + length).
struct FormatRun {
    std::size_t start = 0;
    std::size_t length = 0;
    CharFormat format;
    bool operator==(const FormatRun&) const = default;
};

// A rich-text document: plain text (paragraphs separated by CR LF) plus per-character
// formatting, with the operations of a rich-text control: whole text, whole RTF code,
// loading and saving files, and a selection (start and length counted in characters
// from 0) whose formatting can be changed. Formatting set on an empty selection is
// remembered for the text that set_selected_text inserts there, as a rich-text control
// does with its insertion point.
class Document {
public:
    Document();

    // Whole plain text.
    const std::u16string& text() const;
    // Replaces the document with the given text, formatted in the base font.
    void setText(std::u16string_view text);

    // Whole document as RTF code (Windows-1252 header, no line wrapping; every paragraph
    // end written as CR LF followed by "\par ").
    std::string rtf() const;
    // Parses RTF code and replaces the document. Code that does not begin with "{\rtf"
    // is taken as plain text (UTF-8 when valid, else Windows-1252).
    // Throws DocumentError(Unreadable) and leaves the document unchanged on failure.
    void setRtf(std::string_view code);

    // Reads a file as RTF (or plain text, see setRtf). Throws DocumentError, with the kinds
    // readWholeFile gives (FileIo.h); TooLarge also when memory runs out while reading. The
    // document is unchanged on failure.
    void loadFile(const std::filesystem::path& path);
    // Writes the whole document as RTF, creating or replacing the file. The new content
    // is written to a temporary file in the same folder and renamed over the target, so
    // a failed write never leaves a half-written file nor loses the earlier one.
    // Throws DocumentError.
    void saveFile(const std::filesystem::path& path) const;

    // Selection. A start past the end is the end; a length reaching past the end stops there.
    void setSelStart(std::size_t start);
    std::size_t selStart() const;
    void setSelLength(std::size_t length);
    std::size_t selLength() const;
    std::u16string selText() const;
    // Replaces the selection with text in the insertion format; the caret ends after it.
    void setSelText(std::u16string_view text);

    // Formatting of the selection (or, for an empty selection, of the insertion point).
    void setSelColor(Color color);
    void setSelBackColor(Color color);
    void setSelFontName(std::u16string_view name);
    void setSelBold(bool on);      // character flag 1
    void setSelUnderline(bool on); // character flag 2

    // The default font of the document: used by setText and by text without a font.
    void setBaseFontName(std::u16string_view name);
    const std::u16string& baseFontName() const;

    // Formatting, for viewers, tests and the writer. A position at or past the end gives the
    // last character's format (the default format in an empty document).
    CharFormat formatAt(std::size_t position) const;
    std::vector<FormatRun> runs() const;

private:
    void changeSelectionFormat(const std::function<void(CharFormat&)>& change);
    void updateInsertFormat();

    std::u16string text_;
    std::vector<FormatRun> runs_;
    std::u16string baseFont_;
    std::size_t selStart_ = 0;
    std::size_t selLength_ = 0;
    CharFormat insertFormat_;
};

} // namespace tikmeter::documents
