// What the reader makes of RTF code (and of bytes without it): text, formatting, failures.
#include "TestSupport.h"
#include "documents/DocumentError.h"

#include <optional>

namespace tikmeter::documents {
namespace {

using test::formatsOf;
using test::fromRtf;

// Code, the text it gives (nothing when it is an unreadable document), and the format of each
// character (see test::formatsOf; not checked when empty).
struct Row {
    std::string code;
    std::optional<std::u16string> text;
    std::string_view formats = {};
};

class Read : public ::testing::TestWithParam<Row> {};

TEST_P(Read, GivesTextAndFormatsOrFailsCleanly) {
    const auto& [code, text, formats] = GetParam();
    Document document = fromRtf("{\\rtf1 kept}");
    try {
        document.setRtf(code);
        EXPECT_EQ(document.text(), text.value_or(u"(unreadable)"));
        EXPECT_EQ(formats.empty() ? "" : formatsOf(document), formats);
    } catch (const DocumentError& error) {
        EXPECT_FALSE(text) << error.what();
        EXPECT_EQ(error.kind(), DocumentErrorKind::Unreadable);
        EXPECT_EQ(document.text(), u"kept");
    }
}

// Groups nest to depth 4096 (the root group is depth 1). Deeper groups share the state of the
// deepest kept group, so formatting set in them stays after them; any depth is read.
std::string nested(std::size_t depth) { // "{\b x}y" in a group of that depth
    return "{\\rtf1 a" + std::string(depth - 1, '{') + "{\\b x}y" + std::string(depth - 1, '}') +
           "b}";
}
const Row kRows[] = {
    // Paragraph ends.
    // The final paragraph mark is the document's own end, also before ignorable groups.
    {"{\\rtf1 a\\par b\\par}", u"a\r\nb"},
    {"{\\rtf1 a\\par b}", u"a\r\nb"},
    {"{\\rtf1 abc\\par\\par}", u"abc\r\n"},
    {"{\\rtf1 \\par}", u""},
    {"{\\rtf1 abc\\par {\\*\\themedata 0101}\r\n}", u"abc"},
    // \sect, \page and a backslash before a raw line end are \par; \line is no end mark.
    {"{\\rtf1 a\\sect b\\page c\\\r\nd\\page}", u"a\r\nb\r\nc\r\nd"},
    {"{\\rtf1 a\\line b\\line}", u"a\r\nb\r\n"},
    // Raw line ends are no text, even inside a word, but end a control word; a tab is text.
    {"{\\rtf1 wo\r\nrd\r\n and\rmo\nre\\b\r\nx\ty}", u"word andmorex\ty"},

    // Control words and symbols.
    // The space after a word is its delimiter; a sign belongs to the number; unknown words are left
    // out.
    {"{\\rtf1 \\b x\\b0  y\\fs-24z\\fs24-5\\unknownword123;}", u"x yz-5;"},
    {"{\\rtf1 a\\\\b\\{c\\}d\\tab e\\cell f\\~\\-\\_\\|\\:}", u"a\\b{c}d\te\tf\u00A0\u00AD\u2011"},
    {"{\\rtf1 \\emdash\\endash\\lquote\\rquote\\ldblquote\\rdblquote\\bullet}",
     u"\u2014\u2013\u2018\u2019\u201C\u201D\u2022"},
    // Hex digits in either case; a broken escape is dropped, what follows stays.
    {"{\\rtf1 \\'E9\\'e9 a\\'zzb\\'4", u"\u00E9\u00E9 azzb4"},

    // \uN and its fallback.
    {"{\\rtf1 caf\\u233?s}", u"caf\u00E9s"},
    {"{\\rtf1 caf\\u233\\'e9s}", u"caf\u00E9s"},
    {"{\\rtf1 \\uc2\\u937 xyz}", u"\u03A9z"},
    {"{\\rtf1 \\uc0\\u937 xyz}", u"\u03A9xyz"},
    {"{\\rtf1 \\uc3\\uc\\u937 xyz}", u"\u03A9yz"}, // \uc alone is \uc1
    // A control word or symbol is one skipped character and is not carried out.
    {"{\\rtf1 \\uc2\\u8212\\{\\par x}", u"\u2014x"},
    {"{\\rtf1 \\uc2\\u8212\\'97\\'97x}", u"\u2014x"},
    // Negative values count from 65536; skipping ends with the group; \uc is per group.
    {"{\\rtf1 \\u-3913?\\u-10187?\\u-9216?}", u"\uF0B7\U0001D400"},
    {"{\\rtf1 {\\uc5\\u233 ab}cd{\\uc0 }\\u233 xy}", u"\u00E9cd\u00E9y"},
    // Noncharacters and absurd values are dropped, their fallback still skipped.
    {"{\\rtf1 a\\u-1?b\\u-2?c\\u99999999?d\\u-99999999?e\\u99999999999999999999?f}", u"abcdef"},
    {"{\\rtf1 a{\\uc99999999 \\u233 fallback}b\\uc-5\\u233 c}", u"a\u00E9b\u00E9c"},

    // Code pages.
    // Characters of every code page from its table; bytes without one are U+FFFD, and a code page
    // without a table is 1252.
    {"{\\rtf1\\ansi \\'e9\\'80\\'81\\'9f caf\xe9}", u"\u00E9\u20AC\u0081\u0178 caf\u00E9"},
    {"{\\rtf1\\ansi\\ansicpg1251 \\'c0\\'e9\xc0\\'98}", u"\u0410\u0439\u0410\uFFFD"},
    {"{\\rtf1\\ansicpg1253 \\'c1\\'aa}", u"\u0391\uFFFD"},
    {"{\\rtf1\\ansicpg1254 \\'d0}", u"\u011E"},
    {"{\\rtf1\\ansicpg1255 \\'e0}", u"\u05D0"},
    {"{\\rtf1\\ansicpg1256 \\'c7}", u"\u0627"},
    {"{\\rtf1\\ansicpg1257 \\'e0}", u"\u0105"},
    {"{\\rtf1\\ansicpg1258 \\'d2}", u"\u0309"},
    {"{\\rtf1\\ansicpg874 \\'a1}", u"\u0E01"},
    {"{\\rtf1\\ansi\\ansicpg437 \\'e9}", u"\u00E9"},
    {"{\\rtf1\\mac caf\\'8e\\'80\\'db}", u"caf\u00E9\u00C4\u20AC"},
    {"{\\rtf1\\ansi\\ansicpg10000 don\\'d5t}", u"don\u2019t"},
    // The font's character set decides over \ansicpg; \plain returns to the default font, whose
    // character set counts too.
    {"{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset238 Arial CE;}"
     "{\\f2\\fcharset161 Arial Greek;}}\\'f5\\f1\\'f5{\\f2\\'c1}\\'f5\\plain\\'f5}",
     u"\u00F5\u0151\u0391\u0151\u00F5"},
    {"{\\rtf1\\deff0{\\fonttbl{\\f0\\fcharset204 Arial Cyr;}}\\'c0}", u"\u0410"},
    {"{\\rtf1{\\fonttbl{\\f0\\fcharset0 A;}{\\f1\\fcharset0 B;}}\\f1\\'8a}", u"\u0160"},
    {"{\\rtf1{\\fonttbl{\\f1\\fcharset77 Times;}}\\'d5\\f1\\'d5}", u"\u00D5\u2019"},
    // Double-byte code pages, also with single bytes between the pairs and second bytes written as
    // plain characters or as \\.
    {"{\\rtf1\\ansicpg932 \\'82\\'a0\x82\xa0 a\\'b1b\\'83e\\'83X\\'83g\\'95\\\\\\'81\\'5f}",
     u"\u3042\u3042 a\uFF71b\u30C6\u30B9\u30C8\u8868\uFF3C"},
    {"{\\rtf1\\ansicpg936 \\'d6\\'d0\\'ce\\'c4\\'b0\\'a1\\'80}", u"\u4E2D\u6587\u554A\u20AC"},
    {"{\\rtf1\\ansicpg949 \\'b0\\'a1\\'81\\'41}", u"\uAC00\uAC02"},
    {"{\\rtf1\\ansicpg950 \\'a3\\'e1\\'a1\\'40}", u"\u20AC\u3000"},
    {"{\\rtf1\\ansicpg1252{\\fonttbl{\\f0 A;}{\\f1\\fcharset128 M;}{\\f2\\fcharset136 L;}}"
     "\\'e9{\\f1\\'82\\'a0}{\\f2\\'a4\\'a4}\\'e9}",
     u"\u00E9\u3042\u4E2D\u00E9"},
    // A lead byte without its second byte: at the end of a group or of the code, before a control
    // word, before an ASCII byte (read as itself), or with no character.
    {"{\\rtf1\\ansicpg932 a{\\'82}b\\'82\\par \\'82\\b c\\'85\\'40x\\'82\\'f5y\\'a0\\'82",
     u"a\uFFFDb\uFFFD\r\n\uFFFDc\uFFFD@x\uFFFDy\uFFFD\uFFFD"},
    // Each \'hh of a \uN fallback is one skipped byte.
    {"{\\rtf1\\ansicpg932\\uc2 \\u12354\\'82\\'a0 x}", u"\u3042 x"},
    {"{\\rtf1\\ansicpg932\\uc1 \\u12354\\'82\\'a0x}", u"\u3042\uFFFDx"},

    // Destinations.
    {"{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red1\\green2\\blue3;}"
     "{\\stylesheet{\\s0 Normal;}}x{\\info\\version1{\\title T}{\\author A}hidden}}",
     u"x"},
    {"{\\rtf1 a{\\*\\unknown hidden {nested} text}b{\\*\\generator W 1.0;}c}", u"abc"},
    {"{\\rtf1 a{\\pict\\pngblip 89504e47{}\\}}b{\\object{\\objdata 01}{\\result r}}c}", u"abc"},
    {"{\\rtf1{\\header head}{\\footer foot}{\\headerl h}body}", u"body"},
    // Only a \* that opens its group makes the group ignorable; in running text it is read on.
    {"{\\rtf1{\\b bold \\*\\cs7 text} end}", u"bold text end"},
    // A field shows its result, not its instruction.
    {"{\\rtf1 see {\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}} now}", u"see link now"},
    {"{\\rtf1 {\\field{\\fldinst PAGE}{\\fldrslt 1}}}", u"1"},
    {"{\\rtf1 a{\\pict 0102", u"a"}, // an unterminated skipped group ends the document

    // Broken code.
    {"{\\rtf1 a\\bin3 {}\\b}", u"ab"},
    {"{\\rtf1 a{\\pict\\bin4 }}}{b}c}", u"ac"},
    {"{\\rtf1 a\\bin0 b\\bin-5 c\\bin2 }}", u"abc"},
    {"{\\rtf1 abc{\\b def", u"abcdef"}, // truncated: the text up to the cut
    {"{\\rtf1 abc}}}}def", u"abc"},     // nothing after the root group
    {"{\\rtf1 abc\\", u"abc"},
    {"{\\rtf", u""},
    // \binN whose data runs past the end of the code.
    {"{\\rtf1 a\\bin999999999 xyz}", {}},
    {"{\\rtf1 a{\\pict\\bin10 xyz}}", {}},
    {"{\\rtf1 a\\bin2 }", {}},
    {"{\\rtf1 a\\bin99999999999999999 }", {}},

    // Plain text: bytes that do not begin with "{\rtf" are UTF-8 when valid, else 1252; every line
    // end becomes CR LF; noncharacters become U+FFFD; binary data is unreadable.
    {"", u""},
    {"a\r\nb\nc\rd\n\re\r\r\nf\n", u"a\r\nb\r\nc\r\nd\r\n\r\ne\r\n\r\nf\r\n"},
    {"caf\xc3\xa9 \xe2\x82\xac\xF0\x9F\x98\x80", u"caf\u00E9 \u20AC\U0001F600"},
    {"\xef\xbb\xbf\nx", u"\r\nx"},
    {"caf\xe9 \x80\xf5\n", u"caf\u00E9 \u20AC\u00F5\r\n"},
    {"\xEF\xBF\xBE\n\xEF\xBF\xBF", u"\uFFFD\r\n\uFFFD"},
    {" {\\rtf1 x}", u" {\\rtf1 x}"},
    {"{\\RTF1 x}", u"{\\RTF1 x}"},
    {std::string(500, 'x') + "\x01", std::u16string(500, u'x') + u"\x01"}, // a stray control
    {"\x01\x02\x03\x04text", {}},
    {std::string("abc\0def", 7), {}},

    // Character formatting.
    {"plain text", u"plain text", "-|-|-|-|-|-|-|-|-|-"},
    {"{\\rtf1 n{\\b b{\\i bi}b}{\\ul u\\ul0 n\\ul u\\ulnone n}{\\uldb d}n}", u"nbbibunundn",
     "-|b|bi|bi|b|u|-|u|-|u|-"},
    // A toggle without a number, or with one other than 0, switches on.
    {"{\\rtf1 \\b0 a\\b b\\b1 c\\b2 d\\b0 e\\i f}", u"abcdef", "-|b|b|b|-|i"},
    // \ulnone switches off whatever its number; \ulc is a colour, not underline.
    {"{\\rtf1 \\ul a\\ulnone1 b\\ulc1 c}", u"abc", "u|-|-"},
    // \plain resets character formatting, \pard does not; runs without characters leave no trace.
    {"{\\rtf1 \\b\\i\\ul\\fs30 a\\pard b\\plain c{\\b}d{\\b e}{\\b f}\\b\\b0 g\\par}", u"abcdefg",
     "bius30|bius30|-|-|b|b|-"},
    // Colour entry 0 (empty) and missing entries are the automatic colour.
    {"{\\rtf1{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;\\red1\\green2\\blue3;}"
     "\\cf1 a\\highlight3 b\\cb2 c\\chcbpat0 d\\cf0 e\\cf3 f\\cf99 g\\highlight-1\\cf\\chcbpat1 h}",
     u"abcdefgh", "cff0000|cff0000h010203|cff0000h0000ff|cff0000|-|c010203|-|hff0000"},
    // \fs alone is \fs24; a negative size is the default size.
    {"{\\rtf1 a\\fs b\\fs30 c\\fs-4 d}", u"abcd", "-|s24|s30|-"},
    // Font names, also in entries without groups, in their own code page and with escaped ';'; the
    // default font (\deff) and unknown fonts are the base font.
    {"{\\rtf1\\deff1{\\fonttbl{\\f0\\froman Times New Roman;}{\\f1\\fswiss Arial;}"
     "{\\f2{\\*\\panose 0102}Courier{\\*\\falt Mono};}}a\\f2 b\\f0 c\\f1 d\\f7 e}",
     u"abcde", "-|fCourier|fTimes New Roman|-|-"},
    {"{\\rtf1{\\fonttbl\\f0\\fswiss Arial;\\f1 Caf\\'e9 Sans;}\\f1 x}", u"x", "fCaf\xC3\xA9 Sans"},
    {"{\\rtf1{\\fonttbl{\\f0 A;}{\\f1\\fcharset128 \\'82\\'6c\\'82\\'72 M;}"
     "{\\f2\\fcharset128 \\'82;}{\\f3 \\'3b\\\\;}}\\f1 x\\f2 y\\f3 z}",
     u"xyz", "f\xEF\xBC\xAD\xEF\xBC\xB3 M|f\xEF\xBF\xBD|f;\\"},
    // Group depth.
    {nested(4095), u"axyb", "-|b|-|-"},
    {nested(4096), u"axyb", "-|b|b|-"},
    {nested(200000), u"axyb", "-|b|b|-"}};
INSTANTIATE_TEST_SUITE_P(Rows, Read, ::testing::ValuesIn(kRows));

// The default font (\deff) the code names is the base font; plain text keeps the one set.
TEST(ReadFonts, TheDefaultFontIsTheBaseFont) {
    Document document;
    document.setBaseFontName(u"Courier New");
    document.setRtf("plain");
    EXPECT_EQ(document.baseFontName(), u"Courier New");
    document.setRtf("{\\rtf1\\deff1{\\fonttbl{\\f0 Times;}{\\f1 Arial;}}x}");
    EXPECT_EQ(document.baseFontName(), u"Arial");
}

} // namespace
} // namespace tikmeter::documents
