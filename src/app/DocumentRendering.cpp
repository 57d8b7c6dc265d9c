#include "app/DocumentRendering.h"

#include "app/TextConvert.h"

#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace tikmeter::app {

namespace {

QColor toQColor(const documents::Color& color) {
    return QColor(color.red, color.green, color.blue);
}

// Inserts text[from, to) at the cursor, turning line breaks into new blocks.
void insertSegment(QTextCursor& cursor, const std::u16string& text, std::size_t from,
                   std::size_t to, const QTextCharFormat& format) {
    QString chunk;
    auto flush = [&] {
        if (!chunk.isEmpty()) {
            cursor.insertText(chunk, format);
            chunk.clear();
        }
    };
    for (std::size_t i = from; i < to; ++i) {
        const char16_t c = text[i];
        if (c == u'\r' || c == u'\n') {
            flush();
            const bool secondHalfOfCrLf = c == u'\n' && i > 0 && text[i - 1] == u'\r';
            if (!secondHalfOfCrLf) {
                cursor.insertBlock(QTextBlockFormat(), format);
            }
        } else {
            chunk.append(QChar(c));
        }
    }
    flush();
}

} // namespace

QTextCharFormat toQtFormat(const documents::CharFormat& format) {
    QTextCharFormat out;
    if (format.textColor) {
        out.setForeground(toQColor(*format.textColor));
    }
    if (format.backColor) {
        out.setBackground(toQColor(*format.backColor));
    }
    if (!format.fontName.empty()) {
        out.setFontFamilies({toQString(format.fontName)});
    }
    if (format.fontSizeHalfPoints > 0) {
        out.setFontPointSize(format.fontSizeHalfPoints / 2.0);
    }
    out.setFontWeight(format.bold ? QFont::Bold : QFont::Normal);
    out.setFontItalic(format.italic);
    out.setFontUnderline(format.underline);
    return out;
}

void renderDocument(const documents::Document& document, QTextDocument& out) {
    out.clear();
    QFont base = out.defaultFont();
    if (!document.baseFontName().empty()) {
        base.setFamilies({toQString(document.baseFontName())});
    }
    out.setDefaultFont(base);

    const std::u16string& text = document.text();
    auto runs = document.runs();
    std::sort(runs.begin(), runs.end(),
              [](const auto& a, const auto& b) { return a.start < b.start; });

    QTextCursor cursor(&out);
    const QTextCharFormat plain = toQtFormat({});
    std::size_t position = 0;
    for (const auto& run : runs) {
        // Runs do not overlap; a gap between runs is shown in the plain format.
        const std::size_t start = std::clamp(run.start, position, text.size());
        const std::size_t end = std::clamp(run.start + run.length, start, text.size());
        insertSegment(cursor, text, position, start, plain);
        insertSegment(cursor, text, start, end, toQtFormat(run.format));
        position = end;
    }
    insertSegment(cursor, text, position, text.size(), plain);
}

} // namespace tikmeter::app
