#pragma once

#include "documents/Document.h"
#include "engine/MarkingSession.h"

#include <optional>
#include <string>

namespace tikmeter::engine {

// A source document picked for one language.
struct OpenedSource {
    std::u16string shownPath;              // what the language's row shows: the copy's path
    documents::Document document;          // the loaded source; empty when it could not be had
    std::optional<std::u16string> message; // a failure to show the teacher
};

// Opens a picked source document: copies `pickedPath` into the program folder and loads
// the copy with the base font "Courier New". `pickedPath` empty means the pick was
// cancelled: the row and the document are emptied. A failure for lack of access gives
// the message "Please save current file on an accessible disk." and sets the
// write-failure flag; content that is not a document leaves the document empty while the
// row still names the file (the session's size check then stops a marking run).
OpenedSource openSourceDocument(ProgramState& state, const std::u16string& programFolder,
                                const std::u16string& pickedPath);

} // namespace tikmeter::engine
