#pragma once

#include "app/FolderTreeSeam.h"

#include <QWidget>

class QLabel;

namespace tikmeter::app {

// Stands in the browser area until the file browser pane is connected: the heading
// "Search here for speed tests" (Label5), the drag hint (Label4, hidden) and the folder
// the tree would show.
class PlaceholderBrowser : public QWidget, public FolderTreeSeam {
    Q_OBJECT
public:
    explicit PlaceholderBrowser(QWidget* parent = nullptr);

    void LoadDrives() override;
    void SetTreePath(const QString& path) override;

    QLabel* hintLabel() const { return hint_; }
    QString currentFolder() const override { return folder_; }

private:
    QLabel* hint_;
    QLabel* folderLabel_;
    QString folder_;
};

} // namespace tikmeter::app
