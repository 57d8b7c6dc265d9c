// `tikmeter mark`: one whole marking session, as the marking button runs it, without
// questions. The log goes to standard output, or with --json one object per test.
#include "cli/Commands.h"
#include "cli/MarkJson.h"
#include "documents/Utf8.h"
#include "engine/MarkingSession.h"
#include "engine/ProgramFolder.h"
#include "engine/SourceDocuments.h"

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tikmeter::cli {

namespace {

using documents::fromPath;
using documents::toUtf8;
using engine::Language;

struct MarkOptions {
    std::string english;
    std::string afrikaans;
    std::vector<std::string> tests;
    std::optional<std::string> dest;
    bool integer = false;
    bool json = false;
    std::optional<unsigned> jobs;
};

// Messages become lines (CR ends a line in a message box).
std::string messageLines(const std::u16string& text) {
    std::string out;
    for (const char c : toUtf8(text)) {
        out += c == '\r' ? '\n' : c;
    }
    if (!out.empty() && out.back() != '\n') {
        out += '\n';
    }
    return out;
}

// The session on a terminal: log lines (or, with --json, one object per test) go to
// standard output as they come, messages to standard error (the end message to the log's
// stream), and the folder question is answered with --dest or, like Enter, with its
// default answer.
class TerminalObserver : public engine::SessionObserver {
public:
    explicit TerminalObserver(const MarkOptions& options) : options_(options) {}

    void showMessage(engine::MessageKind kind, const std::u16string& text,
                     const std::u16string& title) override {
        const std::string lines = messageLines(text);
        if (kind == engine::MessageKind::Done && !options_.json) {
            std::fputs(lines.c_str(), stdout);
        } else {
            std::cerr << toUtf8(title) << ": " << lines;
        }
    }

    std::optional<std::u16string> askFolderName(const engine::FolderQuestion& question) override {
        asked_ = true;
        // A refused answer cannot be typed again here: the run ends as a usage error.
        if (!question.problem.empty()) {
            std::cerr << "tikmeter: " << toUtf8(question.problem) << '\n';
            refused_ = true;
            return std::nullopt;
        }
        return options_.dest ? fromPath(*options_.dest) : question.defaultAnswer;
    }

    // The check before marking: the tests that can be read are marked.
    bool askYesNo(const std::u16string& text, const std::u16string& title) override {
        std::cerr << toUtf8(title) << ": " << messageLines(text) << "Yes\n";
        return true;
    }

    void logLine(const std::u16string& line) override {
        if (!options_.json) {
            std::cout << toUtf8(line) << '\n' << std::flush;
        }
    }

    void testFinished(const engine::TestOutcome& outcome) override {
        if (options_.json) {
            std::cout << outcomeJson(outcome).dump() << '\n' << std::flush;
        }
    }

    bool asked() const { return asked_; }
    bool refused() const { return refused_; }

private:
    const MarkOptions& options_;
    bool asked_ = false;
    bool refused_ = false;
};

std::u16string absoluteText(const std::string& path) {
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    return fromPath((ec ? std::filesystem::path(path) : absolute).lexically_normal());
}

int runMark(const MarkOptions& options) {
    const engine::ProgramFolder folder = engine::resolveProgramFolder();
    if (folder.isHomeFallback) {
        std::cerr << "tikmeter: " << toUtf8(folder.preferredPath)
                  << (folder.isSystemFolder ? " is a system folder" : " cannot be written")
                  << "; using " << toUtf8(folder.path) << '\n';
    }
    if (!folder.ensureExists()) {
        std::cerr << "tikmeter: cannot create " << toUtf8(folder.path) << '\n';
        return 1;
    }
    folder.provideGuides();
    if (options.dest) {
        const std::u16string problem =
            engine::destinationAnswerProblem(folder.path, fromPath(*options.dest));
        if (!problem.empty()) {
            std::cerr << "tikmeter: --dest: " << toUtf8(problem) << '\n';
            return 2;
        }
    }
    // The sources are picked as in the window: Afrikaans first, so the English source is
    // the document loaded last.
    engine::ProgramState state;
    engine::SessionInput input;
    input.programFolder = folder.path;
    const auto pick = [&](const std::string& path) {
        engine::OpenedSource opened =
            engine::openSourceDocument(state, folder.path, absoluteText(path));
        if (opened.message) {
            std::cerr << "Error: " << messageLines(*opened.message);
        }
        return opened;
    };
    input.afrikaansSource = pick(options.afrikaans).shownPath;
    engine::OpenedSource english = pick(options.english);
    input.englishSource = english.shownPath;
    input.lastSource = std::move(english.document);
    input.workers = options.jobs.value_or(0);
    input.resultFormat =
        options.integer ? engine::ResultFormat::Integer : engine::ResultFormat::MultipleOf5;
    for (const std::string& test : options.tests) {
        input.entries.push_back(absoluteText(test));
    }

    TerminalObserver observer(options);
    const engine::SessionSummary summary =
        engine::runMarkingSession(std::move(input), state, observer);
    if (options.dest && !observer.asked()) {
        std::cerr << "tikmeter: --dest not used: the destination folder " << toUtf8(state.destPath)
                  << " did not exist and was created\n";
    }
    if (observer.refused()) {
        return 2;
    }
    if (summary.end != engine::SessionEnd::Completed) {
        return 1;
    }
    return summary.leftOut > 0 ? 3 : 0;
}

} // namespace

void registerMarkCommand(CLI::App& app, CommandAction& action) {
    auto options = std::make_shared<MarkOptions>();
    CLI::App* mark = app.add_subcommand(
        "mark", "Mark speed tests: copies them into a destination folder in the program folder, "
                "writes a marked test (.rug) per test and a line per test to Resultaat.res");
    mark->add_option("--english", options->english, "English source document (RTF)")->required();
    mark->add_option("--afrikaans", options->afrikaans, "Afrikaans source document (RTF)")
        ->required();
    mark->add_flag("--integer", options->integer,
                   "Final result as integer (default: as multiple of 5)");
    mark->add_option("--dest", options->dest,
                     "Destination folder name to use when the folder named after the tests' "
                     "folder already exists (default: reuse it)");
    mark->add_flag("--json", options->json, "One JSON object per test instead of the log");
    mark->add_option("--jobs", options->jobs,
                     "Threads that mark tests (default: TIKMETER_JOBS, else one per core); "
                     "every file written is the same whatever the number")
        ->envname("TIKMETER_JOBS")
        ->check(CLI::Range(1u, 256u));
    mark->add_option("TEST", options->tests, "Speed tests (RTF)")->required();
    mark->footer("Tests whose names start with a dash come after \"--\", which ends the options:\n"
                 "  tikmeter mark --english EN.rtf --afrikaans AF.rtf -- -jan.rtf piet.rtf\n"
                 "Exit status: 0 all marked, 1 the session ended early, 2 a usage error (also a "
                 "--dest outside the program folder), 3 tests that could not be read were left "
                 "out.");
    mark->callback([options, &action] { action = [options] { return runMark(*options); }; });
}

} // namespace tikmeter::cli
