#include "engine/Scoring.h"

namespace tikmeter::engine {

void score(TestState& state) {
    state.wordErrors = state.errorCount.value();
    state.penalties.clear();
    const auto penalise = [&](bool applies, TextView remark) {
        if (!applies)
            return;
        state.errorCount += 1;
        state.penalties.emplace_back(remark);
    };
    penalise(state.testLineBreaks != state.sourceLineBreaks, remarkLineFeeds);
    penalise(state.testFullStops < state.sourceFullStops, remarkFullStops);
    penalise(state.testCommas < state.sourceCommas, remarkCommas);
    penalise(state.testMarks < state.sourceMarks, remarkMarks);

    // Six characters of excess text count as one word with an error.
    state.errorCount = static_cast<long long>(state.errorCount) +
                       static_cast<long long>(state.excessText.size() / 6) -
                       static_cast<long long>(state.bracketCount);
    if (!state.excessText.empty() && state.errorCount == 0)
        state.errorCount = 1;

    state.grossWords = roundHalfEven(state.keystrokeCount, 5);
    state.netWords = state.grossWords - state.errorCount;
    state.finalResult = Tenths{state.netWords};

    state.remarksText.clear();
    if (state.excessCount > 0) {
        state.remarksText = u"Excess words: ";
        for (long long e = 1; e <= state.excessCount; ++e) {
            if (e > 1)
                state.remarksText += u", ";
            state.remarksText += state.excessWords.at(e);
        }
    }
    for (const Text& remark : state.penalties)
        state.remarksText += u"\r\n" + remark;
}

} // namespace tikmeter::engine
