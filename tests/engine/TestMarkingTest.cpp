#include "engine/TestMarking.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tikmeter::engine {
namespace {

// Runs each step and records the failed ones, going on with the next step as the session's
// trap does.
struct RecordingRunner : StepRunner {
    void run(std::string_view stepName, const std::function<void()>& step) override {
        try {
            step();
        } catch (const MarkingFailure&) {
            failed.emplace_back(stepName);
        }
    }
    std::vector<std::string> failed;
};

TEST(TestMarking, EveryStepRunsOnItsOwnSoAFailedStepLeavesTheOthers) {
    RecordingRunner runner;
    TestMarking marking(runner);
    // 8001 characters: the word split and the punctuation count exceed their bounds.
    marking.compare(Text(8001, u'x'), u"The source text of this test is much shorter than that.");
    marking.scoreAndReport(ResultFormat::MultipleOf5);
    marking.reliabilityCheck(u"source");
    EXPECT_EQ(runner.failed, (std::vector<std::string>{"test word split", "punctuation count"}));
    EXPECT_EQ(marking.state().keystrokeCount, 8001);
    EXPECT_NE(marking.state().reportText.find(u"|| 8001 "), Text::npos);
    EXPECT_EQ(marking.state().statusText, u".......Successful");
}

TEST(TestMarking, TestTextFeedsTheSourceEndLineBreaksAndSpacingTypedTextTheWordsAndKeystrokes) {
    const Text source = u"one two three four five six seven eight nine ten eleven twelve thirteen";
    const Text typed = source.substr(0, 52); // up to "ele"
    StepRunner runner;
    TestMarking marking(runner);
    marking.compare(typed + u"  ", source);
    const TestState& s = marking.state();
    EXPECT_EQ(marking.typedText(), typed);
    EXPECT_EQ(s.sourceLimit, 14 + 41); // the tails end in two spaces: phase 2 finds 14..49
    EXPECT_EQ(s.keystrokeCount, 52);
    ASSERT_EQ(s.errorCount, 1); // no word marks ("ele" is in the window); the double space
    EXPECT_EQ(s.errorMarks.at(1).position, 53);
    marking.compare(typed + u"\r  ", source);
    EXPECT_EQ(marking.state().testLineBreaks, 2); // the return is not the test's last character
}

} // namespace
} // namespace tikmeter::engine
