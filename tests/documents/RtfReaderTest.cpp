#include "TestSupport.h"
#include "documents/DocumentError.h"

#include <gtest/gtest.h>

namespace tikmeter::documents {
namespace {

using test::fromRtf;
using test::textOf;

// Code and the text it gives.
struct TextRow {
    std::string_view code;
    std::u16string_view text;
};

void PrintTo(const TextRow& row, std::ostream* out) {
    *out << row.code;
}

class RtfText : public testing::TestWithParam<TextRow> {};

TEST_P(RtfText, GivesItsText) {
    EXPECT_EQ(textOf(GetParam().code), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    ParagraphEnds, RtfText,
    testing::Values(
        // The final paragraph mark is the document's own end.
        TextRow{"{\\rtf1 a\\par b\\par}", u"a\r\nb"}, TextRow{"{\\rtf1 a\\par b}", u"a\r\nb"},
        TextRow{"{\\rtf1 abc\\par\\par}", u"abc\r\n"},
        TextRow{"{\\rtf1 abc\\par {\\*\\themedata 0101}\r\n}", u"abc"},
        TextRow{"{\\rtf1 {a\\par }{b\\par }}", u"a\r\nb"}, TextRow{"{\\rtf1 \\par}", u""},
        // \sect and \page end paragraphs, a backslash before a raw line end is \par; \line
        // does not end the document.
        TextRow{"{\\rtf1 a\\sect b\\page c\\\r\nd\\page}", u"a\r\nb\r\nc\r\nd"},
        TextRow{"{\\rtf1 a\\line b\\line}", u"a\r\nb\r\n"},
        // Raw line ends in the code are not text, but end a control word.
        TextRow{"{\\rtf1 wo\r\nrd\r\n and\rmo\nre}", u"word andmore"},
        TextRow{"{\\rtf1 \\b\r\nbold}", u"bold"}));

INSTANTIATE_TEST_SUITE_P(
    ControlWords, RtfText,
    testing::Values(
        // The space after a word is its delimiter; a sign belongs to the number.
        TextRow{"{\\rtf1 \\b x\\b0  y}", u"x y"}, TextRow{"{\\rtf1 \\fs24-5}", u"-5"},
        TextRow{"{\\rtf1 \\fs-24x}", u"x"}, TextRow{"{\\rtf1 \\unknownword123;x}", u";x"},
        TextRow{"{\\rtf1 a\\\\b\\{c\\}d\\tab e\\cell f}", u"a\\b{c}d\te\tf"},
        TextRow{"{\\rtf1 \\~\\-\\_\\|\\:}", u"\u00A0\u00AD\u2011"},
        TextRow{"{\\rtf1 \\emdash\\endash\\lquote\\rquote\\ldblquote\\rdblquote\\bullet}",
                u"\u2014\u2013\u2018\u2019\u201C\u201D\u2022"},
        // A broken hex escape is dropped, what follows stays.
        TextRow{"{\\rtf1 a\\'zzb}", u"azzb"}, TextRow{"{\\rtf1 a\\'4", u"a4"}));

INSTANTIATE_TEST_SUITE_P(
    Unicode, RtfText,
    testing::Values(
        TextRow{"{\\rtf1 caf\\u233?s}", u"caf\u00E9s"},
        TextRow{"{\\rtf1 caf\\u233\\'e9s}", u"caf\u00E9s"},
        TextRow{"{\\rtf1 \\uc2\\u937 xyz}", u"\u03A9z"},
        TextRow{"{\\rtf1 \\uc0\\u937 xyz}", u"\u03A9xyz"},
        TextRow{"{\\rtf1 \\uc3\\uc\\u937 xyz}", u"\u03A9yz"}, // \uc alone is \uc1
        // A control word or symbol counts as one skipped character and is not carried out.
        TextRow{"{\\rtf1 \\u8212\\emdash x}", u"\u2014x"},
        TextRow{"{\\rtf1 \\uc2\\u8212\\'97\\'97x}", u"\u2014x"},
        TextRow{"{\\rtf1 \\uc2\\u8212\\{\\par x}", u"\u2014x"},
        // Negative values count from 65536; skipping ends at the group's end.
        TextRow{"{\\rtf1 \\u-3913?}", u"\uF0B7"},
        TextRow{"{\\rtf1 {\\uc5\\u233 ab}cd}", u"\u00E9cd"},
        // \uc is a group property.
        TextRow{"{\\rtf1 {\\uc0 }\\u233 xy}", u"\u00E9y"},
        // Surrogate pairs stay as two 16-bit characters.
        TextRow{"{\\rtf1 \\u-10187?\\u-9216?}", u"\U0001D400"},
        // Absurd values are dropped, their fallback still skipped.
        TextRow{"{\\rtf1 a\\u-1?b\\u-2?c}", u"abc"},
        TextRow{"{\\rtf1 a\\u99999999?b\\u-99999999?c}", u"abc"},
        TextRow{"{\\rtf1 a\\u99999999999999999999?b}", u"ab"},
        TextRow{"{\\rtf1 a{\\uc99999999 \\u233 fallback text}b}", u"a\u00E9b"},
        TextRow{"{\\rtf1 \\uc-5\\u233 b}", u"\u00E9b"}));

INSTANTIATE_TEST_SUITE_P(
    SingleByteCodePages, RtfText,
    testing::Values(
        TextRow{"{\\rtf1\\ansi \\'e9\\'80 caf\xe9}", u"\u00E9\u20AC caf\u00E9"},
        TextRow{"{\\rtf1\\ansi\\ansicpg1251 \\'c0\\'e9\xc0}", u"\u0410\u0439\u0410"},
        TextRow{"{\\rtf1\\ansi\\ansicpg437 \\'e9}", u"\u00E9"}, // unsupported: 1252
        // The font's character set decides over \ansicpg; \plain returns to the default font.
        TextRow{"{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Arial;}"
                "{\\f1\\fcharset238 Arial CE;}{\\f2\\fcharset161 Arial Greek;}}"
                "\\'f5\\f1\\'f5{\\f2\\'c1}\\'f5\\plain\\'f5}",
                u"\u00F5\u0151\u0391\u0151\u00F5"},
        TextRow{"{\\rtf1{\\fonttbl{\\f0\\fcharset0 A;}{\\f1\\fcharset0 B;}}\\f1\\'8a}", u"\u0160"},
        // Mac Roman.
        TextRow{"{\\rtf1\\mac\\ansicpg10000 don\\'d5t}", u"don\u2019t"},
        TextRow{"{\\rtf1\\mac caf\\'8e}", u"caf\u00E9"},
        TextRow{"{\\rtf1\\ansi\\ansicpg10000 caf\\'8e}", u"caf\u00E9"},
        TextRow{"{\\rtf1{\\fonttbl{\\f1\\fcharset77 Times;}}\\'d5\\f1\\'d5}", u"\u00D5\u2019"}));

INSTANTIATE_TEST_SUITE_P(
    DoubleByteCodePages, RtfText,
    testing::Values(
        TextRow{"{\\rtf1\\ansi\\ansicpg932 \\'82\\'a0}", u"\u3042"},
        TextRow{"{\\rtf1\\ansi\\ansicpg936 \\'d6\\'d0\\'ce\\'c4}", u"\u4E2D\u6587"},
        TextRow{"{\\rtf1\\ansi\\ansicpg949 \\'b0\\'a1}", u"\uAC00"},
        TextRow{"{\\rtf1\\ansi\\ansicpg950 \\'a4\\'a4}", u"\u4E2D"},
        // Single bytes between pairs; second bytes written as plain characters or as \\.
        TextRow{"{\\rtf1\\ansicpg932 a\\'b1b\\'83e\\'83X\\'83g\\'95\\\\}",
                u"a\uFF71b\u30C6\u30B9\u30C8\u8868"},
        TextRow{"{\\rtf1\\ansicpg932 \x82\xa0}", u"\u3042"},
        // A font's character set decides over \ansicpg.
        TextRow{"{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset128 Mincho;}}"
                "\\'e9{\\f1\\'82\\'a0}\\'e9}",
                u"\u00E9\u3042\u00E9"},
        TextRow{"{\\rtf1\\ansicpg932{\\fonttbl{\\f0\\fcharset0 Arial;}{\\f1\\fcharset136 MingLiU;}}"
                "\\f1\\'a4\\'a4}",
                u"\u4E2D"},
        // A lead byte without its second byte: at the end of a group or of the code, before
        // a control word, before an ASCII byte (read as itself), or with no character.
        TextRow{"{\\rtf1\\ansicpg932 a{\\'82}b\\'82}", u"a\uFFFDb\uFFFD"},
        TextRow{"{\\rtf1\\ansicpg932 \\'82\\par b\\'82\\b c}", u"\uFFFD\r\nb\uFFFDc"},
        TextRow{"{\\rtf1\\ansicpg932 \\'82 b\\'85\\'40x\\'82\\'fdy}", u"\uFFFD b\uFFFD@x\uFFFDy"},
        TextRow{"{\\rtf1\\ansicpg936 \\'d6", u"\uFFFD"},
        // Each \'hh of a \uN fallback is one skipped byte.
        TextRow{"{\\rtf1\\ansicpg932\\uc2 \\u12354\\'82\\'a0 x}", u"\u3042 x"},
        TextRow{"{\\rtf1\\ansicpg932\\uc1 \\u12354\\'82\\'a0x}", u"\u3042\uFFFDx"}));

INSTANTIATE_TEST_SUITE_P(
    IgnorableDestinations, RtfText,
    testing::Values(
        TextRow{"{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red1\\green2\\blue3;}"
                "{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}{\\author A}}x}",
                u"x"},
        TextRow{"{\\rtf1 a{\\*\\unknown hidden {nested} text}b{\\*\\generator W 1.0;}c}", u"abc"},
        TextRow{"{\\rtf1 a{\\pict\\pngblip 89504e47{}\\}}b}", u"ab"},
        TextRow{"{\\rtf1 a{\\object{\\objdata 0102}{\\result r}}b}", u"ab"},
        TextRow{"{\\rtf1{\\header head}{\\footer foot}{\\headerl h}body}", u"body"},
        // Only a \* that opens its group makes the group ignorable; in running text it is
        // read on.
        TextRow{"{\\rtf1{\\b bold \\*\\cs7 text} end}", u"bold text end"},
        TextRow{"{\\rtf1 {a \\*\\fldinst x}b}", u"a b"},
        // A field shows its result, not its instruction.
        TextRow{"{\\rtf1 see {\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}} now}",
                u"see link now"},
        TextRow{"{\\rtf1 {\\field{\\fldinst PAGE}{\\fldrslt 1}}}", u"1"},
        // An unterminated skipped group ends the document.
        TextRow{"{\\rtf1 a{\\pict 0102", u"a"}));

INSTANTIATE_TEST_SUITE_P(
    BinaryAndUnbalancedCode, RtfText,
    testing::Values(TextRow{"{\\rtf1 a\\bin3 {}\\b}", u"ab"},
                    TextRow{"{\\rtf1 a{\\pict\\bin4 }}}{b}c}", u"ac"},
                    TextRow{"{\\rtf1 a\\bin0 b\\bin-5 c}", u"abc"},
                    TextRow{"{\\rtf1 abc{\\b def", u"abcdef"}, // truncated: text up to the cut
                    TextRow{"{\\rtf1 abc}}}}def", u"abc"},     // nothing after the root group
                    TextRow{"{\\rtf1 abc\\", u"abc"}, TextRow{"{\\rtf", u""}));

// Files that do not begin with "{\rtf": UTF-8 when valid, else 1252; line ends become CR LF.
INSTANTIATE_TEST_SUITE_P(PlainText, RtfText,
                         testing::Values(TextRow{"", u""}, TextRow{"abc\r\ndef", u"abc\r\ndef"},
                                         TextRow{"abc\ndef\n", u"abc\r\ndef\r\n"},
                                         TextRow{"abc\rdef", u"abc\r\ndef"},
                                         TextRow{"caf\xc3\xa9 \xe2\x82\xac", u"caf\u00E9 \u20AC"},
                                         TextRow{"\xef\xbb\xbf"
                                                 "abc",
                                                 u"abc"},
                                         TextRow{"caf\xe9 \x80", u"caf\u00E9 \u20AC"},
                                         TextRow{" {\\rtf1 x}", u" {\\rtf1 x}"},
                                         TextRow{"{\\RTF1 x}", u"{\\RTF1 x}"}));

TEST(RtfReaderText, BinaryCountPastTheEndIsUnreadable) {
    for (const char* code : {"{\\rtf1 a\\bin999999999 xyz}", "{\\rtf1 a{\\pict\\bin10 xyz}}",
                             "{\\rtf1 a\\bin2147483647 }", "{\\rtf1 a\\bin99999999999999999 }"}) {
        try {
            fromRtf(code);
            ADD_FAILURE() << code;
        } catch (const DocumentError& error) {
            EXPECT_EQ(error.kind(), DocumentErrorKind::Unreadable) << code;
        }
    }
}

TEST(RtfReaderText, DeepNestingIsReadWithoutRecursion) {
    const std::size_t depth = 200000;
    std::string code = "{\\rtf1 a";
    code.append(depth, '{');
    code += "deep";
    code.append(depth, '}');
    code += "b}";
    EXPECT_EQ(textOf(code), u"adeepb");

    // Skipped destinations deep down, and formatting restored when the depth drops back.
    code = "{\\rtf1 x";
    code.append(5000, '{');
    code += "\\b y{\\*\\skip z}";
    code.append(5000, '}');
    code += "w}";
    const Document document = fromRtf(code);
    EXPECT_EQ(document.text(), u"xyw");
    EXPECT_TRUE(document.formatAt(1).bold);
    EXPECT_FALSE(document.formatAt(2).bold);
}

// The bold, italic and underline flags of every character: "b", "i", "u" or "-", one word
// per character.
std::string flagsOf(std::string_view code) {
    const Document document = fromRtf(code);
    std::string flags;
    for (std::size_t i = 0; i < document.text().size(); ++i) {
        const CharFormat format = document.formatAt(i);
        flags += i == 0 ? "" : " ";
        flags += format.bold ? "b" : "";
        flags += format.italic ? "i" : "";
        flags += format.underline ? "u" : "";
        flags += !format.bold && !format.italic && !format.underline ? "-" : "";
    }
    return flags;
}

TEST(RtfReaderFormat, FlagsFollowTheirWordsAndGroups) {
    const std::pair<std::string_view, std::string_view> rows[] = {
        {"{\\rtf1 n{\\b b{\\i bi}b}{\\ul u\\ul0 n\\ul u\\ulnone n}{\\uldb d}n}",
         "- b bi bi b u - u - u -"},
        // A toggle without a number, or with one other than 0, switches on.
        {"{\\rtf1 \\b0 a\\b b\\b1 c\\b2 d\\b0 e\\i f}", "- b b b - i"},
        // \ulnone switches off whatever its number; \ulc is a colour, not underline.
        {"{\\rtf1 \\ul a\\ulnone1 b\\ulc1 c}", "u - -"},
        // \plain resets character formatting, \pard does not.
        {"{\\rtf1 \\b\\i\\ul a\\pard b\\plain c\\b0 d}", "biu biu - -"},
    };
    for (const auto& [code, flags] : rows) {
        EXPECT_EQ(flagsOf(code), flags) << code;
    }
}

TEST(RtfReaderFormat, ValuesAndTheirDefaults) {
    const Document document =
        fromRtf("{\\rtf1{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;"
                "\\red255\\green255\\blue255;}"
                "\\cf1 a\\highlight3 b\\cb2 c\\chcbpat0 d\\cf0 e\\cf99 f\\highlight-1 g"
                "\\fs h\\fs30 i\\fs-4 j\\cf1\\cf k\\b\\cf1\\fs30\\highlight3 l\\pard m\\plain n}");
    EXPECT_EQ(document.text(), u"abcdefghijklmn");
    EXPECT_EQ(document.formatAt(0).textColor, kRed);
    EXPECT_FALSE(document.formatAt(0).backColor.has_value());
    EXPECT_EQ(document.formatAt(1).backColor, kWhite);
    EXPECT_EQ(document.formatAt(2).backColor, (Color{0, 0, 255}));
    EXPECT_FALSE(document.formatAt(3).backColor.has_value()); // entry 0 is "auto"
    EXPECT_FALSE(document.formatAt(4).textColor.has_value());
    EXPECT_FALSE(document.formatAt(5).textColor.has_value()); // no such entry
    EXPECT_FALSE(document.formatAt(6).backColor.has_value());
    EXPECT_EQ(document.formatAt(6).fontSizeHalfPoints, 0);
    EXPECT_EQ(document.formatAt(7).fontSizeHalfPoints, 24); // \fs alone is \fs24
    EXPECT_EQ(document.formatAt(8).fontSizeHalfPoints, 30);
    EXPECT_EQ(document.formatAt(9).fontSizeHalfPoints, 0);
    EXPECT_FALSE(document.formatAt(10).textColor.has_value()); // \cf alone is \cf0
    // \plain resets all character formatting, \pard none.
    const CharFormat l = document.formatAt(11);
    EXPECT_TRUE(l.bold && l.textColor == kRed && l.backColor == kWhite);
    EXPECT_EQ(l.fontSizeHalfPoints, 30);
    EXPECT_EQ(document.formatAt(12), l);
    EXPECT_EQ(document.formatAt(13), CharFormat{});
}

TEST(RtfReaderFormat, FontsAndTheBaseFont) {
    const Document document =
        fromRtf("{\\rtf1\\deff1{\\fonttbl{\\f0\\froman Times New Roman;}{\\f1\\fswiss Arial;}"
                "{\\f2{\\*\\panose 0102}Courier{\\*\\falt Mono};}}"
                "a\\f2 b\\f0 c\\f1 d\\f7 e}");
    EXPECT_EQ(document.baseFontName(), u"Arial");
    EXPECT_EQ(document.formatAt(0).fontName, u"");
    EXPECT_EQ(document.formatAt(1).fontName, u"Courier");
    EXPECT_EQ(document.formatAt(2).fontName, u"Times New Roman");
    EXPECT_EQ(document.formatAt(3).fontName, u""); // the default font is the base font
    EXPECT_EQ(document.formatAt(4).fontName, u""); // unknown font number
}

TEST(RtfReaderFormat, FontTableWithoutEntryGroupsAndNamesInTheirOwnCodePage) {
    Document document = fromRtf("{\\rtf1{\\fonttbl\\f0\\fswiss Arial;\\f1 Caf\\'e9 Sans;}"
                                "\\f1 x}");
    EXPECT_EQ(document.baseFontName(), u"Arial");
    EXPECT_EQ(document.formatAt(0).fontName, u"Caf\u00E9 Sans");

    document = fromRtf("{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset128 \\'82\\'6c\\'82\\'72 M;}"
                       "{\\f2\\fcharset128 \\'82;}{\\f3 \\'3b\\\\;}}\\f1 x\\f2 y\\f3 z}");
    EXPECT_EQ(document.formatAt(0).fontName, u"\uFF2D\uFF33 M");
    EXPECT_EQ(document.formatAt(1).fontName, u"\uFFFD");
    EXPECT_EQ(document.formatAt(2).fontName, u";\\"); // an escaped ';' is part of the name
}

TEST(RtfReaderFormat, RunsCoverTheTextAndNeighboursDiffer) {
    const Document document = fromRtf("{\\rtf1 a{\\b}b{\\b c}{\\b d}\\b\\b0 e\\par}");
    EXPECT_EQ(document.text(), u"abcde");
    const std::vector<FormatRun> runs = document.runs();
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].start, 0u);
    EXPECT_EQ(runs[0].length, 2u);
    EXPECT_EQ(runs[1].start, 2u);
    EXPECT_EQ(runs[1].length, 2u);
    EXPECT_TRUE(runs[1].format.bold);
    EXPECT_EQ(runs[2].start, 4u);
    EXPECT_EQ(runs[2].length, 1u);
}

TEST(PlainTextReader, BinaryDataIsUnreadableTextHasNoFormatting) {
    std::string binary;
    for (int i = 0; i < 4096; ++i) {
        binary += static_cast<char>((i * 7919) % 256);
    }
    EXPECT_THROW(fromRtf(binary), DocumentError);
    EXPECT_THROW(fromRtf(std::string("abc\0def", 7)), DocumentError);
    // A few stray control bytes in a long text are still text.
    std::string text(2000, 'x');
    text[100] = '\x01';
    EXPECT_EQ(textOf(text).size(), 2000u);
    EXPECT_EQ(fromRtf("text").formatAt(0), CharFormat{});
}

TEST(RtfReader, FailedSetRtfLeavesTheDocumentUnchanged) {
    Document document = fromRtf("{\\rtf1 keep}");
    EXPECT_THROW(document.setRtf("{\\rtf1 \\bin50 x}"), DocumentError);
    EXPECT_EQ(document.text(), u"keep");
}

} // namespace
} // namespace tikmeter::documents
