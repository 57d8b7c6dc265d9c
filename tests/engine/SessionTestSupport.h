#pragma once

#include "TempFolder.h"
#include "documents/Utf8.h"
#include "engine/MarkingSession.h"

#include <deque>
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
// running as root, permissions otherwise); the guard lifts it again.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(fs::path folder);
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;
    // False when the folder could not be locked (the superuser without immutable folders).
    bool effective() const { return immutable_ || ::geteuid() != 0; }

private:
    fs::path folder_;
    bool immutable_ = false;
};

// A read-only view of a folder on a read-only mount (a write-protected medium). Needs the
// superuser; available() tells whether the mount could be made.
class WriteProtectedMount {
public:
    WriteProtectedMount(const fs::path& source, fs::path mountPoint);
    ~WriteProtectedMount();
    WriteProtectedMount(const WriteProtectedMount&) = delete;
    WriteProtectedMount& operator=(const WriteProtectedMount&) = delete;
    bool available() const { return mounted_; }

private:
    fs::path mountPoint_;
    bool mounted_ = false;
};

fs::path dataPath(const std::string& relative);
std::vector<std::string> readLines(const fs::path& path); // CR LF lines, CR LF removed
std::u16string u16(const fs::path& path);

// Both sources of the test data picked into `programFolder`, Afrikaans first, as the
// teacher picks them; the input lists `tests`.
SessionInput inputFor(const fs::path& programFolder, const std::vector<fs::path>& tests);

} // namespace tikmeter::engine::testing
