// The RTF writer: Windows-1252 header, font and colour tables, then the text in runs of equal
// formatting. Every paragraph end is written as CR LF followed by "\par " and CR and LF appear
// nowhere else, so a sentence end followed by spaces and a paragraph break reads ". " then CR
// in the code.
#include "documents/CodePages.h"
#include "documents/DocumentContent.h"

#include <algorithm>
#include <charconv>
#include <iterator>

namespace tikmeter::documents {

namespace {

// Characters written as they are outside font names: printable ASCII but the RTF specials.
bool isPlain(char16_t c) {
    return c >= 0x20 && c < 0x7F && c != u'\\' && c != u'{' && c != u'}';
}

class RtfWriter {
public:
    RtfWriter(std::u16string_view text, const std::vector<FormatRun>& runs,
              std::u16string_view baseFontName)
        : text_(text), runs_(runs), baseFontName_(baseFontName) {}

    std::string write();

private:
    void collectTables();
    void writeHeader();
    void writeBody();
    void switchTo(const CharFormat& format);
    void writeSwitch(const CharFormat& to);
    void writeChar(char16_t c, bool inFontName);
    void writeHex(unsigned value);
    void writeWord(const char* word, long long param);
    int fontNumber(const std::u16string& name) const;
    int colorNumber(const std::optional<Color>& color) const;

