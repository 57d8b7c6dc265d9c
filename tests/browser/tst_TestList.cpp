#include "browser/FileList.h"
#include "browser/TestList.h"

#include "TemporaryFolderTree.h"

#include <QDropEvent>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

using namespace tikmeter::browser;

class TestTestList : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void isLightGreenAndEmpty();
    void dropFromTheFileListAddsTheSelectionInDisplayOrder();
    void droppingTwiceListsTwice();
    void selectedFolderIsAddedAsAPath();
    void dropWithNothingSelectedAddsNothing();
    void dropFromAnotherProgramAddsTheDroppedFiles();
    void foreignDropWithoutFilesIsRefused();
    void endOfDragDerivesTheDestinationFromEntryZero();
    void endOfDragWithAnEmptyListDerivesNothing();
    void deleteRemovesTheSelectedEntry();
    void clearRemovesEverything();

private:
    void fillFolder(const QStringList& files);
    void drop(const QMimeData* data);
    Qt::DropAction lastDropAction_ = Qt::IgnoreAction;
    bool lastDropAccepted_ = false;

    std::unique_ptr<TemporaryFolderTree> temp_;
    std::unique_ptr<FileList> files_;
    std::unique_ptr<TestList> list_;
};

void TestTestList::init() {
    temp_ = std::make_unique<TemporaryFolderTree>();
    files_ = std::make_unique<FileList>();
    list_ = std::make_unique<TestList>();
    list_->setFileList(files_.get());
    list_->setProgramFolder("/opt/Edu Tikmeter");
}

void TestTestList::cleanup() {
    list_.reset();
    files_.reset();
    temp_.reset();
}

void TestTestList::fillFolder(const QStringList& files) {
    for (const QString& file : files)
        temp_->addFile(file);
    QVERIFY(files_->setCurrentFolder(temp_->root()));
}

void TestTestList::drop(const QMimeData* data) {
    const QPoint centre = list_->viewport()->rect().center();
    QDragEnterEvent enter(centre, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton,
                          Qt::NoModifier);
    QCoreApplication::sendEvent(list_->viewport(), &enter);
    QDropEvent dropped(centre, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton,
                       Qt::NoModifier);
    QCoreApplication::sendEvent(list_->viewport(), &dropped);
    lastDropAccepted_ = enter.isAccepted() && dropped.isAccepted();
    lastDropAction_ = dropped.dropAction();
}

void TestTestList::isLightGreenAndEmpty() {
    QCOMPARE(list_->palette().color(QPalette::Base), QColor(128, 255, 128));
    QVERIFY(list_->entries().isEmpty());
    QVERIFY(list_->acceptDrops());
}

void TestTestList::dropFromTheFileListAddsTheSelectionInDisplayOrder() {
    fillFolder({"t1.rtf", "t2.rtf", "t3.rtf", "t4.rtf", "t5.rtf", "t6.rtf", "t7.rtf", "t8.rtf"});
    list_->appendEntries({"/earlier/x.rtf"});
    for (int row : {6, 1, 4})
        files_->topLevelItem(row)->setSelected(true);
    std::unique_ptr<QMimeData> data(files_->createDragData());
    drop(data.get());
    QVERIFY(lastDropAccepted_);
    QCOMPARE(lastDropAction_, Qt::CopyAction); // never a move out of the file list
    QCOMPARE(list_->entries(), (QStringList{"/earlier/x.rtf", temp_->path("t2.rtf"),
                                            temp_->path("t5.rtf"), temp_->path("t7.rtf")}));
}

void TestTestList::droppingTwiceListsTwice() {
    fillFolder({"a.rtf", "b.rtf"});
    files_->topLevelItem(0)->setSelected(true);
    std::unique_ptr<QMimeData> data(files_->createDragData());
    drop(data.get());
    files_->clearSelection();
    files_->topLevelItem(1)->setSelected(true);
    std::unique_ptr<QMimeData> second(files_->createDragData());
    drop(second.get());
    drop(data.get()); // the list's selection decides, not the data carried
    QCOMPARE(list_->entries(),
             (QStringList{temp_->path("a.rtf"), temp_->path("b.rtf"), temp_->path("b.rtf")}));
}

void TestTestList::selectedFolderIsAddedAsAPath() {
    temp_->addFolder("Class A");
    fillFolder({"z.rtf"});
    files_->selectAll();
    std::unique_ptr<QMimeData> data(files_->createDragData());
    drop(data.get());
    QCOMPARE(list_->entries(), (QStringList{temp_->path("Class A"), temp_->path("z.rtf")}));
}

