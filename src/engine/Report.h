#pragma once

#include "engine/MarkingTypes.h"
#include "engine/TestState.h"

namespace tikmeter::engine {

inline constexpr TextView statusSuccessful = u".......Successful";
inline constexpr TextView statusUnreliable = u".......Result may not be reliable";

// Rounds finalResult by the setting (half to even for an integer; to a multiple of 5, halves
// up, towards zero below zero) and builds reportText, the block appended to the marked test.
void buildReport(TestState& state, ResultFormat format);

// Counts the counted error marks (entries 1..errorCount after scoring) whose text occurs in
// the source text; more than 5 makes the result unreliable. Sets statusText.
void reliabilityCheck(TestState& state, TextView sourceText);

} // namespace tikmeter::engine
