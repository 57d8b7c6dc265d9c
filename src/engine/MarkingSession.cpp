#include "engine/MarkingSession.h"

#include "documents/Utf8.h"
#include "engine/FileOps.h"
#include "engine/LanguageDetection.h"
#include "engine/MarkedTest.h"
#include "documents/PathText.h"
#include "engine/PunctuationSpacing.h"
#include "engine/ResultFile.h"
#include "engine/SessionFailure.h"
#include "engine/TestCopies.h"
#include "engine/TestMarking.h"

#include <optional>

namespace tikmeter::engine {

namespace {

using documents::Document;
using documents::toPath;

constexpr std::u16string_view kCrLf = u"\r\n";

// Thrown by the error trap for the failures that end a session.
struct SessionEnded {
    FailureKind kind;
};

// The session's error trap: runs one step; a failure of the four named kinds ends the
// session, every other failure skips the step.
class ErrorTrap : public StepRunner {
public:
    void run(std::string_view /*stepName*/, const std::function<void()>& step) override {
        try {
            step();
        } catch (const SessionEnded&) {
            throw;
        } catch (...) {
            const FailureKind kind = classifyFailure(std::current_exception());
            if (kind != FailureKind::Other) {
                throw SessionEnded{kind};
            }
        }
    }
    template <class Step> void operator()(Step&& step) { run({}, std::forward<Step>(step)); }
};

// The marks of the test as spans to colour: error marks 1 to errorCount (before the
// penalties are added), repeat marks 1 to repeatMarkCount.
std::vector<MarkSpan> errorMarkSpans(const TestState& state) {
    std::vector<MarkSpan> spans;
    for (int k = 1; k <= state.errorCount.value(); ++k) {
        spans.push_back({state.errorMarks.at(k).text, state.errorMarks.at(k).position});
    }
    return spans;
}

std::vector<MarkSpan> repeatMarkSpans(const TestState& state) {
    std::vector<MarkSpan> spans;
    for (int k = 1; k <= state.repeatMarkCount.value(); ++k) {
        spans.push_back({state.repeatMarks.at(k).text, state.repeatMarks.at(k).position});
    }
    return spans;
}

class MarkingSession {
public:
    MarkingSession(SessionWindow& window, std::vector<std::u16string> entries)
        : window_(window), state_(window.state()), entries_(std::move(entries)) {}

    bool run() {
        try {
            return runSteps();
        } catch (const SessionEnded& ended) {
            endThroughTrap(ended.kind);
            return false;
        }
    }

private:
    bool runSteps() {
        // A new session starts without the write failure of an earlier one.
        state_.writeFailure = false;
        window_.showViewer();
        trap_([&] { window_.setText1(documents::fileNameOf(documents::folderOf(entries_.front()))); });
        if (!settleDestination()) {
            window_.showViewerClearButton();
            return false;
        }
        copyTests();
        writeLogHeader();
        const std::size_t count = entries_.size();
        window_.progress(0, count);
        std::size_t index = 0;
        while (index < count) {
            if (!loadNextTest(index)) {
                break;
            }
            markLoadedTest(index);
            ++index;
            window_.progress(index, count);
            if (window_.stopRequested()) {
                return false;
            }
        }
        window_.setLabel3(u"");
        window_.messageBox(u"End of this marking session.\rResults have been saved in " +
                               state_.destPath + u"\r",
                           u"Done");
        window_.showViewerClearButton();
        return true;
    }

    // Creates the destination folder, or asks whether to reuse the existing one.
    // Returns false when the question was cancelled.
    bool settleDestination() {
        const std::u16string programFolder = window_.programFolder();
        state_.destPath = documents::joinPath(programFolder, window_.text1());
        if (!pathExists(state_.destPath)) {
            trap_([&] { createFolder(state_.destPath); });
            window_.setLabel9(state_.destPath);
            return true;
        }
        const std::u16string answer =
            window_.inputBox(u"Type new foldername or click Enter to proceed ",
                             u"Folder already exists", window_.text1());
        if (answer.empty()) {
            return false;
        }
        state_.destPath = documents::joinPath(programFolder, answer);
        if (!pathExists(state_.destPath)) {
            trap_([&] { createFolder(state_.destPath); });
        }
        window_.setText1(documents::fileNameOf(answer));
        window_.setLabel9(documents::joinPath(programFolder, window_.text1()));
        return true;
    }

    void copyTests() {
        copies_ = planTestCopies(entries_, state_.destPath);
        for (std::size_t i = 0; i < entries_.size(); ++i) {
            state_.stoorlegger = copies_[i];
            if (entries_[i] != state_.stoorlegger) {
                entryInProgress_ = i;
                trap_([&] { copyFileReplacing(entries_[i], state_.stoorlegger); });
            }
        }
        entryInProgress_.reset();
    }

    void writeLogHeader() {
        Document& log = window_.richTextBox3();
        log.setText(u"               Marking speed tests in " + window_.text1() +
                    std::u16string(kCrLf) + std::u16string(kCrLf));
        window_.viewerChanged();
    }

    void appendLog(std::u16string_view line) {
        Document& log = window_.richTextBox3();
        log.setSelStart(log.text().size());
        log.setSelLength(0);
        log.setSelText(std::u16string(line) + std::u16string(kCrLf));
        log.setSelStart(log.text().size());
        window_.viewerChanged();
    }

