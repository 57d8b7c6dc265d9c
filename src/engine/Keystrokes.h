#pragma once

#include "engine/TextSearch.h"

#include <cstdint>

namespace tikmeter::engine {

// Keystrokes needed to type `typedText`: capitals and shifted symbols 2, a line feed 0,
// a character of the upper half of Windows-1252 3, anything else 1.
std::int32_t countKeystrokes(TextView typedText);

} // namespace tikmeter::engine
