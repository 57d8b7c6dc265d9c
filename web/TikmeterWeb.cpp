// The marking session and the document layer for JavaScript (embind). The page, or a test,
// writes the source documents and the tests into Emscripten's in-memory file system, runs
// one whole session with markTests() exactly as the desktop's marking button does, hears
// the session through a JavaScript observer object, and reads back what the session wrote
// into the program folder: marked tests (.rug) and result files.
#include "cli/MarkJson.h"
#include "documents/Document.h"
#include "documents/Utf8.h"
#include "engine/MarkingSession.h"
#include "engine/SourceDocuments.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <utility>
#include <vector>

namespace {

using emscripten::val;
using nlohmann::json;
using namespace tikmeter;

// The page's program folder: the source copies and the destination folders go there.
constexpr char16_t kProgramFolder[] = u"/p";

// Forwards the session's events to the methods of a JavaScript object; a method the
// object lacks is not called. The questions are answered as `tikmeter mark` answers them:
// the folder question with its default answer (an earlier session's destination folder of
// the same name is reused), the check before marking with Yes (the tests that can be read
// are marked); the check's text is shown as a message.
class JsObserver : public engine::SessionObserver {
public:
    explicit JsObserver(val target) : target_(std::move(target)) {}

    void showMessage(engine::MessageKind kind, const std::u16string& text,
                     const std::u16string& title) override {
        call("message", std::string(kind == engine::MessageKind::Done ? "Done" : "Error"), text,
             title);
    }
    std::optional<std::u16string> askFolderName(const engine::FolderQuestion& question) override {
        if (!question.problem.empty()) {
            showMessage(engine::MessageKind::Error, question.problem, question.title);
            return std::nullopt;
        }
        return question.defaultAnswer;
    }
    bool askYesNo(const std::u16string& text, const std::u16string& title) override {
        call("message", std::string("Question"), text, title);
        return true;
    }
    void logLine(const std::u16string& line) override { call("logLine", line); }
    void progress(std::size_t done, std::size_t total) override {
        call("progress", static_cast<double>(done), static_cast<double>(total));
    }
    void testFinished(const engine::TestOutcome& outcome) override {
        call("testFinished", cli::outcomeJson(outcome).dump());
    }

private:
    template <class... Args> void call(const char* name, const Args&... args) {
        if (target_[name].typeOf().as<std::string>() == "function") {
            target_.call<void>(name, args...);
        }
    }

    val target_;
};

// One whole marking session. `afrikaans` and `english` are the picked source documents
// (empty: none picked); they are opened Afrikaans first, so that the English source is
// the document loaded last, as `tikmeter mark` does. Returns how the session ended.
std::string markTests(const std::u16string& afrikaans, const std::u16string& english,
                      const val& tests, bool integer, val observer) {
    // The program's state lasts as long as the page: a write failure outlives its session.
    static engine::ProgramState state;
    JsObserver events(std::move(observer));
    std::filesystem::create_directories(documents::toPath(kProgramFolder));
    engine::SessionInput input;
    input.programFolder = kProgramFolder;
    const auto pick = [&](const std::u16string& path) {
        engine::OpenedSource opened = engine::openSourceDocument(state, kProgramFolder, path);
        if (opened.message) {
            events.showMessage(engine::MessageKind::Error, *opened.message, u"Error");
        }
        return opened;
    };
    input.afrikaansSource = pick(afrikaans).shownPath;
    engine::OpenedSource englishSource = pick(english);
    input.englishSource = englishSource.shownPath;
    input.lastSource = std::move(englishSource.document);
    input.resultFormat =
        integer ? engine::ResultFormat::Integer : engine::ResultFormat::MultipleOf5;
    input.entries = emscripten::vecFromJSArray<std::u16string>(tests);
    const engine::SessionSummary summary =
        engine::runMarkingSession(std::move(input), state, events);
    switch (summary.end) {
    case engine::SessionEnd::Completed:
        return "Completed";
    case engine::SessionEnd::NoTests:
        return "NoTests";
    case engine::SessionEnd::NoSource:
        return "NoSource";
    case engine::SessionEnd::Cancelled:
        return "Cancelled";
    case engine::SessionEnd::Declined:
        return "Declined";
    case engine::SessionEnd::Stopped:
        return "Stopped";
    case engine::SessionEnd::Trapped:
        break;
    }
    return "Trapped";
}

json colourOf(const std::optional<documents::Color>& colour) {
    if (!colour) {
        return nullptr;
    }
    constexpr char kDigits[] = "0123456789abcdef";
    std::string text = "#";
    for (const std::uint8_t part : {colour->red, colour->green, colour->blue}) {
        text += kDigits[part >> 4];
        text += kDigits[part & 15];
    }
    return text;
}

// A document file (a marked test) for a viewer, as JSON: its plain text and its runs of
// equal formatting, [start, length, text colour, background, font, half-points, bold,
// italic, underline], positions in UTF-16 code units. {"error": ...} when it cannot be read.
std::string documentView(const std::u16string& path) {
    documents::Document document;
    try {
        document.loadFile(documents::toPath(path));
    } catch (const std::exception& failure) {
        return json{{"error", failure.what()}}.dump(-1, ' ', false, json::error_handler_t::replace);
    }
    json runs = json::array();
    for (const documents::FormatRun& run : document.runs()) {
        const documents::CharFormat& format = run.format;
        const std::u16string& font =
            format.fontName.empty() ? document.baseFontName() : format.fontName;
        runs.push_back({run.start, run.length, colourOf(format.textColor),
                        colourOf(format.backColor), documents::toUtf8(font),
                        format.fontSizeHalfPoints, format.bold, format.italic, format.underline});
    }
    return json{{"text", documents::toUtf8(document.text())}, {"runs", runs}}.dump();
}

} // namespace

EMSCRIPTEN_BINDINGS(tikmeter) {
    emscripten::function("markTests", &markTests);
    emscripten::function("documentView", &documentView);
}
