#pragma once

#include <string>

namespace tikmeter::engine::testing {

// UTF-8 (as the corpus files hold text) to 16-bit text, and back for messages.
std::u16string fromUtf8(const std::string& utf8);
std::string toUtf8(const std::u16string& text);

// The whole content of a file below the test data folder.
std::string readDataFile(const std::string& relativePath);

} // namespace tikmeter::engine::testing
