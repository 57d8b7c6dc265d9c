#pragma once

#include "TempFolder.h"
#include "documents/Utf8.h"
#include "engine/MarkingSession.h"

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace tikmeter::engine::testing {

using tikmeter::testing::readBytes;
using tikmeter::testing::TempFolder;
using tikmeter::testing::writeBytes;
namespace fs = std::filesystem;

// Records every event of a session and answers the folder question from a script (the
// default answer, like Enter, when the script is empty).
class RecordingObserver : public SessionObserver {
public:
    void showMessage(MessageKind, const std::u16string& text,
                     const std::u16string& title) override {
        messages.push_back(documents::toUtf8(title) + ": " + documents::toUtf8(text));
    }
    std::optional<std::u16string> askFolderName(const FolderQuestion& question) override {
        questions.push_back(question);
        if (answers.empty()) {
            return question.defaultAnswer;
        }
        std::optional<std::u16string> answer = answers.front();
        answers.pop_front();
        return answer;
    }
    bool askYesNo(const std::u16string& text, const std::u16string& title) override {
        messages.push_back(documents::toUtf8(title) + ": " + documents::toUtf8(text));
        return markTheOthers;
    }
    void logStarted() override { log.clear(); }
    void logLine(const std::u16string& line) override { log.push_back(documents::toUtf8(line)); }
    void destinationNamed(const std::u16string& name) override { destinationName = name; }
    void destinationShown(const std::u16string& shown) override { destinationPath = shown; }
    void titleChanged(const std::u16string& text) override { shownTitle = text; }
    void progress(std::size_t done, std::size_t total) override {
        progressDone = done;
        progressTotal = total;
    }
    void testFinished(const TestOutcome& outcome) override { outcomes.push_back(outcome); }
    bool stopRequested() override { return outcomes.size() >= stopAfter; }

    std::vector<std::string> messages; // "Title: text"
    std::vector<FolderQuestion> questions;
    std::deque<std::optional<std::u16string>> answers;
    std::vector<std::string> log;
    std::vector<TestOutcome> outcomes;
    std::u16string destinationName, destinationPath, shownTitle;
    std::size_t progressDone = 0, progressTotal = 0;
    std::size_t stopAfter = SIZE_MAX; // the window closes after this many entries
    bool markTheOthers = true;        // the answer to the check's question
};

// Makes a folder refuse new files, also for the superuser (an immutable folder when
// running as root, permissions otherwise) until the returned handle ends; null when the
// folder cannot be locked here (the superuser without immutable folders).
std::shared_ptr<void> lockFolder(const fs::path& folder);

// Mounts a read-only view of `source` (a write-protected medium), or with `type` a file
// system of that type ("tmpfs") with `options`, at `mountPoint`; null when this machine
// cannot (mounts need the superuser). The mount ends with the returned handle.
std::shared_ptr<void> mountFor(const fs::path& source, const fs::path& mountPoint,
                               const char* type = nullptr, const char* options = nullptr);

fs::path dataPath(const std::string& relative);
std::vector<std::string> readLines(const fs::path& path); // CR LF lines, CR LF removed
std::u16string u16(const fs::path& path);

// Both sources of the test data picked into `programFolder`, Afrikaans first, as the
// teacher picks them; the input lists `tests`.
SessionInput inputFor(const fs::path& programFolder, const std::vector<fs::path>& tests);

// A program folder, a class folder outside it, and sessions run in them.
class SessionTest : public ::testing::Test {
public:
    // Copies test data files into classes/<className>; their paths there.
    std::vector<fs::path> copyClass(const std::string& className,
                                    const std::vector<std::string>& files);
    // Copies one test data file into classes/c as `name`.
    fs::path classTest(const std::string& name, const std::string& data = "class-a/a01.rtf");
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

} // namespace tikmeter::engine::testing
