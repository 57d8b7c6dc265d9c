// Whole sessions through `tikmeter mark` compared byte for byte with saved outputs: the log
// or JSON on standard output, the exit status, every file left in the program folder and
// the bytes of every marked test and result file. Paths are replaced by placeholders.
// TIKMETER_SAVE_OUTPUTS=1 writes the transcripts instead of comparing (after a deliberate
// change of output, and only then).
#include "CliRunner.h"

#include <gtest/gtest.h>

#include "documents/Document.h"

#include <algorithm>
#include <functional>
#include <random>
#include <regex>
#include <vector>

namespace {

const fs::path kDataDir = TIKMETER_TEST_DATA_DIR;
const fs::path kExamplesDir = TIKMETER_EXAMPLES_DIR;
const fs::path kSavedDir = kDataDir / "saved-outputs";

struct SessionRun {
    std::string options;
    std::vector<std::string> tests; // relative to the scenario's folder
};

struct Scenario {
    std::string name;
    bool examples; // the example class and sources, else the test data's corpus
    std::vector<SessionRun> runs;
    // Sets the program folder up before the runs; may replace the English source.
    std::function<void(const fs::path& home, fs::path& english)> prepare = {};
};

void PrintTo(const Scenario& value, std::ostream* out) {
    *out << value.name;
}

std::vector<std::string> examplesClass() {
    std::vector<std::string> tests;
    for (int i = 1; i <= 24; ++i) {
        tests.push_back("class-a/a" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ".rtf");
    }
    return tests;
}

std::vector<std::string> corpusTests() {
    std::vector<std::string> tests = examplesClass();
    for (const char* edge : {"e49", "e50", "e5000", "e5001", "empty"}) {
        tests.push_back(std::string("edge/") + edge + ".rtf");
    }
    return tests;
}

std::vector<std::string> badFiles() {
    return {"bad/bad-unicode.rtf",
            "bad/empty.rtf",
            "bad/huge-bin.rtf",
            "bad/nested-groups.rtf",
            "bad/picture.rtf",
            "bad/plain-text.rtf",
            "bad/only-control-words.rtf",
            "bad/random-binary.rtf",
            "bad/truncated.rtf",
            "class-a/a01.rtf"};
}

std::vector<Scenario> scenarios() {
    return {
        {"examples-log-multiple-of-5", true, {{"", examplesClass()}}},
        {"examples-json-integer", true, {{"--json --integer", examplesClass()}}},
        {"corpus-json-multiple-of-5", false, {{"--json", corpusTests()}}},
        {"corpus-log-integer", false, {{"--integer", corpusTests()}}},
        {"bad-files-json", false, {{"--json", badFiles()}}},
        // The same class twice (the folder is reused), then into another folder.
        {"reuse-and-dest",
         true,
         {{"", {"class-a/a01.rtf", "class-a/a02.rtf"}},
          {"--json", {"class-a/a01.rtf", "class-a/a03.rtf"}},
          {"--dest Other", {"class-a/a04.rtf"}}}},
        // A missing test is left out by the check before marking.
        {"missing-test-json", false, {{"--json", {"class-a/a01.rtf", "class-a/missing.rtf"}}}},
        // The error trap ends a session at the third test: its English source is so long that
        // a 16-bit counter overflows; the tests after it write nothing.
        {"overflow-ends-the-session",
         false,
         {{"--json", {"class-a/a02.rtf", "class-a/a04.rtf", "class-a/a01.rtf", "class-a/a06.rtf"}},
          {"", {"class-a/a02.rtf", "class-a/a04.rtf", "class-a/a01.rtf", "class-a/a06.rtf"}}},
         [](const fs::path& home, fs::path& english) {
             tikmeter::documents::Document typed;
             typed.loadFile(kDataDir / "class-a/a01.rtf");
             tikmeter::documents::Document longSource;
             longSource.setText(std::u16string(33000, u'x') + typed.text());
             english = home.parent_path() / (home.filename().string() + "-src/long-english.rtf");
             fs::create_directories(english.parent_path());
             longSource.saveFile(english);
         }},
        // A copy that cannot be written ends the session in the copy step.
        {"blocked-copy-ends-the-session",
         false,
         {{"", {"class-a/a01.rtf", "class-a/a03.rtf", "class-a/a05.rtf"}}},
         [](const fs::path& home, fs::path&) { fs::create_directories(home / "class-a/a03.rtf"); }},
    };
}

void replaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
}

