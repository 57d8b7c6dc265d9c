#pragma once

#include "documents/DocumentError.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace tikmeter::documents {

// Reads a whole file in one go. Throws DocumentError with the kind that matches the
// system's error (see documentErrorKindFor).
std::string readWholeFile(const std::filesystem::path& path);

// Writes data to a temporary file in the target's folder and renames it over the target, so
// the target is either the old file or the complete new one. A read-only target is refused
// (PermissionDenied), as a rich-text control refuses to overwrite it. Throws DocumentError.
void writeFileAtomically(const std::filesystem::path& path, std::string_view data);

// ENOENT/ENOTDIR -> NotFound, EACCES/EPERM -> PermissionDenied, EROFS -> WriteProtected,
// anything else -> Other.
DocumentErrorKind documentErrorKindFor(int errorNumber);

} // namespace tikmeter::documents
