#pragma once

#include "engine/TestState.h"

namespace tikmeter::engine {

// Empties the working word list, the test words, the error marks and the word starts, zeroes
// the excess, error and repeat counts and the six punctuation counts, and empties the join
// list and the report texts. The source words and the source limit are kept: the reset runs
// again between the split of the source and the split of the typed text.
void perTestReset(TestState& state);

// Cuts `text` into words, each ending with (and including) one space, carriage return or line
// feed; the last word has none when the text does not end with one. Fills the working list,
// wordCount and wordStarts (1-based start of each word). A full stop standing alone after a
// space becomes the word " .". Throws BoundFailure for a text of more than 8000 characters or
// more than 1500 words.
void wordSplit(TestState& state, TextView text);

// The split of the compared source (the first sourceLimit characters of the source text)
// copied into sourceWords and sourceWordCount.
void splitSourceWords(TestState& state, TextView sourceText);

// The split of the typed text copied into testWords and testWordCount.
void splitTestWords(TestState& state, TextView typedText);

} // namespace tikmeter::engine
