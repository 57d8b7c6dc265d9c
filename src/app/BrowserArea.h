#pragma once

#include "app/FolderTreeSeam.h"

class QLabel;
class QListWidget;
class QWidget;

namespace tikmeter::app {

class FrmMain;

// The parts of the file browser the main window works with. All are owned by Qt's parent
// tree.
struct BrowserArea {
    QWidget* widget = nullptr;       // the browser, covered by the viewer pane when shown
    FolderTreeSeam* tree = nullptr;  // LoadDrives / SetTreePath at start-up
    QLabel* hint = nullptr;          // Label4, the drag hint ("Save As..." writes to it)
    QListWidget* testList = nullptr; // List1, the green box
};

// Builds the browser area for `window` and connects it: the file browser pane with the
// green test list when the browser library is built in, else a placeholder pane and a plain
// green list.
BrowserArea makeBrowserArea(FrmMain& window);

// Removes every entry of List1 (its "Clear" button).
void clearTestList(QListWidget& testList);

} // namespace tikmeter::app
