#include "app/MainWindow.h"

#include "app/ClassResultsWindow.h"
#include "app/TextConvert.h"

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

void MainWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("fileMenu"));
    QAction* marked = namedAction(file, QStringLiteral("openMarkedTestAction"),
                                  QStringLiteral("Open Marked SpeedTest"));
    QAction* results =
        namedAction(file, QStringLiteral("openResultsAction"), QStringLiteral("Open Results"));
    QAction* save = namedAction(file, QStringLiteral("saveAsAction"), QStringLiteral("Save As..."));
    QAction* print = namedAction(file, QStringLiteral("printAction"), QStringLiteral("Print"));
    QAction* classResults =
        namedAction(file, QStringLiteral("classResultsAction"), QStringLiteral("Class Results..."));
    exitAction_ = namedAction(file, QStringLiteral("exitAction"), QStringLiteral("E&xit"));
    exitAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
    file->addActions({marked, results, save, print, classResults});
    file->addSeparator();
    file->addAction(exitAction_);
    // The shortcut belongs to the window, also while the File menu is closed.
    addAction(exitAction_);

    connect(marked, &QAction::triggered, this, &MainWindow::openMarkedSpeedTest);
    connect(results, &QAction::triggered, this, &MainWindow::openResults);
    connect(save, &QAction::triggered, this, &MainWindow::saveViewerAs);
    connect(print, &QAction::triggered, this, &MainWindow::printViewer);
    connect(classResults, &QAction::triggered, this, &MainWindow::openClassResults);
    connect(exitAction_, &QAction::triggered, this, &QWidget::close);

    // Exactly one of the two result formats carries the check mark; the choice is not
    // stored and starts at "multiple of 5".
    QMenu* settings = menuBar()->addMenu(QStringLiteral("Settings"));
    settings->setObjectName(QStringLiteral("settingsMenu"));
    integerResultAction_ = namedAction(settings, QStringLiteral("integerResultAction"),
                                       QStringLiteral("Final result as integer"));
    multipleOf5ResultAction_ = namedAction(settings, QStringLiteral("multipleOf5ResultAction"),
                                           QStringLiteral("Final result as multiple of 5"));
    auto* formats = new QActionGroup(settings);
    formats->setExclusive(true);
    for (QAction* action : {integerResultAction_, multipleOf5ResultAction_}) {
        action->setCheckable(true);
        formats->addAction(action);
        settings->addAction(action);
    }
    multipleOf5ResultAction_->setChecked(true);

    // About and Help are commands on the menu bar itself.
    QAction* about = namedAction(menuBar(), QStringLiteral("aboutAction"), QStringLiteral("About"));
    QAction* help = namedAction(menuBar(), QStringLiteral("helpAction"), QStringLiteral("Help"));
    menuBar()->addAction(about);
    menuBar()->addAction(help);
    connect(about, &QAction::triggered, this, &MainWindow::showAbout);
    connect(help, &QAction::triggered, this, &MainWindow::showHelp);
}

engine::ResultFormat MainWindow::resultFormat() const {
    return integerResultAction_->isChecked() ? engine::ResultFormat::Integer
                                             : engine::ResultFormat::MultipleOf5;
}

void MainWindow::openClassResults() {
    const QString folder = dialogs_.folderName(toQString(state_.destPath));
    if (!folder.isEmpty()) {
        showClassResults(folder);
    }
}

void MainWindow::showClassResults(const QString& folder) {
    // One results window, beside the main window and closed with it.
    if (classResultsWindow_ == nullptr) {
        classResultsWindow_ = new ClassResultsWindow(dialogs_, this);
        connect(classResultsWindow_, &ClassResultsWindow::openTestRequested, this,
                &MainWindow::openInViewer);
    }
    classResultsWindow_->showFolder(folder);
    classResultsWindow_->show();
    classResultsWindow_->raise();
    classResultsWindow_->activateWindow();
}

void MainWindow::showHelp() {
    // The box sends the teacher to the program folder: make sure the guides are there.
    programFolder_.ensureExists();
    programFolder_.provideGuides();
    dialogs_.messageBox(QStringLiteral(" For Help & Instructions, please read 'Afr Tikmeter.doc' "
                                       "or 'Eng Tikmeter.doc in the current folder."),
                        QStringLiteral("Help"));
}

void MainWindow::showAbout() {
    dialogs_.messageBox(QStringLiteral("Edu Tikmeter: marks typing speed tests for teachers.") +
                            u'\r' + QStringLiteral("https://edu-tikmeter.example.org"),
                        QStringLiteral("Edu Tikmeter PRO"));
}

} // namespace tikmeter::app
