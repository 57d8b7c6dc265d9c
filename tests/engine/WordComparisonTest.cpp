#include "EngineTestSupport.h"

#include "engine/ExcessWords.h"
#include "engine/WordComparison.h"

#include <gtest/gtest.h>

namespace tikmeter::engine {
namespace {

using testing::prepared;
using testing::repeated;

// The comparison passes in the session's order (without the punctuation checks).
TestState compared(TextView typed, TextView source) {
    TestState state = prepared(typed, source);
    unmatchedWordPass(state, source);
    excessWordPass(state, typed, source);
    return state;
}

TEST(UnmatchedWordPass, ExactCopyHasNoMarksAndNoExcessWords) {
    const std::u16string source = u"The cat sat on the mat.\r\nIt was warm, very warm.";
    const TestState state = compared(source, source);
    EXPECT_EQ(state.errorCount, 0);
    EXPECT_EQ(state.repeatMarkCount, 0);
    EXPECT_EQ(state.excessCount, 0);
}

TEST(UnmatchedWordPass, WordAtALineEndIsKnownThroughTheFullStopRule) {
    // "cat\r" is no source word, but the source has "cat.".
    const std::u16string source = u"I have a cat. It sleeps all day";
    const TestState state = compared(u"I have a cat\r\nIt sleeps all day", source);
    EXPECT_EQ(state.errorCount, 0);
}

TEST(Joins, SplitWordIsOneErrorCoveringBothWords) {
    const std::u16string source = u"I saw something there.";
    const TestState state = compared(u"I saw some thing there.", source);
    ASSERT_EQ(state.errorCount, 1);
    EXPECT_EQ(state.errorMarks.at(1).text, u"some thing");
    EXPECT_EQ(state.errorMarks.at(1).position, 7);
    EXPECT_EQ(state.errorMarks.at(1).errorClass, 5);
    EXPECT_EQ(state.joinList, u"thing /");
    EXPECT_EQ(state.excessCount, 0); // "thing" is blanked, not counted again
    EXPECT_EQ(state.testWords.at(4), u"");
}

TEST(Joins, MissingHyphenAndMissingApostrophe) {
    const TestState hyphen = compared(u"a well known fact", u"a well-known fact");
    ASSERT_EQ(hyphen.errorCount, 1);
    EXPECT_EQ(hyphen.errorMarks.at(1).text, u"well known");
    EXPECT_EQ(hyphen.errorMarks.at(1).errorClass, 5);

    const TestState apostrophe = compared(u"I don t know", u"I don't know");
    ASSERT_EQ(apostrophe.errorCount, 1);
    EXPECT_EQ(apostrophe.errorMarks.at(1).text, u"don t");
    EXPECT_EQ(apostrophe.errorMarks.at(1).errorClass, 5);
}

TEST(Joins, StrayFullStopJoinedWithTheWordBeforeIsAFullStopFault) {
    // "end " is unknown (the source has it only inside "weekend."); joined with " ." it
    // gives "end." and the pair ends in " .": class 1.
    const std::u16string source = u"It was the weekend. Then we left";
    const TestState state = compared(u"It was the end . Then we left", source);
    ASSERT_EQ(state.errorCount, 1);
    EXPECT_EQ(state.errorMarks.at(1).text, u"end .");
    EXPECT_EQ(state.errorMarks.at(1).errorClass, 1);
}

TEST(Joins, FourthCandidateIsTheWordWithASpacedFullStop) {
    TestState state = prepared(u"end x", u"");
    EXPECT_EQ(joinAttempt(state, 1, u"the end ."), u"end .");
    EXPECT_EQ(state.testWords.at(1), u"end x");
    EXPECT_EQ(state.joinList, u"x/");

    TestState none = prepared(u"end x", u"");
    EXPECT_EQ(joinAttempt(none, 1, u"the end"), u"");
    EXPECT_EQ(none.testWords.at(1), u"end ");
    EXPECT_EQ(none.joinList, u"");
}

TEST(Classification, RunTogetherWordsAreAMissingSpace) {
    const TestState state = compared(u"I saw thecat sat there", u"I saw the cat sat there");
    ASSERT_EQ(state.errorCount, 1);
    EXPECT_EQ(state.errorMarks.at(1).text, u"thecat ");
    EXPECT_EQ(state.errorMarks.at(1).errorClass, 4);
}

TEST(Classification, SecondFullStopFaultGoesToTheRepeatMarks) {
    const std::u16string source = u"It is the end. The dog ran now. So we go home";
    const TestState state = compared(u"It is the end.The dog ran now.So we go home", source);
    ASSERT_EQ(state.errorCount, 1);
    EXPECT_EQ(state.errorMarks.at(1).text, u"end.The ");
    EXPECT_EQ(state.errorMarks.at(1).errorClass, 1);
    ASSERT_EQ(state.repeatMarkCount, 1);
    EXPECT_EQ(state.repeatMarks.at(1).text, u"now.So ");
    EXPECT_EQ(state.repeatMarks.at(1).position, 27);
    // The entry that left the count keeps its text.
    EXPECT_EQ(state.errorMarks.at(2).text, u"now.So ");
}

TEST(Classification, SameMisspellingTwiceIsCountedOnce) {
    const TestState state = compared(u"teh cat and teh dog ran", u"the cat and the dog ran");
    EXPECT_EQ(state.errorCount, 1);
    ASSERT_EQ(state.repeatMarkCount, 1);
    EXPECT_EQ(state.repeatMarks.at(1).position, 13);
}

TEST(MarkAWord, ShortTokensWithACarriageReturn) {
    TestState stop = prepared(u".\r\nx", u"");
    stop.wordIndex = 1;
    markAWord(stop, u"nothing here");
    EXPECT_EQ(stop.errorCount, 0);

    TestState letter = prepared(u"a\r\nx", u"");
    letter.wordIndex = 1;
    markAWord(letter, u"nothing here");
    EXPECT_EQ(letter.errorCount, 1);

    TestState lineFeed = prepared(u"a\r\nx", u"");
    lineFeed.wordIndex = 2; // the lone line feed
    markAWord(lineFeed, u"nothing here");
    EXPECT_EQ(lineFeed.errorCount, 0);
}

TEST(MarkAWord, ErrorMarkBoundFails) {
    TestState state = prepared(u"zzz yyy", u"");
    state.errorCount = 1500;
    state.wordIndex = 1;
    EXPECT_THROW(markAWord(state, u"abc"), BoundFailure);
    EXPECT_EQ(state.errorCount, 1500);
}

TEST(LastWord, CutOffWordInsideTheLastSourceCharactersIsNotMarked) {
    const std::u16string source = u"We are practising our typing every day";
    // The window is the 41 characters up to the source limit.
    TestState near = prepared(u"We are practising our typ", source);
    near.sourceLimit = 30; // window 1..30 holds "typ"
    unmatchedWordPass(near, source);
    EXPECT_EQ(near.errorCount, 0);

    TestState far = prepared(u"We are practising our typ", source);
    far.sourceLimit = 10; // window 1..10 does not
    unmatchedWordPass(far, source);
    // Marked; the join attempt with the (empty) entry after the last word finds "typ" itself
    // in the source, so the mark becomes "typ " of the split-word class.
    ASSERT_EQ(far.errorCount, 1);
    EXPECT_EQ(far.errorMarks.at(1).text, u"typ ");
    EXPECT_EQ(far.errorMarks.at(1).errorClass, 5);
    EXPECT_EQ(far.joinList, u"/");
}

TEST(LastWord, AbsorbedLastWordAddsNoFurtherMark) {
    // "some" joins with the last word "thing", which is not in the window.
    const std::u16string source = u"I saw something. " + repeated(u"x", 60);
    TestState state = prepared(u"I saw some thing", source);
    unmatchedWordPass(state, source);
    ASSERT_EQ(state.errorCount, 1);
    EXPECT_EQ(state.errorMarks.at(1).text, u"some thing");
}

TEST(ExcessWords, DoubledWordIsMarkedListedAndBracketed) {
    const TestState state = compared(u"I saw the the cat", u"I saw the cat");
    ASSERT_EQ(state.errorCount, 1);
    EXPECT_EQ(state.errorMarks.at(1).text, u"the ");
    EXPECT_EQ(state.errorMarks.at(1).position, 11);
    EXPECT_EQ(state.repeatedWordErrors, 1);
    ASSERT_EQ(state.excessCount, 1);
    EXPECT_EQ(state.excessWords.at(1), u"(the )");
    EXPECT_EQ(state.excessText, u"the ");
    EXPECT_EQ(state.bracketCount, 1);
}

TEST(ExcessWords, DoubledInTheSourceIsNoError) {
    const TestState state = compared(u"he had had enough", u"he had had enough");
    EXPECT_EQ(state.repeatedWordErrors, 0);
    EXPECT_EQ(state.errorCount, 0);
}

TEST(ExcessWords, WordTypedThreeTimesGivesTwoEntries) {
    const TestState state = compared(u"bird one bird two bird today", u"bird one two today");
    ASSERT_EQ(state.excessCount, 2);
    EXPECT_EQ(state.excessWords.at(1), u"bird ");
    EXPECT_EQ(state.excessWords.at(2), u"bird ");
    EXPECT_EQ(state.excessText, u"bird bird ");
    EXPECT_EQ(state.bracketCount, 0);
}

TEST(ExcessWords, LastDistinctWordIsNeverExamined) {
    // "two" is the last distinct word collected: typed twice, once in the source, no entry.
    const TestState state = compared(u"one two two.", u"one two.");
    EXPECT_EQ(state.errorCount, 0);
    EXPECT_EQ(state.excessCount, 0);
    // One word more and "two" is examined.
    EXPECT_EQ(compared(u"one two two. three", u"one two. three").excessCount, 1);
}

TEST(ExcessWords, NormalisedFormDropsClosingPunctuation) {
    EXPECT_EQ(normaliseWord(u" end. "), u"end");
    EXPECT_EQ(normaliseWord(u"end.\r"), u"end");
    EXPECT_EQ(normaliseWord(u"95%,"), u"95");
    EXPECT_EQ(normaliseWord(u"why?!"), u"why");
    EXPECT_EQ(normaliseWord(u"\n"), u"\n");
}

TEST(ExcessWords, DistinctWordBound) {
    std::u16string typed;
    for (int n = 0; n < 1001; ++n)
        typed += std::u16string{u'w', static_cast<char16_t>(u'a' + n % 26),
                                static_cast<char16_t>(u'a' + n / 26 % 26),
                                static_cast<char16_t>(u'a' + n / 676), u' '};
    TestState state = prepared(typed, u"");
    EXPECT_THROW(excessWordPass(state, typed, u""), BoundFailure);
}

TEST(RepeatedWordPass, DoubledWordCountOverflowsPast255) {
    const std::u16string typed = repeated(u"ab ", 300);
    TestState state = prepared(typed, u"");
    EXPECT_THROW(repeatedWordPass(state, u"xy"), OverflowFailure);
    EXPECT_EQ(state.repeatedWordErrors, 255);
}

} // namespace
} // namespace tikmeter::engine
