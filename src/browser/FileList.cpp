#include "browser/FileList.h"

#include "browser/FolderListing.h"
#include "browser/IconList.h"
#include "browser/PathText.h"
#include "browser/TypeNames.h"

#include <QCollator>
#include <QCoreApplication>
#include <QDrag>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHeaderView>
#include <QLocale>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>
#include <QScopeGuard>
#include <QUrl>

#include <algorithm>
#include <utility>

namespace tikmeter::browser {

namespace {

const QString kCaptionPrefix = QStringLiteral("Edu Tikmeter - ");
const QString kNoSize = QStringLiteral(" ");
// How long a refill works between two runs of pending events.
constexpr qint64 kEventSliceMs = 15;
const QString kSourceFormat = QStringLiteral("application/x-edu-tikmeter-file-list");

bool isRtfPath(const QString& path) {
    return path.right(4).compare(QLatin1String(".rtf"), Qt::CaseInsensitive) == 0;
}

// The row rectangle with its right and bottom borders included, as the double-click hit test
// counts them: a point on the line between two rows lies in both.
bool containsWithBorders(const QRect& rect, const QPoint& point) {
    return point.x() >= rect.left() && point.x() <= rect.left() + rect.width() &&
           point.y() >= rect.top() && point.y() <= rect.top() + rect.height();
}

} // namespace

FileList::FileList(IconList* icons, QWidget* parent)
    : QTreeWidget(parent), icons_(icons ? icons : new IconList(this)), typeNames_(new TypeNames) {
    setColumnCount(3);
    setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Size"), QStringLiteral("Type")});
    header()->resizeSection(NameColumn, 200);
    header()->resizeSection(SizeColumn, 100);
    header()->resizeSection(TypeColumn, 200);
    headerItem()->setTextAlignment(SizeColumn, Qt::AlignRight | Qt::AlignVCenter);
    header()->setStretchLastSection(false);
    header()->setSectionsClickable(true);
    header()->setSortIndicatorShown(false);
    connect(header(), &QHeaderView::sectionClicked, this, &FileList::sortOnce);

    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setIconSize(QSize(IconList::kPictureSize, IconList::kPictureSize));
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setExpandsOnDoubleClick(false);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setDefaultDropAction(Qt::CopyAction);
    viewport()->setMouseTracking(true);

    errorReporter_ = [this](const QString& text) {
        QMessageBox::critical(this, QStringLiteral("Edu Tikmeter"), text);
    };
}

FileList::~FileList() {
    delete typeNames_;
}

QString FileList::keyOf(const QTreeWidgetItem* item) {
    return item ? item->data(NameColumn, KeyRole).toString() : QString();
}

QString FileList::sizeText(qint64 bytes) {
    const qint64 kilobytes = (bytes + 512) / 1024;
    return QLocale().toString(kilobytes) + QStringLiteral(" KB");
}

void FileList::setErrorReporter(std::function<void(const QString&)> reporter) {
    errorReporter_ = std::move(reporter);
}

bool FileList::setCurrentFolder(const QString& path) {
    const std::optional<QString> folder = normalisedFolder(path);
    if (!folder)
        return false;
    if (*folder == currentFolder_)
        return true;
    currentFolder_ = *folder;
    fillFileList(false);
    return true;
}

bool FileList::letEventsRun(quint64 generation) {
    QPointer<FileList> self(this);
    QCoreApplication::processEvents();
    return self && generation_ == generation;
}

bool FileList::fillFileList(bool showFolderSizes) {
    const quint64 generation = ++generation_;
    QPointer<FileList> self(this);
    lastFillError_.clear();
    emit captionChanged(kCaptionPrefix + currentFolder_);
    emit busyChanged(true);
    clear();

    // Entries are inserted in batches and pending events run once per time slice, not after
    // every single entry: each insertion followed by an event run makes the view lay out all
    // rows again, which for a folder of thousands of tests costs seconds instead of
    // milliseconds. The window stays as responsive as with a run per entry.
    QList<QTreeWidgetItem*> pending;
    const auto discardPending = qScopeGuard([&pending] { qDeleteAll(pending); });
    QElapsedTimer sinceEventsRan;
    sinceEventsRan.start();
    // Adds the pending entries, then lets events run if asked; false when the list was
    // refilled (or destroyed) meanwhile, and the caller must stop without touching it.
    const auto flush = [&](bool runEvents) {
        if (!pending.isEmpty()) {
            const QList<QTreeWidgetItem*> batch = std::exchange(pending, {});
            addTopLevelItems(batch);
        }
        if (!self || generation_ != generation)
            return false;
        if (!runEvents)
            return true;
        sinceEventsRan.restart();
        return letEventsRun(generation);
    };

    const QFileInfoList entries = folderEntries(currentFolder_);
    for (const QFileInfo& info : entries) {
        const bool isFolder = info.isDir();
        const QString path =
            isFolder ? info.absoluteFilePath() : joinFilePath(currentFolder_, info.fileName());
        if (!isFolder && !isRtfPath(path))
            continue;
        const QString type = typeNames_->of(info);
        auto* item = new QTreeWidgetItem;
        item->setText(NameColumn, info.fileName());
        item->setIcon(NameColumn, icons_->icon(icons_->iconIndexFor(path, type)));
        item->setText(SizeColumn, isFolder ? kNoSize : sizeText(info.size()));
        item->setTextAlignment(SizeColumn, Qt::AlignRight | Qt::AlignVCenter);
        item->setText(TypeColumn, type);
        if (isFolder)
            item->setData(NameColumn, KeyRole, path);
        pending.push_back(item);

        if (isFolder && showFolderSizes) {
            // The entry is shown while its folder is summed; events run during the sum.
            if (!flush(false))
                return false;
            const FolderSize size =
                folderSize(path, [this, generation] { return letEventsRun(generation); });
            if (size.outcome == FolderSize::Outcome::Stopped)
                return false; // overtaken: the newer refill owns the list now
            if (size.outcome == FolderSize::Outcome::Failed) {
                lastFillError_ = size.error;
                emit busyChanged(false);
                return false;
            }
            item->setText(SizeColumn, sizeText(size.bytes));
        }
        if (sinceEventsRan.elapsed() >= kEventSliceMs && !flush(true))
            return false;
    }
    if (!flush(false))
        return false;
    emit busyChanged(false);
    return true;
}

QStringList FileList::selectedEntryPaths() const {
    QStringList paths;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = topLevelItem(i);
        if (item->isSelected())
            paths.push_back(joinEntryPath(currentFolder_, item->text(NameColumn)));
    }
    return paths;
}

