#include "app/MainWindow.h"
#include "browser/BrowserPane.h"
#include "browser/TestList.h"

#include "app/DocumentRendering.h"
#include "app/ErrorText.h"
#include "app/TextConvert.h"

#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPrinter>
#include <QPushButton>
#include <QTextDocument>
#include <QTextEdit>

namespace tikmeter::app {

namespace {

const QString kMarkedFilter = QStringLiteral("Marked speed tests|*.rug|*.rug");
const QString kResultsFilter = QStringLiteral("Result files|*.res|*.res");
const QString kSaveFilter = QStringLiteral("'Rich Text Format'-Lêers (*.RTF)|*.RTF");

} // namespace

void MainWindow::showViewerPane() {
    browserArea_.pane->showCover(true);
}

void MainWindow::refreshViewer(bool caretAtEnd) {
    renderDocument(viewerDocument_, *viewer_->document());
    QTextCursor cursor(viewer_->document());
    if (caretAtEnd) {
        cursor.movePosition(QTextCursor::End);
    } else {
        const int last = viewer_->document()->characterCount() - 1;
        cursor.setPosition(std::min(
            static_cast<int>(std::min<std::size_t>(viewerDocument_.selStart(), 1 << 30)), last));
    }
    viewer_->setTextCursor(cursor);
    viewer_->ensureCursorVisible();
}

void MainWindow::reportError(const std::exception& error, const QString& path) {
    ErrorInfo info = errorInfo(error);
    if (!path.isEmpty()) {
        info.description += QStringLiteral(": ") + path;
    }
    dialogs_.messageBox(genericErrorMessage(info), QStringLiteral("Error"));
}

void MainWindow::openMarkedSpeedTest() {
    openIntoViewer(kMarkedFilter, QStringLiteral("Open Marked SpeedTest"));
}

void MainWindow::openResults() {
    openIntoViewer(kResultsFilter, QStringLiteral("Open Results"));
}

void MainWindow::openIntoViewer(const QString& filter, const QString& title) {
    showViewerPane();
    viewerClearButton_->show();
    viewerDocument_.setText(u"");
    refreshViewer(false);
    state_.currentFilePath.clear();
    dialogs_.clearFileName();

    // Marked tests and results lie in the current destination folder.
    const QString destination = toQString(state_.destPath);
    const QString picked = dialogs_.openFileName(
        filter, QFileInfo(destination).isDir() ? destination : toQString(programFolder_.path),
        title);
    state_.currentFilePath = toU16(picked);
    if (picked.isEmpty()) {
        viewerTitle_->clear();
        return;
    }
    // A file that cannot be loaded leaves the pane empty under a title naming the file.
    try {
        viewerDocument_.loadFile(toPath(picked));
    } catch (const std::exception& error) {
        reportError(error);
    }
    // The document is shown with its own text and colours; the caret after the first
    // character.
    viewerDocument_.setSelStart(1);
    refreshViewer(false);
    showViewerPane();
    viewerTitle_->setText(picked);
}

void MainWindow::saveViewerAs() {
    const QString name = dialogs_.saveFileName(kSaveFilter);
    if (name.isEmpty()) {
        return;
    }
    try {
        viewerDocument_.saveFile(toPath(name));
        browserArea_.hint->setText(QFileInfo(name).absoluteFilePath());
    } catch (const std::exception& error) {
        reportError(error, name);
    }
}

void MainWindow::printViewer() {
    // The printout starts with the title and a blank line; that text is put into the
    // document for the print only and taken out again whatever happens.
    const std::u16string heading = toU16(viewerTitle_->text()) + u"\r\n\r\n";
    bool inserted = false;
    try {
        viewerDocument_.setSelStart(0);
        viewerDocument_.setSelText(heading);
        inserted = true;
        QPrinter printer(QPrinter::HighResolution);
        if (dialogs_.printerDialog(printer)) {
            QTextDocument page;
            renderDocument(viewerDocument_, page);
            page.print(&printer);
        }
    } catch (const std::exception&) {
        // Printer failures are not reported; the heading still comes out below.
    }
    if (inserted) {
        try {
            viewerDocument_.setSelStart(0);
            viewerDocument_.setSelLength(heading.size());
            viewerDocument_.setSelText(u"");
        } catch (const std::exception&) {
        }
    }
    refreshViewer(false);
}

void MainWindow::clearViewer() {
    viewerDocument_.setText(u"");
    refreshViewer(false);
    browserArea_.pane->showCover(false);
    viewerClearButton_->hide();
    viewerTitle_->clear();
}

void MainWindow::clearTestList() {
    browserArea_.testList->clearEntries();
}

} // namespace tikmeter::app
