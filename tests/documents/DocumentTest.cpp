// The selection operations of a document: clamping, selected text, formatting and the insertion
// format of a caret.
#include "TestSupport.h"

namespace tikmeter::documents {
namespace {

// A document (RTF code, or plain text), a script, and the text, formats (see test::formatsOf) and
// selection it ends with.
struct EditRow {
    const char* name;
    std::string_view start;
    std::string_view script;
    std::u16string_view text;
    std::string_view formats;
    std::size_t selStart;
    std::size_t selLength;
};

const EditRow kEdits[] = {
    // Selection.
    {"StartPastTheEndIsTheEnd", "abc", "@99", u"abc", "-|-|-", 3, 0},
    {"LengthStopsAtTheEnd", "abc", "@1|#99", u"abc", "-|-|-", 1, 2},
    {"NoLengthAtTheEnd", "abc", "@3|#1", u"abc", "-|-|-", 3, 0},
    {"NewStartMakesACaret", "abc", "@1|#2|@0", u"abc", "-|-|-", 0, 0},
    {"EmptyDocument", "", "@4|#4|b+|=x", u"x", "b", 1, 0},
    {"CaretAfterTheNewText", "one two", "@4|#3|=2|=!", u"one 2!", "-|-|-|-|-|-", 6, 0},
    {"EmptyTextDeletes", "one two", "@0|#4|=", u"two", "-|-|-", 0, 0},
    {"FormatsAfterAReplacementMove", "abcd", "@2|#2|b+|@0|#1|=XY", u"XYbcd", "-|-|-|b|b", 2, 0},
    // Formatting.
    {"OnlyTheSelection", "abcd", "@1|#2|hred|cwhite|fCourier|b+|u+", u"abcd",
     "-|bucffffffhff0000fCourier|bucffffffhff0000fCourier|-", 1, 2},
    {"UndoneFormattingMergesRuns", "abcd", "@1|#2|b+|@1|#2|b-", u"abcd", "-|-|-|-", 1, 2},
    {"BackColourChangesNoOtherAttribute",
     "{\\rtf1{\\fonttbl{\\f0 A;}{\\f1 B;}}\\f1\\i\\ul\\fs30 abc}", "@1|#1|hwhite", u"abc",
     "ius30fB|ius30hfffffffB|ius30fB", 1, 1},
    // A paragraph end (CR LF) is one mark: formatting that reaches either half covers both.
    {"ParagraphEndFromItsCr", "a.\r\nN", "@0|#3|hred", u"a.\r\nN",
     "hff0000|hff0000|hff0000|hff0000|-", 0, 3},
    {"ParagraphEndFromItsLf", "a\r\nbc", "@2|#2|b+", u"a\r\nbc", "-|b|b|b|-", 2, 2},
    // A CR typed before an LF, or an LF after a CR, makes one paragraph end of one format.
    {"TypedCrBeforeAnLf", "x", "~ab\ncd|@2|b+|=\r", u"ab\r\ncd", "-|-|b|b|-|-", 3, 0},
    {"TypedLfAfterACr", "x", "~ab\rcd|@3|b+|=\n", u"ab\r\ncd", "-|-|-|-|-|-", 4, 0},
    {"ReplacementTakesTheFirstCharactersFormat", "{\\rtf1 a\\ul bc}", "@1|#2|=-", u"a-", "-|u", 2,
     0},
    // Insertion format: formatting set at a caret is the format of the text typed there, as in a
    // rich-text control.
    {"ReportAtTheEnd", "{\\rtf1{\\colortbl;\\red0\\green0\\blue255;}\\ul\\cf1 ab\\par}",
     "@99|hwhite|cred|b+|u-|fCourier|=\r\nR|=!", u"ab\r\nR!",
     "uc0000ff|uc0000ff|bcff0000hfffffffCourier|bcff0000hfffffffCourier|"
     "bcff0000hfffffffCourier|bcff0000hfffffffCourier",
     6, 0},
    {"TheCharacterBeforeTheCaret", "{\\rtf1 a\\b b\\b0 c}", "@2|=X", u"abXc", "-|b|b|-", 3, 0},
    {"TheFirstCharacterAtTheStart", "{\\rtf1 a\\b b}", "@2|@0|=Y", u"Yab", "-|-|b", 1, 0},
    {"ForgottenWhenTheCaretMoves", "ab", "@1|b+|@2|=Z", u"abZ", "-|-|-", 3, 0},
    {"KeptWhenTheCaretIsSetAgain", "ab", "@1|b+|@1|=Z", u"aZb", "-|b|-", 2, 0},
    {"SetTextStartsOverInTheBaseFormat", "{\\rtf1\\b bold}", "@1|#2|~a\r\nb|=x", u"xa\r\nb",
     "-|-|-|-|-", 1, 0}};

TEST(Edit, GivesTextFormatsAndSelection) {
    for (const EditRow& row : kEdits) {
        SCOPED_TRACE(row.name);
        Document document = test::fromRtf(row.start);
        test::run(document, row.script);
        EXPECT_EQ(document.text(), row.text);
        EXPECT_EQ(test::formatsOf(document), row.formats);
        EXPECT_EQ(document.selStart(), row.selStart);
        EXPECT_EQ(document.selLength(), row.selLength);
        EXPECT_EQ(document.selText(), row.text.substr(row.selStart, row.selLength));
    }
    // At and past the end the format is the last character's.
    EXPECT_EQ(Document().formatAt(0), CharFormat{});
    EXPECT_TRUE(test::fromRtf("{\\rtf1 a\\b b}").formatAt(1000).bold);
}

} // namespace
} // namespace tikmeter::documents
