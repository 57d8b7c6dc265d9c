#pragma once

#include "documents/Document.h"

#include <QTextCharFormat>

class QTextDocument;

namespace tikmeter::app {

// The Qt character format of one run: colours, font, size, bold, italic, underline.
// Absent values keep the Qt document's defaults.
QTextCharFormat toQtFormat(const documents::CharFormat& format);

// Replaces the content of `out` with `document`: its text in paragraphs (CR LF, or a lone
// CR or LF, ends a paragraph) and every run with its formatting. The document's base font
// becomes the default font of `out`.
void renderDocument(const documents::Document& document, QTextDocument& out);

} // namespace tikmeter::app
