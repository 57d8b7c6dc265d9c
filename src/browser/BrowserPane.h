#pragma once

#include <QWidget>

class QLabel;

class QStackedWidget;

namespace tikmeter::browser {

class FileList;
class FolderTree;
class ImageList;

// The file browser: the heading "Search here for speed tests", the folder tree tvDir and the
// file list lvDir side by side, and above the list the hint "Drag speed tests to green box"
// with its arrow, hidden until the list first gets the focus. The tree and the list share one
// ImgSmall; a node click shows its folder in the list, a double-clicked folder entry opens the
// folder in the tree, and the tree is disabled while the list fills.
class BrowserPane : public QWidget {
    Q_OBJECT
public:
    explicit BrowserPane(QWidget* parent = nullptr);

    FolderTree* tree() const { return tvDir_; }
    FileList* fileList() const { return lvDir_; }
    ImageList* imageList() const { return ImgSmall_; }
    QLabel* heading() const { return Label5_; }
    QLabel* hintLabel() const { return Label4_; }
    QLabel* hintArrow() const { return Picture1_; }

    // A widget that lies over the tree and the list while it is shown (the viewer pane);
    // the heading and the hint stay visible above it.
    void setCover(QWidget* cover);
    void showCover(bool shown);
    bool coverShown() const;

signals:
    // "Edu Tikmeter - " + folder, at every refill of the file list.
    void captionChanged(const QString& caption);

private:
    ImageList* ImgSmall_;
    FolderTree* tvDir_;
    FileList* lvDir_;
    QLabel* Label5_;
    QLabel* Label4_;
    QLabel* Picture1_;
    QStackedWidget* stack_;
    QWidget* browsing_;
    QWidget* cover_ = nullptr;
};

} // namespace tikmeter::browser
