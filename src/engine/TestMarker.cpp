#include "engine/TestMarker.h"

#include "documents/DocumentError.h"
#include "engine/LanguageDetection.h"
#include "engine/MarkedTest.h"
#include "engine/PunctuationSpacing.h"

namespace tikmeter::engine {

namespace {

using documents::Document;

// The spacing pass works on the RTF code, where a paragraph end is CR LF "\par ".
void spacingPass(Document& document) {
    std::string code = document.rtf();
    std::string none;
    punctuationSpacingPass(code, none);
    document.setRtf(code);
}

std::vector<MarkSpan> errorMarkSpans(const TestState& state) {
    std::vector<MarkSpan> spans;
    for (int k = 1; k <= state.errorCount.value(); ++k) {
        spans.push_back({state.errorMarks.at(k).text, state.errorMarks.at(k).position});
    }
    return spans;
}

std::vector<MarkSpan> repeatMarkSpans(const TestState& state) {
    std::vector<MarkSpan> spans;
    for (int k = 1; k <= state.repeatMarkCount.value(); ++k) {
        spans.push_back({state.repeatMarks.at(k).text, state.repeatMarks.at(k).position});
    }
    return spans;
}

} // namespace

void PreparedSources::set(Language language, Document document) {
    spacingPass(document);
    slot(language) = {std::move(document), nullptr};
}

void PreparedSources::setFailure(Language language, std::exception_ptr failure) {
    slot(language) = {std::nullopt, std::move(failure)};
}

const Document& PreparedSources::of(Language language) const {
    const Slot& source = slot(language);
    if (source.document) {
        return *source.document;
    }
    if (source.failure) {
        std::rethrow_exception(source.failure);
    }
    throw documents::DocumentError(documents::DocumentErrorKind::NotFound,
                                   language == Language::English ? "no English source document"
                                                                 : "no Afrikaans source document");
}

MarkingResult markTest(Document test, const PreparedSources& sources, ResultFormat format,
                       StepRunner& runner) {
    MarkingResult result;
    Language language = Language::Afrikaans;
    runner.run("language detection", [&] {
        language = detectLanguage(test.text());
        result.source = &sources.of(language);
    });
    // A source that could not be had was reported by the step above; when that step was
    // skipped the test is compared with an empty source.
    const Document noSource;
    const Document& source = result.source != nullptr ? *result.source : noSource;
    runner.run("punctuation-spacing pass", [&] { spacingPass(test); });

    TestMarking marking(runner);
    marking.compare(test.text(), source.text());
    runner.run("apply marks", [&] {
        applyMarks(test, errorMarkSpans(marking.state()), repeatMarkSpans(marking.state()));
    });
    marking.scoreAndReport(format);
    runner.run("insert report", [&] { insertReport(test, marking.state().reportText); });
    marking.reliabilityCheck(source.text());

    result.marks = marksOf(marking.state(), language);
    result.statusText = marking.state().statusText;
    result.markedTest = std::move(test);
    return result;
}

} // namespace tikmeter::engine
