#pragma once

#include <string>
#include <string_view>

namespace tikmeter::documents {

// Paths are handled as texts with one separator. The file name of a path is the text
// after its last separator (the whole path when it has none); the folder of a path is
// the text before its last separator (empty when it has none).
inline constexpr char16_t kSeparator = u'/';

std::u16string fileNameOf(std::u16string_view path);
std::u16string folderOf(std::u16string_view path);
// folder + separator + name.
std::u16string joinPath(std::u16string_view folder, std::u16string_view name);

// The name a destination folder takes from a list of tests: the name of the folder that
// holds the first test ("/home/t/Class A/jan.rtf" gives "Class A"; a test in the root
// gives the empty name).
std::u16string destinationNameFor(std::u16string_view firstEntry);

} // namespace tikmeter::documents
