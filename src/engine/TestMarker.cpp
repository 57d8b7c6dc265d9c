#include "engine/TestMarker.h"

#include "documents/DocumentError.h"
#include "engine/LanguageDetection.h"
#include "engine/MarkedTest.h"
#include "engine/PunctuationSpacing.h"

#include <algorithm>
#include <string_view>

namespace tikmeter::engine {

namespace {

using documents::Document;

// True when the spacing pass leaves the RTF code as it is. Each piece it replaces ends with a
// space right before a raw carriage return, and the writer puts raw carriage returns only at
// paragraph ends and at the document's end mark, right after the last character before them:
// without a space before a carriage return or at the end of the text there is none.
bool codeHasNoSpaceBeforeLineEnd(std::u16string_view text) {
    return !text.empty() && text.back() != u' ' && text.find(u" \r") == std::u16string_view::npos;
}

// True when reading back the code the writer gives for `text` gives the same text: always
// but for the noncharacters U+FFFE and U+FFFF, which are written as U+FFFD.
bool codeKeepsText(std::u16string_view text) {
    return std::none_of(text.begin(), text.end(), [](char16_t c) { return c >= 0xFFFE; });
}

// The spacing pass works on the RTF code, where a paragraph end is CR LF "\par ".
void spacingPass(Document& document) {
    if (codeHasNoSpaceBeforeLineEnd(document.text()) && codeKeepsText(document.text())) {
        // Nothing to replace, and reading the code back would give the same text, runs and
        // base font: only the selection is set as reading sets it, a caret at the start
        // typing in the first character's format (moved away and back, so that the format
        // is taken even when the caret stood at the start).
        document.setSelStart(1);
        document.setSelStart(0);
        return;
    }
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
