#pragma once

#include <string>
#include <string_view>

// File-system operations of the marking session and the source rows. Paths are texts
// with "/" separators. Every failure throws DocumentError
// with the kind of the system's error.
namespace tikmeter::engine {

bool pathExists(std::u16string_view path);
void createFolder(std::u16string_view path);
// Copies `from` to `to`, replacing a file of that name. A copy onto the file itself
// (the same file under any name) does nothing, so a file is never truncated onto itself.
void copyFileReplacing(std::u16string_view from, std::u16string_view to);
// Appends bytes to a file, creating it when missing; never truncates it.
void appendToFile(std::u16string_view path, std::string_view bytes);

} // namespace tikmeter::engine
