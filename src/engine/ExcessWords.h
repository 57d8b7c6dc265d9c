#pragma once

#include "engine/TestState.h"

namespace tikmeter::engine {

// A word without surrounding spaces and without its closing punctuation ("end." and "end.\r"
// give "end", "95%," gives "95").
Text normaliseWord(TextView word);

// Counts, for the distinct typed words that were not marked, how often each is typed and how
// often the compared source has it, and lists every surplus occurrence in excessWords and
// excessText. Blanks the test words absorbed by joins. Ends with the repeated-word pass and
// the bracketing.
void excessWordPass(TestState& state, TextView typedText, TextView sourceText);

// Marks the second of two equal adjacent test words unless the source has them doubled too.
void repeatedWordPass(TestState& state, TextView sourceText);

// Wraps as many excess words as the repeated-word pass found doubled words in parentheses,
// taking those equal to an error mark.
void bracketing(TestState& state);

} // namespace tikmeter::engine
