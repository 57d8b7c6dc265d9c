#include "EngineTestSupport.h"

#include "engine/Keystrokes.h"
#include "engine/PunctuationSpacing.h"
#include "engine/SourceEndSearch.h"
#include "engine/TestMarking.h"
#include "engine/TextSearch.h"

#include <gtest/gtest.h>

namespace tikmeter::engine {
namespace {

using testing::repeated;

// The words of a split as word@start, each followed by "|".
std::string split(TextView text) {
    TestState state;
    wordSplit(state, text);
    std::string out;
    for (int k = 1; k <= state.wordCount; ++k)
        out += testing::shown(state.workingWords.at(k)) + "@" +
               std::to_string(state.wordStarts.at(k)) + "|";
    return out;
}

TEST(WordSplit, WordsEndWithTheirDelimiterAndAStrayFullStopBecomesSpaceFullStop) {
    // clang-format off
    const std::tuple<const char*, Text, std::string> cases[] = {
        {"final line break, no empty word", u"the cat\r\n", "the @1|cat\r@5|\n@9|"},
        {"stray full stop, not a longer word", u"word . .x next", "word @1| .@6|.x @8|next@11|"},
        {"stray full stop before a return", u"a .\r\nb", "a @1| .@3|\n@5|b@6|"},
        {"stray full stop at position 2", u" . x", " @1| .@2|x@4|"},
        {"full stop after a line break", u"end\r\n. x", "end\r@1|\n@5|. @6|x@8|"},
        {"double space", u"a  b", "a @1| @3|b@4|"}};
    // clang-format on
    for (const auto& [name, text, words] : cases)
        EXPECT_EQ(split(text), words) << name;
}

TEST(WordSplit, AtMost1500WordsAnd8000Characters) {
    TestState state;
    EXPECT_NO_THROW(wordSplit(state, repeated(u"a ", 1500)));
    EXPECT_THROW(wordSplit(state, repeated(u"a ", 1500) + u"b"), BoundFailure);
    EXPECT_NO_THROW(wordSplit(state, repeated(u"x", 8000)));
    EXPECT_THROW(wordSplit(state, repeated(u"x", 8001)), BoundFailure);
}

TEST(PerTestReset, EmptiesTheTestSideAndKeepsTheComparedSource) {
    TestState state = testing::prepared(u"one two", u"one two three", 5);
    EXPECT_EQ(state.sourceWordCount, 2); // "one t": the source up to the limit
    EXPECT_EQ(state.sourceWords.at(2), u"t");
    state.errorCount = 1;
    state.errorMarks.set(1, ErrorMark{u"x", 1, 0});
    state.joinList = u"x/";
    state.testCommas = 2;
    perTestReset(state);
    EXPECT_EQ(state.sourceWords.at(1), u"one ");
    EXPECT_EQ(state.testWords.at(1) + state.errorMarks.at(1).text + state.joinList, u"");
    EXPECT_EQ(state.errorCount + state.testCommas, 0);
}

// Position n of seq(...) holds the character U+0100 + n: every piece of such a source occurs
// at one known place. No spaces, so phase 3 keeps its limit unless one is put in.
Text seq(int first, int last) {
    Text text;
    for (int n = first; n <= last; ++n)
        text += static_cast<char16_t>(0x100 + n);
    return text;
}

Text with(Text text, int position, char16_t c) {
    text[static_cast<std::size_t>(position - 1)] = c;
    return text;
}

TEST(SourceEndSearch, LimitOfEachPhaseAndItsEdges) {
    const Text s = seq(1, 200);
    const auto hashes = [](int n) { return repeated(u"#", n); };
    const Text t = seq(1, 80) + hashes(25); // phase 3 first holds at k = 16: a 69, b 39
    // b (39..50) stays at 39; a (69..80) is found last at keep + dashes + 19, and at 69 too
    // when keep is 80.
    const auto apart = [&](int dashes, int keep) {
        return seq(1, keep) + repeated(u"-", dashes) + seq(51, 200);
    };
    // clang-format off
    const std::tuple<const char*, Text, Text, long long> cases[] = {
        {"1: last 40 at 61",                 seq(1, 100), s, 61 + 41},
        {"1: the later of two",              seq(1, 100), s + seq(61, 100) + seq(201, 250), 242},
        {"1: cut to the source length",      seq(1, 100), seq(1, 100), 100},
        {"1: last 16 (error 17 from the end)", with(seq(1, 100), 83, u'#'), s, 85 + 41},
        {"2: 36 from L - 40",                seq(1, 96) + hashes(4), s, 60 + 41},
        {"2: 18 from L - 40, no word end",   seq(1, 77) + hashes(23), with(s, 100, u' '), 101},
        {"3: limit stays without a space",   t, s, 69 + 16 + 21},
        {"3: space at limit - 1, the last",  t, seq(1, 104) + u" ", 105},
        {"3: return before the next space",  t, with(with(s, 110, u' '), 108, u'\r'), 108},
        {"3: last k = 18",                   seq(1, 80) + hashes(27), s, 69 + 18 + 21},
        {"3: 74 apart accepted",             t, apart(44, 50), 113 + 16 + 21},
        {"3: 75 apart rejected",             t, apart(45, 50), 105 + 10},
        {"3: 75 apart, not searched again",  t, apart(15, 80), 105 + 10},
        {"3: 80 apart, found again at 69",   t, apart(20, 80), 69 + 16 + 21},
        {"3: b before the text is skipped",  with(seq(1, 41), 25, u'#') + hashes(15), s, 56 + 10},
        {"4: test length + 10",              hashes(60), s, 70},
        {"4: cut to the source length",      hashes(60), seq(1, 55), 55}};
    // clang-format on
    for (const auto& [name, test, source, limit] : cases)
        EXPECT_EQ(findSourceLimit(test, source), limit) << name;
}

TEST(Keystrokes, TwoForShiftedThreeForWindows1252UpperHalfNoneForALineFeed) {
    // clang-format off
    const std::pair<Text, int> cases[] = {
        {u"ABC abc", 10}, {u"Z", 2}, {u"~!@#$%^&*()_{}|:<>?", 38}, {u"\"", 2},
        {u"1.,'-;/[]=`\\", 12}, {u"\r\n", 1}, {u"\n", 0}, {u"\u00C9", 3},
        {u"\u00E9\u20AC\u00FF\u2019\u00A0", 15}, {u"\u0101\u007F", 2}};
    // clang-format on
    for (const auto& [text, count] : cases)
        EXPECT_EQ(countKeystrokes(text), count) << testing::shown(text);
}

TEST(PunctuationSpacingPass, RemovesSpacesBetweenASentenceEndAndAReturnInBothTexts) {
    Text test = u"One.  \r\nTwo! \r\nThree?  \r\nFour.   \r\nFive. x\r\n";
    Text source = u"A. \r\nB?\r\n";
    punctuationSpacingPass(test, source);
    EXPECT_EQ(test, u"One.\r\nTwo!\r\nThree?\r\nFour.   \r\nFive. x\r\n"); // three spaces stay
    EXPECT_EQ(source, u"A.\r\nB?\r\n");
    std::string code = "end.  \r\n\\par next. \r\n\\par ", other = "Go! \r\n";
    punctuationSpacingPass(code, other);
    EXPECT_EQ(code, "end.\r\n\\par next.\r\n\\par ");
    EXPECT_EQ(other, "Go!\r\n");
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

} // namespace
} // namespace tikmeter::engine
