#pragma once

#include "engine/TestState.h"

namespace tikmeter::engine {

// The number of carriage returns in positions 1..start of `text` plus one, or exactly that
// number when position 1 holds a carriage return (found by stepping back from `start`).
long long lineBreakCount(TextView text, long long start);

// testLineBreaks from the test text up to its last character but one, sourceLineBreaks from
// the source text up to sourceLimit - 1.
void countLineBreaks(TestState& state, TextView testText, TextView sourceText);

// Full stops, commas and "!"/"?" of the whole test text and of the first sourceLimit
// characters of the source text. BoundFailure for more than 8000 characters.
void punctuationCount(TestState& state, TextView testText, TextView sourceText);

// One mark "••" for the first double space inside a sentence (after a letter, a space, a
// comma or an apostrophe).
void sentenceSpacingDoubleSpace(TestState& state, TextView testText);

// Decides the test's convention (one or two spaces) from its first sentence end and marks the
// first sentence end that breaks it: "••" at a double space, "•" at a single space.
void sentenceSpacingConvention(TestState& state, TextView testText);

// Both checks, in that order.
void sentenceSpacingCheck(TestState& state, TextView testText);

} // namespace tikmeter::engine
