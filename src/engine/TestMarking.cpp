#include "engine/TestMarking.h"

#include "engine/ExcessWords.h"
#include "engine/Keystrokes.h"
#include "engine/PunctuationChecks.h"
#include "engine/Report.h"
#include "engine/Scoring.h"
#include "engine/SourceEndSearch.h"
#include "engine/WordComparison.h"
#include "engine/WordSplit.h"

namespace tikmeter::engine {

void TestMarking::compare(TextView testText, TextView sourceText) {
    state_ = TestState{};
    typedText_ = trimTrailingSpaces(testText);
    TestState& s = state_;
    const TextView typed = typedText_;

    runner_.run("per-test reset", [&] { perTestReset(s); });
    runner_.run("source-end search", [&] { sourceEndSearch(s, testText, sourceText); });
    runner_.run("source word split", [&] { splitSourceWords(s, sourceText); });
    runner_.run("per-test reset", [&] { perTestReset(s); });
    runner_.run("keystroke count", [&] { s.keystrokeCount = countKeystrokes(typed); });
    runner_.run("test word split", [&] { splitTestWords(s, typed); });
    runner_.run("unmatched-word pass", [&] { unmatchedWordPass(s, sourceText); });
    runner_.run("line-break count", [&] { countLineBreaks(s, testText, sourceText); });
    runner_.run("excess-word pass", [&] { excessWordPass(s, typed, sourceText); });
    runner_.run("sentence-spacing check", [&] { sentenceSpacingCheck(s, testText); });
    runner_.run("punctuation count", [&] { punctuationCount(s, testText, sourceText); });
}

void TestMarking::scoreAndReport(ResultFormat format) {
    runner_.run("scoring", [&] { score(state_); });
    runner_.run("report", [&] { buildReport(state_, format); });
}

void TestMarking::reliabilityCheck(TextView sourceText) {
    runner_.run("reliability check", [&] { engine::reliabilityCheck(state_, sourceText); });
}

} // namespace tikmeter::engine
