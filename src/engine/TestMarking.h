#pragma once

#include "engine/MarkingTypes.h"
#include "engine/TestState.h"

#include <functional>
#include <string_view>

namespace tikmeter::engine {

// Runs one step of a test's marking. The default runs it and lets failures through; the
// session overrides it with its error trap (skip a failed step and go on with the next).
class StepRunner {
public:
    virtual ~StepRunner() = default;
    virtual void run(std::string_view /*stepName*/, const std::function<void()>& step) { step(); }
};

// The text stages of one test in the order the session calls them, split where the session
// does document work in between:
//   compare           - (after language detection and the punctuation-spacing pass)
//   (session applies the marks to the test document)
//   scoreAndReport    - scoring, then the report with the rounded final result
//   (session inserts the report, saves, writes the result line)
//   reliabilityCheck  - the status of the test
// Every step goes through the step runner.
class TestMarking {
public:
    explicit TestMarking(StepRunner& runner) : runner_(runner) {}

    // Marks `testText` (the test's plain text after the punctuation-spacing pass) against
    // `sourceText` (the source of its language after the same pass). Starts from an empty
    // state: nothing carries over from an earlier test.
    void compare(TextView testText, TextView sourceText);

    void scoreAndReport(ResultFormat format);

    void reliabilityCheck(TextView sourceText);

    const TestState& state() const { return state_; }
    TestState& state() { return state_; }

    // The test text with trailing spaces removed: the text the marks' positions count in.
    const Text& typedText() const { return typedText_; }

private:
    StepRunner& runner_;
    TestState state_;
    Text typedText_;
};

} // namespace tikmeter::engine
