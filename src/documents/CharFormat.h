#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tikmeter::documents {

struct Color {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    // A colour as a 32-bit RGB value in the low-byte-red order: 255 is red,
    // 16777215 white.
    static constexpr Color fromRgbValue(std::uint32_t value) {
        return {static_cast<std::uint8_t>(value & 0xFF),
                static_cast<std::uint8_t>((value >> 8) & 0xFF),
                static_cast<std::uint8_t>((value >> 16) & 0xFF)};
    }
    constexpr std::uint32_t rgbValue() const {
        return red | (static_cast<std::uint32_t>(green) << 8) |
               (static_cast<std::uint32_t>(blue) << 16);
    }
    bool operator==(const Color&) const = default;
};

inline constexpr Color kRed{255, 0, 0};
inline constexpr Color kWhite{255, 255, 255};

// Character formatting. An absent colour means the automatic colour; an empty font
// name means the document's base font; a size of 0 means the default size.
struct CharFormat {
    std::optional<Color> textColor;
    std::optional<Color> backColor;
    std::u16string fontName;
    int fontSizeHalfPoints = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool operator==(const CharFormat&) const = default;
};

} // namespace tikmeter::documents
