#include "engine/Report.h"
#include "engine/Scoring.h"

#include <gtest/gtest.h>

#include <array>

namespace tikmeter::engine {
namespace {

TEST(Scoring, PenaltiesAndExcessTextAddedToTheWordErrors) {
    const Text lineFeeds = u"Wrong number of line feeds";
    // Each row: name, word errors, {line breaks, full stops, commas, "!?" of the test, then of
    // the source}, excess text, bracketed excess words, the errors scored and the remarks.
    // clang-format off
    const std::tuple<const char*, int, std::array<int, 8>, Text, int, int, Text> cases[] = {
        {"none", 0, {1, 0, 0, 0, 1, 0, 0, 0}, u"", 0, 0, u""},
        {"more line breaks", 0, {5, 0, 0, 0, 4, 0, 0, 0}, u"", 0, 1, u"\r\n" + lineFeeds},
        {"fewer full stops", 2, {1, 2, 0, 0, 1, 3, 0, 0}, u"", 0, 3, u"\r\nMissing full stop(s)"},
        {"as many as the source", 0, {2, 3, 2, 1, 2, 3, 2, 1}, u"", 0, 0, u""},
        {"more than the source", 0, {1, 9, 9, 9, 1, 3, 3, 3}, u"", 0, 0, u""},
        {"all four, in order", 1, {3, 0, 0, 0, 4, 1, 1, 1}, u"", 0, 5, u"\r\n" + lineFeeds +
            u"\r\nMissing full stop(s)\r\nMissing comma(s)\r\nMissing <!> or <?>"},
        {"5 excess characters", 0, {1, 0, 0, 0, 1, 0, 0, 0}, u"abcd ", 0, 1, u""},
        {"5 excess characters, 2 errors", 2, {1, 0, 0, 0, 1, 0, 0, 0}, u"abcd ", 0, 2, u""},
        {"12 excess characters, 1 in ()", 2, {1, 0, 0, 0, 1, 0, 0, 0}, u"bird bird to", 1, 3, u""},
        {"bracketed below zero stays", 0, {1, 0, 0, 0, 1, 0, 0, 0}, u"ab", 1, -1, u""}};
    // clang-format on
    for (const auto& [name, errors, n, excess, brackets, scored, remarks] : cases) {
        TestState s;
        s.errorCount = errors;
        std::tie(s.testLineBreaks, s.testFullStops, s.testCommas, s.testMarks) =
            std::tuple(Counter16(n[0]), Counter16(n[1]), Counter16(n[2]), Counter16(n[3]));
        std::tie(s.sourceLineBreaks, s.sourceFullStops, s.sourceCommas, s.sourceMarks) =
            std::tuple(Counter16(n[4]), Counter16(n[5]), Counter16(n[6]), Counter16(n[7]));
        s.excessText = excess;
        s.bracketCount = brackets;
        score(s);
        EXPECT_EQ(s.wordErrors, errors) << name;
        EXPECT_EQ(s.errorCount, scored) << name;
        EXPECT_EQ(s.remarksText, remarks) << name;
    }
    TestState full;
    full.errorCount = 32767;
    full.testLineBreaks = 1;
    EXPECT_THROW(score(full), OverflowFailure);
    Counter16 low = -32768;
    EXPECT_THROW(low -= 1, OverflowFailure);
}

TestState scored(std::int32_t keystrokes, int errors) {
    TestState state;
    state.keystrokeCount = keystrokes;
    state.errorCount = errors;
    score(state);
    return state;
}

TEST(Report, FinalResultAsIntegerHalfToEvenAndAsMultipleOf5HalvesUpTowardsZeroBelow) {
    // clang-format off
    const std::tuple<int, const char16_t*, const char16_t*> cases[] = {
        {425, u" 42", u" 45"}, {435, u" 44", u" 45"}, {424, u" 42", u" 40"}, {426, u" 43", u" 45"},
        {474, u" 47", u" 45"}, {475, u" 48", u" 50"}, {0, u" 0", u" 0"}, {-3, u" 0", u" 0"},
        {-25, u"-2", u" 0"}, {-26, u"-3", u" 0"}, {-30, u"-3", u" 0"}, {-75, u"-8", u"-5"},
        {-80, u"-8", u"-5"}};
    // clang-format on
    for (const auto& [net, integer, multiple] : cases) {
        TestState asInteger = scored(5000, 1000 - net); // 1000 gross words
        TestState asMultiple = asInteger;
        buildReport(asInteger, ResultFormat::Integer);
        buildReport(asMultiple, ResultFormat::MultipleOf5);
        EXPECT_EQ(asInteger.finalResultText, Text(integer)) << net;
        EXPECT_EQ(asMultiple.finalResultText, Text(multiple)) << net;
    }
}

TEST(ReliabilityCheck, MoreThanFiveCountedMarksFoundInTheSourceIsUnreliable) {
    const Text source = u"one two three four five six  seven";
    const std::vector<Text> six = {u"one ", u"two ", u"three ", u"four ", u"five ", u"six "};
    // Each row: marks, errors counted, marks found in the source, reliable.
    // clang-format off
    const std::tuple<const char*, std::vector<Text>, int, int, bool> cases[] = {
        {"five found", {u"one ", u"two ", u"three ", u"four ", u"five ", u"seven "}, 6, 5, true},
        {"six found", six, 6, 6, false},
        {"sixth not counted", six, 5, 5, true},
        {"up to the scored count", {u"one ", u"two ", u"three ", u"four ", u"five ", u"", u"six "},
         8, 6, false},
        {"blank marks", {u"  ", u" ", u"\u2022\u2022", u"One "}, 4, 0, true}}; // "  " is in it
    // clang-format on
    for (const auto& [name, marks, errors, found, reliable] : cases) {
        TestState state;
        for (std::size_t k = 0; k < marks.size(); ++k)
            state.errorMarks.set(static_cast<long long>(k) + 1, ErrorMark{marks[k], 1, 0});
        state.errorCount = errors;
        reliabilityCheck(state, source);
        EXPECT_EQ(state.suspectsFound, found) << name;
        EXPECT_EQ(state.suspectCount, reliable ? found : 0) << name; // set back when unreliable
        EXPECT_EQ(state.statusText, reliable ? statusSuccessful : statusUnreliable) << name;
    }
    TestState full;
    full.errorCount = 1500;
    EXPECT_NO_THROW(reliabilityCheck(full, source));
    full.errorCount = 1501;
    EXPECT_THROW(reliabilityCheck(full, source), BoundFailure);
}

} // namespace
} // namespace tikmeter::engine
