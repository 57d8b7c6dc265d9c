// `tikmeter results FOLDER`: a folder with a Resultaat.csv, one with only a Resultaat.res (its
// failures: ExitStatus).
#include "CliRunner.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace {

using tikmeter::testing::writeBytes;

const std::string kCsv =
    "\xEF\xBB\xBFStudent,File,Language,Keystrokes,Gross words,Word errors,Penalties,Errors,Net "
    "words,WPM,Final result,Accuracy %,Status,Marked at\r\n"
    "jan,/p/C/jan.rug,English,815,163,1,1,2,161,16.1,15,98.8,Successful,2026-12-07 09:15\r\n"
    "\"Zo\xC3\xAB, \"\"Z\"\"\",/t/zoe.rug,,,,,,,,,,,too short or empty,2026-12-07 09:16\r\n"
    "jan,/p/C/jan.rug,English,2155,431,0,0,0,431,43.1,45,100.0,Result may not be "
    "reliable,2026-12-08 10:00\r\n";
const std::string kResultFile =
    "/p/C/jan    15 wpm\r\n/t/Zo\xEB.rug  0  wpm\r\n/p/C/piet   -5 wpm\r\n";

TEST(ResultsCommand, PrintsTheLatestMarkingOfEachTestAndTheSummary) {
    const struct {
        const char* name;
        std::string file;
        std::string bytes;
        std::string options;
        std::string out;
    } rows[] = {
        {"csv table", "Resultaat.csv", kCsv, "",
         "Student   Language  Keystrokes  Gross words  Word errors  Penalties  Errors  Net words "
         "  WPM  Final result  Accuracy %  Status                      Marked at\n"
         "jan       English         2155          431            0          0       0        431 "
         " 43.1            45       100.0  Result may not be reliable  2026-12-08 10:00\n"
         "Zo\xC3\xAB, \"Z\"                                                                      "
         "                                          too short or empty          2026-12-07 09:16\n"
         "\nTests marked: 1  (not marked: 1)\n"
         "Mean WPM: 43.1  Median: 43.1  Best: 43.1  Lowest: 43.1\n"},
        {"csv rows, every marking", "Resultaat.csv", kCsv, "--csv --all", kCsv.substr(3)},
        {"result file only", "Resultaat.res", kResultFile, "",
         "Student  Language  Keystrokes  Gross words  Word errors  Penalties  Errors  Net words  "
         "WPM  Final result  Accuracy %  Status  Marked at\n"
         "jan                                                                                    "
         "               15\n"
         "Zo\xC3\xAB\n"
         "piet                                                                                   "
         "               -5\n"
         "\nTests marked: 2  (not marked: 1)\n"
         "Mean WPM: 5.0  Median: 5.0  Best: 15.0  Lowest: -5.0\n"},
    };
    for (const auto& row : rows) {
        TempFolder folder;
        writeBytes(folder / row.file, row.bytes);
        const CommandResult run = tikmeter("results " + quoted(folder.path()) + " " + row.options);
        EXPECT_EQ(run.status, 0) << row.name << run.err;
        EXPECT_EQ(run.out, row.out) << row.name;
    }
    // As JSON: the latest rows, and the summary with its bands of ten words a minute.
    TempFolder folder;
    writeBytes(folder / "Resultaat.csv", kCsv);
    const auto out = nlohmann::json::parse(tikmeter("results --json " + quoted(folder.path())).out);
    ASSERT_EQ(out.at("rows").size(), 2u);
    EXPECT_EQ(out["rows"][0]["Keystrokes"], 2155);
    EXPECT_EQ(out["rows"][0]["WPM"], 43.1);
    EXPECT_EQ(out["rows"][1]["WPM"], nullptr);
    EXPECT_EQ(out["summary"].dump(),
              "{\"bands\":[{\"count\":1,\"from\":40,\"to\":50}],\"best\":43.1,"
              "\"lowest\":43.1,\"mean\":43.1,\"median\":43.1,\"notMarked\":1,"
              "\"testsMarked\":1}");
}

} // namespace
