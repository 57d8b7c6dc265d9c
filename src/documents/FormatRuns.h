#pragma once

#include "documents/Document.h"

#include <cstddef>
#include <functional>
#include <vector>

namespace tikmeter::documents::runs {

// Run lists cover their text without gaps, hold no empty runs, and adjacent runs differ.

// The format of the character at pos (pos must be inside the text).
const CharFormat& formatAt(const std::vector<FormatRun>& runs, std::size_t pos);

// Changes the format of the characters [start, start + length).
void applyFormat(std::vector<FormatRun>& runs, std::size_t start, std::size_t length,
                 const std::function<void(CharFormat&)>& change);

// Replaces the characters [start, start + length) by newLength characters in one format.
void replaceRange(std::vector<FormatRun>& runs, std::size_t start, std::size_t length,
                  std::size_t newLength, const CharFormat& format);

} // namespace tikmeter::documents::runs
