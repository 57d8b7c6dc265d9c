#pragma once

#include "app/BrowserArea.h"
#include "app/Dialogs.h"
#include "documents/Document.h"
#include "engine/ProgramFolder.h"
#include "engine/SessionWindow.h"

#include <QMainWindow>
#include <QStringList>

class QAction;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTextEdit;

namespace tikmeter::app {

// The main window: the two source rows, the destination folder, the viewer pane over the
// file browser, the green test list with the marking button, and the menus. It owns the
// three documents and the state shared with the marking session, and is the window the
// session runs in. Controls carry their form names as object names ("Command1", "List1";
// the elements of a control array as "Label7_0", "Command8_1").
class FrmMain : public QMainWindow, public engine::SessionWindow {
    Q_OBJECT
public:
    // `dialogs` must outlive the window. `startArguments` are the command-line arguments
    // after the program name.
    FrmMain(Dialogs& dialogs, const QStringList& startArguments, QWidget* parent = nullptr);
    ~FrmMain() override;

    // The browser's start folder: the arguments joined by single spaces, else the home
    // folder.
    static QString startFolder(const QStringList& arguments);

    // engine::SessionWindow
    void messageBox(const std::u16string& text, const std::u16string& title) override;
    std::u16string inputBox(const std::u16string& prompt, const std::u16string& title,
                            const std::u16string& defaultAnswer) override;
    documents::Document& richTextBox1() override { return richTextBox1_; }
    documents::Document& richTextBox2() override { return richTextBox2_; }
    documents::Document& richTextBox3() override { return richTextBox3_; }
    std::vector<std::u16string> testList() const override;
    std::u16string text1() const override;
    void setText1(const std::u16string& text) override;
    void setLabel9(const std::u16string& text) override;
    std::u16string label3() const override;
    void setLabel3(const std::u16string& text) override;
    std::u16string sourcePath(engine::Language language) const override;
    void setSourcePath(engine::Language language, const std::u16string& path) override;
    void showViewer() override;
    void showViewerClearButton() override;
    void viewerChanged() override;
    void letEventsRun() override;
    void progress(std::size_t done, std::size_t total) override;
    engine::ResultFormat resultFormat() const override;
    std::u16string programFolder() const override;
    engine::WindowState& state() override { return state_; }
    bool stopRequested() const override { return closing_; }

    bool sessionRunning() const { return sessionRunning_; }
    const engine::ProgramFolder& folder() const { return programFolder_; }

    // The file browser parts: the folder tree seam, the drag hint label Label4 (which
    // "Save As..." writes to) and the test list List1.
    const BrowserArea& browserArea() const { return browserArea_; }

public slots:
    void markSpeedTests();                      // Command1
    void pickSource(engine::Language language); // Command2, Command3
    void openMarkedSpeedTest();                 // mnuMarked
    void openResults();                         // mnuResults
    void saveViewerAs();                        // mnuSave
    void printViewer();                         // mnuPrint, Command6
    void clearViewer();                         // Command8 element 0
    void clearTestList();                       // Command8 element 1
    void showHelp();                            // mnuHelp
    void showAbout();                           // mnuAbout

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildLayout();
    QWidget* buildSourceRows();
    QWidget* buildDestination();
    QWidget* buildTestListColumn();
    void buildMenus();
    void startUp(const QStringList& startArguments);

    // Disables what could disturb a running session (see FrmMainSession.cpp).
    void setSessionControlsEnabled(bool enabled);
    void openIntoViewer(const QString& filter);
    // Shows RichTextBox3's document in the viewer widget, caret at the document's caret
    // or at the end.
    void refreshViewer(bool caretAtEnd);
    int clampedSelStart() const;
    void reportError(const std::exception& error);
    bool isExitShortcut(const QEvent* event) const;

    Dialogs& dialogs_;
    engine::ProgramFolder programFolder_;
    engine::WindowState state_;
    documents::Document richTextBox1_;
    documents::Document richTextBox2_;
    documents::Document richTextBox3_;
    bool sessionRunning_ = false;
    bool closing_ = false;

    // Controls (owned by Qt's parent tree).
    QPushButton* command1_ = nullptr;
    QPushButton* command2_ = nullptr;
    QPushButton* command3_ = nullptr;
    QPushButton* command6_ = nullptr;
    QPushButton* command8_[2] = {nullptr, nullptr};
    QLabel* label3_ = nullptr;
    QLabel* label6_[2] = {nullptr, nullptr};
    QLabel* label7_[2] = {nullptr, nullptr};
    QLabel* label8_ = nullptr;
    QLabel* label9_ = nullptr;
    QLineEdit* text1_ = nullptr;
    QTextEdit* viewer_ = nullptr;
    QProgressBar* progressBar_ = nullptr;
    BrowserArea browserArea_;

    QAction* mnuExit_ = nullptr;
    QAction* mnuInteger_ = nullptr;
    QAction* mnu5_ = nullptr;
};

} // namespace tikmeter::app
