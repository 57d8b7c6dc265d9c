// `tikmeter mark`, run as a separate process over the corpus.
#include "CliRunner.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <map>
#include <random>
#include <sstream>
#include <vector>

namespace {

using nlohmann::json;

const fs::path kDataDir = TIKMETER_TEST_DATA_DIR;

// A program folder of its own for each test, handed over through EDU_TIKMETER_HOME.
class MarkCommand : public ::testing::Test {
protected:
    MarkCommand() {
        std::random_device random;
        home = fs::temp_directory_path() / ("tikmeter-mark-" + std::to_string(random()));
        fs::create_directories(home);
    }
    ~MarkCommand() override {
        std::error_code ec;
        fs::remove_all(home, ec);
    }

    CommandResult mark(const std::string& options, const std::vector<std::string>& tests) {
        std::string arguments =
            "mark --english " + quoted((kDataDir / "sources/en1-libreoffice.rtf").string()) +
            " --afrikaans " + quoted((kDataDir / "sources/af1-libreoffice.rtf").string()) + " " +
            options;
        for (const std::string& test : tests) {
            arguments += " " + quoted((kDataDir / test).string());
        }
        return tikmeter(arguments, "EDU_TIKMETER_HOME=" + quoted(home.string()));
    }

    fs::path home;
};

std::vector<json> expectedRows(const std::string& setting) {
    std::vector<json> rows;
    std::ifstream in(kDataDir / "expected-marks.jsonl");
    for (std::string line; std::getline(in, line);) {
        json row = json::parse(line);
        if (row["setting"] == setting) {
            rows.push_back(row);
        }
    }
    return rows;
}

std::vector<json> jsonLines(const std::string& out) {
    std::vector<json> objects;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
        objects.push_back(json::parse(line));
    }
    return objects;
}

// Every test of the corpus, marked in both settings through the whole program (reader,
// spacing pass on the RTF code, engine, writer), gives the independently worked results.
class MarkCommandCorpus : public MarkCommand, public ::testing::WithParamInterface<std::string> {};

TEST_P(MarkCommandCorpus, GivesTheExpectedMarksForEveryTest) {
    const auto expected = expectedRows(GetParam());
    ASSERT_FALSE(expected.empty());
    std::vector<std::string> tests;
    for (const json& row : expected) {
        tests.push_back(row["path"]);
    }
    const CommandResult run = mark(GetParam() == "integer" ? "--json --integer" : "--json", tests);
    ASSERT_EQ(run.status, 0) << run.err;
    const auto outcomes = jsonLines(run.out);
    ASSERT_EQ(outcomes.size(), expected.size());

    const std::vector<std::string> keys = {
        "status",       "language",   "sourceLimit", "keystrokeCount", "wordErrors",
        "errorCount",   "grossWords", "netWords",    "finalResult",    "finalResultText",
        "penalties",    "errorMarks", "repeatMarks", "excessWords",    "bracketCount",
        "suspectCount", "marked",     "resultLine",  "entry"};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const json& want = expected[i];
        const json& got = outcomes[i];
        SCOPED_TRACE(want["path"].get<std::string>());
        for (const std::string& key : keys) {
            EXPECT_TRUE(got.contains(key)) << key;
        }
        EXPECT_EQ(got["entry"], (kDataDir / want["path"].get<std::string>()).string());
        for (const auto& [key, value] : want.items()) {
            if (key == "path" || key == "setting" || key == "english" || key == "afrikaans") {
                continue;
            }
            EXPECT_EQ(got[key], value) << key;
        }
        const std::string name = fs::path(want["path"].get<std::string>()).stem().string();
        const std::string folder =
            fs::path(want["path"].get<std::string>()).parent_path().filename().string();
        // Every copy goes to the folder named after the first test's folder.
        const fs::path dest =
            home / fs::path(expected[0]["path"].get<std::string>()).parent_path().filename();
        if (want["status"] == "Successful" || want["status"] == "Result may not be reliable") {
            EXPECT_EQ(got["marked"], (dest / (name + ".rug")).string());
            EXPECT_EQ(got["resultLine"], (dest / name).string() + "   " +
                                             want["finalResultText"].get<std::string>() + " wpm");
            EXPECT_TRUE(fs::exists(dest / (name + ".rug")));
        } else {
            EXPECT_TRUE(got["marked"].is_null());
            EXPECT_EQ(got["resultLine"], (kDataDir / folder / name).string() + ".rug  0  wpm");
        }
    }
}

