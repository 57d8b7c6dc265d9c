#include "engine/MarkingSession.h"

#include "documents/DocumentError.h"
#include "documents/FileIo.h"
#include "documents/PathText.h"
#include "documents/Utf8.h"
#include "engine/FileOps.h"
#include "engine/LanguageDetection.h"
#include "engine/ResultFile.h"
#include "engine/TestCopies.h"
#include "engine/TestMarker.h"

#include <filesystem>
#include <optional>

namespace tikmeter::engine {

namespace {

namespace fs = std::filesystem;
using documents::Document;
using documents::DocumentError;
using documents::DocumentErrorKind;
using documents::joinPath;
using documents::toPath;

constexpr std::size_t kShortestTest = 50;  // characters a test needs to be marked
constexpr std::size_t kLongestTest = 5000; // characters a test may have
constexpr std::u16string_view kStatusDots = u".......";

// Thrown by the error trap for the failures that end a session.
struct SessionEnded {
    FailureKind kind;
};

// The session's error trap: runs one step; a failure of the named kinds ends the session,
// every other failure skips the step.
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

// Names go into the log and the result file with every control character as "?", so a
// file name cannot start a line of its own.
std::u16string printable(std::u16string_view text) {
    std::u16string shown(text);
    for (char16_t& c : shown) {
        if (c < 0x20 || c == 0x7F) {
            c = u'?';
        }
    }
    return shown;
}

// Why a file cannot be marked, in a few words for the teacher.
std::u16string reasonFor(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const DocumentError& error) {
        switch (error.kind()) {
        case DocumentErrorKind::NotFound:
            return u"not found";
        case DocumentErrorKind::PermissionDenied:
            return u"no permission to read it";
        case DocumentErrorKind::NotRegularFile:
            return u"not a file";
        case DocumentErrorKind::Unreadable:
            return u"not a document Edu Tikmeter can read";
        case DocumentErrorKind::TooLarge:
            return u"too large";
        case DocumentErrorKind::WriteProtected:
        case DocumentErrorKind::DiskFull:
        case DocumentErrorKind::Other:
            break;
        }
    } catch (...) {
    }
    return u"cannot be read";
}

std::u16string languageName(Language language) {
    return language == Language::English ? u"English" : u"Afrikaans";
}

class MarkingSession {
public:
    MarkingSession(SessionInput input, ProgramState& state, SessionObserver& observer)
        : input_(std::move(input)), state_(state), observer_(observer),
          leftOut_(input_.entries.size()), tooLarge_(input_.entries.size()) {}

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
        if (!checkFiles()) {
            summary_.end = SessionEnd::Declined;
            return;
        }
        // A new session starts without the write failure of an earlier one.
        state_.writeFailure = false;
        observer_.logShown();
        name_ = documents::destinationNameFor(input_.entries.front());
        observer_.destinationNamed(name_);
        if (!settleDestination()) {
            summary_.end = SessionEnd::Cancelled;
            return;
        }
        // Temporary files of a session that was killed are of no use to anyone.
        documents::removeStaleTemporaryFiles(toPath(state_.destPath));
        copyTests();
        observer_.logStarted();
        observer_.logLine(u"               Marking speed tests in " + printable(name_));
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

    // Tries every test and the sources they need before anything is written, so that one
    // bad file does not stop the class. The teacher decides whether to mark the others.
    bool checkFiles() {
        std::vector<std::optional<Language>> languages(input_.entries.size());
        for (std::size_t i = 0; i < input_.entries.size(); ++i) {
            try {
                Document test;
                test.loadFile(toPath(input_.entries[i]));
                languages[i] = detectLanguage(test.text());
            } catch (const DocumentError& error) {
                // A test too large to load is marked as too long, as a test over the
                // length limit is.
                if (error.kind() == DocumentErrorKind::TooLarge) {
                    tooLarge_[i] = true;
                } else {
                    leftOut_[i] = reasonFor(std::current_exception());
                }
            } catch (...) {
                leftOut_[i] = reasonFor(std::current_exception());
            }
        }
        std::u16string sourceProblems;
        for (const Language language : {Language::Afrikaans, Language::English}) {
            loadSource(language);
            const std::exception_ptr failure = sourceFailure(language);
            bool needed = false;
            for (std::size_t i = 0; failure && i < languages.size(); ++i) {
                if (languages[i] == language && !leftOut_[i]) {
                    needed = true;
                    leftOut_[i] =
                        u"its " + languageName(language) + u" source document cannot be read";
                }
            }
            if (needed) {
                sourceProblems +=
                    printable(sourcePath(language)) + u" \u2014 " + reasonFor(failure) + u"\r";
            }
        }
        std::u16string problems;
        for (std::size_t i = 0; i < leftOut_.size(); ++i) {
            if (leftOut_[i]) {
                problems += printable(input_.entries[i]) + u" \u2014 " + *leftOut_[i] + u"\r";
            }
        }
        if (problems.empty()) {
            return true;
        }
        return observer_.askYesNo(u"Some speed tests cannot be read:\r" + problems +
                                      sourceProblems + u"Mark the others?",
                                  u"Check");
    }

