#include "EngineTestSupport.h"

#include "engine/LanguageDetection.h"
#include "engine/PunctuationChecks.h"

#include <gtest/gtest.h>

namespace tikmeter::engine {
namespace {

using testing::repeated;

constexpr Language af = Language::Afrikaans;
constexpr Language en = Language::English;

TEST(LanguageDetection, FirstRuleThatHoldsDecides) {
    // Each text holds its rule and no earlier one; without the rule a later one (mostly " a ",
    // English) or the default (Afrikaans) would decide the other way. Rules 18, 21 and 22 need
    // " a " (rule 23, English) and rules 27 and 28 give the default: no text tells them apart.
    // clang-format off
    const std::tuple<const char*, const char16_t*, Language> cases[] = {
        {"1", u"'n dag en a b", af}, {"2", u"'n kat nie a b", af}, {"3", u"'n kat nie. a b", af},
        {"4", u"ek het 'n a b", af}, {"5", u"ek het nie a b", af}, {"6", u"'n kan a b", af},
        {"7", u"'n met a b", af}, {"8", u"'n soos a b", af}, {"9", u"'n te a b", af},
        {"10", u"'n maar a b", af}, {"11", u"'n Die a b", af}, {"12", u"so maar nie. a b", af},
        {"13", u"x I or y", en}, {"14", u"I went and ran", en}, {"15", u"is not you now", en},
        {"16", u"is not You now", en}, {"17", u"so he saw I go", en}, {"19", u"x will I go", en},
        {"20", u"x can I go", en}, {"23", u"Only a word here", en}, {"24", u"sy 'n because x", af},
        {"25", u"Because jy is.", af}, {"26", u"Because it rains.", en}, {"none", u"No marker", af},
        {"case-sensitive", u"Only A word", af}, {"' en ' has spaces", u"x'n hen a b", en},
        {"' A ' and ' I ' is no rule", u"x A y I z", af}};
    // clang-format on
    for (const auto& [rule, text, language] : cases)
        EXPECT_EQ(detectLanguage(text), language) << "rule " << rule;
}

TEST(LineBreakCount, ReturnsUpToTheStartPlusOneUnlessTheFirstCharacterIsOne) {
    // clang-format off
    const std::tuple<Text, long long, long long> cases[] = {
        {u"a\r\nb\r\nc", 6, 3}, {u"\r\nabc", 4, 1}, {u"ab\r", 2, 1}, {u"a\rb", 2, 2},
        {u"abc", 0, 1}};
    // clang-format on
    for (const auto& [text, start, count] : cases)
        EXPECT_EQ(lineBreakCount(text, start), count) << testing::shown(text);
    TestState state;
    state.sourceLimit = 3;
    countLineBreaks(state, u"ab\r", u"ab\rcd");
    EXPECT_EQ(state.testLineBreaks, 1);   // not the test's last character
    EXPECT_EQ(state.sourceLineBreaks, 1); // nor the source's character at the limit
}

TEST(PunctuationCount, WholeTestAndTheSourceUpToTheLimit) {
    TestState state;
    state.sourceLimit = 6;
    punctuationCount(state, u"a.b,c!d?", u"x.y,z.!?");
    EXPECT_EQ(std::vector<int>({state.testFullStops, state.testCommas, state.testMarks,
                                state.sourceFullStops, state.sourceCommas, state.sourceMarks}),
              std::vector<int>({1, 1, 2, 2, 1, 0}));
    EXPECT_NO_THROW(punctuationCount(state, repeated(u"x", 8000), u"b."));
    EXPECT_THROW(punctuationCount(state, repeated(u"x", 8001), u"b."), BoundFailure);
    state.sourceLimit = 8000;
    EXPECT_NO_THROW(punctuationCount(state, u"a.", u"b."));
    state.sourceLimit = 8001;
    EXPECT_THROW(punctuationCount(state, u"a.", u"b."), BoundFailure);
    // A count that would leave 16 bits is counted character by character and fails at the
    // character that takes it past, with the others counted up to there.
    TestState full;
    full.testFullStops = 32766;
    EXPECT_THROW(punctuationCount(full, u"?.,!.,", u"x."), OverflowFailure);
    EXPECT_EQ(std::vector<int>({full.testFullStops, full.testCommas, full.testMarks}),
              std::vector<int>({32767, 1, 2}));
}

// The spacing marks as bullets@position ("**" for the two-bullet placeholder).
std::string spacingMarks(TextView text, int wordMarks = 0) {
    TestState state;
    state.errorCount = wordMarks;
    sentenceSpacingCheck(state, text);
    std::string out;
    for (int k = wordMarks + 1; k <= state.errorCount; ++k) {
        const ErrorMark& mark = state.errorMarks.at(k);
        for (const char16_t c : mark.text)
            out += c == u'\u2022' ? '*' : '?';
        out += "@" + std::to_string(mark.position) + ":" + std::to_string(mark.errorClass) + ";";
    }
    return out;
}

TEST(SentenceSpacing, DoubleSpaceInsideASentenceAndBreaksOfTheTestsOwnHabit) {
    // clang-format off
    const std::pair<Text, std::string> cases[] = {
        {u"Hello  world and  more", "**@6:0;"}, {u"a,  b", "**@3:0;"}, {u"don'  t", "**@5:0;"},
        {u"fizz  buzz", "**@5:0;"},  {u"a  b", "**@2:0;"}, {u"A  b", "**@2:0;"}, {u"1  2", ""},
        {u"Stop.  Next one.  Last", ""}, {u"Stop.   Next", "**@7:0;"}, {u"Stop.   ", ""},
        {u"One.  Two. Three.", "*@11:0;"}, {u"One. Two.  Three.", "**@10:0;"},
        {u"Why? Two!  Three.", "**@10:0;"}, {u"Wait..  now", ""}, {u"A?  B. C!  D", "*@7:0;"},
        {repeated(u"A.  ", 15) + u"B. C", "*@63:0;"}, {repeated(u"A.  ", 16) + u"B. C", ""},
        {u"no sentence end  here", "**@16:0;"}, {u"no sentence end", ""}};
    // clang-format on
    for (const auto& [text, marks] : cases)
        EXPECT_EQ(spacingMarks(text), marks) << testing::shown(text);
    EXPECT_EQ(spacingMarks(u"One.  Two. Three.", 2), "*@11:0;"); // after the word marks
}

} // namespace
} // namespace tikmeter::engine
