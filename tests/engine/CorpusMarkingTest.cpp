// Marks every test of the corpus from its plain text (as the manifest records it) and
// compares each result with the independently worked expected marks.
#include "documents/Utf8.h"
#include "engine/LanguageDetection.h"
#include "engine/PunctuationSpacing.h"
#include "engine/TestMarking.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <map>

// Rows print as their path and setting only (a whole row would print as nested containers).
namespace nlohmann {
inline void PrintTo(const json& row, std::ostream* out) {
    *out << row.value("path", "?") << " (" << row.value("setting", "?") << ")";
}
} // namespace nlohmann

namespace tikmeter::engine {
namespace {

using nlohmann::json;

std::vector<json> readJsonLines(const std::string& name) {
    std::ifstream in(std::string(TIKMETER_TEST_DATA_DIR) + "/" + name, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot open test data " + name);
    std::vector<json> rows;
    for (std::string line; std::getline(in, line);)
        if (!line.empty())
            rows.push_back(json::parse(line));
    return rows;
}

Text manifestText(const std::string& path) {
    static const std::map<std::string, json> byPath = [] {
        std::map<std::string, json> rows;
        for (json& row : readJsonLines("manifest.jsonl"))
            rows.emplace(row["path"].get<std::string>(), row);
        return rows;
    }();
    return documents::fromUtf8(byPath.at(path).at("text").get<std::string>()).value();
}

// The result of one marking in the form of the expected-marks file.
json markedResult(const json& row) {
    const Text rawTest = manifestText(row["path"]);
    const Language language = detectLanguage(rawTest);
    Text test = rawTest;
    Text source = manifestText(row[language == Language::English ? "english" : "afrikaans"]);
    punctuationSpacingPass(test, source);

    StepRunner runner;
    TestMarking marking(runner);
    marking.compare(test, source);
    marking.scoreAndReport(row["setting"] == "integer" ? ResultFormat::Integer
                                                       : ResultFormat::MultipleOf5);
    marking.reliabilityCheck(source);
    const TestState& s = marking.state();
    const auto utf8 = [](TextView text) { return documents::toUtf8(text); };
    const auto list = [](long long count, const auto& entry) {
        json entries = json::array();
        for (int k = 1; k <= count; ++k)
            entries.push_back(entry(k));
        return entries;
    };
    // clang-format off
    return {{"status", utf8(TextView(s.statusText).substr(7))}, // without the dots
        {"language", language == Language::English ? "English" : "Afrikaans"},
        {"sourceLimit", s.sourceLimit.value()}, {"keystrokeCount", s.keystrokeCount},
        {"wordErrors", s.wordErrors.value()}, {"errorCount", s.errorCount.value()},
        {"grossWords", s.grossWords}, {"netWords", s.netWords},
        {"finalResult", s.finalResult.toDouble()}, {"finalResultText", utf8(s.finalResultText)},
        {"penalties", list(std::ssize(s.penalties),
                           [&](int k) { return utf8(s.penalties[std::size_t(k) - 1]); })},
        {"errorMarks", list(s.wordErrors, [&](int k) {
             const ErrorMark& m = s.errorMarks.at(k);
             return json::array({utf8(m.text), m.position, m.errorClass}); })},
        {"repeatMarks", list(s.repeatMarkCount, [&](int k) {
             const RepeatMark& m = s.repeatMarks.at(k);
             return json::array({utf8(m.text), m.position}); })},
        {"excessWords", list(s.excessCount, [&](int k) { return utf8(s.excessWords.at(k)); })},
        {"excessText", utf8(s.excessText)}, {"bracketCount", s.bracketCount.value()},
        {"suspectCount", s.suspectsFound}, {"testLineBreaks", s.testLineBreaks.value()},
        {"sourceLineBreaks", s.sourceLineBreaks.value()}, {"reportText", utf8(s.reportText)}};
    // clang-format on
}

class CorpusMarking : public ::testing::TestWithParam<json> {};

TEST_P(CorpusMarking, AgreesWithTheExpectedMarks) {
    const json& expected = GetParam();
    const std::string status = expected["status"];
    const auto length = manifestText(expected["path"]).size();
    if (status == "too short or empty" || status == "too long or corrupt") {
        // Rejected by the session before the marking.
        EXPECT_TRUE(status == "too short or empty" ? length < 50 : length > 5000) << length;
        return;
    }
    ASSERT_GE(length, 50u);
    ASSERT_LE(length, 5000u);
    const json actual = markedResult(expected);
    for (const auto& [key, value] : actual.items())
        EXPECT_EQ(value, expected.at(key)) << "key " << key;
}

INSTANTIATE_TEST_SUITE_P(ExpectedMarks, CorpusMarking,
                         ::testing::ValuesIn(readJsonLines("expected-marks.jsonl")));

} // namespace
} // namespace tikmeter::engine
