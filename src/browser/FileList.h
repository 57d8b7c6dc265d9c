#pragma once

#include <QByteArray>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QTreeWidget>

#include <functional>

namespace tikmeter::browser {

class IconList;
class TypeNames;

// The file list: the current folder's subfolders, then its RTF files, in a details view with the
// columns "Name", "Size" and "Type". A folder entry keeps its full path in KeyRole; a file entry
// has no key.
class FileList : public QTreeWidget {
    Q_OBJECT
public:
    static constexpr int KeyRole = Qt::UserRole;
    enum Column { NameColumn = 0, SizeColumn = 1, TypeColumn = 2 };

    // icons: the shared icon list; when null the list makes its own.
    explicit FileList(IconList* icons = nullptr, QWidget* parent = nullptr);
    ~FileList() override;

    // Sets the current folder and refills the list (fillFileList(false)) unless the
    // folder is already the current one. Returns false when the folder cannot be read (nothing
    // changes then).
    bool setCurrentFolder(const QString& path);
    QString currentFolder() const { return currentFolder_; }

    // Refills the list from the current folder. With showFolderSizes every folder entry shows
    // its total size; otherwise a single space. Pending events run during the fill; when another
    // refill starts meanwhile, this one stops and the newer one decides the content. Returns
    // false when it stopped at a failure (see lastFillError()) or was overtaken.
    bool fillFileList(bool showFolderSizes = false);
    // Why the last refill stopped early ("" when it completed or was overtaken).
    QString lastFillError() const { return lastFillError_; }

    // Full paths (current folder + "/" + displayed name) of the selected entries, in display
    // order; folder entries included.
    QStringList selectedEntryPaths() const;

    // The data a drag of the selected entries carries: the entries as file URLs for other
    // programs, plus a mark that identifies this list as the source.
    QMimeData* createDragData() const;
    // Whether drag data was made by this list (a drag that began here).
    bool isOwnDragData(const QMimeData* dragData) const;

    // Ends a drag that began here, whatever its outcome: clears the selection and emits
    // dragFinished().
    void finishDrag();

    // Shows the error text of a failed right-click refill. Defaults to a critical message box.
    void setErrorReporter(std::function<void(const QString&)> reporter);

    static QString keyOf(const QTreeWidgetItem* item);
    // The size column text for a size in bytes: kilobytes rounded halves up, grouped with the
    // default locale's group separator, then " KB".
    static QString sizeText(qint64 bytes);

signals:
    void folderDoubleClicked(const QString& key);
    void captionChanged(const QString& caption);
    // true while the list fills (the folder tree is disabled meanwhile).
    void busyChanged(bool busy);
    void dragFinished();
    void firstFocused();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;

private:
    QByteArray sourceMark() const;
    QTreeWidgetItem* entryAtRememberedPosition() const;
    void sortOnce(int column);
    // Lets pending events run; returns false when a newer refill (or the list's destruction)
    // happened meanwhile, so the caller must stop without touching the list.
    bool letEventsRun(quint64 generation);

    IconList* icons_;
    TypeNames* typeNames_;
    QString currentFolder_;
    QString lastFillError_;
    QPoint pointerPosition_;
    Qt::MouseButton lastButton_ = Qt::LeftButton;
    quint64 generation_ = 0;
    bool focusedOnce_ = false;
    std::function<void(const QString&)> errorReporter_;
};

} // namespace tikmeter::browser