void FileList::sortOnce(int column) {
    // Sorts by the column's text once; later refills show entries in fill order again. Names
    // follow the teacher's language, so "Ëlise" stands among the E's.
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    QList<QTreeWidgetItem*> items;
    while (topLevelItemCount() > 0)
        items.push_back(takeTopLevelItem(0));
    std::stable_sort(items.begin(), items.end(),
                     [column, &collator](const QTreeWidgetItem* a, const QTreeWidgetItem* b) {
                         if (column == NameColumn)
                             return collator.compare(a->text(column), b->text(column)) < 0;
                         return a->text(column).compare(b->text(column), Qt::CaseInsensitive) < 0;
                     });
    addTopLevelItems(items);
}

void FileList::mousePressEvent(QMouseEvent* event) {
    lastButton_ = event->button();
    pointerPosition_ = event->position().toPoint();
    QTreeWidget::mousePressEvent(event);
}

void FileList::mouseMoveEvent(QMouseEvent* event) {
    pointerPosition_ = event->position().toPoint();
    QTreeWidget::mouseMoveEvent(event);
}

void FileList::mouseReleaseEvent(QMouseEvent* event) {
    QTreeWidget::mouseReleaseEvent(event);
    if (lastButton_ != Qt::RightButton)
        return;
    // A right-click on a folder entry shows the total size of every folder.
    if (keyOf(itemAt(event->position().toPoint())).isEmpty())
        return;
    QPointer<FileList> self(this);
    fillFileList(true);
    if (self && !lastFillError_.isEmpty() && errorReporter_)
        errorReporter_(lastFillError_);
}

QTreeWidgetItem* FileList::entryAtRememberedPosition() const {
    QTreeWidgetItem* found = nullptr;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = topLevelItem(i);
        if (containsWithBorders(visualItemRect(item), pointerPosition_))
            found = item; // the last row in display order wins
    }
    return found;
}

void FileList::mouseDoubleClickEvent(QMouseEvent* event) {
    QTreeWidget::mouseDoubleClickEvent(event);
    const QString key = keyOf(entryAtRememberedPosition());
    if (!key.isEmpty())
        emit folderDoubleClicked(key);
}

void FileList::focusInEvent(QFocusEvent* event) {
    QTreeWidget::focusInEvent(event);
    if (!focusedOnce_) {
        focusedOnce_ = true;
        emit firstFocused();
    }
}

QByteArray FileList::sourceMark() const {
    return QByteArray::number(QCoreApplication::applicationPid()) + ':' +
           QByteArray::number(reinterpret_cast<quintptr>(this));
}

QMimeData* FileList::createDragData() const {
    auto* dragData = new QMimeData;
    QList<QUrl> urls;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = topLevelItem(i);
        if (item->isSelected())
            urls.push_back(
                QUrl::fromLocalFile(joinFilePath(currentFolder_, item->text(NameColumn))));
    }
    dragData->setUrls(urls);
    dragData->setData(kSourceFormat, sourceMark());
    return dragData;
}

bool FileList::isOwnDragData(const QMimeData* dragData) const {
    return dragData && dragData->data(kSourceFormat) == sourceMark();
}

void FileList::startDrag(Qt::DropActions /*supportedActions*/) {
    QPointer<FileList> self(this);
    const QList<QTreeWidgetItem*> items = selectedItems();
    if (!items.isEmpty()) {
        auto* drag = new QDrag(this);
        drag->setMimeData(createDragData());
        // Copy only: a target that asks to move must never take entries out of this list.
        drag->exec(Qt::CopyAction, Qt::CopyAction);
    }
    if (self)
        finishDrag();
}

void FileList::finishDrag() {
    clearSelection();
    emit dragFinished();
}

} // namespace tikmeter::browser
