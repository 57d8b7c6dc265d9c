// The RTF reader: a tokenizer feeds a loop that keeps the group states on an explicit stack
// (no recursion), so any nesting depth is safe.
#include "documents/CodePages.h"
#include "documents/DocumentContent.h"
#include "documents/DocumentError.h"
#include "documents/RtfKeywords.h"
#include "documents/RtfTokenizer.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <unordered_map>

namespace tikmeter::documents {

namespace {

using rtf::KeywordKind;
using rtf::Token;
using rtf::TokenKind;

// Groups nested deeper than this share the state of the deepest kept group (formatting set
// inside them leaks into their siblings there); their text is still read.
constexpr std::size_t kMaxGroupDepth = 4096;

constexpr std::int32_t kNoColor = -1;
constexpr std::int32_t kDefaultFont = -1;

enum class Destination : std::uint8_t { Text, FontTable, ColorTable };

// Character formatting as the reader tracks it: plain values, cheap to copy per group.
struct FormatKey {
    std::int32_t fontSlot = kDefaultFont; // index into the font list, or the default font
    std::int32_t fontSize = 0;
    std::int32_t textColor = kNoColor; // RGB value
    std::int32_t backColor = kNoColor;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool operator==(const FormatKey&) const = default;
};

struct GroupState {
    std::int32_t fontNumber = kDefaultFont; // the \f number in force
    FormatKey format;
    std::int32_t unicodeSkip = 1; // \uc
    Destination destination = Destination::Text;
};

struct FontEntry {
    std::u16string name;
    std::int32_t charset = 0;
};

class RtfParser {
public:
    explicit RtfParser(std::string_view code) : tokens_(code) {}

    DocumentContent parse();

private:
    // Returns true when the root group closed (the document ends there).
    bool closeGroup();
    void openGroup();
    // Returns true when the document ended while skipping.
    bool skipGroup();
    // Control words and symbols, through the keyword table. The handlers of the kinds that
    // can skip a group return true when the document ended there.
    bool controlWord(const Token& token);
    bool destination(rtf::Destination what);
    void toggle(rtf::Toggle what, bool on);
    void value(rtf::Value what, std::int32_t param);
    bool special(rtf::Special what, bool hasParam, std::int32_t param);
    void unicode(std::int32_t param);
    // Bytes of the text: plain ones and \'hh escapes, decoded through the code page in force.
    void textBytes(std::string_view bytes);
    void hexByte(unsigned char byte);
    void textByte(const CodePage& page, unsigned char byte, bool escaped);
    void decoded(char16_t c, bool escaped);
    void endLeadByte();
    void character(char16_t c);
    void paragraphEnd(bool documentMark);

    GroupState& state() { return stack_.back(); }
    const FontEntry& font(std::int32_t slot) const {
        return fonts_[static_cast<std::size_t>(slot)];
    }
    void setFont(std::int32_t number);
    const CodePage& currentCodePage();
    std::int32_t colorAt(std::int32_t index) const;
    void startFontEntry(std::int32_t number);
    void commitFontEntry();
    void commitColor();
    void beginRunIfNeeded();
    DocumentContent finish();

    rtf::Tokenizer tokens_;
    std::vector<GroupState> stack_;
    std::size_t overflowDepth_ = 0;
    std::int64_t pendingSkip_ = 0; // fallback characters still to skip after \uN
    bool firstInGroup_ = false;    // the token being handled is the first of its group
    // A lead byte of a double-byte code page waiting for the byte after it.
    std::optional<unsigned char> leadByte_;
    const CodePage* leadPage_ = nullptr;

    // Document settings.
    int ansiCodePage_ = kDefaultCodePage;
    std::int32_t defaultFontNumber_ = 0;

    // Font table.
    std::vector<FontEntry> fonts_;
    std::unordered_map<std::int32_t, std::int32_t> fontSlots_; // \f number -> fonts_ index
    bool fontEntryOpen_ = false;
    std::int32_t fontEntryNumber_ = 0;
    std::size_t fontEntryDepth_ = 0; // the group depth at which the entry began
    FontEntry fontEntry_;

