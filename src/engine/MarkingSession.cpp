#include "engine/MarkingSession.h"

#include "documents/PathText.h"
#include "documents/Utf8.h"
#include "engine/FileOps.h"
#include "engine/MarkedTest.h"
#include "engine/ResultFile.h"
#include "engine/TestCopies.h"
#include "engine/TestMarker.h"

#include <optional>

namespace tikmeter::engine {

namespace {

using documents::Document;
using documents::joinPath;
using documents::toPath;

constexpr std::size_t kShortestTest = 50;  // characters a test needs to be marked
constexpr std::size_t kLongestTest = 5000; // characters a test may have
constexpr std::u16string_view kStatusDots = u".......";

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

std::u16string trapMessage(FailureKind kind, const std::u16string& title) {
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
        return u"Overflow error. " + title + u" may be too large. This session will terminate.";
    case FailureKind::Other:
        break;
    }
    return {};
}

class MarkingSession {
public:
    MarkingSession(SessionInput input, ProgramState& state, SessionObserver& observer)
        : input_(std::move(input)), state_(state), observer_(observer) {}

    SessionSummary run() {
        try {
            runSteps();
        } catch (const SessionEnded& ended) {
            endThroughTrap(ended.kind);
        }
        if (lastSource_ != nullptr) {
            summary_.lastSource = *lastSource_;
        }
        return std::move(summary_);
    }

private:
    void runSteps() {
        // A new session starts without the write failure of an earlier one.
        state_.writeFailure = false;
        observer_.logShown();
        name_ = documents::destinationNameFor(input_.entries.front());
        observer_.destinationNamed(name_);
        if (!settleDestination()) {
            summary_.end = SessionEnd::Cancelled;
            return;
        }
        copyTests();
        loadSources();
        observer_.logStarted();
        observer_.logLine(u"               Marking speed tests in " + name_);
        observer_.logLine(u"");
        const std::size_t count = input_.entries.size();
        observer_.progress(0, count);
        std::size_t index = 0;
        while (index < count) {
            Document test;
            if (!loadNextTest(index, test)) {
                break;
            }
            markLoadedTest(index, std::move(test));
            ++index;
            observer_.progress(index, count);
            if (observer_.stopRequested()) {
                summary_.end = SessionEnd::Stopped;
                return;
            }
        }
        title_.clear();
        observer_.titleChanged(title_);
        observer_.showMessage(MessageKind::Done,
                              u"End of this marking session.\rResults have been saved in " +
                                  state_.destPath + u"\r",
                              u"Done");
        summary_.end = SessionEnd::Completed;
    }

    // Creates the destination folder, or asks whether to reuse the existing one.
    // Returns false when the question was cancelled.
    bool settleDestination() {
        const std::u16string& programFolder = input_.programFolder;
        state_.destPath = joinPath(programFolder, name_);
        if (!pathExists(state_.destPath)) {
            trap_([&] { createFolder(state_.destPath); });
            observer_.destinationShown(state_.destPath);
            return true;
        }
        const std::optional<std::u16string> answer = observer_.askFolderName(
            {u"Type new foldername or click Enter to proceed ", u"Folder already exists", name_});
        if (!answer || answer->empty()) {
            return false;
        }
        state_.destPath = joinPath(programFolder, *answer);
        if (!pathExists(state_.destPath)) {
            trap_([&] { createFolder(state_.destPath); });
        }
        name_ = documents::fileNameOf(*answer);
        observer_.destinationNamed(name_);
        observer_.destinationShown(joinPath(programFolder, name_));
        return true;
    }

    void copyTests() {
        const std::vector<std::u16string>& entries = input_.entries;
        copies_ = planTestCopies(entries, state_.destPath);
        for (std::size_t i = 0; i < entries.size(); ++i) {
            state_.copyTarget = copies_[i];
            if (entries[i] != state_.copyTarget) {
                inProgress_ = i;
                trap_([&] { copyFileReplacing(entries[i], state_.copyTarget); });
            }
        }
        inProgress_.reset();
    }

    // Each source is read once; one that cannot be read fails the first test that needs it.
    void loadSources() {
        for (const Language language : {Language::Afrikaans, Language::English}) {
            const std::u16string& path =
                language == Language::English ? input_.englishSource : input_.afrikaansSource;
            try {
                Document source;
                source.loadFile(toPath(path));
                sources_.set(language, std::move(source));
            } catch (...) {
                sources_.setFailure(language, std::current_exception());
            }
        }
    }

