// `tikmeter mark` over the corpus, and how every command of the tool ends.
#include "CliRunner.h"

#include "documents/FileIo.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <regex>
#include <sstream>
#include <sys/stat.h>

namespace {

using nlohmann::json;

const fs::path kEnglish = kDataDir / "sources/en1-libreoffice.rtf";
const fs::path kAfrikaans = kDataDir / "sources/af1-libreoffice.rtf";

// Every test of the corpus, marked in one setting through the whole program (reader, spacing
// pass on the RTF code, engine, writer), gives the independently worked results; the class's
// results table holds one row per test, and each row says what the test's JSON outcome says.
class MarkCorpus : public ::testing::TestWithParam<std::string> {};

TEST_P(MarkCorpus, GivesTheExpectedMarksAndTheirResultsTable) {
    std::vector<json> expected;
    std::vector<fs::path> tests;
    std::ifstream in(kDataDir / "expected-marks.jsonl");
    for (std::string line; std::getline(in, line);) {
        if (json row = json::parse(line); row["setting"] == GetParam()) {
            tests.push_back(kDataDir / row["path"].get<std::string>());
            expected.push_back(std::move(row));
        }
    }
    ASSERT_FALSE(expected.empty());
    const TempFolder home;
    const std::string options = GetParam() == "integer" ? "--json --integer" : "--json";
    const CommandResult run = tikmeter(markArguments(kEnglish, kAfrikaans, options, tests),
                                       "EDU_TIKMETER_HOME=" + quoted(home.path()));
    ASSERT_EQ(run.status, 0) << run.err;
    std::istringstream outcomes(run.out);
    std::istringstream csv(readBytes(home / "class-a/Resultaat.csv"));
    std::string line;
    std::getline(csv, line);
    EXPECT_TRUE(line.starts_with("\xEF\xBB\xBFStudent,File,Language,")) << line;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(tests[i]);
        ASSERT_TRUE(std::getline(outcomes, line));
        json got = json::parse(line);
        EXPECT_EQ(got["entry"], tests[i].string());
        for (const auto& [key, value] : expected[i].items()) {
            if (key != "path" && key != "setting" && key != "english" && key != "afrikaans") {
                EXPECT_EQ(got[key], value) << key;
            }
        }
        // The CSV row without the accuracy and the time of marking, as the outcome gives it.
        ASSERT_TRUE(std::getline(csv, line));
        const std::string result = got["resultLine"];
        std::string want = got["marked"].is_null() ? result.substr(0, result.size() - 8)
                                                   : got["marked"].get<std::string>();
        want = fs::path(want).stem().string() + "," + want;
        for (const char* key : {"language", "keystrokeCount", "grossWords", "wordErrors",
                                "penalties", "errorCount", "netWords"}) {
            const json& value = got[key];
            want += "," + (value.is_null()     ? ""
                           : value.is_string() ? value.get<std::string>()
                           : value.is_array()  ? std::to_string(value.size())
                                               : value.dump());
        }
        const long long net = got["netWords"].is_null() ? 0 : got["netWords"].get<long long>();
        std::string finalText = got["finalResultText"].is_null() ? "" : got["finalResultText"];
        want += "," +
                (got["language"].is_null()
                     ? ""
                     : std::to_string(net / 10) + "." + std::to_string(net % 10)) +
                "," + finalText.erase(0, finalText.find_first_not_of(' ')) + "," +
                got["status"].get<std::string>();
        EXPECT_EQ(std::regex_replace(line, std::regex(",[^,]*(,[^,]*),[^,]*\r$"), "$1"), want);
    }
    EXPECT_FALSE(std::getline(outcomes, line) || std::getline(csv, line));
}

INSTANTIATE_TEST_SUITE_P(BothSettings, MarkCorpus, ::testing::Values("multiple of 5", "integer"));

