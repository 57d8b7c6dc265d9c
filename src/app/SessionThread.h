#pragma once

#include "engine/MarkingSession.h"

#include <QPointer>

#include <atomic>
#include <functional>
#include <thread>

class QObject;

namespace tikmeter::app {

// Runs a marking session on a thread of its own, so the window never waits for it. Every
// event of the session reaches `target` on the thread of `context` (the window's), in
// order; the two questions wait there for their answer.
class SessionThread : private engine::SessionObserver {
public:
    SessionThread(QObject* context, engine::SessionObserver& target);
    ~SessionThread() override;
    SessionThread(const SessionThread&) = delete;
    SessionThread& operator=(const SessionThread&) = delete;

    // Starts a session; `finished` runs on the context's thread once it is over.
    void start(engine::SessionInput input, engine::ProgramState& state,
               std::function<void(engine::SessionSummary)> finished);
    bool running() const { return running_; }
    // Asks the session to stop after the tests in hand are written.
    void requestStop() { stop_ = true; }
    // Waits for the session to end, letting the context's events run meanwhile.
    void wait();

private:
    void showMessage(engine::MessageKind kind, const std::u16string& text,
                     const std::u16string& title) override;
    std::optional<std::u16string> askFolderName(const engine::FolderQuestion& question) override;
    bool askYesNo(const std::u16string& text, const std::u16string& title) override;
    void logShown() override;
    void logStarted() override;
    void logLine(const std::u16string& line) override;
    void destinationNamed(const std::u16string& name) override;
    void destinationShown(const std::u16string& path) override;
    void titleChanged(const std::u16string& title) override;
    void progress(std::size_t done, std::size_t total) override;
    void testFinished(const engine::TestOutcome& outcome) override;
    void sessionEnded(const engine::SessionSummary& summary) override;
    bool stopRequested() override { return stop_; }

    // Runs `call` on the context's thread, after the events posted before it.
    template <class Call> void post(Call&& call);

    QPointer<QObject> context_;
    engine::SessionObserver& target_;
    std::thread thread_;
    std::atomic<bool> stop_ = false;
    bool running_ = false; // read and written on the context's thread only
};

} // namespace tikmeter::app
