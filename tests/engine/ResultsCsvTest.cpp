// Resultaat.csv: the row format, the rows of outcomes and result lines, and the whole appends.
#include "TempFolder.h"
#include "documents/Utf8.h"
#include "engine/ClassResults.h"

#include <gtest/gtest.h>

namespace tikmeter::engine {
namespace {

using tikmeter::testing::readBytes;
using tikmeter::testing::TempFolder;
using tikmeter::testing::writeBytes;

const std::string kBom = "\xEF\xBB\xBF";
const std::string kHeader = "Student,File,Language,Keystrokes,Gross words,Word errors,Penalties,"
                            "Errors,Net words,WPM,Final result,Accuracy %,Status,Marked at\r\n";

ResultRow markedRow(std::u16string student, long long net, std::u16string status = u"Successful") {
    // clang-format off
    return {student, u"/home/t/Class A/" + student + u".rug", u"English", 1630, 326, 2, 1, 3, net,
            Tenths{net}, Tenths{(net + 25) / 50 * 50}, accuracyOf(net, 326), std::move(status),
            u"2026-12-07 09:15"};
    // clang-format on
}

TEST(ResultsCsvRow, FormatsEveryColumnAndQuotesOnlyWhereNeeded) {
    ResultRow quoted = markedRow(u"van der Merwe, \"Zo\u00EB\"", -5);
    quoted.file = u"/odd\r\npath";
    const std::pair<ResultRow, std::string> rows[] = {
        {markedRow(u"jan", 161),
         "jan,/home/t/Class A/jan.rug,English,1630,326,2,1,3,161,16.1,15,49.4,Successful,"
         "2026-12-07 09:15\r\n"},
        {markedRow(u"piet", 320), // a whole WPM keeps its decimal; the final result does not
         "piet,/home/t/Class A/piet.rug,English,1630,326,2,1,3,320,32.0,30,98.2,Successful,"
         "2026-12-07 09:15\r\n"},
        {quoted, // negative net words: WPM below zero, accuracy held at 0
         "\"van der Merwe, \"\"Zo\xC3\xAB\"\"\",\"/odd\r\npath\",English,1630,326,2,1,3,-5,-0.5,"
         "0,0.0,Successful,2026-12-07 09:15\r\n"},
        // clang-format off
        {{u" kort", u"/tests/kort.rug", {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, u"too short or empty",
          u"2026-12-07 09:16"},
         "\" kort\",/tests/kort.rug,,,,,,,,,,,too short or empty,2026-12-07 09:16\r\n"},
        // clang-format on
    };
    EXPECT_EQ(resultsCsvHeader(), kHeader);
    for (const auto& [row, line] : rows) {
        EXPECT_EQ(resultsCsvRow(row), line);
    }
    // The accuracy is held at 100 % too, and there is none without gross words.
    EXPECT_EQ(accuracyOf(12, 10)->tenths, 1000);
    EXPECT_EQ(accuracyOf(1, 16)->tenths, 62);
    EXPECT_FALSE(accuracyOf(5, 0) || accuracyOf(-5, -10));
}

TEST(ResultsCsvRow, OutcomesGiveRowsOnlyWithAResultLine) {
    TestMarks marks;
    marks.language = Language::Afrikaans;
    marks.keystrokeCount = 815;
    marks.grossWords = 163;
    marks.wordErrors = 1;
    marks.errorCount = 2;
    marks.penalties = {u"No full stops"};
    marks.netWords = 161;
    marks.finalResult = Tenths{150};
    marks.finalResultText = u" 15";
    const std::u16string dest = u"/p/Class A";
    const TestOutcome marked{u"/t/jan.rtf", u"Successful", marks, dest + u"/jan.rug",
                             dest + u"/jan    15 wpm"};
    const TestOutcome unsaved{u"/t/jan.rtf", u"Successful", marks, u"", dest + u"/jan    15 wpm"};
    const TestOutcome failed{u"/t/Zo\u00EB.rtf", u"too short or empty", std::nullopt, u"",
                             u"/t/Zo\u00EB.rug  0  wpm"};
    const TestOutcome lineless{u"/t/jan.rtf", u"Successful", marks, dest + u"/jan.rug",
                               std::nullopt};

    const std::optional<ResultRow> row = resultRowOf(marked, u"2026-12-07 09:15");
    ASSERT_TRUE(row);
    EXPECT_EQ(resultsCsvRow(*row), "jan,/p/Class A/jan.rug,Afrikaans,815,163,1,1,2,161,16.1,15,"
                                   "98.8,Successful,2026-12-07 09:15\r\n");
    EXPECT_EQ(resultRowOf(unsaved, u"")->file, dest + u"/jan.rug");
    EXPECT_EQ(resultsCsvRow(*resultRowOf(failed, u"t")),
              "Zo\xC3\xAB,/t/Zo\xC3\xAB.rug,,,,,,,,,,,too short or empty,t\r\n");
    EXPECT_FALSE(resultRowOf(lineless, u"t"));
}

// Each row: a line of Resultaat.res, then the marked test and final result in tenths read
// from it ("-": none), or nothing when the line is not a result line.
TEST(ResultsCsvRow, ResultLinesAreReadFromTheirEnd) {
    const std::pair<std::u16string, std::string> rows[] = {
        {u"/p/Class A/jan    45 wpm", "/p/Class A/jan.rug 450"},
        {u"/p/x   y   -3 wpm", "/p/x   y.rug -30"},
        {u"/p/nul    0 wpm", "/p/nul.rug 0"},
        {u"/t/Class A/kort.rug  0  wpm", "/t/Class A/kort.rug -"},
        {u"/p/jan   45 wpm", ""}, // no sign after the three spaces
        {u"/p/jan    4x wpm", ""},
        {u"    45 wpm", ""}, // no path
        {u"Student,File", ""},
    };
    for (const auto& [line, expected] : rows) {
        const std::optional<ResultRow> row = resultRowOfLine(line);
        const auto result = [](const ResultRow& read) {
            return read.finalResult ? std::to_string(read.finalResult->tenths) : "-";
        };
        EXPECT_EQ(row ? documents::toUtf8(row->file) + " " + result(*row) : "", expected);
    }
}

TEST(ResultsCsvFile, ByteOrderMarkAndHeaderOnlyWhenTheFileIsNewOrEmpty) {
    const std::pair<std::optional<std::string>, std::string> rows[] = {
        {std::nullopt, kBom + kHeader}, {"", kBom + kHeader}, {"x\r\n", "x\r\n"}};
    const ResultRow jan = markedRow(u"jan", 161);
    for (const auto& [before, prefix] : rows) {
        TempFolder dest;
        if (before) {
            writeBytes(dest / "Resultaat.csv", *before);
        }
        appendResultRow(documents::fromPath(dest.path()), jan);
        appendResultRow(documents::fromPath(dest.path()), jan);
        EXPECT_EQ(readBytes(dest / "Resultaat.csv"),
                  prefix + resultsCsvRow(jan) + resultsCsvRow(jan));
    }
}

} // namespace
} // namespace tikmeter::engine