// Every scenario runs with one worker and with four: every output is the same.
class SavedOutputs : public ::testing::TestWithParam<std::tuple<Scenario, int>> {
protected:
    SavedOutputs() {
        std::random_device random;
        home = fs::temp_directory_path() / ("tikmeter-saved-" + std::to_string(random()));
        fs::create_directories(home);
    }
    ~SavedOutputs() override {
        std::error_code ec;
        fs::remove_all(home, ec);
        fs::remove_all(home.parent_path() / (home.filename().string() + "-src"), ec);
    }

    std::string transcript(const Scenario& scenario, int jobs) {
        const fs::path folder = scenario.examples ? kExamplesDir : kDataDir;
        fs::path english = scenario.examples ? folder / "sources/english.rtf"
                                             : folder / "sources/en1-libreoffice.rtf";
        if (scenario.prepare) {
            scenario.prepare(home, english);
        }
        const fs::path afrikaans = scenario.examples ? folder / "sources/afrikaans.rtf"
                                                     : folder / "sources/af1-libreoffice.rtf";
        std::string text;
        for (const SessionRun& run : scenario.runs) {
            std::string arguments = "mark --english " + quoted(english.string()) + " --afrikaans " +
                                    quoted(afrikaans.string()) + " " + run.options;
            for (const std::string& test : run.tests) {
                arguments += " " + quoted((folder / test).string());
            }
            const CommandResult result =
                tikmeter(arguments, "TIKMETER_JOBS=" + std::to_string(jobs) +
                                        " EDU_TIKMETER_HOME=" + quoted(home.string()));
            text += "=== run " + run.options + "\n--- status " + std::to_string(result.status) +
                    "\n--- stdout\n" + result.out + "--- stderr\n" + result.err;
        }
        std::vector<fs::path> files;
        for (const auto& entry : fs::recursive_directory_iterator(home)) {
            files.push_back(entry.path());
        }
        std::sort(files.begin(), files.end());
        for (const fs::path& file : files) {
            const std::string name = fs::relative(file, home).string();
            text += "=== file " + name + "\n";
            const std::string extension = file.extension().string();
            if (extension == ".rug" || extension == ".res") {
                text += readBytes(file) + "\n";
            } else if (extension == ".csv") {
                // The marking time is the one column that differs from run to run.
                text +=
                    std::regex_replace(readBytes(file),
                                       std::regex("\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d"), "<TIME>") +
                    "\n";
            }
        }
        replaceAll(text, home.string(), "<HOME>");
        replaceAll(text, folder.string(), "<INPUT>");
        return text;
    }

    fs::path home;
};

TEST_P(SavedOutputs, MatchByteForByte) {
    const auto& [scenario, jobs] = GetParam();
    const std::string actual = transcript(scenario, jobs);
    const fs::path saved = kSavedDir / (scenario.name + ".txt");
    if (std::getenv("TIKMETER_SAVE_OUTPUTS") != nullptr && jobs == 1) {
        fs::create_directories(kSavedDir);
        std::ofstream(saved, std::ios::binary) << actual;
        GTEST_SKIP() << "saved " << saved;
    }
    ASSERT_TRUE(fs::exists(saved)) << saved;
    const std::string expected = readBytes(saved);
    if (actual != expected) {
        const auto [a, e] =
            std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end());
        const auto at = static_cast<std::size_t>(a - actual.begin());
        const std::size_t from = at < 200 ? 0 : at - 200;
        FAIL() << scenario.name << " differs at byte " << at << "\n--- actual:\n"
               << actual.substr(from, 400) << "\n--- saved:\n"
               << expected.substr(from, 400);
    }
}

INSTANTIATE_TEST_SUITE_P(Sessions, SavedOutputs,
                         ::testing::Combine(::testing::ValuesIn(scenarios()),
                                            ::testing::Values(1, 4)),
                         [](const auto& param) {
                             std::string name = std::get<0>(param.param).name;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name + "_jobs" + std::to_string(std::get<1>(param.param));
                         });

} // namespace
