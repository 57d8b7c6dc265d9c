#pragma once

#include "documents/Utf8.h"
#include "engine/HeadlessSessionWindow.h"

#include <cstdint>
#include <deque>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace tikmeter::engine::testing {

namespace fs = std::filesystem;

// A window that records every message and answers the folder question from a script
// (the default answer, like Enter, when the script is empty).
class ScriptedWindow : public HeadlessSessionWindow {
public:
    struct Message {
        std::u16string text;
        std::u16string title;
    };
    struct Question {
        std::u16string prompt;
        std::u16string title;
        std::u16string defaultAnswer;
    };

    using HeadlessSessionWindow::HeadlessSessionWindow;

    void messageBox(const std::u16string& text, const std::u16string& title) override {
        messages.push_back({text, title});
    }
    std::u16string inputBox(const std::u16string& prompt, const std::u16string& title,
                            const std::u16string& defaultAnswer) override {
        questions.push_back({prompt, title, defaultAnswer});
        if (answers.empty()) {
            return defaultAnswer;
        }
        std::u16string answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void testFinished(const TestOutcome& outcome) override { outcomes.push_back(outcome); }
    bool stopRequested() const override { return outcomes.size() >= stopAfter; }

    std::vector<Message> messages;
    std::vector<Question> questions;
    std::deque<std::u16string> answers;
    std::vector<TestOutcome> outcomes; // the marking pointers are only valid in the callback
    std::size_t stopAfter = SIZE_MAX;  // the window closes after this many entries
};

// A fresh folder below the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const fs::path& path() const { return path_; }
    std::u16string text() const { return documents::fromPath(path_); }
    fs::path operator/(const std::string& name) const { return path_ / name; }

private:
    fs::path path_;
};

// Makes a folder refuse new files, also for the superuser (an immutable folder when
// running as root, permissions otherwise); the guard lifts it again.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(fs::path folder);
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;
    // False when the folder could not be locked for this user (the superuser on a file
    // system without immutable folders).
    bool effective() const { return immutable_ || ::geteuid() != 0; }

private:
    fs::path folder_;
    bool immutable_ = false;
};

// A read-only view of a folder on a read-only mount (a write-protected medium). Needs the
// superuser; available() tells whether the mount could be made.
class WriteProtectedMount {
public:
    explicit WriteProtectedMount(const fs::path& source, fs::path mountPoint);
    ~WriteProtectedMount();
    WriteProtectedMount(const WriteProtectedMount&) = delete;
    WriteProtectedMount& operator=(const WriteProtectedMount&) = delete;
    bool available() const { return mounted_; }

private:
    fs::path mountPoint_;
    bool mounted_ = false;
};

fs::path dataPath(const std::string& relative);
std::string readBytes(const fs::path& path);
void writeBytes(const fs::path& path, const std::string& bytes);
std::vector<std::string> readLines(const fs::path& path); // CR LF lines, CR LF removed
std::u16string u16(const std::string& utf8);
std::string u8(const std::u16string& text);

// A window over `programFolder` with both sources picked from the test data, the way the
// teacher picks them (Afrikaans, then English).
void pickSources(ScriptedWindow& window);
// Both sources used where they lie in the test data, without copies.
void useSourcesInPlace(ScriptedWindow& window);

} // namespace tikmeter::engine::testing
