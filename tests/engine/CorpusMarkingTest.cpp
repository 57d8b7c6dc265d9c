// Marks every test of the corpus from its plain text (as the manifest records it) and
// compares each result with the independently worked expected marks.
#include "CorpusText.h"

#include "engine/LanguageDetection.h"
#include "engine/PunctuationSpacing.h"
#include "engine/TestMarking.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <map>
#include <sstream>

namespace tikmeter::engine {
namespace {

using nlohmann::json;
using testing::fromUtf8;
using testing::readDataFile;
using testing::toUtf8;

std::vector<json> readJsonLines(const std::string& relativePath) {
    std::istringstream lines(readDataFile(relativePath));
    std::vector<json> rows;
    for (std::string line; std::getline(lines, line);)
        if (!line.empty())
            rows.push_back(json::parse(line));
    return rows;
}

const std::map<std::string, json>& manifest() {
    static const std::map<std::string, json> byPath = [] {
        std::map<std::string, json> result;
        for (json& row : readJsonLines("manifest.jsonl")) {
            const std::string path = row["path"];
            result[path] = std::move(row);
        }
        return result;
    }();
    return byPath;
}

std::u16string manifestText(const std::string& path) {
    return fromUtf8(manifest().at(path).at("text").get<std::string>());
}

// The result of one marking in the form of the expected-marks file.
json markedResult(const json& row) {
    const std::u16string rawTest = manifestText(row["path"]);
    const Language language = detectLanguage(rawTest);
    std::u16string test = rawTest;
    std::u16string source =
        manifestText(row[language == Language::English ? "english" : "afrikaans"]);
    punctuationSpacingPass(test, source);

    StepRunner runner;
    TestMarking marking(runner);
    marking.compare(test, source);
    marking.scoreAndReport(row["setting"] == "integer" ? ResultFormat::Integer
                                                       : ResultFormat::MultipleOf5);
    marking.reliabilityCheck(source);
    const TestState& s = marking.state();

    json result;
    result["status"] = toUtf8(s.statusText.substr(7)); // without the dots
    result["language"] = language == Language::English ? "English" : "Afrikaans";
    result["sourceLimit"] = s.sourceLimit.value();
    result["keystrokeCount"] = s.keystrokeCount;
    result["wordErrors"] = s.wordErrors.value();
    result["errorCount"] = s.errorCount.value();
    result["grossWords"] = s.grossWords;
    result["netWords"] = s.netWords;
    result["finalResult"] = s.finalResult.toDouble();
    result["finalResultText"] = toUtf8(s.finalResultText);
    result["penalties"] = json::array();
    for (const auto& line : s.penalties)
        result["penalties"].push_back(toUtf8(line));
    result["errorMarks"] = json::array();
    for (int k = 1; k <= s.wordErrors; ++k) {
        const ErrorMark& mark = s.errorMarks.at(k);
        result["errorMarks"].push_back({toUtf8(mark.text), mark.position, mark.errorClass});
    }
    result["repeatMarks"] = json::array();
    for (int k = 1; k <= s.repeatMarkCount; ++k)
        result["repeatMarks"].push_back(
            {toUtf8(s.repeatMarks.at(k).text), s.repeatMarks.at(k).position});
    result["excessWords"] = json::array();
    for (int k = 1; k <= s.excessCount; ++k)
        result["excessWords"].push_back(toUtf8(s.excessWords.at(k)));
    result["excessText"] = toUtf8(s.excessText);
    result["bracketCount"] = s.bracketCount.value();
    result["suspectCount"] = s.suspectsFound;
    result["testLineBreaks"] = s.testLineBreaks.value();
    result["sourceLineBreaks"] = s.sourceLineBreaks.value();
    result["reportText"] = toUtf8(s.reportText);
    return result;
}

} // namespace
} // namespace tikmeter::engine

// Rows print as their path and setting only.
namespace nlohmann {
inline void PrintTo(const json& row, std::ostream* out) {
    *out << row.value("path", "?") << " (" << row.value("setting", "?") << ")";
}
} // namespace nlohmann

namespace tikmeter::engine {
namespace {

class CorpusMarking : public ::testing::TestWithParam<json> {};

TEST_P(CorpusMarking, AgreesWithTheExpectedMarks) {
    const json& expected = GetParam();
    const std::string status = expected["status"];
    const auto length = manifestText(expected["path"]).size();
    if (status == "too short or empty") {
        EXPECT_LT(length, 50u);
        return;
    }
    if (status == "too long or corrupt") {
        EXPECT_GT(length, 5000u);
        return;
    }
    ASSERT_GE(length, 50u);
    ASSERT_LE(length, 5000u);

    const json actual = markedResult(expected);
    for (const auto& [key, value] : actual.items())
        EXPECT_EQ(value, expected.at(key)) << "key " << key;
}

std::string rowName(const ::testing::TestParamInfo<json>& info) {
    std::string name =
        info.param["path"].get<std::string>() + "_" + info.param["setting"].get<std::string>();
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(ExpectedMarks, CorpusMarking,
                         ::testing::ValuesIn(readJsonLines("expected-marks.jsonl")), rowName);

} // namespace
} // namespace tikmeter::engine
