#pragma once

#include "documents/Utf8.h"
#include "engine/TestState.h"
#include "engine/WordSplit.h"

#include <string>

namespace tikmeter::engine::testing {

// A state ready for the comparison passes: the source split up to `sourceLimit` (the whole
// source when negative) and the typed text split into the test words.
inline TestState prepared(TextView typed, TextView source, long long sourceLimit = -1) {
    TestState state;
    state.sourceLimit = sourceLimit < 0 ? static_cast<long long>(source.size()) : sourceLimit;
    splitSourceWords(state, source);
    perTestReset(state);
    splitTestWords(state, typed);
    return state;
}

inline Text repeated(TextView piece, int times) {
    Text text;
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

// Text for messages and expectations, as UTF-8.
inline std::string shown(TextView text) {
    return documents::toUtf8(text);
}

} // namespace tikmeter::engine::testing
