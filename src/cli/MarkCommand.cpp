// `tikmeter mark`: one whole marking session, as the marking button runs it, without
// questions. The log goes to standard output, or with --json one object per test.
#include "cli/Commands.h"
#include "cli/MarkJson.h"
#include "documents/Utf8.h"
#include "engine/HeadlessSessionWindow.h"
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

// The session's window on a terminal: the log is printed as it grows, messages go to
// standard error (the end message to the log's stream), the folder question is answered
// with --dest or, like Enter, with its default answer.
class TerminalWindow : public engine::HeadlessSessionWindow {
public:
    TerminalWindow(std::u16string programFolder, const MarkOptions& options)
        : HeadlessSessionWindow(std::move(programFolder)), options_(options) {
        setResultFormat(options.integer ? engine::ResultFormat::Integer
                                        : engine::ResultFormat::MultipleOf5);
    }

    void messageBox(const std::u16string& text, const std::u16string& title) override {
        const std::string lines = messageLines(text);
        if (title == u"Done" && !options_.json) {
            std::fputs(lines.c_str(), stdout);
        } else {
            std::cerr << toUtf8(title) << ": " << lines;
        }
    }

    std::u16string inputBox(const std::u16string&, const std::u16string&,
                            const std::u16string& defaultAnswer) override {
        asked_ = true;
        return options_.dest ? *documents::fromUtf8(*options_.dest) : defaultAnswer;
    }

    void viewerChanged() override {
        if (options_.json) {
            return;
        }
        const std::u16string& log = richTextBox3().text();
        if (log.size() < printed_) {
            printed_ = 0;
        }
        const std::string fresh = toUtf8(std::u16string_view(log).substr(printed_));
        std::string lines;
        for (const char c : fresh) {
            if (c != '\r') {
                lines += c;
            }
        }
        std::fputs(lines.c_str(), stdout);
        std::fflush(stdout);
        printed_ = log.size();
    }

    void testFinished(const engine::TestOutcome& outcome) override {
        if (options_.json) {
            std::cout << outcomeJson(outcome).dump() << '\n' << std::flush;
        }
    }

    bool asked() const { return asked_; }

private:
    const MarkOptions& options_;
    std::size_t printed_ = 0;
    bool asked_ = false;
};

std::u16string absoluteText(const std::string& path) {
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    return fromPath((ec ? std::filesystem::path(path) : absolute).lexically_normal());
}

int runMark(const MarkOptions& options) {
    const engine::ProgramFolder folder = engine::resolveProgramFolder();
    if (folder.isHomeFallback) {
        std::cerr << "tikmeter: " << toUtf8(folder.preferredPath) << " cannot be written; using "
                  << toUtf8(folder.path) << '\n';
    }
    if (!folder.ensureExists()) {
        std::cerr << "tikmeter: cannot create " << toUtf8(folder.path) << '\n';
        return 1;
    }
    TerminalWindow window(folder.path, options);
    // The sources are picked as in the window: Afrikaans first, so the English source is
    // the document loaded last.
    engine::MaakBronOop(window, Language::Afrikaans, absoluteText(options.afrikaans));
    engine::MaakBronOop(window, Language::English, absoluteText(options.english));

    std::vector<std::u16string> entries;
    for (const std::string& test : options.tests) {
        entries.push_back(absoluteText(test));
    }
    window.setTestList(std::move(entries));

    const bool ended = engine::runMarkingSession(window);
    if (options.dest && !window.asked()) {
        std::cerr << "tikmeter: --dest not used: the destination folder "
                  << toUtf8(window.state().destPath) << " did not exist and was created\n";
    }
    return ended ? 0 : 1;
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
    mark->add_option("TEST", options->tests, "Speed tests (RTF)")->required();
    mark->callback([options, &action] { action = [options] { return runMark(*options); }; });
}

} // namespace tikmeter::cli
