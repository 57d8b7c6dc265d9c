#include "TestSupport.h"

#include <gtest/gtest.h>

namespace tikmeter::documents {
namespace {

using test::fromRtf;

std::string rtfOf(std::u16string_view text) {
    Document document;
    document.setText(text);
    return document.rtf();
}

// The body of the writer's code: what follows the colour table.
std::string bodyOf(const std::string& code) {
    const std::size_t table = code.find("{\\colortbl");
    return code.substr(code.find('}', table) + 1);
}

TEST(RtfWriter, HeaderAndTables) {
    Document document;
    document.setBaseFontName(u"Courier New");
    document.setText(u"ab");
    document.setSelStart(1);
    document.setSelLength(1);
    document.setSelFontName(u"Courier");
    document.setSelColor(kRed);
    const std::string code = document.rtf();
    EXPECT_EQ(code.rfind("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl", 0), 0u) << code;
    EXPECT_NE(code.find("{\\f0\\fnil\\fcharset0 Courier New;}"), std::string::npos) << code;
    EXPECT_NE(code.find("{\\f1\\fnil\\fcharset0 Courier;}"), std::string::npos) << code;
    EXPECT_NE(code.find("{\\colortbl ;\\red255\\green0\\blue0;}"), std::string::npos) << code;
    EXPECT_EQ(code.back(), '}');
}

TEST(RtfWriter, EveryParagraphEndIsCrLfThenPar) {
    EXPECT_EQ(bodyOf(rtfOf(u"abc")), "abc\r\n\\par }");
    EXPECT_EQ(bodyOf(rtfOf(u"a\r\nb")), "a\r\n\\par b\r\n\\par }");
    EXPECT_EQ(bodyOf(rtfOf(u"abc\r\n")), "abc\r\n\\par \r\n\\par }");
    EXPECT_EQ(bodyOf(rtfOf(u"")), "\r\n\\par }");
    EXPECT_EQ(bodyOf(rtfOf(u" lead\r\n trail ")), " lead\r\n\\par  trail \r\n\\par }");
}

TEST(RtfWriter, SentenceEndSpacesAreFollowedDirectlyByCr) {
    EXPECT_NE(rtfOf(u"End.  \r\nNext").find(".  \r\n\\par Next"), std::string::npos);

    // Also when the paragraph end has another format than the text before it.
    Document document;
    document.setText(u"End.  \r\nNext");
    document.setSelStart(6);
    document.setSelLength(2);
    document.setSelBold(true);
    const std::string code = document.rtf();
    EXPECT_NE(code.find("End.  \r\n"), std::string::npos) << code;
    EXPECT_EQ(fromRtf(code).runs(), document.runs());
}

TEST(RtfWriter, CrAndLfOnlyInParagraphEnds) {
    const std::string code = rtfOf(u"a\rb\nc\n\rd\r\ne");
    EXPECT_EQ(bodyOf(code), "a\\'0db\\'0ac\\'0a\\'0dd\r\n\\par e\r\n\\par }");
    EXPECT_EQ(fromRtf(code).text(), u"a\rb\nc\n\rd\r\ne");
}

TEST(RtfWriter, EscapesAndCharacters) {
    EXPECT_EQ(bodyOf(rtfOf(u"a\\b{c}d")), "a\\\\b\\{c\\}d\r\n\\par }");
    EXPECT_EQ(bodyOf(rtfOf(u"a\tb")), "a\\tab b\r\n\\par }");
    EXPECT_EQ(bodyOf(rtfOf(u"caf\u00E9 \u20AC")), "caf\\'e9 \\'80\r\n\\par }");
    EXPECT_EQ(bodyOf(rtfOf(u"\u03A9\uF0B7")), "\\u937?\\u-3913?\r\n\\par }");
    EXPECT_EQ(bodyOf(rtfOf(u"a  b   c")), "a  b   c\r\n\\par }");
    EXPECT_EQ(bodyOf(rtfOf(u"\u0081\x01")), "\\'81\\'01\r\n\\par }");
}

TEST(RtfWriter, NoncharactersBecomeTheReplacementCharacter) {
    EXPECT_EQ(fromRtf(rtfOf(u"a\uFFFFb")).text(), u"a\uFFFDb");
}

TEST(RtfWriter, FormatSwitchesKeepSpacesAsText) {
    Document document;
    document.setText(u" x y");
    document.setSelStart(0);
    document.setSelLength(1);
    document.setSelBold(true);
    const std::string code = document.rtf();
    EXPECT_NE(bodyOf(code).find("\\b  \\b0 x y"), std::string::npos) << code;
    EXPECT_EQ(fromRtf(code).text(), u" x y");
}

TEST(RtfWriter, ExplicitFontEqualToTheBaseFontStaysExplicit) {
    Document document;
    document.setBaseFontName(u"Arial");
    document.setText(u"ab");
    document.setSelStart(1);
    document.setSelLength(1);
    document.setSelFontName(u"Arial");
    const Document back = fromRtf(document.rtf());
    EXPECT_EQ(back.formatAt(0).fontName, u"");
    EXPECT_EQ(back.formatAt(1).fontName, u"Arial");
    EXPECT_EQ(back.baseFontName(), u"Arial");
}

TEST(RtfWriter, FontNamesWithSpecialCharacters) {
    Document document;
    document.setBaseFontName(u"Base;{x}\\ \u00E9\u0416\t");
    document.setText(u"ab");
    document.setSelStart(0);
    document.setSelLength(1);
    document.setSelFontName(u";");
    const Document back = fromRtf(document.rtf());
    EXPECT_EQ(back.baseFontName(), document.baseFontName());
    EXPECT_EQ(back.runs(), document.runs());
}

} // namespace
} // namespace tikmeter::documents
