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

std::u16string decode(std::string_view bytes) {
    constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
    if (bytes.substr(0, kUtf8Mark.size()) == kUtf8Mark) {
        if (auto text = fromUtf8(bytes.substr(kUtf8Mark.size()))) {
            return std::move(*text);
        }
    }
    if (auto text = fromUtf8(bytes)) {
        return std::move(*text);
    }
    const CodePageTable& table = codePageTable(1252);
    std::u16string text(bytes.size(), u'\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        text[i] = table[static_cast<unsigned char>(bytes[i])];
    }
    return text;
}

} // namespace

DocumentContent readPlainText(std::string_view bytes) {
    if (looksBinary(bytes)) {
        throw DocumentError(DocumentErrorKind::Unreadable, "neither RTF nor text");
    }
    const std::u16string decoded = decode(bytes);
    DocumentContent content;
    content.text.reserve(decoded.size());
    for (std::size_t i = 0; i < decoded.size(); ++i) {
        const char16_t c = decoded[i];
        if (c == u'\r' || c == u'\n') {
            content.text += u"\r\n";
            if (c == u'\r' && i + 1 < decoded.size() && decoded[i + 1] == u'\n') {
                ++i;
            }
        } else if (c == 0xFFFE || c == 0xFFFF) {
            content.text += u'\xFFFD'; // noncharacters cannot be written to RTF
        } else {
            content.text += c;
        }
    }
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
