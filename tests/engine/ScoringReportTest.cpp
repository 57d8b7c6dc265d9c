#include "engine/Report.h"
#include "engine/Scoring.h"

#include <gtest/gtest.h>

namespace tikmeter::engine {
namespace {

TestState scored(std::int32_t keystrokes, int errors) {
    TestState state;
    state.keystrokeCount = keystrokes;
    state.errorCount = errors;
    score(state);
    return state;
}

TEST(Report, WorkedExampleAsMultipleOf5) {
    TestState state = scored(2190, 12);
    buildReport(state, ResultFormat::MultipleOf5);
    EXPECT_EQ(state.reportText, u"\r\n|| 2190      12m\r\n"
                                u"\r\n2190 \u00F7 5 =  438\r\n"
                                u"Less no. of words with errors:  -  12 =  426\r\n"
                                u"WPM =  426 \u00F7 10 =  42.6         Final:  45 wpm ");
    EXPECT_EQ(state.finalResult, Tenths{450});
    EXPECT_EQ(state.finalResultText, u" 45");
}

TEST(Report, WorkedExampleAsInteger) {
    TestState state = scored(2190, 12);
    buildReport(state, ResultFormat::Integer);
    EXPECT_EQ(state.reportText, u"\r\n|| 2190      12m\r\n=  43");
    EXPECT_EQ(state.finalResult, Tenths{430});
}

TEST(Scoring, GrossWordsRoundHalfToEven) {
    EXPECT_EQ(scored(2190, 0).grossWords, 438);
    EXPECT_EQ(scored(2192, 0).grossWords, 438);
    EXPECT_EQ(scored(2193, 0).grossWords, 439);
}

struct RoundingCase {
    int netWords;
    long long integerTenths;
    long long multipleOf5Tenths;
};

class FinalResultRounding : public ::testing::TestWithParam<RoundingCase> {};

TEST_P(FinalResultRounding, BothSettings) {
    const RoundingCase c = GetParam();
    // Gross words of exactly 1000 (5000 keystrokes) minus the errors give the net words.
    TestState asInteger = scored(5000, 1000 - c.netWords);
    ASSERT_EQ(asInteger.netWords, c.netWords);
    TestState asMultiple = asInteger;
    buildReport(asInteger, ResultFormat::Integer);
    buildReport(asMultiple, ResultFormat::MultipleOf5);
    EXPECT_EQ(asInteger.finalResult.tenths, c.integerTenths);
    EXPECT_EQ(asMultiple.finalResult.tenths, c.multipleOf5Tenths);
}

INSTANTIATE_TEST_SUITE_P(Cases, FinalResultRounding,
                         ::testing::Values(RoundingCase{425, 420, 450}, RoundingCase{435, 440, 450},
                                           RoundingCase{424, 420, 400}, RoundingCase{474, 470, 450},
                                           RoundingCase{-30, -30, 0}, RoundingCase{-80, -80, -50},
                                           RoundingCase{-25, -20, 0}, RoundingCase{0, 0, 0}));

TEST(Report, NegativeResultTexts) {
    TestState state = scored(5000, 1003); // net -3 words
    buildReport(state, ResultFormat::MultipleOf5);
    EXPECT_NE(state.reportText.find(u"WPM = -3 \u00F7 10 = -0.3 "), std::u16string::npos);
    EXPECT_EQ(state.finalResultText, u" 0");
}

TEST(Scoring, PenaltiesInOrderAndTheirRemarks) {
    TestState state;
    state.keystrokeCount = 500;
    state.errorCount = 2;
    state.testLineBreaks = 3;
    state.sourceLineBreaks = 4;
    state.testFullStops = 5;
    state.sourceFullStops = 5;
    state.testCommas = 1;
    state.sourceCommas = 2;
    state.testMarks = 0;
    state.sourceMarks = 1;
    score(state);
    EXPECT_EQ(state.wordErrors, 2);
    EXPECT_EQ(state.errorCount, 5);
    EXPECT_EQ(state.penalties,
              (std::vector<std::u16string>{u"Wrong number of line feeds", u"Missing comma(s)",
                                           u"Missing <!> or <?>"}));
    buildReport(state, ResultFormat::Integer);
    EXPECT_EQ(state.reportText, u"\r\n|| 500      5m\r\n\r\nWrong number of line feeds\r\n"
                                u"Missing comma(s)\r\nMissing <!> or <?>=  10");
}

TEST(Scoring, MorePunctuationThanTheSourceIsNoPenalty) {
    TestState state;
    state.testFullStops = 9;
    state.sourceFullStops = 3;
    score(state);
    EXPECT_EQ(state.errorCount, 0);
}

TEST(Scoring, ExcessTextCountsPerSixCharactersLessTheBracketed) {
    TestState five;
    five.excessText = u"abcd ";
    score(five);
    EXPECT_EQ(five.errorCount, 1); // 5 / 6 is 0, but excess text makes at least 1

    TestState twelve;
    twelve.errorCount = 2;
    twelve.excessText = u"bird bird to";
    twelve.bracketCount = 1;
    score(twelve);
    EXPECT_EQ(twelve.errorCount, 3); // 2 + 12 / 6 - 1
}

TEST(Scoring, ExcessWordsOpenTheRemarksAndTheIntegerResultFollowsOnTheSameLine) {
    TestState state;
    state.keystrokeCount = 1000;
    state.excessCount = 2;
    state.excessWords.set(1, u"(the )");
    state.excessWords.set(2, u"bird ");
    state.excessText = u"the bird ";
    state.bracketCount = 1;
    state.errorCount = 1;
    score(state);
    buildReport(state, ResultFormat::Integer);
    EXPECT_EQ(state.remarksText, u"Excess words: (the ), bird ");
    EXPECT_EQ(state.reportText, u"\r\n|| 1000      1m\r\nExcess words: (the ), bird =  20");
}

TEST(Scoring, ErrorCountOverflowIsAFailure) {
    TestState state;
    state.errorCount = 32767;
    state.testLineBreaks = 1;
    EXPECT_THROW(score(state), OverflowFailure);
}

TestState withMarks(const std::vector<std::u16string>& texts) {
    TestState state;
    for (const auto& text : texts) {
        state.errorCount += 1;
        state.errorMarks.set(state.errorCount, ErrorMark{text, 1, 0});
    }
    return state;
}

TEST(ReliabilityCheck, MoreThanFiveMarksFoundInTheSourceIsUnreliable) {
    const std::u16string source = u"one two three four five six seven";
    TestState five = withMarks({u"one ", u"two ", u"three ", u"four ", u"five ", u"xx "});
    reliabilityCheck(five, source);
    EXPECT_EQ(five.statusText, u".......Successful");
    EXPECT_EQ(five.suspectCount, 5);

    TestState six = withMarks({u"one ", u"two ", u"three ", u"four ", u"five ", u"six "});
    reliabilityCheck(six, source);
    EXPECT_EQ(six.statusText, u".......Result may not be reliable");
    EXPECT_EQ(six.suspectCount, 0); // set back
    EXPECT_EQ(six.suspectsFound, 6);
}

TEST(ReliabilityCheck, ReadsTheTableUpToTheScoredCount) {
    const std::u16string source = u"one two three four five six seven";
    // Five counted marks, an entry that left the count, and penalties that raise the count:
    // the entries past the word marks are read as they stand (empty when never written).
    TestState state = withMarks({u"one ", u"two ", u"three ", u"four ", u"five ", u"six "});
    state.errorCount = 5;
    score(state); // no penalties yet
    state.errorCount = 8;
    reliabilityCheck(state, source);
    EXPECT_EQ(state.suspectsFound, 6);
    EXPECT_EQ(state.statusText, u".......Result may not be reliable");
}

TEST(ReliabilityCheck, BlankMarksAreNotSuspect) {
    TestState state = withMarks({u"  ", u"\u2022\u2022"});
    reliabilityCheck(state, u"a  b");
    EXPECT_EQ(state.suspectsFound, 0);
}

} // namespace
} // namespace tikmeter::engine