// The exit status and standard error of every way a command ends: mark 0 all marked, 1 ended
// early, 2 a usage error (one the parser finds, or a destination outside the program folder),
// 3 tests left out by the check; text, rtf and results 1 with one line naming the file and the
// reason (ECMAScript's "." matches no line break), and nothing on standard output.
TEST(ExitStatus, TellsHowTheRunEnded) {
    const TempFolder home;
    for (const char* folder : {"in", "class-a", "empty"}) {
        fs::create_directories(home / folder);
    }
    fs::copy_file(kDataDir / "class-a/a01.rtf", home / "in/-dash.rtf");
    ASSERT_EQ(::mkfifo((home / "f.rtf").c_str(), 0644), 0);
    tikmeter::testing::writeBytes(home / "big.rtf", "");
    fs::resize_file(home / "big.rtf", tikmeter::documents::kMaxFileSize + 1); // sparse
    {
        std::ofstream out(home / "long.txt", std::ios::binary);
        for (int i = 0; i < 700'000; ++i) {
            out << "The quick brown fox jumps over the lazy dog.\n"; // 32 MB
        }
    }
    const std::string a01 = quoted(kDataDir / "class-a/a01.rtf");
    const std::string mark = markArguments(kEnglish, kAfrikaans, "", {});
    const std::string any = "[\\s\\S]*";
    const struct {
        std::string arguments;
        int status;
        std::string err;
        std::string out = {};
        std::string prefix = {};
    } rows[] = {
        {mark + "--json -- " + a01 + " -dash.rtf", 0,
         "Done: End of this marking session\\.\n" + any, ".*a01\\.rtf.*\n.*/in/-dash\\.rtf.*\n"},
        {markArguments(kDataDir / "class-a/none.rtf", kDataDir / "edge/e49.rtf", a01, {}), 1,
         "Error: Please save current file on an accessible disk\\.\n"
         "Error: Source Document missing, or too small\\.\\.\\.\n",
         any},
        {mark + "--dest ../escaped " + a01, 2, "tikmeter: --dest: " + any},
        {mark + "--bogus " + a01, 2, "The following argument" + any},
        {mark + "--integer", 2, "TEST is required" + any},
        {mark + a01 + " " + quoted(kDataDir / "class-a/none.rtf"), 3,
         "Check: Some speed tests cannot be read:" + any, any},
        {"text " + quoted(kDataDir / "no-such-file.rtf"), 1,
         "tikmeter: .*no-such-file\\.rtf.*No such file.*\n"},
        {"rtf " + quoted(kDataDir / "bad/huge-bin.rtf"), 1,
         "tikmeter: .*huge-bin\\.rtf.*unreadable.*\n"},
        {"text ../f.rtf", 1, "tikmeter: .*f\\.rtf.*not a regular file.*\n"},
        {"text /dev/zero", 1, "tikmeter: .*/dev/zero.*not a regular file.*\n"},
        {"text ../big.rtf", 1, "tikmeter: .*big\\.rtf.*larger than 64 MiB.*\n"},
#if !defined(__SANITIZE_ADDRESS__) // which needs more address space than the limit leaves
        // 60 MB of address space: enough to start, too little for the text of 32 MB.
        {"text ../long.txt", 1, "tikmeter: .*long\\.txt.*memory.*\n", "", "ulimit -v 60000;"},
#endif
        {"results ../empty", 1, "tikmeter: .*\\.\\./empty\n"},
        {"results ../missing", 1, "tikmeter: \\.\\./missing.*\n"},
        {"", 2, any},
        {"text", 2, any},
        {"frobnicate x", 2, any},
    };
    for (const auto& row : rows) {
        // `timeout` ends a command that would wait forever (exit status 124).
        const CommandResult run = tikmeter(
            row.arguments, row.prefix + "cd " + quoted(home / "in") +
                               " && EDU_TIKMETER_HOME=" + quoted(home.path()) + " timeout 10");
        EXPECT_EQ(run.status, row.status) << row.arguments << "\n" << run.err;
        EXPECT_TRUE(std::regex_match(run.err, std::regex(row.err))) << row.arguments << "\n"
                                                                    << run.err;
        EXPECT_TRUE(std::regex_match(run.out, std::regex(row.out))) << row.arguments << "\n"
                                                                    << run.out;
    }
}

} // namespace
