#include "browser/FolderTree.h"

#include "browser/FolderListing.h"
#include "browser/IconList.h"
#include "browser/PathText.h"

#include <QDir>
#include <QStyledItemDelegate>

namespace tikmeter::browser {

namespace {

constexpr int kMaxSeparators = 20;
const QString kFolderCacheKey = QStringLiteral("File Folder");

// Draws each node with its image, its expanded image while expanded, and its selected image
// while selected (0 in a role means "use the plain image").
class NodeIconDelegate : public QStyledItemDelegate {
public:
    explicit NodeIconDelegate(FolderTree* tree) : QStyledItemDelegate(tree), tree_(tree) {}

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        int number = index.data(FolderTree::IconRole).toInt();
        const int expanded = index.data(FolderTree::ExpandedIconRole).toInt();
        const int selected = index.data(FolderTree::SelectedIconRole).toInt();
        if (tree_->isExpanded(index) && expanded > 0)
            number = expanded;
        if ((option->state & QStyle::State_Selected) && selected > 0)
            number = selected;
        if (number > 0) {
            option->icon = tree_->iconList().icon(number);
            option->features |= QStyleOptionViewItem::HasDecoration;
            option->decorationSize = QSize(IconList::kPictureSize, IconList::kPictureSize);
        }
    }

private:
    FolderTree* tree_;
};

} // namespace

FolderTree::FolderTree(IconList* icons, QWidget* parent)
    : QTreeWidget(parent), icons_(icons ? icons : new IconList(this)) {
    setColumnCount(1);
    setHeaderHidden(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setIconSize(QSize(IconList::kPictureSize, IconList::kPictureSize));
    setItemDelegate(new NodeIconDelegate(this));
    connect(this, &QTreeWidget::itemExpanded, this, &FolderTree::onItemExpanded);
    connect(this, &QTreeWidget::itemClicked, this, &FolderTree::onItemClicked);
}

QString FolderTree::keyOf(const QTreeWidgetItem* item) {
    return item ? item->data(0, KeyRole).toString() : QString();
}

bool FolderTree::isUnloaded(const QTreeWidgetItem* item) {
    return item && item->childCount() > 0 && item->child(0)->text(0).isEmpty();
}

QTreeWidgetItem* FolderTree::nodeForKey(const QString& key) const {
    return nodesByKey_.value(key, nullptr);
}

void FolderTree::addPlaceholder(QTreeWidgetItem* item) {
    item->addChild(new QTreeWidgetItem);
}

QTreeWidgetItem* FolderTree::addNode(QTreeWidgetItem* parent, const QString& key,
                                     const QString& text, int image) {
    auto* node = new QTreeWidgetItem;
    node->setText(0, text);
    node->setData(0, KeyRole, key);
    node->setData(0, IconRole, image);
    if (parent)
        parent->addChild(node);
    else
        addTopLevelItem(node);
    nodesByKey_.insert(key, node);
    return node;
}

void FolderTree::loadRoots() {
    clear();
    nodesByKey_.clear();
    // The one file-system root is the one drive; it gets its own cached icon.
    for (const QFileInfo& drive : QDir::drives()) {
        const QString rootKey = QDir::cleanPath(drive.absoluteFilePath());
        const int image = icons_->iconIndexFor(rootKey, rootKey);
        addPlaceholder(addNode(nullptr, rootKey, rootKey.toUpper(), image));
    }
}

bool FolderTree::loadChildren(QTreeWidgetItem* item) {
    const std::optional<QStringList> subfolders = subfolderPaths(keyOf(item));
    if (!subfolders)
        return false;
    if (!isUnloaded(item))
        return item->childCount() > 0;
    delete item->takeChild(0);
    for (const QString& path : *subfolders) {
        // All folder nodes share the icon of the first folder ever loaded.
        const int image = icons_->iconIndexFor(path, kFolderCacheKey);
        QTreeWidgetItem* node = addNode(item, path, fileNameOfPath(path), image);
        if (hasSubfolders(path)) {
            addPlaceholder(node);
            node->setData(0, ExpandedIconRole, image);
        }
    }
    return true;
}

void FolderTree::onItemExpanded(QTreeWidgetItem* item) {
    loadChildren(item);
    // A node with nothing to show (no subfolders, or loading failed) collapses again; a failed
    // node keeps its placeholder and loads again on the next expansion.
    if (item->childCount() == 0 || isUnloaded(item))
        item->setExpanded(false);
}

void FolderTree::setCurrentFolder(const QString& path) {
    if (path == currentFolder_)
        return;
    currentFolder_ = path;
    emit currentFolderChanged(path);
}

void FolderTree::onItemClicked(QTreeWidgetItem* item) {
    // Qt reports left-button clicks only, so a right click never changes the folder. A folder
    // that cannot be read (gone, no permission) changes nothing.
    const std::optional<QString> folder = normalisedFolder(keyOf(item));
    if (!folder)
        return;
    setCurrentFolder(*folder);
    if (!isDriveRoot(keyOf(item)))
        item->setData(0, SelectedIconRole, IconList::kSelectedFolderPicture);
}

bool FolderTree::showFolder(const QString& path) {
    if (separatorCount(path) > kMaxSeparators)
        return false;
    const std::optional<QString> folder = normalisedFolder(path);
    if (!folder)
        return false;
    if (!isDriveRoot(*folder)) {
        // Open every prefix from the root down; each expansion loads the next prefix's node.
        const QStringList parts = folder->split(kPathSeparator);
        QString prefix;
        for (int i = 0; i + 1 < parts.size(); ++i) {
            prefix = i == 0 ? QString(kPathSeparator) : joinFilePath(prefix, parts[i]);
            QTreeWidgetItem* node = nodeForKey(prefix);
            if (!node)
                return false;
            node->setExpanded(true);
        }
    }
    setCurrentFolder(*folder);
    QTreeWidgetItem* node = nodeForKey(currentFolder_);
    if (!node)
        return false;
    setCurrentItem(node);
    scrollToItem(node);
    if (isDriveRoot(currentFolder_))
        emit refillRequested(currentFolder_);
    else
        node->setData(0, SelectedIconRole, IconList::kSelectedFolderPicture);
    return true;
}

} // namespace tikmeter::browser
