#pragma once

#include "documents/Document.h"
#include "engine/MarkingTypes.h"
#include "engine/TestMarking.h"
#include "engine/TestOutcome.h"

#include <exception>
#include <optional>

namespace tikmeter::engine {

// The two source documents a test can be compared with, each after the punctuation-spacing
// pass (which a test's marking would otherwise repeat on every test). A source that could
// not be had keeps the reason, raised when a test of its language needs it.
class PreparedSources {
public:
    // Records a source document; it is put through the punctuation-spacing pass.
    void set(Language language, documents::Document document);
    // Records why a source is missing; a test of that language then fails with it.
    void setFailure(Language language, std::exception_ptr failure);

    // The prepared source of a language. Throws the recorded failure, or a "not found"
    // document error when nothing was recorded.
    const documents::Document& of(Language language) const;

private:
    struct Slot {
        std::optional<documents::Document> document;
        std::exception_ptr failure;
    };
    Slot& slot(Language language) { return language == Language::English ? english_ : afrikaans_; }
    const Slot& slot(Language language) const {
        return language == Language::English ? english_ : afrikaans_;
    }
    Slot afrikaans_;
    Slot english_;
};

// One marked test: its marks, its status line text and the marked document (the test with
// coloured marks and the report block), ready to be saved.
struct MarkingResult {
    TestMarks marks;
    std::u16string statusText; // ".......Successful" or ".......Result may not be reliable"
    documents::Document markedTest;
    const documents::Document* source = nullptr; // the source it was compared with
};

// Marks one test: detects its language, compares it with that language's source, colours
// the marks, scores it and adds the report block. No file is read or written and nothing
// outside the arguments is touched, so tests can be marked side by side. Every step runs
// through `runner` (the session's error trap skips a failed step).
MarkingResult markTest(documents::Document test, const PreparedSources& sources,
                       ResultFormat format, StepRunner& runner);

} // namespace tikmeter::engine