    // Colour table.
    std::vector<std::int32_t> colors_;
    int colorParts_[3] = {0, 0, 0};
    bool colorHasParts_ = false;

    // Output.
    std::u16string text_;
    struct RunStart {
        std::size_t start;
        FormatKey format;
    };
    std::vector<RunStart> runStarts_;
    std::size_t lastParagraphEnd_ = static_cast<std::size_t>(-1);
};

DocumentContent RtfParser::parse() {
    // The caller has checked that the code begins with "{\rtf".
    bool previousOpenedGroup = false;
    while (true) {
        const Token token = tokens_.next();
        firstInGroup_ = previousOpenedGroup;
        previousOpenedGroup = token.kind == TokenKind::GroupOpen;
        switch (token.kind) {
        case TokenKind::End:
            endLeadByte();
            return finish();
        case TokenKind::BadBinary:
            throw DocumentError(DocumentErrorKind::Unreadable,
                                "binary data runs past the end of the document");
        case TokenKind::GroupOpen:
            endLeadByte();
            pendingSkip_ = 0;
            openGroup();
            break;
        case TokenKind::GroupClose:
            endLeadByte();
            pendingSkip_ = 0;
            if (closeGroup()) {
                return finish();
            }
            break;
        case TokenKind::ControlWord:
        case TokenKind::ControlSymbol:
            if (pendingSkip_ > 0) {
                --pendingSkip_; // a control word or symbol is one fallback character
            } else if (controlWord(token)) {
                return finish();
            }
            break;
        case TokenKind::HexByte:
            if (pendingSkip_ > 0) {
                --pendingSkip_;
            } else {
                hexByte(token.value);
            }
            break;
        case TokenKind::Text:
            textBytes(token.text);
            break;
        case TokenKind::Binary:
            endLeadByte();
            if (pendingSkip_ > 0) {
                --pendingSkip_;
            }
            break;
        }
    }
}

void RtfParser::openGroup() {
    if (stack_.empty()) {
        stack_.emplace_back();
        return;
    }
    if (stack_.size() >= kMaxGroupDepth) {
        ++overflowDepth_;
        return;
    }
    stack_.push_back(stack_.back());
}

bool RtfParser::closeGroup() {
    if (overflowDepth_ > 0) {
        --overflowDepth_;
        return false;
    }
    if (stack_.empty()) {
        return true;
    }
    if (state().destination == Destination::FontTable && fontEntryOpen_ &&
        stack_.size() == fontEntryDepth_) {
        commitFontEntry(); // an entry without its closing ';'
    }
    if (stack_.size() == 1) {
        return true;
    }
    stack_.pop_back();
    return false;
}

bool RtfParser::skipGroup() {
    if (stack_.size() <= 1 && overflowDepth_ == 0) {
        return false; // never skip the whole document
    }
    switch (tokens_.skipGroup()) {
    case rtf::Tokenizer::SkipResult::Closed:
        return closeGroup();
    case rtf::Tokenizer::SkipResult::EndOfCode:
        return true;
    case rtf::Tokenizer::SkipResult::BadBinary:
        break;
    }
    throw DocumentError(DocumentErrorKind::Unreadable,
                        "binary data runs past the end of the document");
}

bool RtfParser::controlWord(const Token& token) {
    if (stack_.empty()) {
        return false;
    }
    const rtf::Keyword* keyword = rtf::findKeyword(token.text);
    if (keyword != nullptr && keyword->kind == KeywordKind::Symbol && keyword->character < 0x80) {
        // \\ \{ \} and \tab are characters of the text like plain bytes: after a lead byte
        // they are its second byte (Shift JIS has 0x5C, 0x7B and 0x7D there).
        textByte(currentCodePage(), static_cast<unsigned char>(keyword->character), false);
        return false;
    }
    endLeadByte();
    if (keyword == nullptr) {
        return false; // a word the reader does not use
    }
    const std::int32_t param = keyword->parameter(token.hasParam, token.param);
    switch (keyword->kind) {
    case KeywordKind::Destination:
        return destination(keyword->destination());
    case KeywordKind::Toggle:
        toggle(keyword->toggle(), param != 0);
        break;
    case KeywordKind::Value:
        value(keyword->value(), param);
        break;
    case KeywordKind::Symbol:
        character(keyword->character);
        break;
    case KeywordKind::Special:
        return special(keyword->special(), token.hasParam, param);
    }
    return false;
}

bool RtfParser::destination(rtf::Destination what) {
    switch (what) {
    case rtf::Destination::Skip:
        return skipGroup();
    case rtf::Destination::FontTable:
        state().destination = Destination::FontTable;
        fontEntryOpen_ = false;
        break;
    case rtf::Destination::ColorTable:
        state().destination = Destination::ColorTable;
        colorHasParts_ = false;
        colorParts_[0] = colorParts_[1] = colorParts_[2] = 0;
        break;
    }
    return false;
}

void RtfParser::toggle(rtf::Toggle what, bool on) {
    FormatKey& format = state().format;
    switch (what) {
    case rtf::Toggle::Bold:
        format.bold = on;
        break;
    case rtf::Toggle::Italic:
        format.italic = on;
        break;
    case rtf::Toggle::Underline:
        format.underline = on;
        break;
    }
}

void RtfParser::value(rtf::Value what, std::int32_t param) {
    GroupState& s = state();
    switch (what) {
    case rtf::Value::Font:
        if (s.destination == Destination::FontTable) {
            startFontEntry(param);
        } else {
            setFont(param);
        }
        break;
    case rtf::Value::FontSize:
        s.format.fontSize = std::max<std::int32_t>(param, 0);
        break;
    case rtf::Value::TextColor:
        s.format.textColor = colorAt(param);
        break;
    case rtf::Value::BackColor:
        s.format.backColor = colorAt(param);
        break;
    case rtf::Value::UnicodeSkip:
        s.unicodeSkip = std::max<std::int32_t>(param, 0);
        break;
    case rtf::Value::FontCharset:
        if (s.destination == Destination::FontTable && fontEntryOpen_) {
            fontEntry_.charset = param;
        }
        break;
    case rtf::Value::Red:
    case rtf::Value::Green:
    case rtf::Value::Blue:
        if (s.destination == Destination::ColorTable) {
            const int part = what == rtf::Value::Red ? 0 : what == rtf::Value::Green ? 1 : 2;
            colorParts_[part] = std::clamp<std::int32_t>(param, 0, 255);
            colorHasParts_ = true;
        }
        break;
    case rtf::Value::AnsiCodePage:
        ansiCodePage_ = isSupportedCodePage(param) ? param : kDefaultCodePage;
        break;
    case rtf::Value::DefaultFont:
        defaultFontNumber_ = param;
        break;
    }
}

bool RtfParser::special(rtf::Special what, bool hasParam, std::int32_t param) {
    switch (what) {
    case rtf::Special::ParagraphEnd:
        paragraphEnd(true);
        break;
    case rtf::Special::LineBreak:
        paragraphEnd(false);
        break;
    case rtf::Special::Unicode:
        if (hasParam) {
            unicode(param);
        }
        break;
    case rtf::Special::Plain:
        state().fontNumber = kDefaultFont;
        state().format = FormatKey{};
        break;
    case rtf::Special::Ignorable:
        // First in its group, \* makes the group an ignorable destination, which is not
        // text. Elsewhere (Word and StarWriter write \*\csN inside running text) it only
        // says that the next control word may be ignored when unknown, as every unknown
        // word is here, and reading goes on.
        if (firstInGroup_) {
            return skipGroup();
        }
        break;
    }
    return false;
}

void RtfParser::unicode(std::int32_t param) {
    std::int64_t value = param;
    if (value < 0) {
        value += 65536; // RTF writes 16-bit values above 32767 as negative numbers
    }
    // Out of range values and the noncharacters U+FFFE and U+FFFF are dropped.
    if (value >= 0 && value < 0xFFFE) {
        character(static_cast<char16_t>(value));
    }
    pendingSkip_ = state().unicodeSkip;
}

void RtfParser::textBytes(std::string_view bytes) {
    if (pendingSkip_ > 0) {
        const auto skipped = std::min(static_cast<std::size_t>(pendingSkip_), bytes.size());
        pendingSkip_ -= static_cast<std::int64_t>(skipped);
        bytes.remove_prefix(skipped);
    }
    if (bytes.empty() || stack_.empty()) {
        return;
    }
    const Destination destination = state().destination;
    if (destination == Destination::ColorTable) {
        for (const char b : bytes) {
            if (b == ';') {
                commitColor();
            }
        }
        return;
    }
    const CodePage& page = currentCodePage();
    if (destination == Destination::Text && !page.isDoubleByte()) {
        // One character per byte.
        beginRunIfNeeded();
        const CodePageTable& table = page.bytes();
        const std::size_t old = text_.size();
        text_.resize(old + bytes.size());
        char16_t* out = text_.data() + old;
        for (const char b : bytes) {
            *out++ = table[static_cast<unsigned char>(b)];
        }
        return;
    }
    for (const char b : bytes) {
        textByte(page, static_cast<unsigned char>(b), false);
    }
}

void RtfParser::hexByte(unsigned char byte) {
    if (stack_.empty() || state().destination == Destination::ColorTable) {
        return;
    }
    textByte(currentCodePage(), byte, true);
}

void RtfParser::textByte(const CodePage& page, unsigned char byte, bool escaped) {
    if (leadByte_) {
        const char16_t c = leadPage_->decode(*leadByte_, byte);
        leadByte_.reset();
        if (c != u'\uFFFD' || byte >= 0x80) {
            decoded(c, escaped);
            return;
        }
        // No character: the lead byte stands alone, and an ASCII byte after it is read as
        // itself (Word writes some second bytes as plain characters, so a broken pair must
        // not swallow the text that follows).
        decoded(u'\uFFFD', escaped);
    }
    const char16_t c = page.bytes()[byte];
    if (c == kLeadByte) {
        leadByte_ = byte;
        leadPage_ = &page;
        return;
    }
    decoded(c, escaped);
}

void RtfParser::decoded(char16_t c, bool escaped) {
    if (escaped && state().destination == Destination::FontTable && fontEntryOpen_) {
        fontEntry_.name += c; // an escaped byte is part of the name, even a ';'
        return;
    }
    character(c);
}

// A lead byte that no byte follows (the group or the text ends, or a control word comes)
// decodes to U+FFFD.
void RtfParser::endLeadByte() {
    if (leadByte_) {
        leadByte_.reset();
        character(u'\uFFFD');
    }
}

void RtfParser::character(char16_t c) {
    if (stack_.empty()) {
        return;
    }
    switch (state().destination) {
    case Destination::Text:
        beginRunIfNeeded();
        text_ += c;
        break;
    case Destination::FontTable:
        if (c == u';') {
            if (fontEntryOpen_) {
                commitFontEntry();
            }
        } else if (fontEntryOpen_) {
            fontEntry_.name += c;
        }
        break;
    case Destination::ColorTable:
        break;
    }
}

void RtfParser::paragraphEnd(bool documentMark) {
    if (stack_.empty() || state().destination != Destination::Text) {
        return;
    }
    beginRunIfNeeded();
    text_ += u"\r\n";
    if (documentMark) {
        lastParagraphEnd_ = text_.size();
    }
}

void RtfParser::setFont(std::int32_t number) {
    GroupState& s = state();
    s.fontNumber = number;
    if (number == defaultFontNumber_) {
        s.format.fontSlot = kDefaultFont;
        return;
    }
    const auto it = fontSlots_.find(number);
    s.format.fontSlot = it == fontSlots_.end() ? kDefaultFont : it->second;
}

// The code page of the font in force (its \fcharset), else the document's (\ansicpg, \mac).
const CodePage& RtfParser::currentCodePage() {
    const GroupState& s = state();
    if (s.destination == Destination::FontTable && fontEntryOpen_) {
        return codePage(codePageForCharset(fontEntry_.charset).value_or(ansiCodePage_));
    }
    const std::int32_t number = s.fontNumber == kDefaultFont ? defaultFontNumber_ : s.fontNumber;
    const auto it = fontSlots_.find(number);
    if (it != fontSlots_.end()) {
        const auto charsetCodePage = codePageForCharset(font(it->second).charset);
        if (charsetCodePage) {
            return codePage(*charsetCodePage);
        }
    }
    return codePage(ansiCodePage_);
}

std::int32_t RtfParser::colorAt(std::int32_t index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= colors_.size()) {
        return kNoColor;
    }
    return colors_[static_cast<std::size_t>(index)];
}

void RtfParser::startFontEntry(std::int32_t number) {
    if (fontEntryOpen_) {
        commitFontEntry();
    }
    fontEntryOpen_ = true;
    fontEntryNumber_ = number;
    fontEntryDepth_ = stack_.size();
    fontEntry_ = FontEntry{};
}

void RtfParser::commitFontEntry() {
    fontEntryOpen_ = false;
    const auto slot = static_cast<std::int32_t>(fonts_.size());
    fonts_.push_back(std::move(fontEntry_));
    fontSlots_[fontEntryNumber_] = slot;
    fontEntry_ = FontEntry{};
}

void RtfParser::commitColor() {
    if (colorHasParts_) {
        colors_.push_back(colorParts_[0] | (colorParts_[1] << 8) | (colorParts_[2] << 16));
    } else {
        colors_.push_back(kNoColor); // an empty entry is the automatic colour
    }
    colorHasParts_ = false;
    colorParts_[0] = colorParts_[1] = colorParts_[2] = 0;
}

void RtfParser::beginRunIfNeeded() {
    const FormatKey& format = state().format;
    if (!runStarts_.empty() && runStarts_.back().format == format) {
        return;
    }
    if (!runStarts_.empty() && runStarts_.back().start == text_.size()) {
        runStarts_.back().format = format; // the previous run never got a character
        if (runStarts_.size() >= 2 && runStarts_[runStarts_.size() - 2].format == format) {
            runStarts_.pop_back();
        }
        return;
    }
    runStarts_.push_back({text_.size(), format});
}

DocumentContent RtfParser::finish() {
    DocumentContent content;
    // A paragraph end with nothing after it is the document's own end mark.
    if (lastParagraphEnd_ == text_.size() && text_.size() >= 2) {
        text_.resize(text_.size() - 2);
    }
    content.text = std::move(text_);
    const std::size_t length = content.text.size();

    for (std::size_t i = 0; i < runStarts_.size(); ++i) {
        const std::size_t start = runStarts_[i].start;
        const std::size_t end = i + 1 < runStarts_.size() ? runStarts_[i + 1].start : length;
        if (start >= std::min(end, length)) {
            continue;
        }
        const FormatKey& key = runStarts_[i].format;
        CharFormat format;
        if (key.fontSlot != kDefaultFont) {
            format.fontName = font(key.fontSlot).name;
        }
        format.fontSizeHalfPoints = key.fontSize;
        if (key.textColor != kNoColor) {
            format.textColor = Color::fromRgbValue(static_cast<std::uint32_t>(key.textColor));
        }
        if (key.backColor != kNoColor) {
            format.backColor = Color::fromRgbValue(static_cast<std::uint32_t>(key.backColor));
        }
        format.bold = key.bold;
        format.italic = key.italic;
        format.underline = key.underline;
        const std::size_t runEnd = std::min(end, length);
        if (!content.runs.empty() && content.runs.back().format == format) {
            content.runs.back().length += runEnd - start;
        } else {
            content.runs.push_back(FormatRun{start, runEnd - start, std::move(format)});
        }
    }

    const auto base = fontSlots_.find(defaultFontNumber_);
    if (base != fontSlots_.end()) {
        content.baseFontName = font(base->second).name;
    }
    return content;
}

} // namespace

DocumentContent readRtf(std::string_view code) {
    return RtfParser(code).parse();
}

} // namespace tikmeter::documents
