#pragma once

#include <QString>

#include <filesystem>
#include <string>

namespace tikmeter::app {

// The core keeps text as 16-bit strings, Qt as QString: both hold the same UTF-16 units.
inline QString toQString(const std::u16string& text) {
    return QString::fromStdU16String(text);
}
inline std::u16string toU16(const QString& text) {
    return text.toStdU16String();
}
inline std::filesystem::path toPath(const QString& text) {
    return std::filesystem::path(text.toStdU16String());
}

} // namespace tikmeter::app
