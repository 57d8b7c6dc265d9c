#pragma once

#include "engine/TestState.h"

namespace tikmeter::engine {

// How many leading characters of the source text the test is compared with: found by
// looking for the end of the test text in the source, from long tail pieces to short pieces
// further back; the test length plus 10 (at most the source length) when nothing matches.
long long findSourceLimit(TextView testText, TextView sourceText);

// Sets state.sourceLimit from findSourceLimit (OverflowFailure past 16 bits).
void sourceEndSearch(TestState& state, TextView testText, TextView sourceText);

} // namespace tikmeter::engine
