#include "documents/Document.h"

#include "documents/DocumentContent.h"
#include "documents/DocumentError.h"
#include "documents/FileIo.h"
#include "documents/FormatRuns.h"

#include <algorithm>
#include <new>

namespace tikmeter::documents {

namespace {

constexpr std::u16string_view kDefaultBaseFont = u"MS Sans Serif";

} // namespace

Document::Document() : baseFont_(kDefaultBaseFont) {}

const std::u16string& Document::text() const {
    return text_;
}

void Document::setText(std::u16string_view text) {
    text_.assign(text);
    runs_.clear();
    if (!text_.empty()) {
        runs_.push_back(FormatRun{0, text_.size(), CharFormat{}});
    }
    selStart_ = 0;
    selLength_ = 0;
    insertFormat_ = CharFormat{};
}

std::string Document::rtf() const {
    return writeRtf(text_, runs_, baseFont_);
}

void Document::setRtf(std::string_view code) {
    DocumentContent content = readDocumentBytes(code);
    text_ = std::move(content.text);
    runs_ = std::move(content.runs);
    if (content.baseFontName) {
        baseFont_ = std::move(*content.baseFontName);
    }
    selStart_ = 0;
    selLength_ = 0;
    insertFormat_ = formatAt(0);
}

void Document::loadFile(const std::filesystem::path& path) {
    try {
        const std::string bytes = readWholeFile(path);
        try {
            setRtf(bytes);
        } catch (const DocumentError& error) {
            throw DocumentError(error.kind(), path.string() + ": unreadable document (" +
                                                  std::string(error.what()) + ")");
        }
    } catch (const std::bad_alloc&) {
        // Every buffer of the load is gone again: the document is as it was.
        throw DocumentError(DocumentErrorKind::TooLarge,
                            path.string() + ": not enough memory to read the document");
    }
}

void Document::saveFile(const std::filesystem::path& path) const {
    writeFileAtomically(path, rtf());
}

void Document::setSelStart(std::size_t start) {
    start = std::min(start, text_.size());
    if (start == selStart_ && selLength_ == 0) {
        return; // the caret stays: so does a format chosen for it
    }
    selStart_ = start;
    selLength_ = 0;
    updateInsertFormat();
}

std::size_t Document::selStart() const {
    return selStart_;
}

void Document::setSelLength(std::size_t length) {
    length = std::min(length, text_.size() - selStart_);
    if (length == selLength_) {
        return;
    }
    selLength_ = length;
    if (selLength_ == 0) {
        updateInsertFormat();
    }
}

std::size_t Document::selLength() const {
    return selLength_;
}

std::u16string Document::selText() const {
    return text_.substr(selStart_, selLength_);
}

void Document::setSelText(std::u16string_view text) {
    // Replacing a selection keeps the format of its first character; typing at a caret uses
    // the insertion format.
    const CharFormat format = selLength_ > 0 ? formatAt(selStart_) : insertFormat_;
    text_.replace(selStart_, selLength_, text);
    runs::replaceRange(runs_, selStart_, selLength_, text.size(), format);
    // A CR LF pair that the insertion made at either of its ends is one paragraph end: its
    // LF takes the format of its CR, so that it stays a paragraph end in the RTF code.
    for (const std::size_t lineFeed : {selStart_, selStart_ + text.size()}) {
        if (lineFeed > 0 && lineFeed < text_.size() && text_[lineFeed] == u'\n' &&
            text_[lineFeed - 1] == u'\r') {
            const CharFormat carriageReturn = formatAt(lineFeed - 1);
            runs::applyFormat(runs_, lineFeed, 1, [&](CharFormat& f) { f = carriageReturn; });
        }
    }
    selStart_ += text.size();
    selLength_ = 0;
    insertFormat_ = format;
}

void Document::setSelColor(Color color) {
    changeSelectionFormat([color](CharFormat& f) { f.textColor = color; });
}

void Document::setSelBackColor(Color color) {
    changeSelectionFormat([color](CharFormat& f) { f.backColor = color; });
}

void Document::setSelFontName(std::u16string_view name) {
    const std::u16string fontName(name);
    changeSelectionFormat([&fontName](CharFormat& f) { f.fontName = fontName; });
}

void Document::setSelBold(bool on) {
    changeSelectionFormat([on](CharFormat& f) { f.bold = on; });
}

void Document::setSelUnderline(bool on) {
    changeSelectionFormat([on](CharFormat& f) { f.underline = on; });
}

void Document::setBaseFontName(std::u16string_view name) {
    baseFont_.assign(name);
}

const std::u16string& Document::baseFontName() const {
    return baseFont_;
}

CharFormat Document::formatAt(std::size_t position) const {
    if (text_.empty()) {
        return CharFormat{};
    }
    return runs::formatAt(runs_, std::min(position, text_.size() - 1));
}

std::vector<FormatRun> Document::runs() const {
    return runs_;
}

void Document::changeSelectionFormat(const std::function<void(CharFormat&)>& change) {
    if (selLength_ == 0) {
        change(insertFormat_);
        return;
    }
    // A paragraph end (CR LF) is one mark of the document: its two characters always share
    // one format, so that it stays a paragraph end in the RTF code. Formatting that reaches
    // either of them covers both.
    std::size_t start = selStart_;
    std::size_t end = selStart_ + selLength_;
    if (start > 0 && start < text_.size() && text_[start] == u'\n' && text_[start - 1] == u'\r') {
        --start;
    }
    if (end > 0 && end < text_.size() && text_[end - 1] == u'\r' && text_[end] == u'\n') {
        ++end;
    }
    runs::applyFormat(runs_, start, end - start, change);
}

void Document::updateInsertFormat() {
    // At a caret the insertion format is that of the character before it (at the start: the
    // first character's).
    insertFormat_ = formatAt(selStart_ > 0 ? selStart_ - 1 : 0);
}

} // namespace tikmeter::documents