    // Loads tests from `index` on until one can be marked; too short and too long tests
    // are logged and get a failure line. Returns false when no test is left.
    bool loadNextTest(std::size_t& index) {
        const std::size_t count = entries_.size();
        bool testLoaded = false;
        do {
            state_.currentFilePath = copies_[index];
            entryInProgress_ = index;
            Document& test = window_.richTextBox1();
            trap_([&] { test.loadFile(toPath(state_.currentFilePath)); });
            const std::size_t length = test.text().size();
            const std::u16string& entry = entries_[index];
            if (length <= 49 || length > 5000) {
                const std::u16string_view status =
                    length <= 49 ? u"too short or empty" : u"too long or corrupt";
                appendLog(entry + u"......." + std::u16string(status));
                std::optional<std::u16string> line;
                trap_([&] {
                    const std::u16string text = failureLine(entry);
                    appendResultLine(state_.destPath, text);
                    line = text;
                });
                entryInProgress_.reset();
                window_.testFinished({entry, std::u16string(status), nullptr, {}, {}, line});
                ++index;
                window_.progress(index, count);
            } else {
                testLoaded = true;
            }
        } while (index < count && !testLoaded);
        window_.setLabel3(state_.currentFilePath);
        return testLoaded;
    }

    void markLoadedTest(std::size_t index) {
        entryInProgress_ = index;
        Document& test = window_.richTextBox1();
        Document& source = window_.richTextBox2();
        TestMarking marking(trap_);
        Language language = Language::Afrikaans;

        trap_([&] {
            language = detectLanguage(test.text());
            source.loadFile(toPath(window_.sourcePath(language)));
        });
        trap_([&] {
            std::string testCode = test.rtf();
            std::string sourceCode = source.rtf();
            punctuationSpacingPass(testCode, sourceCode);
            test.setRtf(testCode);
            source.setRtf(sourceCode);
        });

        marking.compare(test.text(), source.text());
        trap_([&] {
            applyMarks(test, errorMarkSpans(marking.state()), repeatMarkSpans(marking.state()));
        });
        marking.scoreAndReport(window_.resultFormat());

        std::u16string markedPath;
        trap_([&] { insertReport(test, marking.state().reportText); });
        trap_([&] {
            if (window_.label3().find_first_not_of(u' ') == std::u16string::npos) {
                window_.setLabel3(u"Untitled");
            }
            const std::u16string target = markedTestPath(state_.destPath, window_.label3());
            test.saveFile(toPath(target));
            markedPath = target;
        });
        std::optional<std::u16string> line;
        trap_([&] {
            if (state_.writeFailure) {
                return;
            }
            const std::u16string text =
                resultLine(state_.destPath, window_.label3(), marking.state().finalResultText);
            appendResultLine(state_.destPath, text);
            line = text;
        });
        marking.reliabilityCheck(source.text());

        const std::u16string& status = marking.state().statusText;
        appendLog(entries_[index] + status);
        window_.testFinished({entries_[index],
                              status.substr(std::min<std::size_t>(7, status.size())),
                              &marking.state(), language, markedPath, line});
        entryInProgress_.reset();
        window_.letEventsRun();
    }

    // The message the error trap shows for a failure that ends the session.
    std::u16string trapMessage(FailureKind kind) const {
        switch (kind) {
        case FailureKind::Access:
            return u"Edu Tikmeter does not have access to certain documents. Maybe Eng/Afr "
                   u"source document is empty, or speed test is not a valid file.";
        case FailureKind::WriteProtected:
            return u"Edu Tikmeter does not have access to write-protected disk. Please save "
                   u"speed tests on an accessible disk.";
        case FailureKind::PermissionDenied:
            return u"Permission denied. Try another location.";
        case FailureKind::Overflow:
            return u"Overflow error. " + window_.label3() +
                   u" may be too large. This session will terminate.";
        case FailureKind::Other:
            break;
        }
        return {};
    }

    void endThroughTrap(FailureKind kind) {
        const std::u16string message = trapMessage(kind);
        window_.messageBox(message, u"Error");
        if (kind == FailureKind::Access) {
            // The reload can fail in turn (nothing loaded yet, or the unreadable file
            // itself): the session then ends quietly.
            try {
                Document& test = window_.richTextBox1();
                test.loadFile(toPath(state_.currentFilePath));
                test.setSelStart(1);
            } catch (...) {
            }
        }
        if (kind != FailureKind::Overflow) {
            state_.writeFailure = true;
        }
        // The entry the session stopped at is reported with the failure as its status.
        if (entryInProgress_) {
            window_.testFinished({entries_[*entryInProgress_], message, nullptr, {}, {}, {}});
        }
        window_.showViewerClearButton();
    }

    SessionWindow& window_;
    WindowState& state_;
    const std::vector<std::u16string> entries_;
    std::vector<std::u16string> copies_;
    std::optional<std::size_t> entryInProgress_; // the entry being loaded or marked
    ErrorTrap trap_;
};

} // namespace

bool runMarkingSession(SessionWindow& window) {
    std::vector<std::u16string> entries = window.testList();
    if (entries.empty()) {
        window.messageBox(u"No speed tests in the green box...", u"Error");
        return false;
    }
    if (window.richTextBox2().text().size() < 50) {
        window.messageBox(u"Source Document missing, or too small...", u"Error");
        return false;
    }
    return MarkingSession(window, std::move(entries)).run();
}

} // namespace tikmeter::engine
