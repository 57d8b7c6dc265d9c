#include "cli/MarkJson.h"

#include "documents/Utf8.h"

namespace tikmeter::cli {

namespace {

using documents::toUtf8;
using nlohmann::json;

json textOrNull(const std::optional<std::u16string>& text) {
    return text ? json(toUtf8(*text)) : json(nullptr);
}

// 42.6 as a number; a whole number without a fraction.
json numberOf(engine::Tenths value) {
    if (value.tenths % 10 == 0) {
        return json(value.tenths / 10);
    }
    return json(value.toDouble());
}

} // namespace

json outcomeJson(const engine::TestOutcome& outcome) {
    json object;
    object["entry"] = toUtf8(outcome.entry);
    object["status"] = toUtf8(outcome.status);
    object["marked"] =
        outcome.markedPath.empty() ? json(nullptr) : json(toUtf8(outcome.markedPath));
    object["resultLine"] = textOrNull(outcome.resultLine);
    if (!outcome.marks) {
        for (const char* key :
             {"language", "sourceLimit", "keystrokeCount", "wordErrors", "errorCount", "grossWords",
              "netWords", "finalResult", "finalResultText", "penalties", "errorMarks",
              "repeatMarks", "excessWords", "excessText", "bracketCount", "suspectCount",
              "testLineBreaks", "sourceLineBreaks", "reportText"}) {
            object[key] = nullptr;
        }
        return object;
    }
    const engine::TestMarks& marks = *outcome.marks;
    object["language"] = marks.language == engine::Language::English ? "English" : "Afrikaans";
    object["sourceLimit"] = marks.sourceLimit;
    object["keystrokeCount"] = marks.keystrokeCount;
    object["wordErrors"] = marks.wordErrors;
    object["errorCount"] = marks.errorCount;
    object["grossWords"] = marks.grossWords;
    object["netWords"] = marks.netWords;
    object["finalResult"] = numberOf(marks.finalResult);
    object["finalResultText"] = toUtf8(marks.finalResultText);
    json penalties = json::array();
    for (const auto& line : marks.penalties) {
        penalties.push_back(toUtf8(line));
    }
    object["penalties"] = penalties;
    json errorMarks = json::array();
    for (const auto& mark : marks.errorMarks) {
        errorMarks.push_back({toUtf8(mark.text), mark.position, mark.errorClass});
    }
    object["errorMarks"] = errorMarks;
    json repeatMarks = json::array();
    for (const auto& mark : marks.repeatMarks) {
        repeatMarks.push_back({toUtf8(mark.text), mark.position});
    }
    object["repeatMarks"] = repeatMarks;
    json excessWords = json::array();
    for (const auto& word : marks.excessWords) {
        excessWords.push_back(toUtf8(word));
    }
    object["excessWords"] = excessWords;
    object["excessText"] = toUtf8(marks.excessText);
    object["bracketCount"] = marks.bracketCount;
    object["suspectCount"] = marks.suspectCount;
    object["testLineBreaks"] = marks.testLineBreaks;
    object["sourceLineBreaks"] = marks.sourceLineBreaks;
    object["reportText"] = toUtf8(marks.reportText);
    return object;
}

} // namespace tikmeter::cli
