#include "app/MainWindow.h"

#include "app/ClassResultsWindow.h"
#include "app/TextConvert.h"
#include "browser/FolderTree.h"
#include "documents/PathText.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QIcon>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QTimer>

namespace tikmeter::app {

namespace {

// Client area of the window at start, in pixels.
constexpr int kClientWidth = 929;
constexpr int kClientHeight = 709;
constexpr int kMinimumWidth = 200;

} // namespace

MainWindow::MainWindow(Dialogs& dialogs, const QStringList& startArguments, QWidget* parent)
    : QMainWindow(parent), dialogs_(dialogs),
      programFolder_(engine::resolveProgramFolder(toU16(QCoreApplication::applicationDirPath()))) {
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(QStringLiteral("Edu Tikmeter 2011"));
    // The installed theme icon when there is one, else the program's own copy.
    setWindowIcon(QIcon::fromTheme(QStringLiteral("edu-tikmeter"),
                                   QIcon(QStringLiteral(":/icons/edu-tikmeter.svg"))));

    // The source document starts with its own name as text, too short to mark with.
    sourceDocument_.setText(u"RichTextBox2");

    buildLayout();
    buildMenus();
    setMinimumWidth(kMinimumWidth);
    resize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());

    // Every key passes the window first, so that Ctrl+X exits from any control.
    qApp->installEventFilter(this);

    startUp(startArguments);
}

MainWindow::~MainWindow() {
    // A session still running stops after the tests in hand, and reports before the
    // window goes.
    closing_ = true;
    sessionThread_.requestStop();
    sessionThread_.wait();
    qApp->removeEventFilter(this);
}

QString MainWindow::startFolder(const QStringList& arguments) {
    const QString joined = arguments.join(u' ');
    return joined.isEmpty() ? QDir::homePath() : joined;
}

void MainWindow::startUp(const QStringList& startArguments) {
    // A browser that cannot open the start folder leaves the tree where it stopped; the
    // window opens all the same.
    browserArea_.tree->loadRoots();
    browserArea_.tree->showFolder(startFolder(startArguments));
    showDestinationPath(
        documents::joinPath(programFolder_.path, toU16(destinationNameField_->text())));
}

bool MainWindow::isExitShortcut(const QEvent* event) const {
    const auto* key = static_cast<const QKeyEvent*>(event);
    return QKeySequence(key->keyCombination()) == exitAction_->shortcut();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // A line edit claims Ctrl+X for Cut before shortcuts are looked at. Declining the
    // override for the exit key lets the menu's shortcut fire from every control.
    if (event->type() == QEvent::ShortcutOverride && isExitShortcut(event)) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget != nullptr && widget->window() == this) {
            event->ignore();
            return true;
        }
    }
    // Typing in the destination name replaces it: focusing selects the whole text. A mouse
    // press places the cursor after the focus arrives, so the selection is made once the
    // press has been handled.
    if (watched == destinationNameField_ && event->type() == QEvent::FocusIn) {
        destinationNameField_->selectAll();
        QTimer::singleShot(0, destinationNameField_, &QLineEdit::selectAll);
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Closing ends the program without asking. A marking session that is still running
    // stops after the tests in hand are written, so no file is left half-written, and shows
    // no further dialog; the window goes once it has stopped.
    closing_ = true;
    if (classResultsWindow_ != nullptr) {
        classResultsWindow_->close();
    }
    if (sessionThread_.running()) {
        sessionThread_.requestStop();
        hide();
        event->ignore();
        return;
    }
    event->accept();
}

} // namespace tikmeter::app
