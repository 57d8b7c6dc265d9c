#include "app/MainWindow.h"
#include "browser/TestList.h"

#include "app/DocumentRendering.h"
#include "app/TextConvert.h"
#include "engine/SourceDocuments.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTextCursor>
#include <QTextEdit>

#include <limits>

namespace tikmeter::app {

namespace {

std::size_t rowOf(engine::Language language) {
    return language == engine::Language::Afrikaans ? 0 : 1;
}

int clampToInt(std::size_t value) {
    return static_cast<int>(std::min<std::size_t>(value, std::numeric_limits<int>::max()));
}

} // namespace

void MainWindow::markSpeedTests() {
    if (sessionThread_.running()) {
        return;
    }
    // One session at a time: the button stays disabled while this one runs on its own
    // thread; the window goes on handling the teacher's events meanwhile.
    setSessionControlsEnabled(false);

    engine::SessionInput input;
    for (const QString& entry : browserArea_.testList->entries()) {
        input.entries.push_back(toU16(entry));
    }
    input.afrikaansSource = toU16(sourcePathLabels_[0]->text());
    input.englishSource = toU16(sourcePathLabels_[1]->text());
    input.lastSource = sourceDocument_;
    input.resultFormat = resultFormat();
    // TIKMETER_JOBS sets the threads that mark ahead; by default one per core.
    input.workers =
        static_cast<unsigned>(std::max(0, qEnvironmentVariableIntValue("TIKMETER_JOBS")));
    // ~/Edu Tikmeter, when used, is made the first time something goes into it, and gets
    // the guides with it.
    programFolder_.ensureExists();
    programFolder_.provideGuides();
    input.programFolder = programFolder_.path;
    sessionThread_.start(std::move(input), state_, [this](engine::SessionSummary summary) {
        finishSession(std::move(summary));
    });
}

void MainWindow::finishSession(engine::SessionSummary summary) {
    if (summary.lastSource) {
        sourceDocument_ = std::move(*summary.lastSource);
    }
    setSessionControlsEnabled(true);
    // The next thing a teacher does is mark again or look at the results, not type a name.
    markButton_->setFocus(Qt::OtherFocusReason);
    if (closing_) {
        emit sessionFinished();
        close();
        return;
    }
    // After a session the class's results are shown beside the log.
    if (summary.end == engine::SessionEnd::Completed && summary.marked + summary.rejected > 0) {
        showClassResults(toQString(state_.destPath));
    }
    emit sessionFinished();
}

void MainWindow::setSessionControlsEnabled(bool enabled) {
    // While a session runs, pending events are let through between tests. Nothing the
    // teacher does then may replace the log the session writes, the source it reads or
    // start a second session; browsing and the settings stay available.
    for (QPushButton* button : {markButton_, sourceButtons_[0], sourceButtons_[1],
                                viewerClearButton_, testListClearButton_}) {
        button->setEnabled(enabled);
    }
    for (const char* name :
         {"openMarkedTestAction", "openResultsAction", "saveAsAction", "printAction"}) {
        if (auto* action = findChild<QAction*>(QLatin1String(name))) {
            action->setEnabled(enabled);
        }
    }
}

void MainWindow::pickSource(engine::Language language) {
    dialogs_.clearFileName();
    const bool afrikaans = language == engine::Language::Afrikaans;
    const QString picked =
        dialogs_.openFileName(QStringLiteral("Rich Text Format files|*.RTF"), lastSourceFolder_,
                              afrikaans ? QStringLiteral("Open the Afrikaans source document")
                                        : QStringLiteral("Open the English source document"));
    if (!picked.isEmpty()) {
        lastSourceFolder_ = QFileInfo(picked).absolutePath();
    }
    programFolder_.ensureExists();
    programFolder_.provideGuides();
    engine::OpenedSource opened =
        engine::openSourceDocument(state_, programFolder_.path, toU16(picked));
    if (opened.message) {
        dialogs_.messageBox(toQString(*opened.message), QStringLiteral("Error"));
    }
    sourceDocument_ = std::move(opened.document);
    sourcePathLabels_[rowOf(language)]->setText(toQString(opened.shownPath));
}

void MainWindow::showDestinationPath(const std::u16string& path) {
    // When the program folder cannot be written or is a system folder, the label says that
    // the folder in the user's home is used instead.
    QString shown = toQString(path);
    if (programFolder_.isHomeFallback) {
        shown += (programFolder_.isSystemFolder ? QStringLiteral("   (%1 is a system folder)")
                                                : QStringLiteral("   (%1 cannot be written)"))
                     .arg(toQString(programFolder_.preferredPath));
    }
    destinationPathLabel_->setText(shown);
}

void MainWindow::showMessage(engine::MessageKind /*kind*/, const std::u16string& text,
                             const std::u16string& title) {
    if (!closing_) {
        dialogs_.messageBox(toQString(text), toQString(title));
    }
}

std::optional<std::u16string> MainWindow::askFolderName(const engine::FolderQuestion& question) {
    // A closed window answers like a cancelled question: the session ends.
    if (closing_) {
        return std::nullopt;
    }
    // An answer that would lead out of the program folder is refused: say why, ask again.
    if (!question.problem.empty()) {
        dialogs_.messageBox(toQString(question.problem), QStringLiteral("Error"));
    }
    return toU16(dialogs_.inputBox(toQString(question.prompt), toQString(question.title),
                                   toQString(question.defaultAnswer)));
}

bool MainWindow::askYesNo(const std::u16string& text, const std::u16string& title) {
    return !closing_ && dialogs_.question(toQString(text), toQString(title));
}

void MainWindow::logShown() {
    showViewerPane();
}

void MainWindow::logStarted() {
    // A fresh document: the log never takes the fonts of what the viewer showed before.
    viewerDocument_ = documents::Document();
    refreshViewer(true);
}

void MainWindow::logLine(const std::u16string& line) {
    const std::size_t end = viewerDocument_.text().size();
    viewerDocument_.setSelStart(end);
    viewerDocument_.setSelLength(0);
    viewerDocument_.setSelText(line + u"\r\n");
    viewerDocument_.setSelStart(viewerDocument_.text().size());
    // Only the new line is drawn; the lines before it stay as they are.
    QTextCursor cursor(viewer_->document());
    cursor.movePosition(QTextCursor::End);
    const QTextCharFormat format = toQtFormat(viewerDocument_.formatAt(end));
    cursor.insertText(toQString(line), format);
    cursor.insertBlock(QTextBlockFormat(), format);
    viewer_->setTextCursor(cursor);
    viewer_->ensureCursorVisible();
}

void MainWindow::destinationNamed(const std::u16string& name) {
    destinationNameField_->setText(toQString(name));
}

void MainWindow::destinationShown(const std::u16string& path) {
    showDestinationPath(path);
}

void MainWindow::titleChanged(const std::u16string& title) {
    viewerTitle_->setText(toQString(title));
}

void MainWindow::progress(std::size_t done, std::size_t total) {
    progressBar_->setRange(0, std::max(1, clampToInt(total)));
    progressBar_->setValue(clampToInt(std::min(done, total)));
    progressBar_->show();
}

void MainWindow::sessionEnded(const engine::SessionSummary& summary) {
    switch (summary.end) {
    case engine::SessionEnd::Completed:
    case engine::SessionEnd::Cancelled:
    case engine::SessionEnd::Trapped:
        viewerClearButton_->show();
        break;
    case engine::SessionEnd::NoTests:
    case engine::SessionEnd::NoSource:
    case engine::SessionEnd::Declined:
    case engine::SessionEnd::Stopped:
        break;
    }
}

} // namespace tikmeter::app
