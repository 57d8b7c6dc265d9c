#pragma once

#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "browser/TestList.h"

#include <QAction>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTextEdit>
#include <QtTest>

#include <deque>

namespace tikmeter::app::testing {

// Answers the window's dialogs from queues filled by the test and records every message and
// where each file or folder dialog opened. A dialog with no scripted answer counts as
// unexpected and is answered as cancelled.
class ScriptedDialogs : public Dialogs {
public:
    void messageBox(const QString& text, const QString& title) override {
        messages.append(text);
        titles.append(title);
    }
    bool question(const QString& text, const QString& title) override {
        messageBox(text, title);
        return take(questionAnswers);
    }
    QString inputBox(const QString&, const QString&, const QString&) override {
        return take(inputAnswers);
    }
    void clearFileName() override {}
    QString openFileName(const QString&, const QString& folder, const QString&) override {
        openFolders.append(folder);
        return take(openAnswers);
    }
    QString saveFileName(const QString&) override { return take(saveAnswers); }
    QString folderName(const QString& startFolder) override {
        folderStarts.append(startFolder);
        return take(folderAnswers);
    }
    // Prints to the PDF file the answer names; an empty answer cancels.
    bool printerDialog(QPrinter& printer) override {
        const QString pdf = take(printerAnswers);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return !pdf.isEmpty();
    }

    std::deque<QString> openAnswers, saveAnswers, inputAnswers, folderAnswers, printerAnswers;
    std::deque<bool> questionAnswers;

    QStringList messages, titles, openFolders, folderStarts;
    int unexpected = 0;

private:
    template <typename T> T take(std::deque<T>& queue) {
        if (queue.empty()) {
            ++unexpected;
            return T();
        }
        T answer = std::move(queue.front());
        queue.pop_front();
        return answer;
    }
};

// The shared test corpus.
inline QString testDataPath(const QString& relative) {
    return QStringLiteral(TIKMETER_TEST_DATA_DIR) + u'/' + relative;
}

// A program's standard output; empty when it fails.
inline QString run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        return {};
    }
    // Compatibility form: pdftotext gives "fl" or "fi" in a printed path as a ligature.
    return QString::fromUtf8(process.readAllStandardOutput())
        .normalized(QString::NormalizationForm_KC);
}

// A main window over a fresh program folder (EDU_TIKMETER_HOME = a temporary folder) with
// scripted dialogs.
class WindowFixture {
public:
    explicit WindowFixture(const QStringList& startArguments = {}) {
        qputenv("EDU_TIKMETER_HOME", home_.path().toLocal8Bit());
        window_ = std::make_unique<MainWindow>(dialogs_, startArguments);
    }
    ~WindowFixture() {
        window_.reset();
        qunsetenv("EDU_TIKMETER_HOME");
    }

    MainWindow& window() { return *window_; }
    ScriptedDialogs& dialogs() { return dialogs_; }
    QString programFolder() const { return home_.path(); }
    // A child of the window by type and role name.
    template <typename T> T find(const QString& name = {}) const {
        return window_->findChild<T>(name);
    }

    // Puts test paths into the test list as the browser's drops do.
    void fillTestList(const QStringList& paths) {
        find<browser::TestList*>()->appendEntries(paths);
    }
    // Picks a source document through a row's button and the scripted open dialog.
    void pickSource(const char* button, const QString& path) {
        dialogs_.openAnswers.push_back(path);
        QTest::mouseClick(find<QPushButton*>(QLatin1String(button)), Qt::LeftButton);
    }
    // Both sources of the test data.
    void pickSources(const QString& afrikaans = testDataPath("sources/af1-libreoffice.rtf"),
                     const QString& english = testDataPath("sources/en1-libreoffice.rtf")) {
        pickSource("afrikaansSourceButton", afrikaans);
        pickSource("englishSourceButton", english);
    }
    // Presses the mark button and waits until the session it starts is over.
    void markAndWait() {
        QSignalSpy finished(window_.get(), &MainWindow::sessionFinished);
        QTest::mouseClick(find<QPushButton*>(QStringLiteral("markButton")), Qt::LeftButton);
        QVERIFY(!window_->sessionRunning() || finished.wait(30000));
    }
    // Answers the next open dialog with `path` and triggers the action that asks for it.
    void open(const char* action, const QString& path) {
        dialogs_.openAnswers.push_back(path);
        find<QAction*>(QLatin1String(action))->trigger();
    }
    // The viewer's text, one entry per paragraph, and its title.
    QStringList viewerLines() const {
        return find<QTextEdit*>("viewer")->toPlainText().split(u'\n');
    }
    QString viewerTitle() const { return find<QLabel*>("viewerTitle")->text(); }

private:
    QTemporaryDir home_;
    ScriptedDialogs dialogs_;
    std::unique_ptr<MainWindow> window_;
};

} // namespace tikmeter::app::testing
