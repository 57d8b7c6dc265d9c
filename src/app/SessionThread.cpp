#include "app/SessionThread.h"

#include <QCoreApplication>
#include <QObject>
#include <QThread>

namespace tikmeter::app {

SessionThread::SessionThread(QObject* context, engine::SessionObserver& target)
    : context_(context), target_(target) {}

SessionThread::~SessionThread() {
    requestStop();
    wait();
}

template <class Call> void SessionThread::post(Call&& call) {
    QMetaObject::invokeMethod(context_, std::forward<Call>(call), Qt::QueuedConnection);
}

void SessionThread::start(engine::SessionInput input, engine::ProgramState& state,
                          std::function<void(engine::SessionSummary)> finished) {
    running_ = true;
    stop_ = false;
    thread_ = std::thread(
        [this, input = std::move(input), &state, finished = std::move(finished)]() mutable {
            engine::SessionSummary summary;
            try {
                summary = engine::runMarkingSession(std::move(input), state, *this);
            } catch (...) {
                summary.end = engine::SessionEnd::Trapped;
            }
            post([this, summary = std::move(summary), finished = std::move(finished)]() mutable {
                thread_.join();
                running_ = false;
                finished(std::move(summary));
            });
        });
}

void SessionThread::wait() {
    while (running_) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(1);
    }
}

void SessionThread::showMessage(engine::MessageKind kind, const std::u16string& text,
                                const std::u16string& title) {
    post([this, kind, text, title] { target_.showMessage(kind, text, title); });
}

std::optional<std::u16string> SessionThread::askFolderName(const engine::FolderQuestion& question) {
    std::optional<std::u16string> answer;
    if (!stop_) {
        QMetaObject::invokeMethod(
            context_, [&] { answer = target_.askFolderName(question); },
            Qt::BlockingQueuedConnection);
    }
    return answer;
}

bool SessionThread::askYesNo(const std::u16string& text, const std::u16string& title) {
    bool yes = false;
    if (!stop_) {
        QMetaObject::invokeMethod(
            context_, [&] { yes = target_.askYesNo(text, title); }, Qt::BlockingQueuedConnection);
    }
    return yes;
}

void SessionThread::logShown() {
    post([this] { target_.logShown(); });
}

void SessionThread::logStarted() {
    post([this] { target_.logStarted(); });
}

void SessionThread::logLine(const std::u16string& line) {
    post([this, line] { target_.logLine(line); });
}

void SessionThread::destinationNamed(const std::u16string& name) {
    post([this, name] { target_.destinationNamed(name); });
}

void SessionThread::destinationShown(const std::u16string& path) {
    post([this, path] { target_.destinationShown(path); });
}

void SessionThread::titleChanged(const std::u16string& title) {
    post([this, title] { target_.titleChanged(title); });
}

void SessionThread::progress(std::size_t done, std::size_t total) {
    post([this, done, total] { target_.progress(done, total); });
}

void SessionThread::testFinished(const engine::TestOutcome& outcome) {
    post([this, outcome] { target_.testFinished(outcome); });
}

void SessionThread::sessionEnded(const engine::SessionSummary& summary) {
    post([this, summary] { target_.sessionEnded(summary); });
}

} // namespace tikmeter::app
