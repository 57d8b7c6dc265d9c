// The writer's exact form, and reading back what it wrote gives the same document.
#include "TestSupport.h"

#include <random>

namespace tikmeter::documents {
namespace {

using test::fromRtf;

// Text and the body the writer gives for it (the code after the colour table), which reads back as
// the text.
TEST(WriteRtf, BodyIsExactlyAndReadsBack) {
    const std::pair<std::u16string_view, std::string_view> rows[] = {
        // Every paragraph end, the last included, is CR LF then "\par "; CR and LF appear nowhere
        // else; spaces stay spaces.
        {u"abc", "abc\r\n\\par }"},
        {u"", "\r\n\\par }"},
        {u"a\r\nb", "a\r\n\\par b\r\n\\par }"},
        {u"abc\r\n", "abc\r\n\\par \r\n\\par }"},
        {u"End.  \r\n lead  b", "End.  \r\n\\par  lead  b\r\n\\par }"},
        {u"a\rb\nc\n\rd", "a\\'0db\\'0ac\\'0a\\'0dd\r\n\\par }"},
        // ASCII as it is but for \ { }; \'hh for every other character 1252 holds, else \uN? with
        // N a signed 16-bit number.
        {u"a\\b{c}d;\tx", "a\\\\b\\{c\\}d;\\tab x\r\n\\par }"},
        {u"~\x7F\x80\x81\xA0\u00E9\xFF\u0100\u0178\u20AC\x01",
         "~\\'7f\\u128?\\'81\\'a0\\'e9\\'ff\\u256?\\'9f\\'80\\'01\r\n\\par }"},
        {u"\u03A9\u7FFF\u8000\uF0B7\uFFFD\uFFFF",
         "\\u937?\\u32767?\\u-32768?\\u-3913?\\u-3?\\u-3?\r\n\\par }"}};
    const std::string header = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 "
                               "MS Sans Serif;}}{\\colortbl ;}";
    for (const auto& [text, body] : rows) {
        Document document;
        document.setText(text);
        EXPECT_EQ(document.rtf(), header + std::string(body));
        std::u16string expected(text);
        std::replace(expected.begin(), expected.end(), u'\uFFFF', u'\uFFFD'); // not readable back
        EXPECT_EQ(fromRtf(document.rtf()).text(), expected);
    }
}

TEST(WriteRtf, HeaderTablesAndFormatSwitches) {
    // An explicit font named like the base font keeps a number of its own; a paragraph end
    // formatted unlike the text before it is CR LF, the switch, then \par.
    Document document = fromRtf(
        "{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1 Courier;}}{\\colortbl;\\red255\\green0\\blue0;"
        "\\red1\\green2\\blue3;}a\\f1\\cf1 b\\highlight2\\b c.  {\\ul\\par}\\plain\\i\\fs30 "
        "N\\ul e\\i0\\fs0 x}");
    document.setSelStart(1);
    document.setSelLength(1);
    document.setSelFontName(u"Arial");
    EXPECT_EQ(document.rtf(),
              "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}"
              "{\\f1\\fnil\\fcharset0 Arial;}{\\f2\\fnil\\fcharset0 Courier;}}{\\colortbl ;"
              "\\red255\\green0\\blue0;\\red1\\green2\\blue3;}a\\f1\\cf1 b\\f2\\highlight2\\b c.  "
              "\r\n\\ul \\par \\f0\\fs30\\cf0\\highlight0\\b0\\i\\ulnone N\\ul e\\plain\\ul x"
              "\r\n\\par }");
}

// Random text from pieces that stress the writer, formatted at random, with base and explicit
// font names that hold RTF's special characters.
TEST(WriteRtf, RandomDocumentsReadBack) {
    static const std::u16string kPieces[] = {
        u"word", u" ",      u"  ",     u"\r\n",   u".  \r\n", u"\\",     u"{",          u"}",
        u"\t",   u"\u00E9", u"\u20AC", u"\u0416", u"\u4E2D",  u"\uF0B7", u"\U0001F600", u"\r",
        u"\n",   u"?",      u";",      u"\u0081", u"\u00A0",  u"x1",     u"'n"};
    const std::string changes[] = {"b+",
                                   "b-",
                                   "u+",
                                   "u-",
                                   "cred",
                                   "cwhite",
                                   "hred",
                                   "hwhite",
                                   "fArial",
                                   "fCourier",
                                   "fCaf\xC3\xA9;{x}\\\xD0\x96"}; // see test::run
    std::mt19937 random(20240323);
    auto pick = [&random](std::size_t count) {
        return std::uniform_int_distribution<std::size_t>(0, count - 1)(random);
    };
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        Document document;
        document.setBaseFontName(round % 3 ? u"Arial" : u"Caf\u00E9;{x}\\ \u0416\t");
        std::u16string text;
        for (int i = round % 60; i >= 0; --i) {
            text += kPieces[pick(std::size(kPieces))];
        }
        document.setText(text);
        for (int change = 0; change < 12; ++change) {
            test::run(document, "@" + std::to_string(pick(text.size() + 1)) + "|#" +
                                    std::to_string(pick(text.size() + 1) / 3 + 1) + "|" +
                                    changes[pick(std::size(changes))]);
        }
        test::expectRoundTrip(document);
    }
}

} // namespace
} // namespace tikmeter::documents
