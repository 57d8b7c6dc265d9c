#pragma once

class QLabel;

namespace tikmeter::browser {
class BrowserPane;
class FolderTree;
class TestList;
} // namespace tikmeter::browser

namespace tikmeter::app {

class FrmMain;

// The parts of the file browser the main window works with. All are owned by Qt's parent
// tree.
struct BrowserArea {
    browser::BrowserPane* pane = nullptr;  // covered by the viewer pane while that is shown
    browser::FolderTree* tree = nullptr;   // tvDir: LoadDrives / SetTreePath at start-up
    QLabel* hint = nullptr;                // Label4, the drag hint ("Save As..." writes to it)
    browser::TestList* testList = nullptr; // List1, the green box
};

// Builds the file browser pane and the green test list for `window` and connects them to
// it: the window caption follows the file list, the end of a drag sets the destination.
BrowserArea makeBrowserArea(FrmMain& window);

} // namespace tikmeter::app
