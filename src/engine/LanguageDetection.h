#pragma once

#include "engine/MarkingTypes.h"
#include "engine/TextSearch.h"

namespace tikmeter::engine {

// The language of a test from marker words (case-sensitive, spaces included): pairs of
// frequent Afrikaans words first, then pairs of English words, then single words; the first
// rule that holds decides, and Afrikaans is the default.
Language detectLanguage(TextView testText);

} // namespace tikmeter::engine
