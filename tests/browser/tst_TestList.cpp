#include "browser/FileList.h"
#include "browser/TestList.h"

#include "TemporaryFolderTree.h"

#include <QDropEvent>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>

using namespace tikmeter::browser;

class TestTestList : public QObject {
    Q_OBJECT
    std::unique_ptr<TemporaryFolderTree> temp_;
    std::unique_ptr<FileList> files_;
    std::unique_ptr<TestList> list_;

private slots:
    void init() {
        temp_ = std::make_unique<TemporaryFolderTree>();
        files_ = std::make_unique<FileList>();
        list_ = std::make_unique<TestList>();
        list_->setFileList(files_.get());
        list_->setProgramFolder("/opt/Edu Tikmeter");
    }

    void drop_data() {
        QTest::addColumn<QString>("folder"); // shown in the file list: "/" or under %1
        QTest::addColumn<QStringList>("selected");
        QTest::addColumn<QList<QUrl>>("foreign"); // dropped by another program
        QTest::addColumn<QStringList>("added");
        const QUrl web("https://example.org/x.rtf");
        QTest::newRow("selection in display order")
            << "" << QStringList{"t7.rtf", "Class A", "t5.rtf"} << QList<QUrl>{}
            << QStringList{"%1/Class A", "%1/t5.rtf", "%1/t7.rtf"};
        QTest::newRow("taken from the root")
            << "/" << QStringList{"tmp"} << QList<QUrl>{} << QStringList{"//tmp"};
        QTest::newRow("nothing selected") << "" << QStringList{} << QList<QUrl>{} << QStringList{};
        // A drop from elsewhere adds its local files, never the file list's selection.
        QTest::newRow("files from another program")
            << "" << QStringList{"t2.rtf"}
            << QList<QUrl>{QUrl::fromLocalFile("/x/a.rtf"), web, QUrl::fromLocalFile("/x/b.doc")}
            << QStringList{"/x/a.rtf", "/x/b.doc"};
        QTest::newRow("no local file: refused")
            << "" << QStringList{"t2.rtf"} << QList<QUrl>{web} << QStringList{};
    }

    void drop() {
        QFETCH(QString, folder);
        QFETCH(QStringList, selected);
        QFETCH(QList<QUrl>, foreign);
        QFETCH(QStringList, added);
        for (const char* name : {"t2.rtf", "t5.rtf", "t7.rtf"})
            temp_->addFile(name);
        temp_->addFolder("Class A");
        QVERIFY(files_->setCurrentFolder(folder == "/" ? folder : temp_->path(folder)));
        for (const QString& name : selected)
            files_->findItems(name, Qt::MatchExactly).value(0)->setSelected(true);
        std::unique_ptr<QMimeData> data(files_->createDragData());
        if (!foreign.isEmpty()) {
            data = std::make_unique<QMimeData>();
            data->setUrls(foreign);
        }
        list_->appendEntries({"/earlier.rtf"});
        const QPoint centre = list_->viewport()->rect().center();
        QDragEnterEvent enter(centre, Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton,
                              {});
        QCoreApplication::sendEvent(list_->viewport(), &enter);
        QCOMPARE(enter.isAccepted(), foreign.isEmpty() || !added.isEmpty());
        QDropEvent dropped(centre, Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton, {});
        if (enter.isAccepted())
            QCoreApplication::sendEvent(list_->viewport(), &dropped);
        QCOMPARE(dropped.dropAction(), Qt::CopyAction); // never a move out of the file list
        for (QString& entry : added)
            entry.replace("%1", temp_->root());
        QCOMPARE(list_->entries(), QStringList{"/earlier.rtf"} + added);
    }

    void endOfDragDerivesTheDestination_data() {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QVariantList>("derived"); // name, destPath
        QTest::newRow("entry 0 decides") << QStringList{"/t/Class A/a01.rtf", "/u/Second/b.rtf"}
                                         << QVariantList{"Class A", "/opt/Edu Tikmeter/Class A"};
        QTest::newRow("taken from the root")
            << QStringList{"//a.rtf"} << QVariantList{"", "/opt/Edu Tikmeter/"};
        QTest::newRow("empty list: nothing") << QStringList{} << QVariantList{};
    }

    void endOfDragDerivesTheDestination() {
        QFETCH(QStringList, entries);
        QFETCH(QVariantList, derived);
        temp_->addFile("a.rtf");
        QVERIFY(files_->setCurrentFolder(temp_->root()));
        files_->selectAll();
        list_->appendEntries(entries);
        connect(files_.get(), &FileList::dragFinished, list_.get(), &TestList::deriveDestination);
        QSignalSpy spy(list_.get(), &TestList::destinationDerived);
        files_->finishDrag();
        QCOMPARE(spy, derived.isEmpty() ? QList<QVariantList>{} : QList<QVariantList>{derived});
        QVERIFY(files_->selectedItems().isEmpty());
    }

    void deleteRemovesOneSelectedEntryClearRemovesAll() {
        list_->appendEntries({"/a.rtf", "/b.rtf", "/c.rtf"});
        QTest::keyClick(list_.get(), Qt::Key_Delete); // nothing selected: nothing happens
        list_->setCurrentRow(1);
        QTest::keyClick(list_.get(), Qt::Key_Backspace);
        QTest::keyClick(list_.get(), Qt::Key_Delete);
        // The list would select the next entry by itself; a second Delete must remove nothing.
        QTest::keyClick(list_.get(), Qt::Key_Delete);
        QCOMPARE(list_->entries(), (QStringList{"/a.rtf", "/c.rtf"}));
        list_->clearEntries();
        QCOMPARE(list_->count(), 0);
    }
};

QTEST_MAIN(TestTestList)
#include "tst_TestList.moc"
