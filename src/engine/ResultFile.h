#pragma once

#include <string>
#include <string_view>
#include <vector>

// Lines of the result file "Resultaat.res" in a destination folder. The file is written in
// Windows-1252 with CR LF line ends and is only ever appended to.
namespace tikmeter::engine {

inline constexpr std::u16string_view kResultFileName = u"Resultaat.res";

// The line of a marked test: destPath, "/", the copy's file name without its last four
// characters, three spaces, the signed result text, " wpm".
std::u16string resultLine(std::u16string_view destPath, std::u16string_view title,
                          std::u16string_view finalResultText);

// The line of a test that was too short or too long: the list entry with ".rug" in place
// of its last four characters, then "  0  wpm".
std::u16string failureLine(std::u16string_view listEntry);

// Appends lines (each with CR LF) to destPath/Resultaat.res, all of them or none.
void appendResultLines(std::u16string_view destPath, const std::vector<std::u16string>& lines);

} // namespace tikmeter::engine
