#include "engine/TestOutcome.h"

#include "engine/Report.h"

namespace tikmeter::engine {

TestMarks marksOf(const TestState& state, Language language) {
    TestMarks marks;
    marks.language = language;
    marks.sourceLimit = state.sourceLimit.value();
    marks.keystrokeCount = state.keystrokeCount;
    marks.wordErrors = state.wordErrors.value();
    marks.errorCount = state.errorCount.value();
    marks.grossWords = state.grossWords;
    marks.netWords = state.netWords;
    marks.finalResult = state.finalResult;
    marks.finalResultText = state.finalResultText;
    marks.penalties = state.penalties;
    for (int k = 1; k <= state.wordErrors.value(); ++k) {
        marks.errorMarks.push_back(state.errorMarks.at(k));
    }
    for (int k = 1; k <= state.repeatMarkCount.value(); ++k) {
        marks.repeatMarks.push_back(state.repeatMarks.at(k));
    }
    for (int k = 1; k <= state.excessCount.value(); ++k) {
        marks.excessWords.push_back(state.excessWords.at(k));
    }
    marks.excessText = state.excessText;
    marks.bracketCount = state.bracketCount.value();
    marks.suspectCount = state.suspectsFound;
    marks.testLineBreaks = state.testLineBreaks.value();
    marks.sourceLineBreaks = state.sourceLineBreaks.value();
    marks.reportText = state.reportText;
    marks.reliable = state.statusText != statusUnreliable;
    return marks;
}

} // namespace tikmeter::engine