// The class's results table holds one row per result line, and each row says what the
// test's JSON outcome says.
TEST_P(MarkCommandCorpus, ResultsTableAgreesWithTheOutcomes) {
    const auto expected = expectedRows(GetParam());
    std::vector<std::string> tests;
    for (const json& row : expected) {
        tests.push_back(row["path"]);
    }
    const CommandResult run = mark(GetParam() == "integer" ? "--json --integer" : "--json", tests);
    const auto outcomes = jsonLines(run.out);
    std::istringstream csv(readBytes(home / "class-a" / "Resultaat.csv"));
    std::string line;
    std::getline(csv, line);
    EXPECT_TRUE(line.starts_with("\xEF\xBB\xBFStudent,File,Language,")) << line;
    for (const json& outcome : outcomes) {
        ASSERT_TRUE(std::getline(csv, line));
        std::vector<std::string> cells;
        std::istringstream fields(line.substr(0, line.size() - 1)); // without the CR
        for (std::string cell; std::getline(fields, cell, ',');) {
            cells.push_back(cell);
        }
        cells.resize(14);
        const std::string file = outcome["marked"].is_null()
                                     ? outcome["resultLine"].get<std::string>().substr(
                                           0, outcome["resultLine"].get<std::string>().size() - 8)
                                     : outcome["marked"].get<std::string>();
        EXPECT_EQ(cells[1], file);
        EXPECT_EQ(cells[0], fs::path(file).stem().string());
        EXPECT_EQ(cells[12], outcome["status"]);
        if (outcome["language"].is_null()) {
            EXPECT_EQ(cells[2] + cells[9] + cells[10], "") << line;
            continue;
        }
        const long long net = outcome["netWords"], gross = outcome["grossWords"];
        std::string finalText = outcome["finalResultText"];
        finalText.erase(0, finalText.find_first_not_of(' '));
        const std::vector<std::string> want = {outcome["language"],
                                               std::to_string(outcome["keystrokeCount"].get<int>()),
                                               std::to_string(gross),
                                               std::to_string(outcome["wordErrors"].get<int>()),
                                               std::to_string(outcome["penalties"].size()),
                                               std::to_string(outcome["errorCount"].get<int>()),
                                               std::to_string(net),
                                               std::to_string(net / 10) + "." +
                                                   std::to_string(net % 10),
                                               finalText};
        EXPECT_EQ(std::vector<std::string>(cells.begin() + 2, cells.begin() + 11), want) << line;
    }
    EXPECT_FALSE(std::getline(csv, line));
}

INSTANTIATE_TEST_SUITE_P(BothSettings, MarkCommandCorpus,
                         ::testing::Values("multiple of 5", "integer"));

// Exit status: 0 all marked, 1 ended early, 2 a usage error (one the parser finds, or a
// destination outside the program folder), 3 tests left out by the check. A name with a leading
// dash follows --.
struct ExitCase {
    const char* name;
    std::string arguments; // after "mark --english EN --afrikaans AF"; SOURCE: a too small one
    int status;
    std::string error; // the start of standard error
};

void PrintTo(const ExitCase& value, std::ostream* out) {
    *out << value.name;
}

class MarkExit : public MarkCommand, public ::testing::WithParamInterface<ExitCase> {};

TEST_P(MarkExit, TellsHowTheRunEnded) {
    const ExitCase& exit = GetParam();
    fs::create_directories(home / "class-a");
    fs::create_directories(home / "in");
    fs::copy_file(kDataDir / "class-a/a01.rtf", home / "in/-dash.rtf");
    std::string arguments = exit.arguments;
    for (const auto& [from, to] :
         {std::pair<std::string, fs::path>{"A01", kDataDir / "class-a/a01.rtf"},
          {"SMALL", kDataDir / "edge/e49.rtf"},
          {"MISSING", kDataDir / "class-a/none.rtf"}}) {
        for (auto at = arguments.find(from); at != std::string::npos; at = arguments.find(from)) {
            arguments.replace(at, from.size(), quoted(to.string()));
        }
    }
    const bool small = exit.arguments.starts_with("SMALL");
    const std::string sources =
        small ? ""
              : "--english " + quoted((kDataDir / "sources/en1-libreoffice.rtf").string()) +
                    " --afrikaans " + quoted((kDataDir / "sources/af1-libreoffice.rtf").string()) +
                    " ";
    const CommandResult run = tikmeter("mark " + sources + arguments,
                                       "cd " + quoted((home / "in").string()) +
                                           " && EDU_TIKMETER_HOME=" + quoted(home.string()));
    EXPECT_EQ(run.status, exit.status) << run.err;
    EXPECT_TRUE(run.err.starts_with(exit.error)) << run.err;
}

INSTANTIATE_TEST_SUITE_P(
    Runs, MarkExit,
    ::testing::Values(
        ExitCase{"AllMarked", "--json -- A01 -dash.rtf", 0, ""},
        ExitCase{"SourceTooSmall", "SMALL --english SMALL --afrikaans SMALL A01", 1,
                 "Error: Source Document missing, or too small...\n"},
        ExitCase{"DestinationOutside", "--dest ../escaped A01", 2, "tikmeter: --dest: "},
        ExitCase{"UnknownOption", "--bogus A01", 2, "The following argument"},
        ExitCase{"NoTests", "--integer", 2, "TEST is required"},
        ExitCase{"TestLeftOut", "A01 MISSING", 3, "Check: Some speed tests cannot be read:"}),
    [](const auto& param) { return std::string(param.param.name); });

} // namespace
