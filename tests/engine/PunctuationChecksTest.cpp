#include "engine/PunctuationChecks.h"
#include "engine/LanguageDetection.h"

#include <gtest/gtest.h>

namespace tikmeter::engine {
namespace {

TEST(LanguageDetection, AfrikaansPairsComeBeforeEnglishPairs) {
    // Rule 1 holds although rule 13 (" I " and " or ") would too.
    EXPECT_EQ(detectLanguage(u"Ek en jy, or I and you, 'n dag"), Language::Afrikaans);
    EXPECT_EQ(detectLanguage(u"Then I said or did the thing"), Language::English);
}

TEST(LanguageDetection, SingleWordsAndTheDefault) {
    EXPECT_EQ(detectLanguage(u"Only a word here"), Language::English); // rule 23
    EXPECT_EQ(detectLanguage(u"Nothing marks this"), Language::Afrikaans);
    EXPECT_EQ(detectLanguage(u"Omdat dit reen."), Language::Afrikaans); // rule 27
    EXPECT_EQ(detectLanguage(u"Because it rains."), Language::English); // rule 26
    // Rule 25 (" jy ") before rule 26 ("ecause ").
    EXPECT_EQ(detectLanguage(u"Because jy is hier."), Language::Afrikaans);
    EXPECT_EQ(detectLanguage(u"Daar is dit."), Language::Afrikaans); // rule 28
    // Markers are case-sensitive and include their spaces.
    EXPECT_EQ(detectLanguage(u"Only A word"), Language::Afrikaans);
}

TEST(LineBreakCount, CountsCarriageReturnsUpToTheStartPlusOne) {
    EXPECT_EQ(lineBreakCount(u"a\r\nb\r\nc", 6), 3);
    // A carriage return at position 1 ends the count without the extra one.
    EXPECT_EQ(lineBreakCount(u"\r\nabc", 4), 1);
    // The very last position is not looked at by the test count (start = length - 1).
    EXPECT_EQ(lineBreakCount(u"ab\r", 2), 1);
    EXPECT_EQ(lineBreakCount(u"a\rb", 2), 2);
}

TEST(LineBreakCount, SourceIsCountedUpToTheSourceLimit) {
    TestState state;
    state.sourceLimit = 4;
    countLineBreaks(state, u"x\r\ny\r\nz", u"ab\r\ncd\r\nef");
    EXPECT_EQ(state.testLineBreaks, 3);
    EXPECT_EQ(state.sourceLineBreaks, 2); // only the return at 3 lies in 1..3
}

TEST(PunctuationCount, WholeTestAndTheComparedSource) {
    TestState state;
    state.sourceLimit = 5;
    punctuationCount(state, u"a.b,c!d?", u"x.y,z.!?");
    EXPECT_EQ(state.testFullStops, 1);
    EXPECT_EQ(state.testCommas, 1);
    EXPECT_EQ(state.testMarks, 2);
    EXPECT_EQ(state.sourceFullStops, 1);
    EXPECT_EQ(state.sourceCommas, 1);
    EXPECT_EQ(state.sourceMarks, 0);
}

// Counts that do not start from zero (the counting is not reset) fail at the character that
// takes one past 16 bits, with the others counted up to that character.
TEST(PunctuationCount, CounterFailsAtTheCharacterThatOverflowsIt) {
    TestState state;
    state.sourceLimit = 2;
    state.testFullStops = 32766;
    EXPECT_THROW(punctuationCount(state, u",.,!.,", u"x."), OverflowFailure);
    EXPECT_EQ(state.testFullStops, 32767);
    EXPECT_EQ(state.testCommas, 2);
    EXPECT_EQ(state.testMarks, 1);
    EXPECT_EQ(state.sourceFullStops, 0);

    state.testFullStops = 32765;
    state.testCommas = 0;
    state.testMarks = 0;
    punctuationCount(state, u",.,!.,", u"x.");
    EXPECT_EQ(state.testFullStops, 32767);
    EXPECT_EQ(state.testCommas, 3);
    EXPECT_EQ(state.sourceFullStops, 1);
}

TEST(PunctuationCount, MoreThan8000CharactersFails) {
    TestState state;
    state.sourceLimit = 8001;
    EXPECT_THROW(punctuationCount(state, u"a.", u"b."), BoundFailure);
}

std::vector<std::pair<std::u16string, int>> spacingMarks(const std::u16string& text) {
    TestState state;
    sentenceSpacingCheck(state, text);
    std::vector<std::pair<std::u16string, int>> marks;
    for (int k = 1; k <= state.errorCount; ++k)
        marks.emplace_back(state.errorMarks.at(k).text, state.errorMarks.at(k).position);
    return marks;
}

using Marks = std::vector<std::pair<std::u16string, int>>;

TEST(SentenceSpacing, DoubleSpaceInsideASentenceIsMarkedOnce) {
    EXPECT_EQ(spacingMarks(u"Hello  world and  more"), (Marks{{u"\u2022\u2022", 6}}));
    EXPECT_EQ(spacingMarks(u"a,  b"), (Marks{{u"\u2022\u2022", 3}}));
    EXPECT_EQ(spacingMarks(u"don'  t"), (Marks{{u"\u2022\u2022", 5}}));
}

TEST(SentenceSpacing, DoubleSpaceAfterASentenceEndIsNotPartA) {
    // Two spaces after the full stop are the two-space habit; nothing to mark.
    EXPECT_EQ(spacingMarks(u"Stop.  Next one.  Last"), Marks{});
    // Three spaces: the pair after the first space is preceded by a space.
    EXPECT_EQ(spacingMarks(u"Stop.   Next"), (Marks{{u"\u2022\u2022", 7}}));
}

TEST(SentenceSpacing, BreakOfTheTwoSpaceHabitGetsOneBullet) {
    EXPECT_EQ(spacingMarks(u"One.  Two. Three."), (Marks{{u"\u2022", 11}}));
}

TEST(SentenceSpacing, BreakOfTheOneSpaceHabitGetsTwoBullets) {
    EXPECT_EQ(spacingMarks(u"One. Two.  Three."), (Marks{{u"\u2022\u2022", 10}}));
    EXPECT_EQ(spacingMarks(u"Why? Two!  Three."), (Marks{{u"\u2022\u2022", 10}}));
}

TEST(SentenceSpacing, NoSentenceEndNoConvention) {
    TestState state;
    sentenceSpacingCheck(state, u"no sentence end here");
    EXPECT_EQ(state.errorCount, 0);
    EXPECT_EQ(state.sentenceSpacing, SentenceSpacing::Undecided);
}

TEST(SentenceSpacing, MarksFollowTheWordMarks) {
    TestState state;
    state.errorCount = 2;
    sentenceSpacingCheck(state, u"One.  Two. Three.");
    EXPECT_EQ(state.errorCount, 3);
    EXPECT_EQ(state.errorMarks.at(3).text, u"\u2022");
    EXPECT_EQ(state.errorMarks.at(3).errorClass, 0);
}

} // namespace
} // namespace tikmeter::engine
