#include "engine/MarkingSession.h"

#include "documents/DocumentError.h"
#include "documents/FileIo.h"
#include "documents/PathText.h"
#include "documents/Utf8.h"
#include "engine/FileOps.h"
#include "engine/LanguageDetection.h"
#include "engine/OrderedWork.h"
#include "engine/ResultFile.h"
#include "engine/ResultsCsv.h"
#include "engine/TestCopies.h"
#include "engine/TestMarker.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <thread>

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
// Tests are written in groups of 64, 128, then 256: a class is one group and needs few
// syncs, and a group of 64 is marked in a few tens of milliseconds, so the log still grows
// as fast as a teacher reads it. The sizes do not depend on the number of workers, so every
// file is the same whatever the machine.
constexpr std::size_t kFirstGroup = 64;
constexpr std::size_t kLargestGroup = 256;

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
        if (linesAppended_) {
            // The result lines were appended unsynced; make them durable once.
            try {
                documents::syncFileSystem(toPath(state_.destPath));
            } catch (...) {
            }
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
        // Workers mark ahead; this thread writes the files and reports, in list order, one
        // group of tests at a time, so that a group's marked tests are made durable together.
        OrderedWork<PreparedTest> marking(count, workerCount(), 2 * kLargestGroup,
                                          [this](std::size_t index) { return prepare(index); });
        try {
            std::size_t groupSize = kFirstGroup;
            for (std::size_t begin = 0; begin < count; begin += groupSize, groupSize *= 2) {
                groupSize = std::min(groupSize, kLargestGroup);
                std::vector<PreparedTest> group;
                for (std::size_t i = begin; i < std::min(count, begin + groupSize); ++i) {
                    group.push_back(marking.take(i));
                }
                writeGroup(begin, group);
                if (observer_.stopRequested()) {
                    summary_.end = SessionEnd::Stopped;
                    discardAll(marking.stop());
                    return;
                }
            }
        } catch (...) {
            discardAll(marking.stop());
            throw;
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

    // Copies every test into the destination folder: all copies are written, made durable
    // with one sync, then put in place in list order.
    void copyTests() {
        const std::vector<std::u16string>& entries = input_.entries;
        const fs::path destFolder = toPath(state_.destPath);
        files_ = planTestFiles(entries, state_.destPath, [&](const std::u16string& entry) {
            return documents::sameFile(toPath(documents::folderOf(entry)), destFolder);
        });
        std::vector<std::optional<documents::StagedFile>> staged(entries.size());
        std::optional<SessionEnded> failure;
        std::size_t failedAt = entries.size();
        for (std::size_t i = 0; i < entries.size() && !failure; ++i) {
            if (leftOut_[i] || tooLarge_[i]) {
                continue;
            }
            state_.copyTarget = files_[i].copy;
            failure = trapped([&] {
                staged[i] = documents::stageCopy(toPath(entries[i]), toPath(files_[i].copy));
            });
            if (failure) {
                failedAt = i;
            }
        }
        // A copy is whole once renamed; nothing waits for the rename itself to be durable.
        commitInOrder(staged, failure, failedAt, false);
        if (failure) {
            inProgress_ = failedAt;
            writeTarget_ = files_[failedAt].copy;
            throw *failure;
        }
    }

    // Runs a step through the error trap; the failure that ends the session, if any.
    template <class Step> std::optional<SessionEnded> trapped(Step&& step) {
        try {
            trap_(std::forward<Step>(step));
        } catch (const SessionEnded& ended) {
            return ended;
        }
        return std::nullopt;
    }

    // Syncs the staged files before `failedAt`, puts them in place in order and discards
    // the others; `syncRenames` then makes the renames durable too. A file that cannot be
    // put in place becomes the failure.
    void commitInOrder(std::vector<std::optional<documents::StagedFile>>& staged,
                       std::optional<SessionEnded>& failure, std::size_t& failedAt,
                       bool syncRenames) {
        const bool any = std::any_of(staged.begin(), staged.end(),
                                     [](const auto& file) { return file.has_value(); });
        if (any) {
            // A failed sync leaves the files unsynced but whole; the renames still hold.
            trapped([&] { documents::syncFileSystem(toPath(state_.destPath)); });
        }
        for (std::size_t i = 0; i < staged.size(); ++i) {
            if (!staged[i]) {
                continue;
            }
            if (failure && i >= failedAt) {
                documents::discardStagedFile(*staged[i]);
                continue;
            }
            const auto committed = trapped([&] { documents::commitStagedFile(*staged[i]); });
            if (committed) {
                failure = committed;
                failedAt = i;
                writeTarget_ = documents::fromPath(staged[i]->target);
            }
        }
        if (any && syncRenames) {
            trapped([&] { documents::syncFolder(toPath(state_.destPath)); });
        }
    }

    // What a worker found out about one test: loaded, marked, its marked test staged.
    struct PreparedTest {
        enum class Kind { LeftOut, TooShort, TooLong, Marked, Failed } kind = Kind::Failed;
        std::optional<MarkingResult> marking;
        std::optional<documents::StagedFile> markedTest;
        std::optional<SessionEnded> failure; // ends the session at this test
    };

    unsigned workerCount() const {
        const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
        return input_.workers == 0 ? cores : input_.workers;
    }

    // Loads, marks and stages one test. Runs on a worker thread: it reads only the session's
    // fixed values and touches no shared state.
    PreparedTest prepare(std::size_t index) const {
        PreparedTest prepared;
        if (leftOut_[index]) {
            prepared.kind = PreparedTest::Kind::LeftOut;
            return prepared;
        }
        ErrorTrap trap;
        try {
            // Every test starts from an empty document: nothing of an earlier test stays.
            Document test;
            bool tooLarge = tooLarge_[index];
            trap.run("load", [&] {
                if (tooLarge) {
                    return;
                }
                try {
                    test.loadFile(toPath(files_[index].copy));
                } catch (const DocumentError& error) {
                    tooLarge = error.kind() == DocumentErrorKind::TooLarge;
                    if (!tooLarge) {
                        throw;
                    }
                }
            });
            const std::size_t length = test.text().size();
            if (tooLarge || length > kLongestTest) {
                prepared.kind = PreparedTest::Kind::TooLong;
                return prepared;
            }
            if (length < kShortestTest) {
                prepared.kind = PreparedTest::Kind::TooShort;
                return prepared;
            }
            prepared.marking = markTest(std::move(test), sources_, input_.resultFormat, trap);
            prepared.kind = PreparedTest::Kind::Marked;
            trap.run("stage marked test", [&] {
                prepared.markedTest = documents::stageFile(toPath(files_[index].markedTest),
                                                           prepared.marking->markedTest.rtf());
            });
            prepared.marking->markedTest = Document(); // written; keep only the marks
        } catch (const SessionEnded& ended) {
            prepared.failure = ended;
        } catch (...) {
            // A worker has no step left to skip to: a failure of its own ends the session
            // as an access failure would.
            prepared.failure = SessionEnded{FailureKind::Access};
        }
        return prepared;
    }

    // Writes one group of prepared tests, in list order: the marked tests made durable and
    // put in place, then the result lines, the log lines and the events. A failure that
    // ends the session ends it at its test; the tests after it write nothing.
    void writeGroup(std::size_t begin, std::vector<PreparedTest>& group) {
        std::optional<SessionEnded> failure;
        std::size_t failedAt = group.size();
        std::vector<std::optional<documents::StagedFile>> staged(group.size());
        for (std::size_t k = 0; k < group.size(); ++k) {
            if (group[k].failure && !failure) {
                failure = group[k].failure;
                failedAt = k;
                writeTarget_ =
                    group[k].marking ? files_[begin + k].markedTest : files_[begin + k].copy;
            }
            staged[k] = std::move(group[k].markedTest);
        }
        // The result lines that follow are appended only once their marked tests are durable.
        commitInOrder(staged, failure, failedAt, true);

        std::vector<TestOutcome> outcomes;
        for (std::size_t k = 0; k < failedAt; ++k) {
            outcomes.push_back(outcomeOf(begin + k, group[k], staged[k].has_value()));
        }
        appendResults(outcomes, failure, failedAt);

        for (std::size_t k = 0; k < failedAt; ++k) {
            const std::size_t index = begin + k;
            state_.currentFilePath = files_[index].copy;
            title_ = state_.currentFilePath;
            observer_.titleChanged(title_);
            const PreparedTest::Kind kind = group[k].kind;
            observer_.logLine(printable(input_.entries[index]) +
                              (kind == PreparedTest::Kind::Marked
                                   ? group[k].marking->statusText
                                   : std::u16string(kStatusDots) + outcomes[k].status));
            ++(kind == PreparedTest::Kind::Marked    ? summary_.marked
               : kind == PreparedTest::Kind::LeftOut ? summary_.leftOut
                                                     : summary_.rejected);
            if (kind == PreparedTest::Kind::Marked && group[k].marking->source != nullptr) {
                lastSource_ = group[k].marking->source;
            }
            observer_.testFinished(outcomes[k]);
            observer_.progress(index + 1, input_.entries.size());
            observer_.letEventsRun();
        }
        if (failure) {
            inProgress_ = begin + failedAt;
            state_.currentFilePath = files_[begin + failedAt].copy;
            title_ = state_.currentFilePath;
            observer_.titleChanged(title_);
            throw *failure;
        }
    }

    // What became of a test: its status, marks, marked test, and the result line it is to
    // get (a failure line for a test too short or too long; none while a write failure
    // stands, nor for a test the check left out).
    TestOutcome outcomeOf(std::size_t index, PreparedTest& prepared, bool written) const {
        const std::u16string& entry = input_.entries[index];
        switch (prepared.kind) {
        case PreparedTest::Kind::LeftOut:
            return {entry, u"not marked: " + *leftOut_[index], std::nullopt, {}, std::nullopt};
        case PreparedTest::Kind::TooShort:
            return {entry, u"too short or empty", std::nullopt, {}, failureLine(printable(entry))};
        case PreparedTest::Kind::TooLong:
            return {entry, u"too long or corrupt", std::nullopt, {}, failureLine(printable(entry))};
        case PreparedTest::Kind::Marked:
        case PreparedTest::Kind::Failed:
            break;
        }
        MarkingResult& result = *prepared.marking;
        const std::u16string& target = files_[index].markedTest;
        std::optional<std::u16string> line;
        if (!state_.writeFailure) {
            line = printable(resultLine(state_.destPath, target, result.marks.finalResultText));
        }
        const std::u16string& status = result.statusText;
        return {entry, status.substr(std::min(kStatusDots.size(), status.size())),
                std::move(result.marks), written ? target : std::u16string(), line};
    }

    // Appends a group's result lines, then their rows of the class's results table, each
    // file in one whole append. A failed append is the failure of the group's first test
    // with a line: neither that test nor the ones after it are reported.
    void appendResults(std::vector<TestOutcome>& outcomes, std::optional<SessionEnded>& failure,
                       std::size_t& failedAt) {
        std::vector<std::u16string> lines;
        std::vector<ResultRow> rows;
        std::optional<std::size_t> first;
        const std::u16string markedAt = markedAtText(std::chrono::system_clock::now());
        for (std::size_t k = 0; k < outcomes.size(); ++k) {
            if (auto row = resultRowOf(outcomes[k], markedAt)) {
                first = first.value_or(k);
                lines.push_back(*outcomes[k].resultLine);
                rows.push_back(std::move(*row));
            }
        }
        if (!first) {
            return;
        }
        for (const auto& [target, write] :
             {std::pair<std::u16string_view, std::function<void()>>{
                  kResultFileName, [&] { appendResultLines(state_.destPath, lines); }},
              {kResultsCsvName, [&] { appendResultRows(state_.destPath, rows); }}}) {
            writeTarget_ = joinPath(state_.destPath, target);
            if (auto ended = trapped(write)) {
                failure = ended;
                failedAt = *first;
                outcomes.resize(*first);
                return;
            }
            linesAppended_ = true;
        }
    }

    // Staged files of tests that will never be written.
    static void discardAll(const std::vector<PreparedTest>& left) {
        for (const PreparedTest& prepared : left) {
            if (prepared.markedTest) {
                documents::discardStagedFile(*prepared.markedTest);
            }
        }
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
    bool linesAppended_ = false;
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
