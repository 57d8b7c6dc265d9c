#include "EngineTestSupport.h"

#include "engine/ExcessWords.h"
#include "engine/WordComparison.h"

#include <gtest/gtest.h>

namespace tikmeter::engine {
namespace {

using testing::prepared;
using testing::repeated;
using testing::shown;

// The outcome of the comparison passes in one line: each counted mark as text@position:class,
// R: each repeat mark, X: each excess entry, = the excess text, then B and D the bracketed and
// the doubled-word counts.
std::string outcome(const TestState& s) {
    const auto at = [](const auto& m) { return shown(m.text) + "@" + std::to_string(m.position); };
    std::string out;
    for (int k = 1; k <= s.errorCount; ++k)
        out += at(s.errorMarks.at(k)) + ":" + std::to_string(s.errorMarks.at(k).errorClass) + ";";
    for (int k = 1; k <= s.repeatMarkCount; ++k)
        out += "R:" + at(s.repeatMarks.at(k)) + ";";
    for (int k = 1; k <= s.excessCount; ++k)
        out += "X:" + shown(s.excessWords.at(k)) + ";";
    if (!s.excessText.empty())
        out += "=" + shown(s.excessText) + ";";
    if (s.bracketCount != 0 || s.repeatedWordErrors != 0)
        out += "B" + std::to_string(s.bracketCount) + "D" + std::to_string(s.repeatedWordErrors);
    return out;
}

TEST(ComparisonPasses, MarksRepeatsAndExcessWords) {
    const Text x60 = repeated(u"x", 60);
    const Text copy = u"The cat sat on the mat.\r\nIt was warm, very warm.";
    // clang-format off
    const std::tuple<const char*, Text, Text, std::string> cases[] = {
        {"exact copy", copy, copy, ""},
        {"return known by 'cat.'", u"a cat\r\nIt is", u"a cat. It is", ""},
        {"known by w? and w!", u"why stop now", u"why? stop! now", ""},
        {"' w,' needs the space", u"we at home", u"we sat, home", "at @4:0;"},
        {"split word", u"I saw some thing there.", u"I saw something there.", "some thing@7:5;"},
        {"missing hyphen", u"a well known fact", u"a well-known fact", "well known@3:5;"},
        {"missing apostrophe", u"I don t know", u"I don't know", "don t@3:5;"},
        {"stray full stop", u"It was the end . Then", u"It was the weekend. Then", "end .@12:1;"},
        {"stray comma", u"the ray , then", u"the x-ray, then", "ray ,@5:2;"},
        {"missing space", u"I saw thecat sat", u"I saw the cat sat", "thecat @7:4;"},
        {"pair past the test's word count", u"thecat sat", u"I saw the cat sat", "thecat @1:0;"},
        {"full stop inside, repeat of the class", u"It is the end.The dog ran now.So we go home",
         u"It is the end. The dog ran now. So we go home", "end.The @11:1;R:now.So @27;"},
        {"comma inside", u"we saw cats,dogs here", u"we saw cats, dogs here", "cats,dogs @8:2;"},
        {"semicolon inside", u"it is so;we go", u"it is so; we go", "so;we @7:3;"},
        {"a mark at the end is not inside", u"why ? now", u"why? now", "? @5:0;"},
        {"same misspelling twice", u"teh cat and teh dog ran", u"the cat and the dog ran",
         "teh @1:0;R:teh @13;"},
        {"two wrong words", u"teh cat adn the dog", u"the cat and the dog", "teh @1:0;adn @9:0;"},
        {"'. ' after returns", u"one\r\n. two\r\n. three", u"one. two. three", ". @6:0;. @13:0;"},
        {"absorbed last word", u"I saw some thing", u"I saw something. " + x60, "some thing@7:5;"},
        {"last word not in the window", u"a fine day", u"a fine day. " + x60, "day @8:5;"},
        {"doubled word", u"I saw the the cat", u"I saw the cat", "the @11:0;X:(the );=the ;B1D1"},
        {"doubled first word", u"the the cat", u"the cat", "the @5:0;X:(the );=the ;B1D1"},
        {"doubled in the source", u"he had had enough", u"he had had enough", ""},
        {"one bracket per doubled word", u"the the cat the dog", u"the cat dog",
         "the @5:0;X:(the );X:the ;=the the ;B1D1"},
        {"typed three times", u"bird one bird two bird today", u"bird one two today",
         "X:bird ;X:bird ;=bird bird ;"},
        {"last distinct word not examined", u"one two two.", u"one two.", ""},
        {"... unless another follows", u"one two two. three", u"one two. three", "X:two ;=two ;"},
        {"line feeds are no excess", u"one\r\ntwo three", u"one. two three", ""},
        {"doubled returns are no doubled word", u"one\r\r\rtwo", u"one. two", ""}};
    // clang-format on
    for (const auto& [name, typed, source, expected] : cases) {
        TestState state = prepared(typed, source);
        unmatchedWordPass(state, source);
        excessWordPass(state, typed, source);
        EXPECT_EQ(outcome(state), expected) << name;
    }
}

TEST(UnmatchedWordPass, LastWordIsLookedUpInThe41CharactersEndingAtTheLimit) {
    // "typ" stands at 23..25 of the source.
    const Text source = u"We are practising our typing every day and then some more words here";
    for (const auto& [limit, marks] : {std::pair{25, 0}, {24, 1}, {63, 0}, {64, 1}}) {
        TestState state = prepared(u"We are practising our typ", source, limit);
        unmatchedWordPass(state, source);
        EXPECT_EQ(state.errorCount, marks) << "limit " << limit;
    }
}

TEST(ExcessWords, NormalisedFormDropsClosingPunctuationInAFixedOrder) {
    // clang-format off
    const std::pair<Text, Text> cases[] = {
        {u" end. ", u"end"}, {u"end.\r", u"end"}, {u"95%,", u"95"}, {u"why?!", u"why"},
        {u"\n", u"\n"}, {u"a.%", u"a"}, {u"end.,!", u"end."}, {u"x;;", u"x;"}};
    // clang-format on
    for (const auto& [word, normal] : cases)
        EXPECT_EQ(normaliseWord(word), normal) << shown(word);
}

TEST(Bounds, MarksDistinctWordsAndDoubledWords) {
    TestState marks = prepared(u"zzz yyy", u"");
    marks.wordIndex = 1;
    marks.errorCount = 1499;
    EXPECT_NO_THROW(markAWord(marks, u"abc"));
    marks.wordIndex = 2;
    EXPECT_THROW(markAWord(marks, u"abc"), BoundFailure);
    EXPECT_EQ(marks.errorCount, 1500);

    Text typed; // 1001 different words
    for (int n = 0; n < 1001; ++n)
        typed += Text{u'w', static_cast<char16_t>(0x100 + n), u' '};
    const Text thousand = typed.substr(0, 3000);
    TestState distinct = prepared(thousand, u"");
    EXPECT_NO_THROW(excessWordPass(distinct, thousand, u""));
    distinct = prepared(typed, u"");
    EXPECT_THROW(excessWordPass(distinct, typed, u""), BoundFailure);

    TestState doubled = prepared(repeated(u"ab ", 300), u"");
    EXPECT_THROW(repeatedWordPass(doubled, u"xy"), OverflowFailure);
    EXPECT_EQ(doubled.repeatedWordErrors, 255);
}

} // namespace
} // namespace tikmeter::engine
