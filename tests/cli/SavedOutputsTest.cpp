// Whole sessions through `tikmeter mark` compared byte for byte with saved outputs: the log
// or JSON on standard output, the exit status, every file left in the program folder and
// the bytes of every marked test and result file. Paths are replaced by placeholders.
// TIKMETER_SAVE_OUTPUTS=1 writes the transcripts instead of comparing (after a deliberate
// change of output, and only then).
#include "CliRunner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
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
        // A missing test ends the session in the copy step through the error trap.
        {"missing-test-json", false, {{"--json", {"class-a/a01.rtf", "class-a/missing.rtf"}}}},
    };
}

void replaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
}

class SavedOutputs : public ::testing::TestWithParam<Scenario> {
protected:
    SavedOutputs() {
        std::random_device random;
        home = fs::temp_directory_path() / ("tikmeter-saved-" + std::to_string(random()));
        fs::create_directories(home);
    }
    ~SavedOutputs() override {
        std::error_code ec;
        fs::remove_all(home, ec);
    }

    std::string transcript(const Scenario& scenario) {
        const fs::path folder = scenario.examples ? kExamplesDir : kDataDir;
        const fs::path english = scenario.examples ? folder / "sources/english.rtf"
                                                   : folder / "sources/en1-libreoffice.rtf";
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
                tikmeter(arguments, "EDU_TIKMETER_HOME=" + quoted(home.string()));
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
            }
        }
        replaceAll(text, home.string(), "<HOME>");
        replaceAll(text, folder.string(), "<INPUT>");
        return text;
    }

    fs::path home;
};

TEST_P(SavedOutputs, MatchByteForByte) {
    const Scenario& scenario = GetParam();
    const std::string actual = transcript(scenario);
    const fs::path saved = kSavedDir / (scenario.name + ".txt");
    if (std::getenv("TIKMETER_SAVE_OUTPUTS") != nullptr) {
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

INSTANTIATE_TEST_SUITE_P(Sessions, SavedOutputs, ::testing::ValuesIn(scenarios()),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

} // namespace
