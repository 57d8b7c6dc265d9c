#include "app/QtDialogs.h"

#include "app/DialogFilter.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

namespace tikmeter::app {

namespace {

// The window's texts separate lines with CR (or CR LF); a Qt label wants LF.
QString displayText(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

} // namespace

void QtDialogs::messageBox(const QString& text, const QString& title) {
    // Failures carry the error icon; everything else is information.
    const QMessageBox::Icon icon =
        title == QLatin1String("Error") ? QMessageBox::Critical : QMessageBox::Information;
    QMessageBox box(icon, title, displayText(text), QMessageBox::Ok, parent_);
    box.exec();
}

bool QtDialogs::question(const QString& text, const QString& title) {
    QMessageBox box(QMessageBox::Question, title, displayText(text),
                    QMessageBox::Yes | QMessageBox::No, parent_);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

QString QtDialogs::inputBox(const QString& prompt, const QString& title,
                            const QString& defaultAnswer) {
    bool ok = false;
    const QString answer = QInputDialog::getText(parent_, title, displayText(prompt),
                                                 QLineEdit::Normal, defaultAnswer, &ok);
    return ok ? answer : QString();
}

void QtDialogs::clearFileName() {
    fileName_.clear();
}

QString QtDialogs::openFileName(const QString& filter, const QString& folder,
                                const QString& title) {
    const QString name = QFileDialog::getOpenFileName(
        parent_, title, folder.isEmpty() ? startPath() : folder, toQtFilter(filter));
    remember(name);
    return name;
}

QString QtDialogs::saveFileName(const QString& filter) {
    // The name is used exactly as typed: no extension is added from the filter.
    QFileDialog dialog(parent_, QString(), startPath(), toQtFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QString());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    const QString name = dialog.selectedFiles().constFirst();
    remember(name);
    return name;
}

bool QtDialogs::printerDialog(QPrinter& printer) {
    QPrintDialog dialog(&printer, parent_);
    // The whole document is printed: no page range, no selection.
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    printer.setPrintRange(QPrinter::AllPages);
    return dialog.exec() == QDialog::Accepted;
}

QString QtDialogs::startPath() const {
    return fileName_.isEmpty() ? folder_ : fileName_;
}

void QtDialogs::remember(const QString& fileName) {
    fileName_ = fileName;
    if (!fileName.isEmpty()) {
        folder_ = QFileInfo(fileName).absolutePath();
    }
}

} // namespace tikmeter::app
