#pragma once

#include "ScriptedDialogs.h"
#include "app/MainWindow.h"

#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace tikmeter::app::testing {

// A main window over a fresh program folder (EDU_TIKMETER_HOME = a temporary folder) with
// scripted dialogs.
class WindowFixture {
public:
    explicit WindowFixture(const QStringList& startArguments = {});
    ~WindowFixture();

    MainWindow& window() { return *window_; }
    ScriptedDialogs& dialogs() { return dialogs_; }
    QString programFolder() const { return home_.path(); }

    // A child of the window by type and role name; a missing one ends the test run.
    template <typename T> T find(const QString& name = {}) const {
        T child = window_->findChild<T>(name);
        if (child == nullptr) {
            qFatal("no child named %s", qPrintable(name));
        }
        return child;
    }

    // Puts test paths into the test list as the browser's drops do.
    void fillTestList(const QStringList& paths);
    // Picks a source document through the row's button and the scripted open dialog.
    void pickSource(engine::Language language, const QString& path);
    // Presses the mark button and waits until the session it starts is over.
    void markAndWait();
    // Both sources of the test data, then markAndWait().
    void pickSourcesAndMark();
    // The viewer's text, one entry per paragraph.
    QStringList viewerLines() const;

private:
    QTemporaryDir home_;
    ScriptedDialogs dialogs_;
    std::unique_ptr<MainWindow> window_;
};

// The shared test corpus.
QString testDataPath(const QString& relative);

} // namespace tikmeter::app::testing
