#pragma once

#include "engine/TestState.h"

namespace tikmeter::engine {

inline constexpr TextView remarkLineFeeds = u"Wrong number of line feeds";
inline constexpr TextView remarkFullStops = u"Missing full stop(s)";
inline constexpr TextView remarkCommas = u"Missing comma(s)";
inline constexpr TextView remarkMarks = u"Missing <!> or <?>";

// Adds the line-break, punctuation and excess-word penalties to errorCount (keeping the word
// errors in wordErrors and the penalty lines in penalties), and sets grossWords (keystrokes
// / 5, rounded half to even), netWords and the unrounded finalResult (net words / 10). Builds
// remarksText from the excess words and the penalties.
void score(TestState& state);

} // namespace tikmeter::engine
