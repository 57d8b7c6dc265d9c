#pragma once

#include "app/BrowserArea.h"
#include "app/Dialogs.h"
#include "documents/Document.h"
#include "engine/MarkingSession.h"
#include "engine/ProgramFolder.h"

#include <QMainWindow>
#include <QStringList>

#include <array>

class QAction;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTextEdit;

namespace tikmeter::app {

// The main window: the two source rows, the destination folder, the viewer pane over the
// file browser, the green test list with the mark button, and the menus. It keeps the
// program state it shares with the marking session, the source document loaded last and
// the viewer's document, and hears a running session as its observer.
class MainWindow : public QMainWindow, private engine::SessionObserver {
    Q_OBJECT
public:
    // `dialogs` must outlive the window. `startArguments` are the command-line arguments
    // after the program name.
    MainWindow(Dialogs& dialogs, const QStringList& startArguments, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The browser's start folder: the arguments joined by single spaces, else the home
    // folder.
    static QString startFolder(const QStringList& arguments);

    bool sessionRunning() const { return sessionRunning_; }
    const engine::ProgramFolder& folder() const { return programFolder_; }
    const engine::ProgramState& state() const { return state_; }
    engine::ResultFormat resultFormat() const;
    // What the viewer shows: the log, a result file or a marked test.
    const documents::Document& viewerDocument() const { return viewerDocument_; }
    const BrowserArea& browserArea() const { return browserArea_; }

public slots:
    void markSpeedTests();
    void pickSource(engine::Language language);
    void openMarkedSpeedTest();
    void openResults();
    void saveViewerAs();
    void printViewer();
    void clearViewer();
    void clearTestList();
    void showHelp();
    void showAbout();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // engine::SessionObserver
    void showMessage(engine::MessageKind kind, const std::u16string& text,
                     const std::u16string& title) override;
    std::optional<std::u16string> askFolderName(const engine::FolderQuestion& question) override;
    bool askYesNo(const std::u16string& text, const std::u16string& title) override;
    void logShown() override;
    void logStarted() override;
    void logLine(const std::u16string& line) override;
    void destinationNamed(const std::u16string& name) override;
    void destinationShown(const std::u16string& path) override;
    void titleChanged(const std::u16string& title) override;
    void progress(std::size_t done, std::size_t total) override;
    void sessionEnded(const engine::SessionSummary& summary) override;
    void letEventsRun() override;
    bool stopRequested() override { return closing_; }

    void buildLayout();
    QWidget* buildSourceRows();
    QWidget* buildDestination();
    QWidget* buildTestListColumn();
    void buildMenus();
    void startUp(const QStringList& startArguments);

    // Disables what could disturb a running session.
    void setSessionControlsEnabled(bool enabled);
    void showDestinationPath(const std::u16string& path);
    void openIntoViewer(const QString& filter, const QString& title);
    // Shows the viewer's document in the viewer widget, caret at the document's caret or
    // at the end.
    void refreshViewer(bool caretAtEnd);
    void showViewerPane();
    // The generic error message; `path`, when given, is named in its description.
    void reportError(const std::exception& error, const QString& path = {});
    bool isExitShortcut(const QEvent* event) const;

    Dialogs& dialogs_;
    engine::ProgramFolder programFolder_;
    engine::ProgramState state_;
    documents::Document sourceDocument_; // the source loaded last
    documents::Document viewerDocument_;
    QString lastSourceFolder_; // where the last source document was picked
    bool sessionRunning_ = false;
    bool closing_ = false;

    // Controls (owned by Qt's parent tree). Source rows: 0 Afrikaans, 1 English.
    QPushButton* markButton_ = nullptr;
    std::array<QPushButton*, 2> sourceButtons_{};
    std::array<QLabel*, 2> sourcePathLabels_{};
    QPushButton* viewerClearButton_ = nullptr;
    QPushButton* testListClearButton_ = nullptr;
    QLabel* viewerTitle_ = nullptr;
    QLabel* destinationPathLabel_ = nullptr;
    QLineEdit* destinationNameField_ = nullptr;
    QTextEdit* viewer_ = nullptr;
    QProgressBar* progressBar_ = nullptr;
    BrowserArea browserArea_;

    QAction* exitAction_ = nullptr;
    QAction* integerResultAction_ = nullptr;
    QAction* multipleOf5ResultAction_ = nullptr;
};

} // namespace tikmeter::app