    const std::u16string& sourcePath(Language language) const {
        return language == Language::English ? input_.englishSource : input_.afrikaansSource;
    }

    void loadSource(Language language) {
        try {
            Document source;
            source.loadFile(toPath(sourcePath(language)));
            sources_.set(language, std::move(source));
        } catch (...) {
            sources_.setFailure(language, std::current_exception());
            (language == Language::English ? englishFailure_ : afrikaansFailure_) =
                std::current_exception();
        }
    }

    std::exception_ptr sourceFailure(Language language) const {
        return language == Language::English ? englishFailure_ : afrikaansFailure_;
    }

    // Creates the destination folder, or asks whether to reuse the existing one.
    // Returns false when the question was cancelled.
    bool settleDestination() {
        const std::u16string& programFolder = input_.programFolder;
        state_.destPath = joinPath(programFolder, name_);
        if (!pathExists(state_.destPath)) {
            writeTarget_ = state_.destPath;
            trap_([&] { createFolder(state_.destPath); });
            observer_.destinationShown(state_.destPath);
            return true;
        }
        FolderQuestion question{
            u"Type new foldername or click Enter to proceed ", u"Folder already exists", name_, {}};
        std::optional<std::u16string> answer;
        for (;;) {
            answer = observer_.askFolderName(question);
            if (!answer || answer->empty()) {
                return false;
            }
            question.problem = destinationAnswerProblem(programFolder, *answer);
            if (question.problem.empty()) {
                break;
            }
        }
        state_.destPath = joinPath(programFolder, *answer);
        if (!pathExists(state_.destPath)) {
            writeTarget_ = state_.destPath;
            trap_([&] { createFolder(state_.destPath); });
        }
        name_ = documents::fileNameOf(*answer);
        observer_.destinationNamed(name_);
        observer_.destinationShown(joinPath(programFolder, name_));
        return true;
    }

    void copyTests() {
        const std::vector<std::u16string>& entries = input_.entries;
        const fs::path destFolder = toPath(state_.destPath);
        files_ = planTestFiles(entries, state_.destPath, [&](const std::u16string& entry) {
            return documents::sameFile(toPath(documents::folderOf(entry)), destFolder);
        });
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if (leftOut_[i] || tooLarge_[i]) {
                continue;
            }
            state_.copyTarget = files_[i].copy;
            inProgress_ = i;
            writeTarget_ = state_.copyTarget;
            trap_([&] { copyFile(entries[i], state_.copyTarget); });
        }
        inProgress_.reset();
    }

    // Loads tests from `index` on until one can be marked; too short and too long tests
    // are logged and get a failure line, tests the check left out are logged. Returns false
    // when no test is left.
    bool loadNextTest(std::size_t& index, Document& test) {
        const std::size_t count = input_.entries.size();
        bool testLoaded = false;
        do {
            state_.currentFilePath = files_[index].copy;
            inProgress_ = index;
            if (leftOut_[index]) {
                finishUnmarked(index, u"not marked: " + *leftOut_[index], false);
            } else {
                // Every test starts from an empty document: nothing of an earlier test stays.
                test = Document();
                bool tooLarge = tooLarge_[index];
                trap_([&] {
                    if (tooLarge) {
                        return;
                    }
                    try {
                        test.loadFile(toPath(state_.currentFilePath));
                    } catch (const DocumentError& error) {
                        tooLarge = error.kind() == DocumentErrorKind::TooLarge;
                        if (!tooLarge) {
                            throw;
                        }
                    }
                });
                const std::size_t length = test.text().size();
                if (tooLarge || length > kLongestTest) {
                    finishUnmarked(index, u"too long or corrupt", true);
                } else if (length < kShortestTest) {
                    finishUnmarked(index, u"too short or empty", true);
                } else {
                    testLoaded = true;
                }
            }
            if (!testLoaded) {
                ++index;
                observer_.progress(index, count);
            }
        } while (index < count && !testLoaded);
        title_ = state_.currentFilePath;
        observer_.titleChanged(title_);
        return testLoaded;
    }

