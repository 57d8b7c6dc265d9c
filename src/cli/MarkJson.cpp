#include "cli/MarkJson.h"

#include "documents/Utf8.h"
#include "engine/TestState.h"

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
    const engine::TestState* state = outcome.marking;
    if (state == nullptr) {
        for (const char* key :
             {"language", "sourceLimit", "keystrokeCount", "wordErrors", "errorCount", "grossWords",
              "netWords", "finalResult", "finalResultText", "penalties", "errorMarks",
              "repeatMarks", "excessWords", "excessText", "bracketCount", "suspectCount",
              "testLineBreaks", "sourceLineBreaks", "reportText"}) {
            object[key] = nullptr;
        }
        return object;
    }
    object["language"] = outcome.language == engine::Language::English ? "English" : "Afrikaans";
    object["sourceLimit"] = state->sourceLimit.value();
    object["keystrokeCount"] = state->keystrokeCount;
    object["wordErrors"] = state->wordErrors.value();
    object["errorCount"] = state->errorCount.value();
    object["grossWords"] = state->grossWords;
    object["netWords"] = state->netWords;
    object["finalResult"] = numberOf(state->finalResult);
    object["finalResultText"] = toUtf8(state->finalResultText);
    json penalties = json::array();
    for (const auto& line : state->penalties) {
        penalties.push_back(toUtf8(line));
    }
    object["penalties"] = penalties;
    json errorMarks = json::array();
    for (int k = 1; k <= state->wordErrors.value(); ++k) {
        const auto& mark = state->errorMarks.at(k);
        errorMarks.push_back({toUtf8(mark.text), mark.position, mark.errorClass});
    }
    object["errorMarks"] = errorMarks;
    json repeatMarks = json::array();
    for (int k = 1; k <= state->repeatMarkCount.value(); ++k) {
        const auto& mark = state->repeatMarks.at(k);
        repeatMarks.push_back({toUtf8(mark.text), mark.position});
    }
    object["repeatMarks"] = repeatMarks;
    json excessWords = json::array();
    for (int k = 1; k <= state->excessCount.value(); ++k) {
        excessWords.push_back(toUtf8(state->excessWords.at(k)));
    }
    object["excessWords"] = excessWords;
    object["excessText"] = toUtf8(state->excessText);
    object["bracketCount"] = state->bracketCount.value();
    object["suspectCount"] = state->suspectsFound;
    object["testLineBreaks"] = state->testLineBreaks.value();
    object["sourceLineBreaks"] = state->sourceLineBreaks.value();
    object["reportText"] = toUtf8(state->reportText);
    return object;
}

} // namespace tikmeter::cli
