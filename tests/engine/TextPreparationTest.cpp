#include "EngineTestSupport.h"

#include "engine/Keystrokes.h"
#include "engine/PunctuationSpacing.h"
#include "engine/SourceEndSearch.h"
#include "engine/TextSearch.h"

#include <gtest/gtest.h>

#include <string>

namespace tikmeter::engine {
namespace {

using testing::repeated;

std::vector<std::u16string> words(const TestState& state) {
    std::vector<std::u16string> result;
    for (int k = 1; k <= state.wordCount; ++k)
        result.push_back(state.workingWords.at(k));
    return result;
}

std::vector<int> starts(const TestState& state) {
    std::vector<int> result;
    for (int k = 1; k <= state.wordCount; ++k)
        result.push_back(state.wordStarts.at(k));
    return result;
}

TEST(TextSearch, PositionsCountFromOneAndEmptySearchTextIsFoundAtTheStart) {
    EXPECT_EQ(findFirst(u"abcabc", u"bc"), 2);
    EXPECT_EQ(findFirst(u"abcabc", u"bc", 3), 5);
    EXPECT_EQ(findFirst(u"abcabc", u"Bc"), 0);
    EXPECT_EQ(findLast(u"abcabc", u"bc"), 5);
    EXPECT_EQ(findLastWithin(u"abcabc", u"bc", 5), 2); // the one at 5 ends past 5
    EXPECT_EQ(findFirst(u"abc", u""), 1);
    EXPECT_EQ(findFirst(u"", u""), 0);
    EXPECT_TRUE(contains(u"x", u""));
    EXPECT_FALSE(contains(u"", u""));
    EXPECT_EQ(mid(u"abcdef", -2, 5), u"ab");
    EXPECT_EQ(mid(u"abcdef", 5, 10), u"ef");
    EXPECT_EQ(mid(u"abcdef", 9, 2), u"");
}

// The searches look at eight places at a time; on texts longer than that they still find
// the first and the last occurrence the standard search finds, at every start and limit.
TEST(TextSearch, LongTextsGiveTheStandardSearchesPositions) {
    const std::u16string text = u"abcab\u00e9 xabc\r\nab  abcabcx ab\u00e9abc. zz abcab";
    for (const std::u16string piece :
         {u"abc", u"ab", u"a", u"b\u00e9", u"c\r\na", u"zz abcab", u"cx", u"abd", u"  ", u"x"}) {
        for (std::size_t bound = 0; bound <= text.size() + 1; ++bound) {
            const auto first = TextView(text).find(piece, bound);
            EXPECT_EQ(findFirst(text, piece, static_cast<long long>(bound) + 1),
                      first == TextView::npos ? 0 : static_cast<long long>(first) + 1);
            const auto last = TextView(text).substr(0, bound).rfind(piece);
            EXPECT_EQ(findLastWithin(text, piece, static_cast<long long>(bound)),
                      bound == 0 || last == TextView::npos ? 0 : static_cast<long long>(last) + 1);
        }
    }
}

// An indexed text answers every search as the plain search does, before and after its index
// is built (the first searches scan; the later ones go through the index).
TEST(IndexedText, AnswersAsThePlainSearch) {
    const std::u16string text = u"The sun rose.\r\nWe walked, w\u00e9 walked: the end.";
    const std::u16string pieces[] = {
        u"The",        u"The sun",  u"end.",
        u"d.",         u"end. ",    u".\r\nWe",
        u" w\u00e9",   u"\u00e9 w", u"walk",
        u"walks",      u"e",        u".",
        u"",           u"Th",       u"he",
        u"zz",         u"sun r",    u"sun s",
        u" walked: t", u"end.x",    u"The sun rose.\r\nWe walked, w\u00e9 walked: the end."};
    for (const std::u16string& searched : {text, std::u16string(u"a"), std::u16string()}) {
        const IndexedText indexed(searched);
        for (int round = 0; round < 3; ++round)
            for (const std::u16string& piece : pieces)
                EXPECT_EQ(indexed.contains(piece), contains(searched, piece))
                    << "round " << round << ", piece of " << piece.size() << " characters";
    }
}

TEST(WordSplit, WordsKeepTheirDelimiterAndAFinalLineBreakLeavesNoEmptyWord) {
    TestState state;
    wordSplit(state, u"the cat\r\n");
    EXPECT_EQ(words(state), (std::vector<std::u16string>{u"the ", u"cat\r", u"\n"}));
    EXPECT_EQ(starts(state), (std::vector<int>{1, 5, 9}));
}

TEST(WordSplit, StrayFullStopAfterASpaceBecomesSpaceFullStop) {
    TestState state;
    wordSplit(state, u"word . next");
    EXPECT_EQ(words(state), (std::vector<std::u16string>{u"word ", u" .", u"next"}));
    EXPECT_EQ(starts(state), (std::vector<int>{1, 6, 8}));
}

TEST(WordSplit, FullStopAfterALineBreakKeepsItsForm) {
    TestState state;
    wordSplit(state, u"end\r\n. x");
    EXPECT_EQ(words(state), (std::vector<std::u16string>{u"end\r", u"\n", u". ", u"x"}));
}

TEST(WordSplit, DoubleSpaceGivesAWordOfOneSpace) {
    TestState state;
    wordSplit(state, u"a  b");
    EXPECT_EQ(words(state), (std::vector<std::u16string>{u"a ", u" ", u"b"}));
    EXPECT_EQ(starts(state), (std::vector<int>{1, 3, 4}));
}

TEST(WordSplit, BoundsOfCharactersAndWords) {
    TestState state;
    EXPECT_NO_THROW(wordSplit(state, repeated(u"a ", 1500)));
    EXPECT_EQ(state.wordCount, 1500);
    EXPECT_THROW(wordSplit(state, repeated(u"a ", 1500) + u"b"), BoundFailure);
    EXPECT_THROW(wordSplit(state, repeated(u"x", 8001)), BoundFailure);
    EXPECT_NO_THROW(wordSplit(state, repeated(u"x", 8000)));
}

TEST(PerTestReset, KeepsTheSourceWordsAndEmptiesTheTestSide) {
    TestState state = testing::prepared(u"one two", u"one two three");
    state.errorCount = 3;
    state.joinList = u"x/";
    state.testCommas = 2;
    perTestReset(state);
    EXPECT_EQ(state.sourceWordCount, 3);
    EXPECT_EQ(state.sourceWords.at(3), u"three");
    EXPECT_EQ(state.testWords.at(1), u"");
    EXPECT_EQ(state.errorCount, 0);
    EXPECT_EQ(state.joinList, u"");
    EXPECT_EQ(state.testCommas, 0);
}

// A source of 60 five-character words "w000 ".."w059 ": word n starts at 5n + 1 and every
// multiple of 5 is a space, so positions can be worked out by hand.
std::u16string numberedSource(int count = 60) {
    std::u16string text;
    for (int n = 0; n < count; ++n) {
        const std::string word = "w" + std::string(n < 10 ? "00" : "0") + std::to_string(n) + " ";
        text += std::u16string(word.begin(), word.end());
    }
    return text;
}

std::u16string part(const std::u16string& text, int first, int last) {
    return text.substr(static_cast<std::size_t>(first - 1),
                       static_cast<std::size_t>(last - first + 1));
}

TEST(SourceEndSearch, PhaseOneTakesTheLastFortyCharacters) {
    const auto source = numberedSource();
    // The last 40 characters of the test are source 61..100: 61 + 41.
    EXPECT_EQ(findSourceLimit(part(source, 1, 100), source), 102);
}

TEST(SourceEndSearch, PhaseOneTakesTheLaterOfTwoOccurrences) {
    const auto base = numberedSource();
    const auto source = part(base, 1, 200) + part(base, 61, 100) + part(base, 201, 300);
    EXPECT_EQ(findSourceLimit(part(base, 1, 100), source), 201 + 41);
}

TEST(SourceEndSearch, PhaseOneIsCutToTheSourceLength) {
    const auto source = part(numberedSource(), 1, 100);
    EXPECT_EQ(findSourceLimit(source, source), 100);
}

TEST(SourceEndSearch, PhaseTwoSkipsAWrongTail) {
    const auto source = numberedSource();
    // The last four characters are wrong; phase 2 finds the 36 characters from position 60.
    EXPECT_EQ(findSourceLimit(part(source, 1, 96) + u"####", source), 60 + 41);
}

TEST(SourceEndSearch, PhaseThreeMatchesTwoPiecesAndExtendsToTheNextSpace) {
    const auto source = numberedSource();
    // 25 wrong characters after source 1..80 (length 105): first at k = 16, a = 69..80,
    // b = 39..50; 69 + 16 + 21 = 106, then the space at 105.
    EXPECT_EQ(findSourceLimit(part(source, 1, 80) + repeated(u"#", 25), source), 105);
}

TEST(SourceEndSearch, PhaseThreeSearchesAgainBeforeAFarOccurrence) {
    const auto base = numberedSource();
    // The pieces of k = 16..18 also stand at the end of the source, far from b: the search
    // within the first pa characters finds them at 69 (and 68, 67) again.
    const auto source = base + part(base, 60, 80);
    EXPECT_EQ(findSourceLimit(part(base, 1, 80) + repeated(u"#", 25), source), 105);
}

TEST(SourceEndSearch, PhaseThreeDistanceBoundIsStrict) {
    const auto base = numberedSource();
    const auto test = part(base, 1, 80) + repeated(u"#", 25);
    const auto apart = [&](int dashes) {
        return part(base, 1, 50) + repeated(u"-", dashes) + part(base, 51, 300);
    };
    // 44 extra characters: pa = 113, pb = 39 (74 apart): 113 + 16 + 21 = 150, then the
    // space at 149 (spaces now stand at 5m + 44).
    EXPECT_EQ(findSourceLimit(test, apart(44)), 149);
    // 75 apart: neither searched again nor accepted; 76 apart: the search again finds
    // nothing. Both fall to phase 4: 105 + 10.
    EXPECT_EQ(findSourceLimit(test, apart(45)), 115);
    EXPECT_EQ(findSourceLimit(test, apart(46)), 115);
}

TEST(SourceEndSearch, PhaseFourUsesTheTestLengthPlusTenOrTheSourceLength) {
    const auto source = numberedSource();
    EXPECT_EQ(findSourceLimit(repeated(u"#", 60), source), 70);
    EXPECT_EQ(findSourceLimit(repeated(u"#", 60), part(source, 1, 55)), 55);
}

TEST(SourceEndSearch, ShortTestSkipsPiecesBeforeItsStart) {
    // Source 1..35 and 25 wrong characters (length 60): the piece a is right only from
    // k = 16 on, where b would start before the text (60 - 66). Those iterations are
    // skipped, so phase 4 decides: 60 + 10. (Shortened pieces would have given 60.)
    EXPECT_EQ(findSourceLimit(part(numberedSource(), 1, 35) + repeated(u"#", 25), numberedSource()),
              70);
}

TEST(Keystrokes, CapitalsShiftedSymbolsAndUpperHalfCharacters) {
    EXPECT_EQ(countKeystrokes(u"ABC abc"), 10);
    EXPECT_EQ(countKeystrokes(u"\u00E9"), 3);                    // é
    EXPECT_EQ(countKeystrokes(u"\u20AC\u2019\u2026\u00EB"), 12); // € ’ … ë
    EXPECT_EQ(countKeystrokes(u"\r\n"), 1);
    EXPECT_EQ(countKeystrokes(u"\"|?:"), 8);
    EXPECT_EQ(countKeystrokes(u"1.,'-"), 5);
    EXPECT_EQ(countKeystrokes(u"\u0101"), 1); // ā is not in Windows-1252
}

TEST(PunctuationSpacingPass, RemovesSpacesBeforeALineBreakInBothTexts) {
    std::u16string test = u"One.  \r\nTwo! \r\nThree?  \r\nFour.   \r\nFive. x\r\n";
    std::u16string source = u"A. \r\nB?\r\n";
    punctuationSpacingPass(test, source);
    // Three spaces match neither find text; a space not followed by CR stays.
    EXPECT_EQ(test, u"One.\r\nTwo!\r\nThree?\r\nFour.   \r\nFive. x\r\n");
    EXPECT_EQ(source, u"A.\r\nB?\r\n");
}

TEST(PunctuationSpacingPass, WorksOnRtfCodeBytes) {
    std::string test = "end.  \r\n\\par next. \r\n\\par ";
    std::string source = "Go! \r\n\\par ";
    punctuationSpacingPass(test, source);
    EXPECT_EQ(test, "end.\r\n\\par next.\r\n\\par ");
    EXPECT_EQ(source, "Go!\r\n\\par ");
}

} // namespace
} // namespace tikmeter::engine