    // A test that is not marked: its log line, and the failure line when it was rejected.
    void finishUnmarked(std::size_t index, const std::u16string& status, bool failureLineToo) {
        const std::u16string& entry = input_.entries[index];
        observer_.logLine(printable(entry) + std::u16string(kStatusDots) + status);
        std::optional<std::u16string> line;
        if (failureLineToo) {
            trap_([&] { line = appendResultLine(failureLine(printable(entry))); });
            ++summary_.rejected;
        } else {
            ++summary_.leftOut;
        }
        inProgress_.reset();
        observer_.testFinished({entry, status, std::nullopt, {}, line});
    }

    std::u16string appendResultLine(const std::u16string& text) {
        writeTarget_ = joinPath(state_.destPath, kResultFileName);
        engine::appendResultLine(state_.destPath, text);
        return text;
    }

    void markLoadedTest(std::size_t index, Document test) {
        inProgress_ = index;
        MarkingResult result = markTest(std::move(test), sources_, input_.resultFormat, trap_);
        if (result.source != nullptr) {
            lastSource_ = result.source;
        }
        const std::u16string& target = files_[index].markedTest;
        std::u16string markedPath;
        writeTarget_ = target;
        trap_([&] {
            result.markedTest.saveFile(toPath(target));
            markedPath = target;
        });
        std::optional<std::u16string> line;
        trap_([&] {
            if (!state_.writeFailure) {
                line = appendResultLine(
                    printable(resultLine(state_.destPath, target, result.marks.finalResultText)));
            }
        });
        const std::u16string& entry = input_.entries[index];
        const std::u16string& status = result.statusText;
        observer_.logLine(printable(entry) + status);
        inProgress_.reset();
        ++summary_.marked;
        observer_.testFinished({entry, status.substr(std::min(kStatusDots.size(), status.size())),
                                std::move(result.marks), markedPath, line});
        observer_.letEventsRun();
    }

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
            return u"Overflow error. " + title_ +
                   u" may be too large. This session will terminate.";
        case FailureKind::DiskFull:
            return u"The disk is full. Edu Tikmeter could not write " + writeTarget_;
        case FailureKind::Other:
            break;
        }
        return {};
    }

    void endThroughTrap(FailureKind kind) {
        const std::u16string message = trapMessage(kind);
        // The log's last line names the test the session stopped at.
        if (inProgress_) {
            observer_.logLine(printable(input_.entries[*inProgress_]) +
                              std::u16string(kStatusDots) + message);
        }
        observer_.showMessage(MessageKind::Error, message, u"Error");
        if (kind != FailureKind::Overflow) {
            state_.writeFailure = true;
        }
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
    std::u16string name_;        // the destination folder's name
    std::u16string title_;       // the file being marked, as the viewer's title shows it
    std::u16string writeTarget_; // the file or folder being written
    std::vector<TestFiles> files_;
    std::vector<std::optional<std::u16string>> leftOut_; // why the check left a test out
    std::vector<bool> tooLarge_; // too large to read: marked as too long, not copied
    PreparedSources sources_;
    std::exception_ptr afrikaansFailure_;
    std::exception_ptr englishFailure_;
    const Document* lastSource_ = nullptr;
    std::optional<std::size_t> inProgress_; // the entry being copied, loaded or marked
    ErrorTrap trap_;
};

bool hasDotPart(const std::u16string& answer) {
    std::size_t from = 0;
    for (;;) {
        const std::size_t end = answer.find(documents::kSeparator, from);
        const std::u16string_view part = std::u16string_view(answer).substr(
            from, end == std::u16string::npos ? answer.npos : end - from);
        if (part == u"." || part == u"..") {
            return true;
        }
        if (end == std::u16string::npos) {
            return false;
        }
        from = end + 1;
    }
}

} // namespace

std::u16string destinationAnswerProblem(const std::u16string& programFolder,
                                        const std::u16string& answer) {
    const std::u16string refused = u"\"" + printable(answer) +
                                   u"\" does not name a folder inside " + programFolder +
                                   u". Type the name of a folder inside it.";
    if (answer.empty() || answer.front() == documents::kSeparator || hasDotPart(answer)) {
        return refused;
    }
    // A symbolic link on the way must not lead out of the program folder.
    std::error_code ec;
    const fs::path inside = fs::canonical(toPath(programFolder), ec);
    const fs::path target = fs::weakly_canonical(toPath(joinPath(programFolder, answer)), ec);
    if (ec) {
        return refused;
    }
    const auto [end, _] = std::mismatch(inside.begin(), inside.end(), target.begin(), target.end());
    if (end != inside.end() || target == inside) {
        return refused;
    }
    return {};
}

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
