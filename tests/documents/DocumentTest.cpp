#include "TestSupport.h"

#include <gtest/gtest.h>

namespace tikmeter::documents {
namespace {

Document withText(std::u16string_view text) {
    Document document;
    document.setText(text);
    return document;
}

void select(Document& document, std::size_t start, std::size_t length) {
    document.setSelStart(start);
    document.setSelLength(length);
}

TEST(DocumentSelection, StartAndLengthAreClipped) {
    Document document = withText(u"hello");
    document.setSelStart(99);
    EXPECT_EQ(document.selStart(), 5u);
    document.setSelLength(3);
    EXPECT_EQ(document.selLength(), 0u);
    select(document, 3, 99);
    EXPECT_EQ(document.selLength(), 2u);
    EXPECT_EQ(document.selText(), u"lo");
    // Moving the start makes the selection a caret.
    document.setSelStart(1);
    EXPECT_EQ(document.selLength(), 0u);
    EXPECT_EQ(document.selText(), u"");
}

TEST(DocumentSelection, EmptyDocument) {
    Document document;
    EXPECT_EQ(document.text(), u"");
    document.setSelStart(4);
    document.setSelLength(4);
    EXPECT_EQ(document.selStart(), 0u);
    EXPECT_EQ(document.selLength(), 0u);
    EXPECT_EQ(document.formatAt(0), CharFormat{});
    EXPECT_TRUE(document.runs().empty());
    document.setSelBold(true);
    document.setSelText(u"x");
    EXPECT_EQ(document.text(), u"x");
    EXPECT_TRUE(document.formatAt(0).bold);
}

TEST(DocumentSelection, SetSelTextReplacesAndMovesTheCaret) {
    Document document = withText(u"one two three");
    select(document, 4, 3);
    document.setSelText(u"2");
    EXPECT_EQ(document.text(), u"one 2 three");
    EXPECT_EQ(document.selStart(), 5u);
    EXPECT_EQ(document.selLength(), 0u);
    document.setSelText(u"!");
    EXPECT_EQ(document.text(), u"one 2! three");
    select(document, 0, 4);
    document.setSelText(u"");
    EXPECT_EQ(document.text(), u"2! three");
    EXPECT_EQ(document.selStart(), 0u);
}

TEST(DocumentSelection, AcrossAParagraphBreak) {
    Document document = withText(u"ab\r\ncd");
    select(document, 1, 4);
    EXPECT_EQ(document.selText(), u"b\r\nc");
    document.setSelUnderline(true);
    EXPECT_FALSE(document.formatAt(0).underline);
    EXPECT_TRUE(document.formatAt(1).underline);
    EXPECT_TRUE(document.formatAt(2).underline);
    EXPECT_TRUE(document.formatAt(4).underline);
    EXPECT_FALSE(document.formatAt(5).underline);
    document.setSelText(u"-");
    EXPECT_EQ(document.text(), u"a-d");
    EXPECT_TRUE(document.formatAt(1).underline); // the first replaced character's format
}

TEST(DocumentFormat, SelectionFormattingChangesOnlyTheSelection) {
    Document document = withText(u"abcdef");
    select(document, 2, 2);
    document.setSelBackColor(kRed);
    document.setSelColor(kWhite);
    document.setSelFontName(u"Courier");
    document.setSelBold(true);
    const std::vector<FormatRun> runs = document.runs();
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[1].start, 2u);
    EXPECT_EQ(runs[1].length, 2u);
    EXPECT_EQ(runs[1].format.backColor, kRed);
    EXPECT_EQ(runs[1].format.textColor, kWhite);
    EXPECT_EQ(runs[1].format.fontName, u"Courier");
    EXPECT_TRUE(runs[1].format.bold);
    EXPECT_EQ(runs[0].format, CharFormat{});
    EXPECT_EQ(runs[2].format, CharFormat{});
    // Undoing the change merges the runs again.
    select(document, 0, 6);
    document.setSelBackColor(kWhite);
    document.setSelColor(kWhite);
    document.setSelFontName(u"Courier");
    document.setSelBold(true);
    EXPECT_EQ(document.runs().size(), 1u);
}

// A mark that ends with the CR of a paragraph end, or starts at its LF, colours the whole
// paragraph end, which so stays a paragraph end ("\par") in the RTF code.
TEST(DocumentFormat, ParagraphEndIsFormattedAsOneMark) {
    Document document = withText(u"happened.\r\nNext line");
    select(document, 0, 10); // "happened." and the CR
    document.setSelBackColor(kRed);
    EXPECT_EQ(document.formatAt(10).backColor, kRed);
    EXPECT_FALSE(document.formatAt(11).backColor.has_value());
    EXPECT_NE(document.rtf().find("happened.\r\n\\par"), std::string::npos) << document.rtf();

    Document other = withText(u"one\r\ntwo");
    select(other, 4, 2); // the LF and "t"
    other.setSelBold(true);
    EXPECT_TRUE(other.formatAt(3).bold);
    EXPECT_FALSE(other.formatAt(2).bold);
    EXPECT_EQ(other.rtf().find("\\'0d"), std::string::npos) << other.rtf();
    Document reread;
    reread.setRtf(other.rtf());
    EXPECT_EQ(reread.runs(), other.runs());
}

TEST(DocumentFormat, HighlightChangesNoOtherAttribute) {
    Document document = test::fromRtf("{\\rtf1{\\fonttbl{\\f0 A;}{\\f1 B;}}\\f1\\i\\ul\\fs30 abc}");
    const CharFormat before = document.formatAt(1);
    select(document, 1, 1);
    document.setSelBackColor(kWhite);
    CharFormat expected = before;
    expected.backColor = kWhite;
    EXPECT_EQ(document.formatAt(1), expected);
    EXPECT_EQ(document.formatAt(0), before);
}

TEST(DocumentFormat, InsertFormatAtTheCaretAtTheEnd) {
    // The marking session's report: caret at the end, white background, red text, bold,
    // no underline, font Courier, then the text goes in.
    Document document = test::fromRtf("{\\rtf1{\\colortbl;\\red0\\green0\\blue255;}"
                                      "\\ul\\cf1 typed text\\par}");
    document.setSelStart(document.text().size());
    document.setSelBackColor(kWhite);
    document.setSelColor(kRed);
    document.setSelBold(true);
    document.setSelUnderline(false);
    document.setSelFontName(u"Courier");
    document.setSelText(u"\r\nReport\r\nline 2");
    EXPECT_EQ(document.text(), u"typed text\r\nReport\r\nline 2");
    CharFormat report;
    report.backColor = kWhite;
    report.textColor = kRed;
    report.bold = true;
    report.fontName = u"Courier";
    for (std::size_t i = 10; i < document.text().size(); ++i) {
        ASSERT_EQ(document.formatAt(i), report) << i;
    }
    EXPECT_TRUE(document.formatAt(9).underline); // the typed text is untouched
    // And the saved form keeps it.
    EXPECT_EQ(test::fromRtf(document.rtf()).runs(), document.runs());
}

TEST(DocumentFormat, CaretTakesTheFormatOfTheCharacterBeforeIt) {
    Document document = test::fromRtf("{\\rtf1 a\\b b\\b0 c}");
    document.setSelStart(2);
    document.setSelText(u"X");
    EXPECT_TRUE(document.formatAt(2).bold);
    document.setSelStart(0);
    document.setSelText(u"Y");
    EXPECT_FALSE(document.formatAt(0).bold);
    // Moving the caret forgets a format chosen for the old caret position.
    document.setSelStart(1);
    document.setSelBold(true);
    document.setSelStart(2);
    document.setSelText(u"Z");
    EXPECT_FALSE(document.formatAt(2).bold);
}

TEST(DocumentFormat, FormatAtPastTheEndIsTheLastCharacters) {
    const Document document = test::fromRtf("{\\rtf1 a\\b b}");
    EXPECT_TRUE(document.formatAt(2).bold);
    EXPECT_TRUE(document.formatAt(1000).bold);
}

TEST(DocumentText, SetTextUsesTheBaseFontAndResetsTheSelection) {
    Document document = test::fromRtf("{\\rtf1\\b bold}");
    select(document, 1, 2);
    document.setText(u"plain\r\ntext");
    EXPECT_EQ(document.selStart(), 0u);
    EXPECT_EQ(document.selLength(), 0u);
    ASSERT_EQ(document.runs().size(), 1u);
    EXPECT_EQ(document.runs()[0].format, CharFormat{});
    EXPECT_EQ(document.runs()[0].length, 11u);
}

TEST(DocumentText, BaseFontName) {
    Document document;
    EXPECT_FALSE(document.baseFontName().empty());
    document.setBaseFontName(u"Courier New");
    EXPECT_EQ(document.baseFontName(), u"Courier New");
    // Loading RTF takes the default font the code names; plain text keeps the base font.
    document.setRtf("{\\rtf1\\deff0{\\fonttbl{\\f0 Arial;}}x}");
    EXPECT_EQ(document.baseFontName(), u"Arial");
    document.setRtf("plain");
    EXPECT_EQ(document.baseFontName(), u"Arial");
}

TEST(DocumentText, LargeDocumentsKeepFewRuns) {
    Document document;
    document.setText(std::u16string(5'000'000, u'x'));
    EXPECT_EQ(document.runs().size(), 1u);
    select(document, 1000, 10);
    document.setSelBold(true);
    EXPECT_EQ(document.runs().size(), 3u);
    EXPECT_EQ(test::fromRtf(document.rtf()).runs(), document.runs());
}

TEST(DocumentText, ManySmallChangesStayConsistent) {
    Document document = withText(std::u16string(200, u'a'));
    for (std::size_t i = 0; i < 200; i += 3) {
        select(document, i, 2);
        document.setSelColor(i % 2 ? kRed : kWhite);
    }
    for (std::size_t i = 0; i < 100; i += 7) {
        select(document, i, 4);
        document.setSelText(u"zz");
    }
    const std::vector<FormatRun> runs = document.runs();
    std::size_t next = 0;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        ASSERT_EQ(runs[i].start, next);
        ASSERT_GT(runs[i].length, 0u);
        if (i > 0) {
            ASSERT_FALSE(runs[i].format == runs[i - 1].format);
        }
        next += runs[i].length;
    }
    EXPECT_EQ(next, document.text().size());
}

} // namespace
} // namespace tikmeter::documents
