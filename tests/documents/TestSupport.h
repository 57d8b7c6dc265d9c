#pragma once

#include "TempFolder.h"
#include "documents/Document.h"
#include "documents/Utf8.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

namespace tikmeter::documents::test {

using tikmeter::testing::readBytes;
using tikmeter::testing::TempFolder;
using tikmeter::testing::writeBytes;

inline std::filesystem::path dataDir() {
    return TIKMETER_TEST_DATA_DIR;
}

// A document read from RTF code (throws DocumentError like setRtf).
inline Document fromRtf(std::string_view code) {
    Document document;
    document.setRtf(code);
    return document;
}

// The format of every character, "|" between characters: "-" for the default format, else b(old)
// i(talic) u(nderline), s<half points>, c<text RGB>, h<background RGB>, f<font name>. Checks on the
// way that the runs cover the text without gaps and that neighbours differ.
inline std::string formatsOf(const Document& document) {
    std::size_t next = 0;
    const std::vector<FormatRun> runs = document.runs();
    for (std::size_t i = 0; i < runs.size(); next += runs[i++].length) {
        EXPECT_TRUE(runs[i].start == next && runs[i].length > 0 &&
                    (i == 0 || !(runs[i].format == runs[i - 1].format)))
            << "run " << i;
    }
    EXPECT_EQ(next, document.text().size());
    std::string out;
    for (std::size_t i = 0; i < document.text().size(); ++i) {
        const CharFormat f = document.formatAt(i);
        std::string one =
            std::string(f.bold ? "b" : "") + (f.italic ? "i" : "") + (f.underline ? "u" : "");
        if (f.fontSizeHalfPoints != 0) {
            one += "s" + std::to_string(f.fontSizeHalfPoints);
        }
        for (const auto& [letter, color] : {std::pair{'c', f.textColor}, {'h', f.backColor}}) {
            char hex[8];
            if (color) {
                std::snprintf(hex, sizeof hex, "%c%02x%02x%02x", letter, color->red, color->green,
                              color->blue);
                one += hex;
            }
        }
        one += f.fontName.empty() ? "" : "f" + toUtf8(f.fontName);
        out += (i == 0 ? "" : "|") + (one.empty() ? "-" : one);
    }
    return out;
}

// Reading back what the writer wrote gives the same document, and writing it again the same code.
inline void expectRoundTrip(const Document& document) {
    const std::string code = document.rtf();
    const Document back = fromRtf(code);
    ASSERT_EQ(back.text(), document.text());
    ASSERT_EQ(formatsOf(back), formatsOf(document));
    ASSERT_EQ(back.baseFontName(), document.baseFontName());
    ASSERT_EQ(back.rtf(), code); // writing again gives the same code
}

// Carries out a script of selection operations, separated by "|": @N sets the selection start, #N
// its length, =TEXT the selected text, ~TEXT the whole text; b+ b- bold, u+ u- underline, cCOLOUR
// the text colour and hCOLOUR the background (red or white), fNAME the font.
inline void run(Document& document, std::string_view script) {
    using Text = const std::u16string&;
    static const std::map<char, void (*)(Document&, Text)> ops = {
        {'@', [](Document& d, Text a) { d.setSelStart(std::stoul(toUtf8(a))); }},
        {'#', [](Document& d, Text a) { d.setSelLength(std::stoul(toUtf8(a))); }},
        {'=', [](Document& d, Text a) { d.setSelText(a); }},
        {'~', [](Document& d, Text a) { d.setText(a); }},
        {'b', [](Document& d, Text a) { d.setSelBold(a == u"+"); }},
        {'u', [](Document& d, Text a) { d.setSelUnderline(a == u"+"); }},
        {'c', [](Document& d, Text a) { d.setSelColor(a == u"red" ? kRed : kWhite); }},
        {'h', [](Document& d, Text a) { d.setSelBackColor(a == u"red" ? kRed : kWhite); }},
        {'f', [](Document& d, Text a) { d.setSelFontName(a); }}};
    while (!script.empty()) {
        const std::size_t end = std::min(script.find('|'), script.size());
        ops.at(script[0])(document, fromUtf8(script.substr(1, end - 1)).value());
        script.remove_prefix(std::min(end + 1, script.size()));
    }
}

} // namespace tikmeter::documents::test
