#pragma once

class QLabel;
class QString;
class QWidget;

namespace tikmeter::browser {
class BrowserPane;
class FolderTree;
class TestList;
} // namespace tikmeter::browser

namespace tikmeter::app {

// The parts of the file browser the main window works with. All are owned by Qt's parent
// tree.
struct BrowserArea {
    browser::BrowserPane* pane = nullptr;  // covered by the viewer pane while that is shown
    browser::FolderTree* tree = nullptr;   // opened at the start folder
    QLabel* hint = nullptr;                // the drag hint ("Save As..." writes to it)
    browser::TestList* testList = nullptr; // the green box
};

// Builds the file browser pane and the green test list under `parent`; the end of a drag
// from the file list derives the destination from `programFolder`.
BrowserArea makeBrowserArea(QWidget* parent, const QString& programFolder);

} // namespace tikmeter::app
