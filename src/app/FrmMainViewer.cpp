#include "app/FrmMain.h"
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

void FrmMain::showViewer() {
    browserArea_.pane->showCover(true);
}

void FrmMain::showViewerClearButton() {
    command8_[0]->show();
}

void FrmMain::viewerChanged() {
    refreshViewer(true);
}

void FrmMain::refreshViewer(bool caretAtEnd) {
    renderDocument(richTextBox3_, *viewer_->document());
    QTextCursor cursor(viewer_->document());
    if (caretAtEnd) {
        cursor.movePosition(QTextCursor::End);
    } else {
        const int last = viewer_->document()->characterCount() - 1;
        cursor.setPosition(std::min(clampedSelStart(), last));
    }
    viewer_->setTextCursor(cursor);
    viewer_->ensureCursorVisible();
}

int FrmMain::clampedSelStart() const {
    return static_cast<int>(std::min<std::size_t>(richTextBox3_.selStart(), 1 << 30));
}

void FrmMain::reportError(const std::exception& error) {
    messageBox(toU16(genericErrorMessage(errorInfo(error))), u"Error");
}

void FrmMain::openMarkedSpeedTest() {
    openIntoViewer(kMarkedFilter);
}

void FrmMain::openResults() {
    openIntoViewer(kResultsFilter);
}

void FrmMain::openIntoViewer(const QString& filter) {
    showViewer();
    showViewerClearButton();
    richTextBox3_.setText(u"");
    refreshViewer(false);
    state_.currentFilePath.clear();
    dialogs_.clearFileName();

    const QString picked = dialogs_.openFileName(filter);
    state_.currentFilePath = toU16(picked);
    if (picked.isEmpty()) {
        setLabel3(u"");
        return;
    }
    // A file that cannot be loaded leaves the pane empty under a title naming the file.
    try {
        richTextBox3_.loadFile(toPath(picked));
    } catch (const std::exception& error) {
        reportError(error);
    }
    // The document is shown with its own text and colours; the caret after the first
    // character.
    richTextBox3_.setSelStart(1);
    refreshViewer(false);
    showViewer();
    setLabel3(toU16(picked));
}

void FrmMain::saveViewerAs() {
    const QString name = dialogs_.saveFileName(kSaveFilter);
    if (name.isEmpty()) {
        return;
    }
    try {
        richTextBox3_.saveFile(toPath(name));
        browserArea_.hint->setText(QFileInfo(name).absoluteFilePath());
    } catch (const std::exception& error) {
        reportError(error);
    }
}

void FrmMain::printViewer() {
    // The printout starts with the title and a blank line; that text is put into the
    // document for the print only and taken out again whatever happens.
    const std::u16string heading = label3() + u"\r\n\r\n";
    bool inserted = false;
    try {
        richTextBox3_.setSelStart(0);
        richTextBox3_.setSelText(heading);
        inserted = true;
        QPrinter printer(QPrinter::HighResolution);
        if (dialogs_.printerDialog(printer)) {
            QTextDocument page;
            renderDocument(richTextBox3_, page);
            page.print(&printer);
        }
    } catch (const std::exception&) {
        // Printer failures are not reported; the heading still comes out below.
    }
    if (inserted) {
        try {
            richTextBox3_.setSelStart(0);
            richTextBox3_.setSelLength(heading.size());
            richTextBox3_.setSelText(u"");
        } catch (const std::exception&) {
        }
    }
    refreshViewer(false);
}

void FrmMain::clearViewer() {
    richTextBox3_.setText(u"");
    refreshViewer(false);
    browserArea_.pane->showCover(false);
    command8_[0]->hide();
    setLabel3(u"");
}

void FrmMain::clearTestList() {
    browserArea_.testList->clearEntries();
}

} // namespace tikmeter::app
