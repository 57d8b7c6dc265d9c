#pragma once

#include "engine/SessionWindow.h"

#include <string>

namespace tikmeter::engine {

// Opens a picked source document: copies `pickedPath` into the program folder, loads the
// copy into RichTextBox2 with the base font "Courier New" and sets the language's path
// label. `pickedPath` empty means the dialog was cancelled: RichTextBox2 and the label are
// emptied. Failures show their message through the window, as the source rows specify.
void MaakBronOop(SessionWindow& window, Language language, const std::u16string& pickedPath);

} // namespace tikmeter::engine
