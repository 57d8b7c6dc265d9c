// Whole marking sessions over real test files, as an observer sees them, also on machines that
// misbehave: symbolic links, pipes, full disks, huge files, hostile names.
#include "engine/MarkingSession.h"
#include "SessionTestSupport.h"

#include "documents/Document.h"
#include "engine/SourceDocuments.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <deque>
#include <functional>
#include <memory>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace tikmeter::engine::testing {
namespace {

// The CR LF lines of a file, CR LF removed; a last line without one is marked.
std::vector<std::string> readLines(const fs::path& path) {
    std::vector<std::string> lines;
    std::string content = readBytes(path);
    for (std::size_t at; (at = content.find("\r\n")) != std::string::npos; content.erase(0, at + 2))
        lines.push_back(content.substr(0, at));
    if (!content.empty())
        lines.push_back(content + "<no CR LF>");
    return lines;
}

// Records a session's events and answers the folder question from a script (the default
// answer, like Enter, when the script is empty).
class RecordingObserver : public SessionObserver {
public:
    void showMessage(MessageKind, const std::u16string& text,
                     const std::u16string& title) override {
        messages.push_back(documents::toUtf8(title) + ": " + documents::toUtf8(text));
    }
    std::optional<std::u16string> askFolderName(const FolderQuestion& question) override {
        questions.push_back(question);
        std::optional<std::u16string> answer = question.defaultAnswer;
        if (!answers.empty()) {
            answer = answers.front();
            answers.pop_front();
        }
        return answer;
    }
    bool askYesNo(const std::u16string& text, const std::u16string& title) override {
        showMessage({}, text, title);
        return markTheOthers;
    }
    void logStarted() override { log.clear(); }
    void logLine(const std::u16string& line) override { log.push_back(documents::toUtf8(line)); }
    void destinationNamed(const std::u16string& name) override { destinationName = name; }
    void progress(std::size_t done, std::size_t total) override { progressShown = {done, total}; }
    void testFinished(const TestOutcome& outcome) override { outcomes.push_back(outcome); }
    bool stopRequested() override { return outcomes.size() >= stopAfter; }

    std::vector<std::string> messages; // "Title: text"
    std::vector<FolderQuestion> questions;
    std::deque<std::optional<std::u16string>> answers;
    std::vector<std::string> log;
    std::vector<TestOutcome> outcomes;
    std::u16string destinationName;
    std::pair<std::size_t, std::size_t> progressShown;
    std::size_t stopAfter = SIZE_MAX; // the window closes after this many entries
    bool markTheOthers = true;        // the answer to the check's question
};

// Makes a folder refuse new files, also for the superuser (an immutable folder when running
// as root, permissions otherwise) until the handle ends; null when the superuser cannot.
std::shared_ptr<void> lockFolder(const fs::path& folder) {
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    const std::string quoted = " '" + folder.string() + "' 2>/dev/null";
    const bool immutable = ::geteuid() == 0 && std::system(("chattr +i" + quoted).c_str()) == 0;
    std::shared_ptr<void> unlock(new fs::path(folder), [=](fs::path* locked) {
        if (immutable && std::system(("chattr -i" + quoted).c_str()) != 0) {
            ADD_FAILURE() << "cannot unlock " << *locked;
        }
        std::error_code ec;
        fs::permissions(*locked, fs::perms::owner_all, ec);
        delete locked;
    });
    return immutable || ::geteuid() != 0 ? unlock : nullptr;
}

// Mounts a read-only view of `source` (a write-protected medium), or with `type` a file
// system of that type with `options`, at `mountPoint` until the handle ends; null when this
// machine cannot (mounts need the superuser).
std::shared_ptr<void> mountFor(const fs::path& source, const fs::path& mountPoint,
                               const char* type = nullptr, const char* options = nullptr) {
    fs::create_directories(mountPoint);
    if (::geteuid() != 0 ||
        ::mount(source.c_str(), mountPoint.c_str(), type, type ? 0 : MS_BIND, options) != 0) {
        return nullptr;
    }
    std::shared_ptr<void> unmount(new fs::path(mountPoint), [](fs::path* at) {
        ::umount(at->c_str());
        delete at;
    });
    const unsigned long readOnly = MS_BIND | MS_REMOUNT | MS_RDONLY;
    if (!type && ::mount(nullptr, mountPoint.c_str(), nullptr, readOnly, nullptr) != 0) {
        return nullptr;
    }
    return unmount;
}

// Both sources of the test data picked into `programFolder`, Afrikaans first, as the
// teacher picks them; the input lists `tests`.
SessionInput inputFor(const fs::path& programFolder, const std::vector<fs::path>& tests) {
    ProgramState state;
    SessionInput input;
    input.programFolder = u16(programFolder);
    const auto source = [&](const char* name) {
        return openSourceDocument(state, input.programFolder, u16(dataPath(name)));
    };
    input.afrikaansSource = source("sources/af1-libreoffice.rtf").shownPath;
    OpenedSource english = source("sources/en1-libreoffice.rtf");
    input.englishSource = english.shownPath;
    input.lastSource = std::move(english.document);
    for (const fs::path& test : tests) {
        input.entries.push_back(u16(test));
    }
    return input;
}

// A program folder, a class folder outside it, and sessions run in them.
class SessionTest : public ::testing::Test {
public:
    // Copies one test data file into classes/<className> as `name`.
    fs::path classTest(const std::string& name, const std::string& data = "class-a/a01.rtf",
                       const std::string& className = "c") {
        fs::create_directories(classes / className);
        fs::copy_file(dataPath(data), classes / className / name,
                      fs::copy_options::overwrite_existing);
        return classes / className / name;
    }
    SessionSummary run(const std::vector<fs::path>& tests) {
        return run(inputFor(program.path(), tests));
    }
    SessionSummary run(SessionInput input) {
        return runMarkingSession(std::move(input), state, observer);
    }
    fs::path dest(const std::string& name) const { return program / name; }

