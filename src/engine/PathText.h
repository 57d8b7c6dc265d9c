#pragma once

#include <string>
#include <string_view>

namespace tikmeter::engine {

// Paths are handled as texts with one separator. The file name of a path is the text
// after its last separator (the whole path when it has none); the folder of a path is
// the text before its last separator (empty when it has none).
inline constexpr char16_t kSeparator = u'/';

std::u16string fileNameOf(std::u16string_view path);
std::u16string folderOf(std::u16string_view path);
// folder + separator + name.
std::u16string joinPath(std::u16string_view folder, std::u16string_view name);

} // namespace tikmeter::engine
