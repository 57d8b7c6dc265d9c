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
// Appends the UTF-16 text of UTF-8 bytes to out (which may have room reserved for it);
// false, and out as it was, when the bytes are not valid UTF-8.
bool appendFromUtf8(std::u16string& out, std::string_view bytes);

// A path as text, and back. Paths on this platform are byte strings, mostly UTF-8. fromPath
// keeps each byte b that is not part of valid UTF-8 as the lone surrogate U+DC00 + b (b is
// 0x80 to 0xFF), and toPath turns those back into the byte, so every path survives the round
// trip: toPath(fromPath(p)) == p. Other lone surrogates become U+FFFD in toPath. toUtf8 of
// such text is printable: each kept byte shows as U+FFFD.
std::filesystem::path toPath(std::u16string_view text);
std::u16string fromPath(const std::filesystem::path& path);

} // namespace tikmeter::documents
