#pragma once

#include "documents/Document.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tikmeter::documents {

// What a reader gives: the text, its formatting runs (covering the text without gaps,
// adjacent runs always differ) and the default font the code names, if any.
struct DocumentContent {
    std::u16string text;
    std::vector<FormatRun> runs;
    std::optional<std::u16string> baseFontName;
};

// Reads RTF code. Throws DocumentError(Unreadable) for code that is not a document.
DocumentContent readRtf(std::string_view code);

// Reads bytes without RTF code as plain text: UTF-8 when valid, else Windows-1252; every line
// end (CR LF, lone CR, lone LF) becomes CR LF. Throws DocumentError(Unreadable) for binary data.
DocumentContent readPlainText(std::string_view bytes);

// RTF when the bytes begin with "{\rtf", else plain text.
DocumentContent readDocumentBytes(std::string_view bytes);

// Writes a document as RTF code.
std::string writeRtf(std::u16string_view text, const std::vector<FormatRun>& runs,
                     std::u16string_view baseFontName);

} // namespace tikmeter::documents
