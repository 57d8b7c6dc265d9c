#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tikmeter::documents {

// UTF-16 text to UTF-8 bytes; an unpaired surrogate becomes U+FFFD.
std::string toUtf8(std::u16string_view text);
// UTF-8 bytes to UTF-16 text; nothing when the bytes are not valid UTF-8.
std::optional<std::u16string> fromUtf8(std::string_view bytes);

// A path given as text, and back (paths on this platform are UTF-8 byte strings).
std::filesystem::path toPath(std::u16string_view text);
std::u16string fromPath(const std::filesystem::path& path);

} // namespace tikmeter::documents
