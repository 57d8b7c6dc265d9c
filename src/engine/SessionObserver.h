#pragma once

#include "engine/TestOutcome.h"

#include <cstddef>
#include <optional>
#include <string>

namespace tikmeter::engine {

struct SessionSummary;

// What a message box tells: a failure, or the end of a session.
enum class MessageKind { Error, Done };

// The question the session asks when the destination folder already exists.
struct FolderQuestion {
    std::u16string prompt;
    std::u16string title;
    std::u16string defaultAnswer;
    std::u16string problem; // why the answer before was refused; empty at the first asking
};

// Whatever drives a marking session (the window, the command-line tool, a test) hears
// from it through this interface, in the order things happen. Only the message box and
// the folder question must be answered; the other events may be ignored.
class SessionObserver {
public:
    virtual ~SessionObserver() = default;

    // A modal message with an OK button.
    virtual void showMessage(MessageKind kind, const std::u16string& text,
                             const std::u16string& title) = 0;
    // The destination folder exists: the answer names the folder to use; nothing or an
    // empty answer ends the session.
    virtual std::optional<std::u16string> askFolderName(const FolderQuestion& question) = 0;
    // A question answered with Yes (true) or No.
    virtual bool askYesNo(const std::u16string& text, const std::u16string& title) = 0;

    // The log is about to be written: show it.
    virtual void logShown() {}
    // A new log starts; what the log held before is replaced.
    virtual void logStarted() {}
    // One line of the log, without its line end.
    virtual void logLine(const std::u16string& /*line*/) {}
    // The destination folder's name, and the path shown for it.
    virtual void destinationNamed(const std::u16string& /*name*/) {}
    virtual void destinationShown(const std::u16string& /*path*/) {}
    // The file the session works on, shown as the viewer's title; empty at the end.
    virtual void titleChanged(const std::u16string& /*title*/) {}
    // `done` of `total` list entries handled.
    virtual void progress(std::size_t /*done*/, std::size_t /*total*/) {}
    // One list entry is finished: marked, rejected, or stopped by a failure.
    virtual void testFinished(const TestOutcome& /*outcome*/) {}
    // The session is over, however it ended.
    virtual void sessionEnded(const SessionSummary& /*summary*/) {}

    // After each marked test: a point where the user interface may handle its events.
    virtual void letEventsRun() {}
    // True when the session is to stop after the test in hand (the window was closed).
    virtual bool stopRequested() { return false; }
};

} // namespace tikmeter::engine
