#pragma once

#include <string>
#include <vector>

namespace tikmeter::engine {

// Decides where each listed test is copied in the destination folder: destPath, "/", the
// entry's file name. Two different files with the same name would overwrite each other,
// and the first student would be marked with the second student's text; so a later file
// of a name already taken gets a free name ("jan (2).rtf"). Entries that already lie in
// the destination folder keep their names, so they are never overwritten by a copy.
// The same entry listed twice is the same file and keeps one name.
std::vector<std::u16string> planTestCopies(const std::vector<std::u16string>& entries,
                                           const std::u16string& destPath);

} // namespace tikmeter::engine
