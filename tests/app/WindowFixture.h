#pragma once

#include "ScriptedDialogs.h"
#include "app/FrmMain.h"

#include <QListWidget>
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

    FrmMain& window() { return *window_; }
    ScriptedDialogs& dialogs() { return dialogs_; }
    QString programFolder() const { return home_.path(); }

    // A named child of the window (T is a pointer type); a missing one ends the test run.
    template <typename T> T find(const QString& name) const {
        T child = window_->findChild<T>(name);
        if (child == nullptr) {
            qFatal("no child named %s", qPrintable(name));
        }
        return child;
    }

    // Puts test paths into List1 as the browser's drops do.
    void fillTestList(const QStringList& paths);
    // Picks a source document through the row's button and the scripted open dialog.
    void pickSource(engine::Language language, const QString& path);

private:
    QTemporaryDir home_;
    ScriptedDialogs dialogs_;
    std::unique_ptr<FrmMain> window_;
};

// The shared test corpus.
QString testDataPath(const QString& relative);

} // namespace tikmeter::app::testing