    TempFolder program;
    TempFolder classes;
    ProgramState state;
    RecordingObserver observer;
    std::shared_ptr<void> lock; // a lock or mount, ended before the folders are removed
};

// Marked tests, tests too short and too long, at each length limit, in one session: the
// log, the result lines, the marked tests and the events, in list order.
TEST_F(SessionTest, MarksRejectsAndLogsEveryTestInOrder) {
    // Each row: the test, its status and its final result (none when not marked).
    const std::vector<std::array<std::string, 3>> rows = {
        {"edge/e49.rtf", "too short or empty", ""},
        {"class-a/a01.rtf", "Successful", " 15"},
        {"edge/e50.rtf", "Successful", " 0"},
        {"edge/e5000.rtf", "Result may not be reliable", " 45"},
        {"edge/e5001.rtf", "too long or corrupt", ""},
        {"edge/empty.rtf", "too short or empty", ""}};
    std::vector<fs::path> tests;
    for (const auto& row : rows) {
        tests.push_back(classTest(fs::path(row[0]).filename().string(), row[0], "Class A"));
    }
    const SessionSummary summary = run(tests);
    EXPECT_EQ(summary.end, SessionEnd::Completed);
    EXPECT_EQ(summary.marked, 3u);
    EXPECT_EQ(summary.rejected, 3u);

    const fs::path destFolder = dest("Class A");
    std::vector<std::string> log = {"               Marking speed tests in Class A", ""};
    std::vector<std::string> results;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto& [file, status, result] = rows[i];
        const bool marked = !result.empty();
        log.push_back(tests[i].string() + "......." + status);
        const fs::path rug = destFolder / tests[i].filename().replace_extension(".rug");
        EXPECT_EQ(fs::exists(rug), marked) << rug;
        results.push_back(marked
                              ? (destFolder / rug.stem()).string() + "   " + result + " wpm"
                              : fs::path(tests[i]).replace_extension(".rug").string() + "  0  wpm");
        EXPECT_EQ(observer.outcomes.at(i).status, u16(status));
        EXPECT_EQ(observer.outcomes.at(i).marks.has_value(), marked);
    }
    EXPECT_EQ(observer.log, log);
    EXPECT_EQ(readLines(destFolder / "Resultaat.res"), results);
    EXPECT_EQ(observer.destinationName, u"Class A");
    EXPECT_EQ(observer.progressShown, std::pair(rows.size(), rows.size()));
}

