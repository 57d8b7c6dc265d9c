#pragma once

#include <QListWidget>
#include <QPointer>
#include <QString>
#include <QStringList>

namespace tikmeter::browser {

class FileList;

// The test list, the green box: the full paths of the tests the next marking session marks, in the
// order they were dropped. Duplicates are allowed; at most one entry is selected.
class TestList : public QListWidget {
    Q_OBJECT
public:
    explicit TestList(QWidget* parent = nullptr);

    // The file list whose selection a drop from it adds.
    void setFileList(FileList* fileList);
    // The folder that holds destination folders (used by deriveDestination()).
    void setProgramFolder(const QString& folder) { programFolder_ = folder; }
    QString programFolder() const { return programFolder_; }

    QStringList entries() const;
    void appendEntries(const QStringList& paths);
    // Removes every entry (the list's "Clear" button).
    void clearEntries();

public slots:
    // End of a drag from the file list: when the list is not empty, emits destinationDerived
    // with the name and path derived from entry 0.
    void deriveDestination();

signals:
    void destinationDerived(const QString& name, const QString& destPath);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool isFromFileList(const QDropEvent* event) const;
    bool acceptsDrop(const QDropEvent* event) const;

    QPointer<FileList> fileList_;
    QString programFolder_;
};

} // namespace tikmeter::browser
