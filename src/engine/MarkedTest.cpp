#include "engine/MarkedTest.h"

#include "documents/PathText.h"

#include <algorithm>

namespace tikmeter::engine {

using documents::Document;
using documents::kRed;
using documents::kWhite;

namespace {

// Selects a mark: from its position - 1, without a trailing space.
void selectMark(Document& doc, const MarkSpan& mark) {
    std::size_t length = mark.text.size();
    if (!mark.text.empty() && mark.text.back() == u' ') {
        --length;
    }
    doc.setSelStart(static_cast<std::size_t>(std::max(mark.position - 1, 0)));
    doc.setSelLength(length);
}

// 1-based position of `needle` in `text` at or after `from`, 0 when absent.
std::size_t findFrom(std::u16string_view text, std::u16string_view needle, std::size_t from) {
    if (from < 1) {
        from = 1;
    }
    if (from > text.size()) {
        return 0;
    }
    const auto at = text.find(needle, from - 1);
    return at == std::u16string_view::npos ? 0 : at + 1;
}

void highlightExcessWords(Document& doc, std::size_t lengthBeforeReport) {
    const std::u16string& text = doc.text();
    const std::size_t p = findFrom(text, u"Excess words: ", lengthBeforeReport);
    if (p == 0) {
        return;
    }
    const std::size_t q = findFrom(text, u"\r", p);
    // Without a carriage return after the list the selection would have a negative
    // length: nothing is highlighted.
    if (q < p + 13) {
        return;
    }
    doc.setSelStart(p + 13);
    doc.setSelLength(q - p - 13);
    doc.setSelBold(false);
    doc.setSelColor(kWhite);
    doc.setSelBackColor(kRed);
}

} // namespace

void applyMarks(Document& test, std::span<const MarkSpan> errorMarks,
                std::span<const MarkSpan> repeatMarks) {
    for (const MarkSpan& mark : errorMarks) {
        selectMark(test, mark);
        test.setSelBold(true);
        test.setSelBackColor(kRed);
        test.setSelColor(kWhite);
    }
    for (const MarkSpan& mark : repeatMarks) {
        selectMark(test, mark);
        test.setSelColor(kRed);
        test.setSelUnderline(true);
    }
}

void insertReport(Document& test, std::u16string_view reportText) {
    const std::size_t lengthBefore = test.text().size();
    test.setSelStart(lengthBefore + 1);
    test.setSelLength(0);
    test.setSelBackColor(kWhite);
    test.setSelColor(kRed);
    test.setSelBold(true);
    test.setSelUnderline(false);
    test.setSelFontName(u"Courier");
    test.setSelText(reportText);
    highlightExcessWords(test, lengthBefore);
    test.setSelStart(test.text().size());
    test.setSelLength(0);
}

std::u16string markedTestPath(std::u16string_view destPath, std::u16string_view title) {
    std::u16string caption(title);
    if (caption.find_first_not_of(u' ') == std::u16string::npos) {
        caption = u"Untitled";
    }
    std::u16string name = documents::fileNameOf(caption);
    name.resize(name.size() >= 4 ? name.size() - 4 : 0);
    return documents::joinPath(destPath, name + u".rug");
}

} // namespace tikmeter::engine