void TestTestList::dropWithNothingSelectedAddsNothing() {
    fillFolder({"a.rtf"});
    std::unique_ptr<QMimeData> data(files_->createDragData());
    drop(data.get());
    QVERIFY(list_->entries().isEmpty());
}

void TestTestList::dropFromAnotherProgramAddsTheDroppedFiles() {
    fillFolder({"selected.rtf"});
    files_->topLevelItem(0)->setSelected(true);
    const QString first = temp_->addFile("elsewhere/one.rtf");
    const QString second = temp_->addFile("elsewhere/two.doc");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(first), QUrl("https://example.org/x.rtf"),
                  QUrl::fromLocalFile(second)});
    drop(&data);
    QVERIFY(lastDropAccepted_);
    QCOMPARE(list_->entries(), (QStringList{first, second}));
}

void TestTestList::foreignDropWithoutFilesIsRefused() {
    fillFolder({"selected.rtf"});
    files_->topLevelItem(0)->setSelected(true);
    QMimeData data;
    data.setText("not a file");
    drop(&data);
    QVERIFY(!lastDropAccepted_);
    QVERIFY(list_->entries().isEmpty());
}

void TestTestList::endOfDragDerivesTheDestinationFromEntryZero() {
    const QString classA = temp_->addFolder("Class A");
    temp_->addFile("Class A/a01.rtf");
    temp_->addFile("other/b.rtf");
    QVERIFY(files_->setCurrentFolder(classA));
    connect(files_.get(), &FileList::dragFinished, list_.get(), &TestList::deriveDestination);
    QSignalSpy derived(list_.get(), &TestList::destinationDerived);
    files_->topLevelItem(0)->setSelected(true);
    std::unique_ptr<QMimeData> data(files_->createDragData());
    drop(data.get());
    files_->finishDrag();
    QCOMPARE(derived.count(), 1);
    QCOMPARE(derived.at(0).at(0).toString(), QString("Class A"));
    QCOMPARE(derived.at(0).at(1).toString(), QString("/opt/Edu Tikmeter/Class A"));
    QVERIFY(files_->selectedItems().isEmpty());

    // A later drag from another folder, dropped elsewhere, still derives from entry 0.
    QVERIFY(files_->setCurrentFolder(temp_->path("other")));
    files_->topLevelItem(0)->setSelected(true);
    files_->finishDrag();
    QCOMPARE(derived.count(), 2);
    QCOMPARE(derived.at(1).at(0).toString(), QString("Class A"));
    QCOMPARE(list_->entries().size(), 1);
}

void TestTestList::endOfDragWithAnEmptyListDerivesNothing() {
    fillFolder({"a.rtf"});
    connect(files_.get(), &FileList::dragFinished, list_.get(), &TestList::deriveDestination);
    QSignalSpy derived(list_.get(), &TestList::destinationDerived);
    files_->topLevelItem(0)->setSelected(true);
    files_->finishDrag();
    QCOMPARE(derived.count(), 0);
    QVERIFY(files_->selectedItems().isEmpty());
}

void TestTestList::deleteRemovesTheSelectedEntry() {
    list_->appendEntries({"/a.rtf", "/b.rtf", "/c.rtf"});
    QTest::keyClick(list_.get(), Qt::Key_Delete); // nothing selected: nothing happens
    QCOMPARE(list_->entries().size(), 3);
    list_->setCurrentRow(1);
    QTest::keyClick(list_.get(), Qt::Key_Backspace);
    QCOMPARE(list_->entries().size(), 3);
    QTest::keyClick(list_.get(), Qt::Key_Delete);
    QCOMPARE(list_->entries(), (QStringList{"/a.rtf", "/c.rtf"}));
    QCOMPARE(list_->item(1)->text(), QString("/c.rtf"));
    // Only the entry the teacher selected goes: pressing Delete again removes nothing.
    QTest::keyClick(list_.get(), Qt::Key_Delete);
    QCOMPARE(list_->entries(), (QStringList{"/a.rtf", "/c.rtf"}));
}

void TestTestList::clearRemovesEverything() {
    list_->appendEntries({"/a.rtf", "/a.rtf"});
    list_->clearEntries();
    QVERIFY(list_->entries().isEmpty());
    QCOMPARE(list_->count(), 0);
}

QTEST_MAIN(TestTestList)
#include "tst_TestList.moc"