// The destination folder exists: Enter reuses it (marking twice appends), another name
// marks there.
TEST_F(SessionTest, ExistingFolderQuestion) {
    const std::vector<fs::path> tests = {classTest("a01.rtf", "class-a/a01.rtf", "twice"),
                                         classTest("a02.rtf", "class-a/a02.rtf", "twice")};
    run(tests);
    EXPECT_TRUE(observer.questions.empty());
    run(tests);
    ASSERT_EQ(observer.questions.size(), 1u);
    EXPECT_EQ(observer.questions[0].defaultAnswer, u"twice");
    const auto results = readLines(dest("twice") / "Resultaat.res");
    ASSERT_EQ(results.size(), 4u);
    EXPECT_EQ(results[0], results[2]);
    // Cancel, or an empty answer, ends the session with nothing written.
    for (const auto& cancel : {std::optional<std::u16string>(), std::optional(std::u16string())}) {
        observer.answers = {cancel};
        EXPECT_EQ(run(tests).end, SessionEnd::Cancelled);
        EXPECT_EQ(readLines(dest("twice") / "Resultaat.res"), results);
    }

    // A failed write keeps the earlier marked test and result file whole.
    const std::string rug = readBytes(dest("twice/a01.rug"));
    if ((lock = lockFolder(dest("twice")))) {
        EXPECT_EQ(run(tests).end, SessionEnd::Trapped);
        EXPECT_TRUE(state.writeFailure);
        lock.reset();
    }
    EXPECT_EQ(readBytes(dest("twice/a01.rug")), rug);
    EXPECT_EQ(readLines(dest("twice") / "Resultaat.res"), results);
    EXPECT_EQ(std::distance(fs::directory_iterator(dest("twice")), fs::directory_iterator()), 6);

    // An answer with separators names a folder inside an existing one; the write failure
    // of the session before does not silence this one.
    fs::create_directory(dest("Second try"));
    observer.answers = {u"Second try/inner"};
    EXPECT_EQ(run(tests).end, SessionEnd::Completed);
    EXPECT_EQ(readLines(dest("Second try/inner/Resultaat.res")).size(), 2u);
    EXPECT_EQ(observer.destinationName, u"inner");
}

// Closing the window stops the session once the tests in hand (the first group) are
// written: their marked tests and result lines, nothing of the later ones, no temporaries.
TEST_F(SessionTest, ClosedWindowStopsAfterTheTestsInHand) {
    std::vector<fs::path> tests;
    for (int i = 0; i < 70; ++i) {
        const std::string data = "class-a/a0" + std::to_string(1 + i % 9) + ".rtf";
        tests.push_back(classTest("t" + std::to_string(100 + i) + ".rtf", data, "closing"));
    }
    observer.stopAfter = 1;
    EXPECT_EQ(run(tests).end, SessionEnd::Stopped);
    const std::size_t written = readLines(dest("closing/Resultaat.res")).size();
    EXPECT_TRUE(written > 0 && written < tests.size() && observer.outcomes.size() == written);
    for (std::size_t i = 0; i < tests.size(); ++i) {
        const fs::path rug = dest("closing") / tests[i].filename().replace_extension(".rug");
        EXPECT_EQ(fs::exists(rug), i < written) << rug;
    }
    for (const auto& file : fs::directory_iterator(dest("closing"))) {
        EXPECT_NE(file.path().extension(), ".tmp") << file.path();
    }
}

// Failures the error trap ends a session with: the message, the entry reported, and the
// write-failure flag (set by all but an overflow).
struct TrapCase {
    std::function<SessionInput(SessionTest&)> setUp; // no entries: cannot be set up here
    std::string message;
    bool writeFailure;
};

class SessionTraps : public SessionTest, public ::testing::WithParamInterface<TrapCase> {};

TEST_P(SessionTraps, EndTheSessionWithTheirMessage) {
    SessionInput input = GetParam().setUp(*this);
    if (input.entries.empty()) {
        GTEST_SKIP() << "this machine cannot set the failure up (a lock or mount needs root)";
    }
    const std::u16string failing = input.entries.back();
    EXPECT_EQ(run(std::move(input)).end, SessionEnd::Trapped);
    std::string message = GetParam().message;
    if (const auto at = message.find("<P>"); at != std::string::npos) {
        message.replace(at, 3, program.path().string());
    }
    EXPECT_EQ(observer.messages, std::vector<std::string>{message});
    EXPECT_EQ(state.writeFailure, GetParam().writeFailure);
    // The log's last line names the test the session stopped at.
    ASSERT_FALSE(observer.log.empty());
    EXPECT_EQ(observer.log.back(), documents::toUtf8(failing) + "......." + message.substr(7));
}

SessionInput oneTest(SessionTest& fixture) {
    return inputFor(fixture.program.path(), {fixture.classTest("a01.rtf")});
}

