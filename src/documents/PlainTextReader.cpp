// Files without RTF code: plain text, as a rich-text control shows a text file.
#include "documents/CodePages.h"
#include "documents/DocumentContent.h"
#include "documents/DocumentError.h"
#include "documents/Utf8.h"

namespace tikmeter::documents {

namespace {

// Text files hold no NUL bytes and hardly any control bytes besides TAB, LF, FF and CR (and
// the old end-of-file mark 0x1A); binary data is full of them.
bool looksBinary(std::string_view bytes) {
    std::size_t controls = 0;
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b == 0) {
            return true;
        }
        if (b < 0x20 && b != '\t' && b != '\n' && b != '\f' && b != '\r' && b != 0x1A) {
            ++controls;
        }
    }
    return controls * 100 > bytes.size();
}

// The number of characters the line ends need besides their own: one for each lone CR or
// lone LF (CR and LF are single bytes in UTF-8 and in Windows-1252 alike).
std::size_t lineEndGrowth(std::string_view bytes) {
    std::size_t added = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if ((bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n')) ||
            (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r'))) {
            ++added;
        }
    }
    return added;
}

// The text of the bytes, with room reserved for `extra` more characters.
std::u16string decode(std::string_view bytes, std::size_t extra) {
    std::u16string text;
    text.reserve(bytes.size() + extra); // UTF-8 never gives more characters than bytes
    constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
    if (bytes.starts_with(kUtf8Mark) && appendFromUtf8(text, bytes.substr(kUtf8Mark.size()))) {
        return text;
    }
    if (appendFromUtf8(text, bytes)) {
        return text;
    }
    const CodePageTable& table = codePageTable(1252);
    text.resize(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        text[i] = table[static_cast<unsigned char>(bytes[i])];
    }
    return text;
}

// Every line end (CR LF, lone CR, lone LF) becomes CR LF, and the noncharacters U+FFFE and
// U+FFFF (which cannot be written to RTF) become U+FFFD. Done in place, from the back, so that
// a large file needs no second copy of its text; `added` is lineEndGrowth of the bytes.
void normalise(std::u16string& text, std::size_t added) {
    const std::size_t size = text.size();
    text.resize(size + added);
    std::size_t to = size + added;
    for (std::size_t from = size; from-- > 0;) {
        const char16_t c = text[from];
        if (c == u'\n' && from > 0 && text[from - 1] == u'\r') {
            text[--to] = u'\n';
            text[--to] = u'\r';
            --from;
        } else if (c == u'\r' || c == u'\n') {
            text[--to] = u'\n';
            text[--to] = u'\r';
        } else {
            text[--to] = c == 0xFFFE || c == 0xFFFF ? u'\xFFFD' : c;
        }
    }
}

} // namespace

DocumentContent readPlainText(std::string_view bytes) {
    if (looksBinary(bytes)) {
        throw DocumentError(DocumentErrorKind::Unreadable, "neither RTF nor text");
    }
    const std::size_t added = lineEndGrowth(bytes);
    DocumentContent content;
    content.text = decode(bytes, added);
    normalise(content.text, added);
    if (!content.text.empty()) {
        content.runs.push_back(FormatRun{0, content.text.size(), CharFormat{}});
    }
    return content;
}

DocumentContent readDocumentBytes(std::string_view bytes) {
    if (bytes.substr(0, 5) == "{\\rtf") {
        return readRtf(bytes);
    }
    return readPlainText(bytes);
}

} // namespace tikmeter::documents
