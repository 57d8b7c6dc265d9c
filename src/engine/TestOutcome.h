#pragma once

#include "engine/MarkingTypes.h"
#include "engine/NumberText.h"
#include "engine/TestState.h"

#include <optional>
#include <string>
#include <vector>

namespace tikmeter::engine {

// The marks of one marked test: everything a report, a table or an export needs, in a
// value that outlives the marking's working state.
struct TestMarks {
    Language language = Language::Afrikaans;
    int sourceLimit = 0;
    int keystrokeCount = 0;
    int wordErrors = 0; // words with errors, before the penalties
    int errorCount = 0; // after scoring: word errors plus penalties
    long long grossWords = 0;
    long long netWords = 0;
    Tenths finalResult;                    // words per minute as the report rounds it
    std::u16string finalResultText;        // the rounded result as signed text
    std::vector<std::u16string> penalties; // remark lines, in report order
    std::vector<ErrorMark> errorMarks;     // the word errors' marks
    std::vector<RepeatMark> repeatMarks;
    std::vector<std::u16string> excessWords; // as stored, brackets included
    std::u16string excessText;
    int bracketCount = 0;
    int suspectCount = 0; // error marks found in the source by the reliability check
    int testLineBreaks = 0;
    int sourceLineBreaks = 0;
    std::u16string reportText;
    bool reliable = true;
};

// What became of one list entry in a session.
struct TestOutcome {
    std::u16string entry;                     // the list entry
    std::u16string status;                    // the log status without its dots
    std::optional<TestMarks> marks;           // present when the test was marked
    std::u16string markedPath;                // the marked test written; empty when none
    std::optional<std::u16string> resultLine; // the line written to the result file
};

// The marks kept from a marking's final state.
TestMarks marksOf(const TestState& state, Language language);

} // namespace tikmeter::engine
