#pragma once

#include <QWidget>

class QLabel;

class QStackedWidget;

namespace tikmeter::browser {

class FileList;
class FolderTree;
class IconList;

// The file browser: the heading "Search here for speed tests", the folder tree and the file
// list side by side, and above the list the hint "Drag speed tests to green box"
// with its arrow, hidden until the list first gets the focus. The tree and the list share one
// icon list; a node click shows its folder in the list, a double-clicked folder entry opens the
// folder in the tree, and the tree is disabled while the list fills.
class BrowserPane : public QWidget {
    Q_OBJECT
public:
    explicit BrowserPane(QWidget* parent = nullptr);

    FolderTree* folderTree() const { return folderTree_; }
    FileList* fileList() const { return fileList_; }
    IconList* iconList() const { return iconList_; }
    QLabel* heading() const { return heading_; }
    QLabel* dragHint() const { return dragHint_; }
    QLabel* dragHintArrow() const { return dragHintArrow_; }

    // A widget that lies over the tree and the list while it is shown (the viewer pane);
    // the heading and the hint stay visible above it.
    void setCover(QWidget* cover);
    void showCover(bool shown);
    bool coverShown() const;

signals:
    // "Edu Tikmeter - " + folder, at every refill of the file list.
    void captionChanged(const QString& caption);

private:
    IconList* iconList_;
    FolderTree* folderTree_;
    FileList* fileList_;
    QLabel* heading_;
    QLabel* dragHint_;
    QLabel* dragHintArrow_;
    QStackedWidget* stack_;
    QWidget* browsing_;
    QWidget* cover_ = nullptr;
};

} // namespace tikmeter::browser
