#pragma once

#include <QHash>
#include <QString>
#include <QTreeWidget>

namespace tikmeter::browser {

class ImageList;

// tvDir: the folder tree. The root "/" is the one drive node; folder nodes are loaded when first
// expanded. A node's key (full path) is kept in KeyRole; an unloaded node has a placeholder child
// with empty text and empty key.
class FolderTree : public QTreeWidget {
    Q_OBJECT
public:
    static constexpr int KeyRole = Qt::UserRole;
    static constexpr int ImageRole = Qt::UserRole + 1;         // picture number in ImgSmall
    static constexpr int ExpandedImageRole = Qt::UserRole + 2; // 0 = same as ImageRole
    static constexpr int SelectedImageRole = Qt::UserRole + 3; // 0 = same as ImageRole

    // images: the shared ImgSmall; when null the tree makes its own.
    explicit FolderTree(ImageList* images = nullptr, QWidget* parent = nullptr);

    ImageList& imageList() const { return *images_; }

    // Removes every node and adds one node per drive (the root "/"), each with a placeholder.
    void LoadDrives();

    // Opens the tree down to MyPath, selects its node and makes it the current folder. Returns
    // false when it stopped at a failure (more than 20 separators, a missing or unreadable
    // folder, a prefix without a node); what was done until then stays.
    bool SetTreePath(const QString& MyPath);

    // The current folder (Dir1) as set by node clicks and SetTreePath; "" until the first.
    QString currentFolder() const { return currentFolder_; }

    // The loaded node with this key, or null.
    QTreeWidgetItem* nodeForKey(const QString& key) const;

    static QString keyOf(const QTreeWidgetItem* item);
    // A node whose first child has empty text has not been loaded yet.
    static bool isUnloaded(const QTreeWidgetItem* item);

signals:
    // The current folder changed (node click or SetTreePath); the file list shows this folder.
    void currentFolderChanged(const QString& path);
    // SetTreePath reached a drive root: the file list refills now even when unchanged.
    void refillRequested(const QString& path);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    void onItemExpanded(QTreeWidgetItem* item);
    void onItemClicked(QTreeWidgetItem* item);
    bool loadChildren(QTreeWidgetItem* item);
    QTreeWidgetItem* addNode(QTreeWidgetItem* parent, const QString& key, const QString& text,
                             int image);
    static void addPlaceholder(QTreeWidgetItem* item);
    void setCurrentFolder(const QString& path);

    ImageList* images_;
    QHash<QString, QTreeWidgetItem*> nodesByKey_;
    QString currentFolder_;
    Qt::MouseButton lastButton_ = Qt::LeftButton;
};

} // namespace tikmeter::browser