    std::u16string_view text_;
    const std::vector<FormatRun>& runs_;
    std::u16string_view baseFontName_;
    std::vector<std::u16string> fonts_; // explicit font names; font number = index + 1
    std::vector<Color> colors_;         // colour number = index + 1
    CharFormat current_;
    const CharFormat* inForce_ = nullptr; // a format object known to equal current_
    std::string out_;
};

std::string RtfWriter::write() {
    out_.reserve(text_.size() + text_.size() / 8 + 256);
    collectTables();
    writeHeader();
    writeBody();
    return std::move(out_);
}

void RtfWriter::collectTables() {
    for (const FormatRun& run : runs_) {
        const CharFormat& f = run.format;
        if (!f.fontName.empty() &&
            std::find(fonts_.begin(), fonts_.end(), f.fontName) == fonts_.end()) {
            fonts_.push_back(f.fontName);
        }
        for (const auto& color : {f.textColor, f.backColor}) {
            if (color && std::find(colors_.begin(), colors_.end(), *color) == colors_.end()) {
                colors_.push_back(*color);
            }
        }
    }
}

void RtfWriter::writeHeader() {
    // Font 0 is the base font; an explicit font name gets its own number even when it equals
    // the base font's name, so "base font" and "this font" stay apart in a round trip.
    out_ += "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 ";
    for (const char16_t c : baseFontName_) {
        writeChar(c, true);
    }
    out_ += ";}";
    for (std::size_t i = 0; i < fonts_.size(); ++i) {
        out_ += "{";
        writeWord("f", static_cast<long long>(i + 1));
        out_ += "\\fnil\\fcharset0 ";
        for (const char16_t c : fonts_[i]) {
            writeChar(c, true);
        }
        out_ += ";}";
    }
    out_ += "}{\\colortbl ;";
    for (const Color& color : colors_) {
        writeWord("red", color.red);
        writeWord("green", color.green);
        writeWord("blue", color.blue);
        out_ += ';';
    }
    out_ += "}";
}

void RtfWriter::writeBody() {
    const std::size_t length = text_.size();
    std::size_t runIndex = 0;
    // The format at pos, and where the stretch of text with that format object ends.
    auto formatAt = [&](std::size_t pos, std::size_t& stretchEnd) -> const CharFormat& {
        static const CharFormat kDefault;
        while (runIndex < runs_.size() && runs_[runIndex].start + runs_[runIndex].length <= pos) {
            ++runIndex;
        }
        if (runIndex < runs_.size() && runs_[runIndex].start <= pos) {
            stretchEnd = runs_[runIndex].start + runs_[runIndex].length;
            return runs_[runIndex].format;
        }
        stretchEnd = runIndex < runs_.size() ? runs_[runIndex].start : length;
        return kDefault;
    };
    std::size_t i = 0;
    while (i < length) {
        std::size_t stretchEnd = 0;
        const CharFormat& format = formatAt(i, stretchEnd);
        const char16_t c = text_[i];
        if (c == u'\r' && i + 1 < length && text_[i + 1] == u'\n') {
            std::size_t lineFeedEnd = 0;
            const CharFormat& lineFeedFormat = formatAt(i + 1, lineFeedEnd);
            if (&lineFeedFormat == &format || lineFeedFormat == format) {
                // A paragraph end: the line break comes right after the text before it, any
                // change of formatting between the line break and \par.
                out_ += "\r\n";
                switchTo(format);
                out_ += "\\par ";
                i += 2;
                continue;
            }
        }
        switchTo(format);
        if (!isPlain(c)) {
            writeChar(c, false);
            ++i;
            continue;
        }
        // Plain characters up to the end of the stretch go out as they are, in one piece.
        std::size_t end = i + 1;
        while (end < std::min(stretchEnd, length) && isPlain(text_[end])) {
            ++end;
        }
        const std::size_t old = out_.size();
        out_.resize(old + (end - i));
        std::transform(text_.begin() + static_cast<std::ptrdiff_t>(i),
                       text_.begin() + static_cast<std::ptrdiff_t>(end),
                       out_.begin() + static_cast<std::ptrdiff_t>(old),
                       [](char16_t plain) { return static_cast<char>(plain); });
        i = end;
    }
    // The document's own end mark.
    out_ += "\r\n\\par }";
}

void RtfWriter::switchTo(const CharFormat& format) {
    // The format last switched to (or found equal) is still in force: most characters share
    // the format object of the one before them and need no comparison.
    if (&format == inForce_) {
        return;
    }
    if (!(format == current_)) {
        writeSwitch(format);
    }
    inForce_ = &format;
}

void RtfWriter::writeSwitch(const CharFormat& to) {
    if (to.fontSizeHalfPoints == 0 && current_.fontSizeHalfPoints != 0) {
        out_ += "\\plain";
        current_ = CharFormat{};
    }
    if (to.fontName != current_.fontName) {
        writeWord("f", fontNumber(to.fontName));
    }
    if (to.fontSizeHalfPoints != current_.fontSizeHalfPoints) {
        writeWord("fs", to.fontSizeHalfPoints);
    }
    if (to.textColor != current_.textColor) {
        writeWord("cf", colorNumber(to.textColor));
    }
    if (to.backColor != current_.backColor) {
        writeWord("highlight", colorNumber(to.backColor));
    }
    if (to.bold != current_.bold) {
        out_ += to.bold ? "\\b" : "\\b0";
    }
    if (to.italic != current_.italic) {
        out_ += to.italic ? "\\i" : "\\i0";
    }
    if (to.underline != current_.underline) {
        out_ += to.underline ? "\\ul" : "\\ulnone";
    }
    out_ += ' ';
    current_ = to;
}

void RtfWriter::writeChar(char16_t c, bool inFontName) {
    if (c >= 0x20 && c < 0x7F) {
        if (c == u'\\' || c == u'{' || c == u'}') {
            out_ += '\\';
        } else if (c == u';' && inFontName) {
            writeHex(c); // a plain ';' would end the font name
            return;
        }
        out_ += static_cast<char>(c);
        return;
    }
    if (c == u'\t' && !inFontName) {
        out_ += "\\tab ";
        return;
    }
    if (const auto byte = encodeWindows1252(c)) {
        writeHex(*byte); // also CR, LF and other control characters outside paragraph ends
        return;
    }
    if (c == 0xFFFE || c == 0xFFFF) {
        c = 0xFFFD; // noncharacters are not read back; write the replacement character
    }
    // RTF wants a signed 16-bit number; "?" is the fallback for readers without Unicode.
    writeWord("u", c >= 0x8000 ? static_cast<long long>(c) - 65536 : static_cast<long long>(c));
    out_ += '?';
}

void RtfWriter::writeHex(unsigned value) {
    static constexpr char kDigits[] = "0123456789abcdef";
    out_ += "\\'";
    out_ += kDigits[(value >> 4) & 0xF];
    out_ += kDigits[value & 0xF];
}

void RtfWriter::writeWord(const char* word, long long param) {
    out_ += '\\';
    out_ += word;
    char digits[24];
    const auto written = std::to_chars(std::begin(digits), std::end(digits), param);
    out_.append(digits, written.ptr);
}

int RtfWriter::fontNumber(const std::u16string& name) const {
    if (name.empty()) {
        return 0;
    }
    const auto it = std::find(fonts_.begin(), fonts_.end(), name);
    return static_cast<int>(it - fonts_.begin()) + 1;
}

int RtfWriter::colorNumber(const std::optional<Color>& color) const {
    if (!color) {
        return 0;
    }
    const auto it = std::find(colors_.begin(), colors_.end(), *color);
    return static_cast<int>(it - colors_.begin()) + 1;
}

} // namespace

std::string writeRtf(std::u16string_view text, const std::vector<FormatRun>& runs,
                     std::u16string_view baseFontName) {
    return RtfWriter(text, runs, baseFontName).write();
}

} // namespace tikmeter::documents
