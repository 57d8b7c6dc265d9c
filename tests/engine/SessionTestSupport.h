#pragma once

#include "TempFolder.h"
#include "documents/Utf8.h"
#include "engine/MarkingSession.h"
#include "engine/SourceDocuments.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <memory>
#include <string>
#include <sys/mount.h>
#include <unistd.h>
#include <vector>

namespace tikmeter::engine::testing {

using tikmeter::testing::readBytes;
using tikmeter::testing::TempFolder;
using tikmeter::testing::writeBytes;
namespace fs = std::filesystem;

inline std::u16string u16(const fs::path& path) {
    return documents::fromPath(path);
}

inline fs::path dataPath(const std::string& relative) {
    return fs::path(TIKMETER_TEST_DATA_DIR) / relative;
}

// The CR LF lines of a file, CR LF removed; a last line without one is marked.
inline std::vector<std::string> readLines(const fs::path& path) {
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
    void destinationShown(const std::u16string& shown) override { destinationPath = shown; }
    void progress(std::size_t done, std::size_t total) override { progressShown = {done, total}; }
    void testFinished(const TestOutcome& outcome) override { outcomes.push_back(outcome); }
    bool stopRequested() override { return outcomes.size() >= stopAfter; }

    std::vector<std::string> messages; // "Title: text"
    std::vector<FolderQuestion> questions;
    std::deque<std::optional<std::u16string>> answers;
    std::vector<std::string> log;
    std::vector<TestOutcome> outcomes;
    std::u16string destinationName, destinationPath;
    std::pair<std::size_t, std::size_t> progressShown;
    std::size_t stopAfter = SIZE_MAX; // the window closes after this many entries
    bool markTheOthers = true;        // the answer to the check's question
};

// Makes a folder refuse new files, also for the superuser (an immutable folder when running
// as root, permissions otherwise) until the handle ends; null when the superuser cannot.
inline std::shared_ptr<void> lockFolder(const fs::path& folder) {
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
inline std::shared_ptr<void> mountFor(const fs::path& source, const fs::path& mountPoint,
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
inline SessionInput inputFor(const fs::path& programFolder, const std::vector<fs::path>& tests) {
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
    // Copies test data files into classes/<className>; their paths there.
    std::vector<fs::path> copyClass(const std::string& className,
                                    const std::vector<std::string>& files) {
        std::vector<fs::path> tests;
        for (const std::string& file : files) {
            tests.push_back(classTest(fs::path(file).filename().string(), file, className));
        }
        return tests;
    }
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

} // namespace tikmeter::engine::testing
