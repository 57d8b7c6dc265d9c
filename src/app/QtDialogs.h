#pragma once

#include "app/Dialogs.h"

#include <QPointer>
#include <QWidget>

namespace tikmeter::app {

// The dialogs of the running program: QMessageBox, QInputDialog, QFileDialog and
// QPrintDialog, all modal over the parent window. The file dialog remembers the last
// chosen file name (and so its folder) between uses, as one shared file dialog would.
class QtDialogs : public Dialogs {
public:
    QtDialogs() = default;
    void setParentWidget(QWidget* parent) { parent_ = parent; }

    void messageBox(const QString& text, const QString& title) override;
    bool question(const QString& text, const QString& title) override;
    QString inputBox(const QString& prompt, const QString& title,
                     const QString& defaultAnswer) override;
    void clearFileName() override;
    QString openFileName(const QString& filter, const QString& folder,
                         const QString& title) override;
    QString saveFileName(const QString& filter) override;
    bool printerDialog(QPrinter& printer) override;

private:
    // Where the next file dialog opens: the remembered file, else the last folder.
    QString startPath() const;
    void remember(const QString& fileName);

    QPointer<QWidget> parent_;
    QString fileName_;
    QString folder_;
};

} // namespace tikmeter::app
