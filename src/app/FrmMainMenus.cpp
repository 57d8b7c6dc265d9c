#include "app/FrmMain.h"

#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

namespace tikmeter::app {

namespace {

QAction* namedAction(QWidget* owner, const QString& name, const QString& text) {
    auto* action = new QAction(text, owner);
    action->setObjectName(name);
    return action;
}

} // namespace

void FrmMain::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    QAction* marked =
        namedAction(file, QStringLiteral("mnuMarked"), QStringLiteral("Open Marked SpeedTest"));
    QAction* results =
        namedAction(file, QStringLiteral("mnuResults"), QStringLiteral("Open Results"));
    QAction* save = namedAction(file, QStringLiteral("mnuSave"), QStringLiteral("Save As..."));
    QAction* print = namedAction(file, QStringLiteral("mnuPrint"), QStringLiteral("Print"));
    mnuExit_ = namedAction(file, QStringLiteral("mnuExit"), QStringLiteral("E&xit"));
    mnuExit_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
    file->addActions({marked, results, save, print});
    file->addSeparator();
    file->addAction(mnuExit_);
    // The shortcut belongs to the window, also while the File menu is closed.
    addAction(mnuExit_);

    connect(marked, &QAction::triggered, this, &FrmMain::openMarkedSpeedTest);
    connect(results, &QAction::triggered, this, &FrmMain::openResults);
    connect(save, &QAction::triggered, this, &FrmMain::saveViewerAs);
    connect(print, &QAction::triggered, this, &FrmMain::printViewer);
    connect(mnuExit_, &QAction::triggered, this, &QWidget::close);

    // Exactly one of the two result formats carries the check mark; the choice is not
    // stored and starts at "multiple of 5".
    QMenu* settings = menuBar()->addMenu(QStringLiteral("Settings"));
    settings->setObjectName(QStringLiteral("mnuSettings"));
    mnuInteger_ = namedAction(settings, QStringLiteral("mnuInteger"),
                              QStringLiteral("Final result as integer"));
    mnu5_ = namedAction(settings, QStringLiteral("mnu5"),
                        QStringLiteral("Final result as multiple of 5"));
    auto* formats = new QActionGroup(settings);
    formats->setExclusive(true);
    for (QAction* action : {mnuInteger_, mnu5_}) {
        action->setCheckable(true);
        formats->addAction(action);
        settings->addAction(action);
    }
    mnu5_->setChecked(true);

    // About and Help are commands on the menu bar itself.
    QAction* about = namedAction(menuBar(), QStringLiteral("mnuAbout"), QStringLiteral("About"));
    QAction* help = namedAction(menuBar(), QStringLiteral("mnuHelp"), QStringLiteral("Help"));
    menuBar()->addAction(about);
    menuBar()->addAction(help);
    connect(about, &QAction::triggered, this, &FrmMain::showAbout);
    connect(help, &QAction::triggered, this, &FrmMain::showHelp);
}

engine::ResultFormat FrmMain::resultFormat() const {
    return mnuInteger_->isChecked() ? engine::ResultFormat::Integer
                                    : engine::ResultFormat::MultipleOf5;
}

void FrmMain::showHelp() {
    dialogs_.messageBox(QStringLiteral(" For Help & Instructions, please read 'Afr Tikmeter.doc' "
                                       "or 'Eng Tikmeter.doc in the current folder."),
                        QStringLiteral("Help"));
}

void FrmMain::showAbout() {
    dialogs_.messageBox(QStringLiteral("Edu Tikmeter: marks typing speed tests for teachers.") +
                            u'\r' + QStringLiteral("https://edu-tikmeter.example.org"),
                        QStringLiteral("Edu Tikmeter PRO"));
}

} // namespace tikmeter::app