    // Loads tests from `index` on until one can be marked; too short and too long tests
    // are logged and get a failure line. Returns false when no test is left.
    bool loadNextTest(std::size_t& index, Document& test) {
        const std::size_t count = input_.entries.size();
        bool testLoaded = false;
        do {
            state_.currentFilePath = copies_[index];
            inProgress_ = index;
            // Every test starts from an empty document: nothing of an earlier test stays.
            test = Document();
            trap_([&] { test.loadFile(toPath(state_.currentFilePath)); });
            const std::size_t length = test.text().size();
            if (length < kShortestTest || length > kLongestTest) {
                rejectTest(index,
                           length < kShortestTest ? u"too short or empty" : u"too long or corrupt");
                ++index;
                observer_.progress(index, count);
            } else {
                testLoaded = true;
            }
        } while (index < count && !testLoaded);
        title_ = state_.currentFilePath;
        observer_.titleChanged(title_);
        return testLoaded;
    }

    void rejectTest(std::size_t index, const std::u16string& status) {
        const std::u16string& entry = input_.entries[index];
        observer_.logLine(entry + std::u16string(kStatusDots) + status);
        std::optional<std::u16string> line;
        trap_([&] {
            const std::u16string text = failureLine(entry);
            appendResultLine(state_.destPath, text);
            line = text;
        });
        inProgress_.reset();
        ++summary_.rejected;
        observer_.testFinished({entry, status, std::nullopt, {}, line});
    }

    void markLoadedTest(std::size_t index, Document test) {
        inProgress_ = index;
        MarkingResult result = markTest(std::move(test), sources_, input_.resultFormat, trap_);
        if (result.source != nullptr) {
            lastSource_ = result.source;
        }
        std::u16string markedPath;
        trap_([&] {
            const std::u16string target = markedTestPath(state_.destPath, title_);
            result.markedTest.saveFile(toPath(target));
            markedPath = target;
        });
        std::optional<std::u16string> line;
        trap_([&] {
            if (state_.writeFailure) {
                return;
            }
            const std::u16string text =
                resultLine(state_.destPath, title_, result.marks.finalResultText);
            appendResultLine(state_.destPath, text);
            line = text;
        });
        const std::u16string& entry = input_.entries[index];
        const std::u16string& status = result.statusText;
        observer_.logLine(entry + status);
        inProgress_.reset();
        ++summary_.marked;
        observer_.testFinished({entry, status.substr(std::min(kStatusDots.size(), status.size())),
                                std::move(result.marks), markedPath, line});
        observer_.letEventsRun();
    }

    void endThroughTrap(FailureKind kind) {
        const std::u16string message = trapMessage(kind, title_);
        observer_.showMessage(MessageKind::Error, message, u"Error");
        if (kind != FailureKind::Overflow) {
            state_.writeFailure = true;
        }
        // The entry the session stopped at is reported with the failure as its status.
        if (inProgress_) {
            observer_.testFinished({input_.entries[*inProgress_], message, std::nullopt, {}, {}});
        }
        summary_.end = SessionEnd::Trapped;
        summary_.failure = kind;
    }

    const SessionInput input_;
    ProgramState& state_;
    SessionObserver& observer_;
    SessionSummary summary_;
    std::u16string name_;  // the destination folder's name
    std::u16string title_; // the file being marked, as the viewer's title shows it
    std::vector<std::u16string> copies_;
    PreparedSources sources_;
    const Document* lastSource_ = nullptr;
    std::optional<std::size_t> inProgress_; // the entry being copied, loaded or marked
    ErrorTrap trap_;
};

} // namespace

SessionSummary runMarkingSession(SessionInput input, ProgramState& state,
                                 SessionObserver& observer) {
    SessionSummary summary;
    if (input.entries.empty()) {
        observer.showMessage(MessageKind::Error, u"No speed tests in the green box...", u"Error");
        summary.end = SessionEnd::NoTests;
    } else if (input.lastSource.text().size() < kShortestTest) {
        observer.showMessage(MessageKind::Error, u"Source Document missing, or too small...",
                             u"Error");
        summary.end = SessionEnd::NoSource;
    } else {
        summary = MarkingSession(std::move(input), state, observer).run();
    }
    observer.sessionEnded(summary);
    return summary;
}

} // namespace tikmeter::engine