INSTANTIATE_TEST_SUITE_P(
    Failures, SessionTraps,
    ::testing::Values(
        // The copy of a readable test cannot be written: a folder has its name.
        TrapCase{[](SessionTest& fixture) {
                     fs::create_directories(fixture.dest("c") / "a01.rtf");
                     fixture.observer.answers = {u"c"};
                     return oneTest(fixture);
                 },
                 "Error: Edu Tikmeter does not have access to certain documents. Maybe Eng/Afr "
                 "source document is empty, or speed test is not a valid file.",
                 true},
        // A source so long that the test's end lies past position 32767: the compared
        // length no longer fits its 16-bit counter. The message names the test's copy.
        TrapCase{
            [](SessionTest& fixture) {
                SessionInput input = oneTest(fixture);
                documents::Document typed, longSource;
                typed.loadFile(dataPath("class-a/a01.rtf"));
                longSource.setText(std::u16string(33000, u'x') + typed.text());
                longSource.saveFile(fixture.program / "long.rtf");
                input.englishSource = u16(fixture.program / "long.rtf");
                return input;
            },
            "Error: Overflow error. <P>/c/a01.rtf may be too large. This session will terminate.",
            false},
        TrapCase{[](SessionTest& fixture) {
                     SessionInput input = oneTest(fixture);
                     fs::create_directory(fixture.dest("c"));
                     fixture.lock = lockFolder(fixture.dest("c"));
                     return fixture.lock ? input : SessionInput{};
                 },
                 "Error: Permission denied. Try another location.", true},
        // A write-protected medium.
        TrapCase{[](SessionTest& fixture) {
                     fixture.classTest("a01.rtf");
                     fixture.lock = mountFor(fixture.classes.path(), fixture.dest("ro"));
                     SessionInput input =
                         inputFor(fixture.program.path(), {fixture.dest("ro/c/a01.rtf")});
                     input.programFolder = u16(fixture.dest("ro"));
                     return fixture.lock ? input : SessionInput{};
                 },
                 "Error: Edu Tikmeter does not have access to write-protected disk. Please save "
                 "speed tests on an accessible disk.",
                 true},
        // The copy still fits on the disk, the marked test does not.
        TrapCase{
            [](SessionTest& fixture) {
                const fs::path disk = fixture.dest("disk");
                fixture.lock = mountFor("tmpfs", disk, "tmpfs", "size=128k");
                if (!fixture.lock) {
                    return SessionInput{};
                }
                SessionInput input = inputFor(disk, {fixture.classTest("a01.rtf")});
                struct statvfs free {};
                ::statvfs(disk.c_str(), &free);
                writeBytes(disk / "filler", std::string((free.f_bavail - 1) * free.f_frsize, 'x'));
                return input;
            },
            "Error: The disk is full. Edu Tikmeter could not write <P>/disk/c/a01.rug", true}));

// The check before marking: files that cannot be read are listed in one question; Yes marks
// the others and logs each one left out, No writes nothing.
TEST_F(SessionTest, CheckLeavesOutWhatCannotBeRead) {
    std::vector<fs::path> tests = {
        classTest("a01.rtf"), classTest("bin.rtf", "bad/random-binary.rtf"),
        classTest("a03.rtf", "class-a/a03.rtf"), classTest("a04.rtf", "class-a/a04.rtf")};
    fs::remove(tests[2]);
    ::mkfifo((classes / "c/pipe.rtf").c_str(), 0600);
    tests.push_back(classes / "c/pipe.rtf");
    SessionInput input = inputFor(program.path(), tests);
    input.afrikaansSource = u16(program / "gone.rtf"); // a04 is Afrikaans
    observer.markTheOthers = false;
    EXPECT_EQ(run(input).end, SessionEnd::Declined);
    EXPECT_FALSE(fs::exists(dest("c")));

    observer.markTheOthers = true;
    observer.messages.clear();
    const SessionSummary summary = run(input);
    EXPECT_EQ(summary.end, SessionEnd::Completed);
    EXPECT_EQ(summary.leftOut, 4u);
    const std::vector<std::string> reasons = {"not a document Edu Tikmeter can read", "not found",
                                              "its Afrikaans source document cannot be read",
                                              "not a file"};
    std::string question = "Check: Some speed tests cannot be read:\r";
    for (std::size_t i = 1; i < tests.size(); ++i) {
        question += tests[i].string() + " \u2014 " + reasons[i - 1] + "\r";
        EXPECT_EQ(observer.log[i + 2], tests[i].string() + ".......not marked: " + reasons[i - 1]);
    }
    question += (program / "gone.rtf").string() + " \u2014 not found\rMark the others?";
    EXPECT_EQ(observer.messages.at(0), question);
    EXPECT_EQ(readLines(dest("c/Resultaat.res")).size(), 1u);
}

using Hardening = SessionTest;

