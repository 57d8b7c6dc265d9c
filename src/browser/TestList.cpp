#include "browser/TestList.h"

#include "browser/Destination.h"
#include "browser/FileList.h"

#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QUrl>

namespace tikmeter::browser {

namespace {

// Local file paths carried by a drop from another program; other URLs are ignored.
QStringList localPathsOf(const QMimeData* data) {
    QStringList paths;
    if (!data)
        return paths;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            paths.push_back(url.toLocalFile());
    }
    return paths;
}

} // namespace

TestList::TestList(QWidget* parent) : QListWidget(parent) {
    setObjectName(QStringLiteral("testList"));
    QPalette green = palette();
    green.setColor(QPalette::Base, QColor(128, 255, 128));
    setPalette(green);
    setAutoFillBackground(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSortingEnabled(false);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);
}

void TestList::setFileList(FileList* fileList) {
    fileList_ = fileList;
}

QStringList TestList::entries() const {
    QStringList paths;
    paths.reserve(count());
    for (int i = 0; i < count(); ++i)
        paths.push_back(item(i)->text());
    return paths;
}

void TestList::appendEntries(const QStringList& paths) {
    addItems(paths);
}

void TestList::clearEntries() {
    clear();
}

void TestList::deriveDestination() {
    if (const std::optional<Destination> destination =
            browser::deriveDestination(programFolder_, entries()))
        emit destinationDerived(destination->name, destination->path);
}

bool TestList::isFromFileList(const QDropEvent* event) const {
    return fileList_ &&
           (event->source() == fileList_.data() || fileList_->isOwnDragData(event->mimeData()));
}

bool TestList::acceptsDrop(const QDropEvent* event) const {
    if (isFromFileList(event))
        return true;
    return !localPathsOf(event->mimeData()).isEmpty();
}

void TestList::dragEnterEvent(QDragEnterEvent* event) {
    if (acceptsDrop(event))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TestList::dragMoveEvent(QDragMoveEvent* event) {
    if (acceptsDrop(event))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TestList::dropEvent(QDropEvent* event) {
    // A drag from our file list adds the list's selected entries; a drop from anywhere else
    // (a file manager) adds the local files it carries.
    if (isFromFileList(event))
        appendEntries(fileList_->selectedEntryPaths());
    else
        appendEntries(localPathsOf(event->mimeData()));
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void TestList::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete) {
        const QList<QListWidgetItem*> selected = selectedItems();
        if (!selected.isEmpty()) {
            delete takeItem(row(selected.first()));
            // The list would select the next entry by itself: a second Delete must not
            // remove a test the teacher never selected.
            clearSelection();
        }
        return;
    }
    QListWidget::keyPressEvent(event);
}

} // namespace tikmeter::browser
