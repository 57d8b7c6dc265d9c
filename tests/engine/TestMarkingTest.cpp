#include "EngineTestSupport.h"

#include "engine/LanguageDetection.h"
#include "engine/PunctuationSpacing.h"
#include "engine/TestMarking.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tikmeter::engine {
namespace {

// Records the steps in order; a failing step is recorded and skipped, as the session's
// trap does for "any other" failure.
class RecordingRunner : public StepRunner {
public:
    void run(std::string_view stepName, const std::function<void()>& step) override {
        steps.emplace_back(stepName);
        try {
            step();
        } catch (const MarkingFailure&) {
            failed.emplace_back(stepName);
        }
    }
    std::vector<std::string> steps;
    std::vector<std::string> failed;
};

TEST(TestMarking, RunsTheStepsInTheSessionOrder) {
    RecordingRunner runner;
    TestMarking marking(runner);
    const std::u16string source = u"The cat sat on the mat, and it was warm.";
    marking.compare(u"The cat sat on the mat and it was warm.", source);
    marking.scoreAndReport(ResultFormat::Integer);
    marking.reliabilityCheck(source);
    EXPECT_EQ(runner.steps,
              (std::vector<std::string>{
                  "per-test reset", "source-end search", "source word split", "per-test reset",
                  "keystroke count", "test word split", "unmatched-word pass", "line-break count",
                  "excess-word pass", "sentence-spacing check", "punctuation count", "scoring",
                  "report", "reliability check"}));
    EXPECT_TRUE(runner.failed.empty());
}

TEST(TestMarking, FailedStepIsSkippedAndTheNextOnesRun) {
    RecordingRunner runner;
    TestMarking marking(runner);
    // 8001 characters: the word split and the punctuation count exceed their bounds.
    const std::u16string test = testing::repeated(u"x", 8001);
    marking.compare(test, u"The source text of this test is much shorter than that.");
    marking.scoreAndReport(ResultFormat::MultipleOf5);
    EXPECT_EQ(runner.failed, (std::vector<std::string>{"test word split", "punctuation count"}));
    EXPECT_EQ(marking.state().keystrokeCount, 8001);
    EXPECT_FALSE(marking.state().reportText.empty());
}

TEST(TestMarking, TypedTextDropsTrailingSpacesOnly) {
    StepRunner runner;
    TestMarking marking(runner);
    marking.compare(u"one two.\r\n  ", u"one two.");
    EXPECT_EQ(marking.typedText(), u"one two.\r\n");
}

TEST(TestMarking, ResultDoesNotDependOnTheTestMarkedBefore) {
    const std::u16string source = u"I saw the cat and the dog. They ran home, fast and far.";
    const std::u16string second = u"I saw the cat and the dog. They ran home, fast and far.";
    StepRunner runner;
    TestMarking reused(runner);
    reused.compare(u"teh teh cta adn hte dgo. Tehy rna hmoe, fsat adn fra. x y z", source);
    reused.scoreAndReport(ResultFormat::Integer);
    reused.compare(second, source);
    reused.scoreAndReport(ResultFormat::Integer);

    TestMarking fresh(runner);
    fresh.compare(second, source);
    fresh.scoreAndReport(ResultFormat::Integer);
    EXPECT_EQ(reused.state().reportText, fresh.state().reportText);
    EXPECT_EQ(reused.state().errorMarks.at(1).text, u"");
    EXPECT_EQ(reused.state().repeatMarkCount, 0);
}

// Worked by hand (English).
//   source: "The quick brown fox jumps over the lazy dog. It was a sunny day, and the birds
//            sang." CR LF "We walked home."  (101 characters; CR at 85)
//   test:   "The quick brown fox jumps over the lazy dog. It was a suny day and the birds
//            sang."  (82 characters)
// Language: no Afrikaans rule; " a " holds (rule 23): English.
// Source end: the last 40..22 characters hold "suny" or "ay and"; the last 19, "and the
//   birds sang.", stand at source 66: 66 + 41 = 107, cut to the source length 101.
// Keystrokes: 82 characters, capitals T and I count one more each: 84.
// Words: "suny " (at 55) is unknown, no join ("sunyday", ... not in the source): mark 1,
//   class 0. "day " is known through " day," in the source. Last word "sang." lies in the
//   window 61..101.
// Line breaks: test 1 (no CR), source 2 (CR at 85 before 100): penalty.
// Full stops 2 < 3 (the source part runs to "home."): penalty. Commas 0 < 1: penalty.
// No excess ("the" twice in both), no double space, one-space habit kept.
// Score: 1 + 3 = 4 errors; 84 / 5 = 16.8 gives 17 gross; 13 net; 1.3: integer 1,
//   multiple of 5: m = 38, 38 - 38 = 0.
// Reliability: "suny " is not in the source; entries 2..4 are empty: Successful.
TEST(HandWorked, EnglishTest) {
    std::u16string source = u"The quick brown fox jumps over the lazy dog. It was a sunny day, "
                            u"and the birds sang.\r\nWe walked home.";
    std::u16string test = u"The quick brown fox jumps over the lazy dog. It was a suny day and "
                          u"the birds sang.";
    ASSERT_EQ(detectLanguage(test), Language::English);
    punctuationSpacingPass(test, source);

    StepRunner runner;
    TestMarking marking(runner);
    marking.compare(test, source);
    const TestState& s = marking.state();
    EXPECT_EQ(s.sourceLimit, 101);
    EXPECT_EQ(s.keystrokeCount, 84);
    ASSERT_EQ(s.errorCount, 1);
    EXPECT_EQ(s.errorMarks.at(1).text, u"suny ");
    EXPECT_EQ(s.errorMarks.at(1).position, 55);
    EXPECT_EQ(s.testLineBreaks, 1);
    EXPECT_EQ(s.sourceLineBreaks, 2);
    EXPECT_EQ(s.excessCount, 0);

    TestMarking asInteger = marking;
    asInteger.scoreAndReport(ResultFormat::Integer);
    EXPECT_EQ(asInteger.state().reportText,
              u"\r\n|| 84      4m\r\n\r\nWrong number of line feeds\r\nMissing full stop(s)\r\n"
              u"Missing comma(s)=  1");

    marking.scoreAndReport(ResultFormat::MultipleOf5);
    marking.reliabilityCheck(source);
    EXPECT_EQ(s.grossWords, 17);
    EXPECT_EQ(s.netWords, 13);
    EXPECT_EQ(s.reportText,
              u"\r\n|| 84      4m\r\n\r\nWrong number of line feeds\r\nMissing full stop(s)\r\n"
              u"Missing comma(s)\r\n84 \u00F7 5 =  17\r\nLess no. of words with errors:  -  4 =  13"
              u"\r\nWPM =  13 \u00F7 10 =  1.3         Final:  0 wpm ");
    EXPECT_EQ(s.statusText, u".......Successful");
}

// Worked by hand (Afrikaans).
//   source: "Ons het 'n hond. Die hond is groot en hy blaf baie."  (51 characters)
//   test:   "Ons het 'n hond. Die hond is grot en en hy blaf baie."  (53 characters)
// Language: "'n " and " en " (rule 1): Afrikaans.
// Source end: the last 40..19 characters hold "grot" or "en en"; the last 16, "en hy blaf
//   baie.", stand at source 36: 36 + 41 = 77, cut to 51.
// Keystrokes: 53 characters plus capitals O and D: 55.
// Words: "grot " (at 30) is unknown, no join: mark 1. "en " is a source word.
// Excess: "en" typed twice, once in the source: one entry "en ". ("baie", the last distinct
//   word, is not examined.)
// Doubled word: "en " "en " (not doubled in the source): mark 2 "en " at 38, one doubled
//   word; the excess entry equals mark 2: "(en )", one bracket.
// Line breaks 1 and 1; full stops 2 and 2; no commas; one-space habit kept.
// Score: 2 + 3 / 6 (0) - 1 bracket = 1 error; 55 / 5 = 11 gross; 10 net; 1.0: integer 1,
//   multiple of 5: m = 35, 35 - 35 = 0.
TEST(HandWorked, AfrikaansTest) {
    std::u16string source = u"Ons het 'n hond. Die hond is groot en hy blaf baie.";
    std::u16string test = u"Ons het 'n hond. Die hond is grot en en hy blaf baie.";
    ASSERT_EQ(detectLanguage(test), Language::Afrikaans);
    punctuationSpacingPass(test, source);

    StepRunner runner;
    TestMarking marking(runner);
    marking.compare(test, source);
    const TestState& s = marking.state();
    EXPECT_EQ(s.sourceLimit, 51);
    EXPECT_EQ(s.keystrokeCount, 55);
    ASSERT_EQ(s.errorCount, 2);
    EXPECT_EQ(s.errorMarks.at(1).text, u"grot ");
    EXPECT_EQ(s.errorMarks.at(1).position, 30);
    EXPECT_EQ(s.errorMarks.at(2).text, u"en ");
    EXPECT_EQ(s.errorMarks.at(2).position, 38);
    EXPECT_EQ(s.repeatedWordErrors, 1);
    ASSERT_EQ(s.excessCount, 1);
    EXPECT_EQ(s.excessWords.at(1), u"(en )");

    TestMarking asInteger = marking;
    asInteger.scoreAndReport(ResultFormat::Integer);
    EXPECT_EQ(asInteger.state().reportText, u"\r\n|| 55      1m\r\nExcess words: (en )=  1");

    marking.scoreAndReport(ResultFormat::MultipleOf5);
    marking.reliabilityCheck(source);
    EXPECT_EQ(s.wordErrors, 2);
    EXPECT_EQ(s.reportText, u"\r\n|| 55      1m\r\nExcess words: (en )\r\n55 \u00F7 5 =  11\r\n"
                            u"Less no. of words with errors:  -  1 =  10\r\n"
                            u"WPM =  10 \u00F7 10 =  1         Final:  0 wpm ");
    EXPECT_EQ(s.statusText, u".......Successful");
}

} // namespace
} // namespace tikmeter::engine
