// Whole sessions through `tikmeter mark` compared byte for byte with saved outputs: the log
// or JSON on standard output, the exit status, every file left in the program folder and
// the bytes of every marked test and result file. Paths are replaced by placeholders.
// TIKMETER_SAVE_OUTPUTS=1 writes the transcripts instead of comparing (after a deliberate
// change of output, and only then).
#include "CliRunner.h"

#include <gtest/gtest.h>

#include "documents/Document.h"

#include <functional>
#include <regex>
#include <set>
#include <sstream>

namespace {

const fs::path kExamplesDir = TIKMETER_EXAMPLES_DIR;
const fs::path kSavedDir = kDataDir / "saved-outputs";

struct Scenario {
    std::string name;
    bool examples; // the example class and sources, else the test data's corpus
    // Each run's options and tests ("folder/name" without ".rtf", relative to the scenario's
    // folder, separated by spaces).
    std::vector<std::pair<std::string, std::string>> runs;
    // Sets the program folder up before the runs; may replace the English source by one in a
    // scratch folder.
    std::function<void(const fs::path& home, const fs::path& scratch, fs::path& english)> prepare =
        {};
};

std::vector<Scenario> scenarios() {
    std::string all;
    for (int i = 1; i <= 24; ++i) {
        all += (i < 10 ? " class-a/a0" : " class-a/a") + std::to_string(i);
    }
    const std::string corpus = all + " edge/e49 edge/e50 edge/e5000 edge/e5001 edge/empty";
    return {
        {"examples-log-multiple-of-5", true, {{"", all}}},
        {"examples-json-integer", true, {{"--json --integer", all}}},
        {"corpus-json-multiple-of-5", false, {{"--json", corpus}}},
        {"corpus-log-integer", false, {{"--integer", corpus}}},
        {"bad-files-json",
         false,
         {{"--json", "bad/bad-unicode bad/empty bad/huge-bin bad/nested-groups bad/picture "
                     "bad/plain-text bad/only-control-words bad/random-binary bad/truncated "
                     "class-a/a01"}}},
        // The same class twice (the folder is reused), then into another folder.
        {"reuse-and-dest",
         true,
         {{"", "class-a/a01 class-a/a02"},
          {"--json", "class-a/a01 class-a/a03"},
          {"--dest Other", "class-a/a04"}}},
        // A missing test is left out by the check before marking.
        {"missing-test-json", false, {{"--json", "class-a/a01 class-a/missing"}}},
        // The error trap ends a session at the third test: its English source is so long that
        // a 16-bit counter overflows; the tests after it write nothing.
        {"overflow-ends-the-session",
         false,
         {{"--json", "class-a/a02 class-a/a04 class-a/a01 class-a/a06"},
          {"", "class-a/a02 class-a/a04 class-a/a01 class-a/a06"}},
         [](const fs::path&, const fs::path& scratch, fs::path& english) {
             tikmeter::documents::Document typed;
             typed.loadFile(kDataDir / "class-a/a01.rtf");
             tikmeter::documents::Document longSource;
             longSource.setText(std::u16string(33000, u'x') + typed.text());
             english = scratch / "long-english.rtf";
             longSource.saveFile(english);
         }},
        // A copy that cannot be written ends the session in the copy step.
        {"blocked-copy-ends-the-session",
         false,
         {{"", "class-a/a01 class-a/a03 class-a/a05"}},
         [](const fs::path& home, const fs::path&, fs::path&) {
             fs::create_directories(home / "class-a/a03.rtf");
         }},
    };
}

void replaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
}

// Every scenario runs with one worker and with four: every output is the same.
class SavedOutputs : public ::testing::TestWithParam<std::tuple<Scenario, int>> {};

TEST_P(SavedOutputs, MatchByteForByte) {
    const auto& [scenario, jobs] = GetParam();
    const TempFolder home, scratch;
    const fs::path folder = scenario.examples ? kExamplesDir : kDataDir;
    fs::path english =
        folder / (scenario.examples ? "sources/english.rtf" : "sources/en1-libreoffice.rtf");
    const fs::path afrikaans =
        folder / (scenario.examples ? "sources/afrikaans.rtf" : "sources/af1-libreoffice.rtf");
    if (scenario.prepare) {
        scenario.prepare(home.path(), scratch.path(), english);
    }
    std::string text;
    for (const auto& [options, names] : scenario.runs) {
        std::vector<fs::path> tests;
        std::istringstream words(names);
        for (std::string name; words >> name;) {
            tests.push_back(folder / (name + ".rtf"));
        }
        const CommandResult result = tikmeter(markArguments(english, afrikaans, options, tests),
                                              "TIKMETER_JOBS=" + std::to_string(jobs) +
                                                  " EDU_TIKMETER_HOME=" + quoted(home.path()));
        text += "=== run " + options + "\n--- status " + std::to_string(result.status) +
                "\n--- stdout\n" + result.out + "--- stderr\n" + result.err;
    }
    const std::set<fs::path> files(fs::recursive_directory_iterator(home.path()), {});
    for (const fs::path& file : files) {
        text += "=== file " + fs::relative(file, home.path()).string() + "\n";
        const std::string extension = file.extension().string();
        if (extension == ".rug" || extension == ".res" || extension == ".csv") {
            // The marking time (in the results table) is the one thing that differs between runs.
            text += std::regex_replace(readBytes(file),
                                       std::regex("\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d"), "<TIME>") +
                    "\n";
        }
    }
    replaceAll(text, home.path().string(), "<HOME>");
    replaceAll(text, folder.string(), "<INPUT>");
    const fs::path saved = kSavedDir / (scenario.name + ".txt");
    if (std::getenv("TIKMETER_SAVE_OUTPUTS") != nullptr && jobs == 1) {
        fs::create_directories(kSavedDir);
        std::ofstream(saved, std::ios::binary) << text;
        GTEST_SKIP() << "saved " << saved;
    }
    ASSERT_TRUE(fs::exists(saved)) << saved;
    EXPECT_EQ(text, readBytes(saved)) << scenario.name << " with " << jobs << " workers";
}

INSTANTIATE_TEST_SUITE_P(Sessions, SavedOutputs,
                         ::testing::Combine(::testing::ValuesIn(scenarios()),
                                            ::testing::Values(1, 4)));

} // namespace
