#pragma once

#include <QHash>
#include <QString>
#include <QTreeWidget>

namespace tikmeter::browser {

class IconList;

// The folder tree. The root "/" is the one drive node; folder nodes are loaded when first
// expanded. A node's key (full path) is kept in KeyRole; an unloaded node has a placeholder child
// with empty text and empty key.
class FolderTree : public QTreeWidget {
    Q_OBJECT
public:
    static constexpr int KeyRole = Qt::UserRole;
    static constexpr int IconRole = Qt::UserRole + 1;         // picture number in the icon list
    static constexpr int ExpandedIconRole = Qt::UserRole + 2; // 0 = same as IconRole
    static constexpr int SelectedIconRole = Qt::UserRole + 3; // 0 = same as IconRole

    // icons: the shared icon list; when null the tree makes its own.
    explicit FolderTree(IconList* icons = nullptr, QWidget* parent = nullptr);

    IconList& iconList() const { return *icons_; }

    // Removes every node and adds one node per drive (the root "/"), each with a placeholder.
    void loadRoots();

    // Opens the tree down to path, selects its node and makes it the current folder. Returns
    // false when it stopped at a failure (more than 20 separators, a missing or unreadable
    // folder, a prefix without a node); what was done until then stays.
    bool showFolder(const QString& path);

    // The current folder as set by node clicks and showFolder; "" until the first.
    QString currentFolder() const { return currentFolder_; }

    // The loaded node with this key, or null.
    QTreeWidgetItem* nodeForKey(const QString& key) const;

    static QString keyOf(const QTreeWidgetItem* item);
    // A node whose first child has empty text has not been loaded yet.
    static bool isUnloaded(const QTreeWidgetItem* item);

signals:
    // The current folder changed (node click or showFolder); the file list shows this folder.
    void currentFolderChanged(const QString& path);
    // showFolder reached a drive root: the file list refills now even when unchanged.
    void refillRequested(const QString& path);

private:
    void onItemExpanded(QTreeWidgetItem* item);
    void onItemClicked(QTreeWidgetItem* item);
    bool loadChildren(QTreeWidgetItem* item);
    QTreeWidgetItem* addNode(QTreeWidgetItem* parent, const QString& key, const QString& text,
                             int image);
    static void addPlaceholder(QTreeWidgetItem* item);
    void setCurrentFolder(const QString& path);

    IconList* icons_;
    QHash<QString, QTreeWidgetItem*> nodesByKey_;
    QString currentFolder_;
};

} // namespace tikmeter::browser
