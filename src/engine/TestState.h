#pragma once

#include "engine/CheckedCounter.h"
#include "engine/NumberText.h"
#include "engine/Table.h"
#include "engine/TextSearch.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tikmeter::engine {

inline constexpr std::size_t maxWords = 1500;         // words of a split, marks of a list
inline constexpr std::size_t maxTextChars = 8000;     // characters of a text scanned one by one
inline constexpr std::size_t maxDistinctWords = 1000; // distinct words of the excess-word pass

// An error of the test: the text highlighted, its 1-based position in the typed text and
// its error class (0 ordinary, 1 full stop, 2 comma, 3 other punctuation, 4 missing space,
// 5 split word).
struct ErrorMark {
    Text text;
    int position = 0;
    std::uint8_t errorClass = 0;
};

// An error that is highlighted but not counted again.
struct RepeatMark {
    Text text;
    int position = 0;
};

// The test's habit after a sentence end, decided from its first sentence end.
enum class SentenceSpacing { Undecided, OneSpace, TwoSpaces };

// Everything one test's marking reads and writes. Lists are 1-based; a fresh state is
// empty, and the marking of a test starts from a fresh state.
struct TestState {
    // Text preparation. The working list and wordStarts belong to the last split.
    Table<Text, maxWords> workingWords;
    Counter16 wordCount;
    Table<int, maxTextChars> wordStarts;
    Table<Text, maxWords> testWords;
    Counter16 testWordCount;
    Table<Text, maxWords> sourceWords;
    Counter16 sourceWordCount;
    Counter16 sourceLimit;

    // Word comparison.
    Table<ErrorMark, maxWords> errorMarks;
    Counter16 errorCount;
    Table<RepeatMark, maxWords> repeatMarks;
    Counter16 repeatMarkCount;
    Text joinList;
    std::vector<Text> distinctWords; // 0-based, at most maxDistinctWords
    Counter16 distinctCount;
    Table<Text, maxWords> excessWords;
    Counter16 excessCount;
    Text excessText;
    Counter8u repeatedWordErrors;
    Counter16 bracketCount;
    Counter16 wordIndex; // the current word index shared by the passes and mark-a-word

    // Line breaks, punctuation, sentence spacing.
    Counter16 testLineBreaks;
    Counter16 sourceLineBreaks;
    Counter16 testFullStops;
    Counter16 testCommas;
    Counter16 testMarks; // "!" and "?"
    Counter16 sourceFullStops;
    Counter16 sourceCommas;
    Counter16 sourceMarks;
    SentenceSpacing sentenceSpacing = SentenceSpacing::Undecided;

    // Scoring, report and reliability.
    std::int32_t keystrokeCount = 0;
    Counter16 wordErrors;        // errorCount when scoring started
    std::vector<Text> penalties; // the remark lines of the penalties, in report order
    long long grossWords = 0;
    long long netWords = 0;
    Tenths finalResult;   // net words / 10; rounded by the report
    Text finalResultText; // the rounded final result as signed text
    Text remarksText;
    Text reportText;
    Counter16 suspectCount; // set back to 0 when the result is found unreliable
    int suspectsFound = 0;  // the count the reliability check found, kept for the output
    Text statusText;
};

} // namespace tikmeter::engine
