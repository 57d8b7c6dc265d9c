#pragma once

#include <string>
#include <string_view>

// File-system operations of the marking session and the source rows on paths given as texts
// with "/" separators. Every failure throws DocumentError with the kind of the system's error.
namespace tikmeter::engine {

bool pathExists(std::u16string_view path);
void createFolder(std::u16string_view path);
// Copies a regular file atomically, never onto itself and never through a symbolic link at
// the target (documents::copyFileAtomically).
void copyFile(std::u16string_view from, std::u16string_view to);
// Appends bytes whole or not at all to a regular file (documents::appendWhole).
void appendToFile(std::u16string_view path, std::string_view bytes);

} // namespace tikmeter::engine
