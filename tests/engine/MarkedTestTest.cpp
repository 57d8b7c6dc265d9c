// The report block, marked-test names, result lines and test copies.
#include "engine/MarkedTest.h"
#include "documents/Document.h"
#include "engine/ResultFile.h"
#include "engine/TestCopies.h"
#include "engine/TestMarker.h"

#include "documents/Utf8.h"

#include <gtest/gtest.h>

namespace tikmeter::engine {
namespace {

using documents::Document;
using documents::kRed;
using documents::kWhite;

// Excess words in the report are highlighted white on red up to and with their paragraph
// end, in the report only.
TEST(InsertReport, ExcessWordsAreHighlightedInTheReportNotInTheTypedText) {
    Document doc;
    doc.setText(u"Excess words: typed by the student");
    insertReport(doc, u"\r\n|| 50      2m\r\nExcess words: the , (cat )\r\nWPM");
    const std::size_t listStart = doc.text().rfind(u"the ,");
    const std::size_t lineEnd = doc.text().find(u'\n', listStart);
    for (std::size_t i = listStart; i <= lineEnd; ++i) {
        EXPECT_EQ(doc.formatAt(i).backColor, kRed) << i;
        EXPECT_EQ(doc.formatAt(i).textColor, kWhite) << i;
        EXPECT_FALSE(doc.formatAt(i).bold) << i;
    }
    EXPECT_EQ(doc.formatAt(listStart - 1).backColor, kWhite);
    EXPECT_EQ(doc.formatAt(lineEnd + 1).backColor, kWhite);
    EXPECT_FALSE(doc.formatAt(0).backColor.has_value());
}

TEST(MarkedTestPath, ResultLinesAndMarkedTestNames) {
    EXPECT_EQ(markedTestPath(u"/p/Class A", u"/p/Class A/jan.rtf"), u"/p/Class A/jan.rug");
    EXPECT_EQ(markedTestPath(u"/p/d", u"   "), u"/p/d/Unti.rug");
    EXPECT_EQ(resultLine(u"/p/Class A", u"/p/Class A/jan.rtf", u" 45"),
              u"/p/Class A/jan    45 wpm");
    EXPECT_EQ(resultLine(u"/p/d", u"/p/d/x.rtf", u"-5"), u"/p/d/x   -5 wpm");
    EXPECT_EQ(failureLine(u"/home/t/Tests/jan.rtf"), u"/home/t/Tests/jan.rug  0  wpm");
}

// No copy or marked test of one student is ever written over another student's file or
// over the folder's result files.
TEST(TestFilesPlan, GivesEveryTestItsOwnFiles) {
    // Each row: the list entries, then each one's copy and marked test in /dest.
    // clang-format off
    const std::tuple<const char*, std::vector<std::u16string>, std::u16string> cases[] = {
        {"same name from two folders",
         {u"/a/jan.rtf", u"/b/jan.rtf", u"/a/jan.rtf", u"/c/jan (2).rtf"},
         u"jan.rtf jan.rug|jan (2).rtf jan (2).rug|jan.rtf jan.rug|jan (2) (2).rtf jan (2) (2).rug|"},
        {"case and extensions share no marked test",
         {u"/a/jan.rtf", u"/a/jan.RTF", u"/a/jan.doc", u"/a/JAN.txt"},
         u"jan.rtf jan.rug|jan (2).RTF jan (2).rug|jan.doc jan (3).rug|JAN.txt JAN (4).rug|"},
        {"files in the destination keep their names", {u"/a/jan.rtf", u"/dest/jan.rtf"},
         u"jan (2).rtf jan (2).rug|jan.rtf jan.rug|"},
        {"result files and marked tests are never copied over",
         {u"/a/Resultaat.res", u"/a/RESULTAAT.CSV", u"/a/piet.rug", u"/a/piet.rtf"},
         u"Resultaat (2).res Resultaat (2).rug|RESULTAAT (2).CSV RESULTAAT (2) (2).rug|"
         u"piet.rug piet (2).rug|piet.rtf piet (3).rug|"},
        {"short names", {u"/a/piet", u"/b/ab"}, u"piet .rug|ab .rug (2)|"}};
    // clang-format on
    const auto inDest = [](const std::u16string& path) {
        return path.starts_with(u"/dest/") ? path.substr(6) : path; // elsewhere: shown whole
    };
    for (const auto& [name, entries, expected] : cases) {
        std::u16string found;
        for (const TestFiles& file : planTestFiles(entries, u"/dest", [&](const auto& entry) {
                 return entry.starts_with(u"/dest/");
             })) {
            found += inDest(file.copy) + u" " + inDest(file.markedTest) + u"|";
        }
        EXPECT_EQ(documents::toUtf8(found), documents::toUtf8(expected)) << name;
    }
}

// A test is compared with the source of its own language, and a missing source fails only
// the tests that need it.
PreparedSources englishSource() {
    PreparedSources sources;
    sources.setFailure(Language::Afrikaans, std::make_exception_ptr(std::runtime_error("none")));
    Document source;
    source.setText(u"The dog and a cat sat on the mat in the sun all day long.");
    sources.set(Language::English, source);
    return sources;
}

TEST(MarkTest, TakesTheSourceOfTheTestsLanguage) {
    const PreparedSources sources = englishSource();
    Document test;
    test.setText(u"The dog and a cta sat on the mat in the sun all day long.");
    StepRunner runner;
    const MarkingResult result = markTest(test, sources, ResultFormat::Integer, runner);
    EXPECT_EQ(result.marks.language, Language::English);
    ASSERT_EQ(result.marks.errorMarks.size(), 1u);
    EXPECT_EQ(result.marks.errorMarks[0].text, u"cta ");
    EXPECT_EQ(result.markedTest.formatAt(14).backColor, kRed);
    EXPECT_TRUE(result.markedTest.text().ends_with(result.marks.reportText));

    test.setText(u"Die hond en die kat sit op die mat in die son, die hele dag lank.");
    EXPECT_THROW(markTest(test, sources, ResultFormat::Integer, runner), std::runtime_error);
}

// The punctuation-spacing pass goes through the RTF code: a test is marked as the document
// that reading its code back gives (selection reset, noncharacters replaced), with the spaces
// between a sentence end and a paragraph end removed, there or at the very end.
TEST(MarkTest, TestIsMarkedAsItsCodeReadBack) {
    const PreparedSources sources = englishSource();
    const std::u16string texts[] = {
        u"The dog and a cta sat on the mat.\r\nIn the sun all day long.",
        u"The dog and a cta sat on the mat. \r\nIn the sun all day long.",
        u"The dog and a cta sat on the mat.\r\nIn the sun all day long.  ",
        u"The dog and a cat sat\t\r\non the mat in the sun all day \u4E2D \r\nlong",
        u"The dog and a cat sat on the mat in the \uFFFE sun all day long."};
    for (const std::u16string& text : texts) {
        Document test;
        test.setText(text);
        test.setSelStart(4); // a caret inside, typing in bold: not kept by the code
        test.setSelBold(true);
        Document readBack;
        readBack.setRtf(test.rtf());
        StepRunner runner;
        const MarkingResult marked = markTest(test, sources, ResultFormat::Integer, runner);
        const MarkingResult expected = markTest(readBack, sources, ResultFormat::Integer, runner);
        EXPECT_EQ(marked.markedTest.rtf(), expected.markedTest.rtf());
        EXPECT_EQ(marked.markedTest.runs(), expected.markedTest.runs());
        EXPECT_EQ(marked.marks.errorMarks.size(), expected.marks.errorMarks.size());
    }
    for (const std::u16string spacedText :
         {u"The dog and a cat sat. \r\nOn the mat!", u"The dog and a cat sat.\r\nOn the mat!  "}) {
        Document spaced;
        spaced.setText(spacedText);
        StepRunner runner;
        const MarkingResult result = markTest(spaced, sources, ResultFormat::Integer, runner);
        EXPECT_TRUE(
            result.markedTest.text().starts_with(u"The dog and a cat sat.\r\nOn the mat!\r\n"));
    }
}

} // namespace
} // namespace tikmeter::engine