// Originals: a student's file already in the destination, reached through a symbolic link
// to the program folder, is recognised as there and never copied over; the test of the same
// name gets a numbered copy.
TEST_F(Hardening, OriginalInTheDestinationIsKnownThroughALink) {
    fs::create_directories(program / "real/c");
    fs::create_directory_symlink(program / "real", program / "link");
    fs::copy_file(dataPath("class-a/a05.rtf"), program / "real/c/a01.rtf");
    const std::string original = readBytes(program / "real/c/a01.rtf");
    SessionInput input =
        inputFor(program / "link", {classTest("a01.rtf"), program / "real/c/a01.rtf"});
    EXPECT_EQ(run(std::move(input)).end, SessionEnd::Completed);
    EXPECT_EQ(readBytes(program / "real/c/a01.rtf"), original);
    EXPECT_EQ(readBytes(program / "real/c/a01 (2).rtf"), readBytes(classes / "c/a01.rtf"));
    EXPECT_TRUE(readLines(program / "real/c/Resultaat.res")
                    .at(0)
                    .starts_with((program / "link/c/a01 (2)   ").string()));
}

// Results and originals: a symbolic link planted under a copy's name or as the result file
// is replaced or refused, never followed; a pipe as the result file does not hang.
// Temporary files of a killed session are removed at the next start.
TEST_F(Hardening, PlantedLinksAndPipesAreNeverFollowed) {
    TempFolder outside;
    writeBytes(outside / "victim", "keep");
    fs::create_directories(program / "c");
    fs::create_symlink(outside / "victim", program / "c/a01.rtf");
    writeBytes(program / "c/.tikmeter-999999999-1.tmp", "half");
    observer.answers = {u"c"};
    EXPECT_EQ(run({classTest("a01.rtf")}).end, SessionEnd::Completed);
    EXPECT_EQ(readBytes(outside / "victim"), "keep");
    EXPECT_FALSE(fs::is_symlink(program / "c/a01.rtf"));
    EXPECT_FALSE(fs::exists(program / "c/.tikmeter-999999999-1.tmp"));

    for (const bool pipe : {false, true}) {
        fs::remove(program / "c/Resultaat.res");
        pipe ? static_cast<void>(::mkfifo((program / "c/Resultaat.res").c_str(), 0600))
             : fs::create_symlink(outside / "victim", program / "c/Resultaat.res");
        observer.answers = {u"c"};
        EXPECT_EQ(run({classTest("a01.rtf")}).end, SessionEnd::Trapped);
        EXPECT_EQ(readBytes(outside / "victim"), "keep");
    }
}

// Paths: an answer to the folder question must name a folder inside the program folder.
TEST_F(Hardening, AnswersThatLeaveTheProgramFolderAreRefused) {
    fs::create_directories(program / "Class A");
    TempFolder outside;
    fs::create_directory_symlink(outside.path(), program / "out");
    const std::u16string home = u16(program.path());
    for (const std::u16string answer :
         {u"..", u"../escaped", u".", u"a/../..", u"Class A/.", u"/tmp/abs", u"out", u"out/x"}) {
        EXPECT_FALSE(destinationAnswerProblem(home, answer).empty()) << documents::toUtf8(answer);
    }
}

// Inputs: a test over the size limit is logged too long and never leaves its place to the
// test before it; a name that is not UTF-8 is marked all the same; a name cannot forge a
// result line or a log line (control characters become question marks).
TEST_F(Hardening, HugeFilesAndForeignNames) {
    const fs::path huge = classes / "c" / "huge.rtf";
    const fs::path latin = classTest("latin1-\xe9.rtf", "class-a/a02.rtf");
    const fs::path forged = classTest("jan\r\nFAKE STUDENT   100 wpm\x7f.rtf");
    writeBytes(huge, "x");
    fs::resize_file(huge, (std::uintmax_t{64} << 20) + 1);
    const SessionSummary summary = run({classTest("a01.rtf"), huge, latin, forged});
    EXPECT_EQ(summary.end, SessionEnd::Completed);
    EXPECT_EQ(observer.log.at(3), huge.string() + ".......too long or corrupt");
    EXPECT_EQ(observer.log.at(5),
              (classes / "c").string() + "/jan??FAKE STUDENT   100 wpm?.rtf.......Successful");
    const auto lines = readLines(program / "c/Resultaat.res");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1], (classes / "c/huge.rug").string() + "  0  wpm");
    EXPECT_TRUE(lines[3].starts_with((program / "c/jan??FAKE STUDENT   100 wpm?").string()));
    EXPECT_TRUE(fs::exists(program / "c/latin1-\xe9.rug"));
}

} // namespace
} // namespace tikmeter::engine::testing
