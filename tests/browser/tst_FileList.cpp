#include "browser/FileList.h"

#include "TemporaryFolderTree.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QHeaderView>
#include <QLocale>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

using namespace tikmeter::browser;

namespace {

QStringList column(const FileList& list, int column) {
    QStringList texts;
    for (int i = 0; i < list.topLevelItemCount(); ++i)
        texts.push_back(list.topLevelItem(i)->text(column));
    return texts;
}

QStringList names(const FileList& list) {
    return column(list, FileList::NameColumn);
}

QTreeWidgetItem* entry(const FileList& list, const QString& name) {
    const QList<QTreeWidgetItem*> found = list.findItems(name, Qt::MatchExactly);
    return found.isEmpty() ? nullptr : found.first();
}

void moveAndDoubleClick(FileList& list, const QPoint& point) {
    QMouseEvent move(QEvent::MouseMove, point, list.viewport()->mapToGlobal(point), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list.viewport(), &move);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, point);
}

void rightClick(FileList& list, QTreeWidgetItem* item) {
    QTest::mouseClick(list.viewport(), Qt::RightButton, Qt::NoModifier,
                      list.visualItemRect(item).center());
}

} // namespace

class TestFileList : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void showsFoldersThenRtfFilesOnly();
    void emptyFolderShowsNothingButTheCaption();
    void setCurrentFolderRefillsOnlyOnChange();
    void sizeTexts_data();
    void sizeTexts();
    void sizeTextFollowsTheLocale();
    void columnClickSortsOnceByText();
    void rightClickOnAFolderShowsFolderSizes();
    void failedFolderSizeStopsTheRefill();
    void doubleClickActsOnTheEntryUnderThePointer();
    void refillDuringARefillEndsWithTheLastFolder();
    void selectionAndDragData();
    void entriesAtTheRootDoubleTheSeparator();
    void firstFocusIsReportedOnce();

private:
    void show();
    std::unique_ptr<FileList> list_;
    std::unique_ptr<QAbstractItemModelTester> tester_;
};

void TestFileList::initTestCase() {
    QLocale::setDefault(QLocale(QLocale::English));
}

void TestFileList::init() {
    list_ = std::make_unique<FileList>();
    tester_ = std::make_unique<QAbstractItemModelTester>(
        list_->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    list_->setErrorReporter([](const QString& text) { QFAIL(qPrintable(text)); });
}

void TestFileList::cleanup() {
    tester_.reset();
    list_.reset();
}

void TestFileList::show() {
    list_->resize(600, 400);
    list_->show();
    QVERIFY(QTest::qWaitForWindowExposed(list_.get()));
}

void TestFileList::showsFoldersThenRtfFilesOnly() {
    TemporaryFolderTree temp;
    temp.addFolder("zeta");
    temp.addFolder("Alpha");
    temp.addFile("notes.rtf", 10);
    temp.addFile("Essay.RTF", 10);
    temp.addFile("a.doc", 10);
    temp.addFile("b.rtf.bak", 10);
    temp.addFile("rtf", 10);
    QVERIFY(list_->setCurrentFolder(temp.root()));
    QCOMPARE(names(*list_), (QStringList{"Alpha", "zeta", "Essay.RTF", "notes.rtf"}));
    QCOMPARE(FileList::keyOf(list_->topLevelItem(0)), temp.path("Alpha"));
    QCOMPARE(FileList::keyOf(list_->topLevelItem(1)), temp.path("zeta"));
    QVERIFY(FileList::keyOf(list_->topLevelItem(2)).isEmpty());
    QCOMPARE(list_->topLevelItem(0)->text(FileList::SizeColumn), QString(" "));
    const QStringList types = column(*list_, FileList::TypeColumn);
    QVERIFY(!types[2].isEmpty());
    QCOMPARE(types[3], types[2]);
    QVERIFY(types[0] != types[2]);
    for (int i = 0; i < list_->topLevelItemCount(); ++i)
        QVERIFY(!list_->topLevelItem(i)->icon(FileList::NameColumn).isNull());
}

void TestFileList::emptyFolderShowsNothingButTheCaption() {
    TemporaryFolderTree temp;
    QSignalSpy caption(list_.get(), &FileList::captionChanged);
    QSignalSpy busy(list_.get(), &FileList::busyChanged);
    QVERIFY(list_->setCurrentFolder(temp.root()));
    QCOMPARE(list_->topLevelItemCount(), 0);
    QCOMPARE(caption.count(), 1);
    QCOMPARE(caption.at(0).at(0).toString(), "Edu Tikmeter - " + temp.root());
    QCOMPARE(busy.count(), 2);
    QCOMPARE(busy.at(0).at(0).toBool(), true);
    QCOMPARE(busy.at(1).at(0).toBool(), false);
}

void TestFileList::setCurrentFolderRefillsOnlyOnChange() {
    TemporaryFolderTree temp;
    temp.addFile("a.rtf");
    QSignalSpy caption(list_.get(), &FileList::captionChanged);
    QVERIFY(list_->setCurrentFolder(temp.root()));
    QVERIFY(list_->setCurrentFolder(temp.root() + "/"));
    QCOMPARE(caption.count(), 1);
    QVERIFY(!list_->setCurrentFolder(temp.path("missing")));
    QCOMPARE(caption.count(), 1);
    QCOMPARE(list_->currentFolder(), temp.root());
    QCOMPARE(names(*list_), QStringList{"a.rtf"});
}

void TestFileList::sizeTexts_data() {
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << qint64(0) << "0 KB";
    QTest::newRow("just under a half") << qint64(511) << "0 KB";
    QTest::newRow("a half rounds up") << qint64(512) << "1 KB";
    QTest::newRow("one and a half") << qint64(1536) << "2 KB";
    QTest::newRow("a megabyte") << qint64(1048576) << "1,024 KB";
}

void TestFileList::sizeTexts() {
    QFETCH(qint64, bytes);
    QFETCH(QString, text);
    TemporaryFolderTree temp;
    temp.addFile("test.rtf", bytes);
    QVERIFY(list_->setCurrentFolder(temp.root()));
    QCOMPARE(list_->topLevelItem(0)->text(FileList::SizeColumn), text);
    QVERIFY(list_->topLevelItem(0)->textAlignment(FileList::SizeColumn) & Qt::AlignRight);
}

void TestFileList::sizeTextFollowsTheLocale() {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QString german = FileList::sizeText(1048576);
    QLocale::setDefault(QLocale(QLocale::English));
    QCOMPARE(german, QString("1.024 KB"));
    QCOMPARE(FileList::sizeText(1024 * 1024 * 1024), QString("1,048,576 KB"));
}

void TestFileList::columnClickSortsOnceByText() {
    TemporaryFolderTree temp;
    temp.addFolder("folder");
    temp.addFile("a nine.rtf", 9 * 1024);
    temp.addFile("b ten.rtf", 10 * 1024);
    show();
    QVERIFY(list_->setCurrentFolder(temp.root()));
    QHeaderView* header = list_->header();
    const QPoint sizeHeading(header->sectionViewportPosition(FileList::SizeColumn) + 20,
                             header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, sizeHeading);
    // As text: the blank folder size first, then "10 KB" before "9 KB".
    QCOMPARE(column(*list_, FileList::SizeColumn), (QStringList{" ", "10 KB", "9 KB"}));
    QVERIFY(!list_->isSortingEnabled());
    // The next refill shows the fill order again.
    QVERIFY(list_->fillFileList());
    QCOMPARE(names(*list_), (QStringList{"folder", "a nine.rtf", "b ten.rtf"}));
}

void TestFileList::rightClickOnAFolderShowsFolderSizes() {
    TemporaryFolderTree temp;
    temp.addFile("big/inner/deeper/x.bin", 2048);
    temp.addFile("big/y.doc", 1024);
    temp.addFile("big/.hidden", 1024);
    temp.addFolder("small");
    temp.addFile("file.rtf", 5 * 1024);
    show();
    QVERIFY(list_->setCurrentFolder(temp.root()));
    QSignalSpy caption(list_.get(), &FileList::captionChanged);

    rightClick(*list_, entry(*list_, "file.rtf"));
    QCOMPARE(caption.count(), 0);
    QCOMPARE(column(*list_, FileList::SizeColumn), (QStringList{" ", " ", "5 KB"}));

    rightClick(*list_, entry(*list_, "small"));
    QCOMPARE(caption.count(), 1);
    QCOMPARE(column(*list_, FileList::SizeColumn), (QStringList{"4 KB", "0 KB", "5 KB"}));

    QVERIFY(list_->setCurrentFolder(temp.path("big")));
    QCOMPARE(column(*list_, FileList::SizeColumn), QStringList{" "});
}

void TestFileList::failedFolderSizeStopsTheRefill() {
    TemporaryFolderTree temp;
    temp.addFile("a/x.bin", 10);
    temp.addFolder("b");
    temp.addFile("c.rtf");
    show();
    QVERIFY(list_->setCurrentFolder(temp.root()));
    QStringList reported;
    list_->setErrorReporter([&reported](const QString& text) { reported.push_back(text); });
    // The folder vanishes between listing and summing.
    const auto removeA = [&temp] { QDir(temp.path("a")).removeRecursively(); };
    auto hook = connect(list_->model(), &QAbstractItemModel::rowsInserted, list_.get(), removeA);
    QSignalSpy busy(list_.get(), &FileList::busyChanged);
    QVERIFY(!list_->fillFileList(true));
    QCOMPARE(names(*list_), QStringList{"a"});
    QVERIFY(list_->lastFillError().contains(temp.path("a")));
    QCOMPARE(busy.count(), 2);
    QCOMPARE(busy.last().at(0).toBool(), false);
    QVERIFY(reported.isEmpty()); // not started by a right-click: silent

    disconnect(hook);
    temp.addFile("a/x.bin", 10);
    QVERIFY(list_->fillFileList(false));
    connect(list_->model(), &QAbstractItemModel::rowsInserted, list_.get(), removeA);
    rightClick(*list_, entry(*list_, "a"));
    QCOMPARE(reported.size(), 1);
    QVERIFY(reported.first().contains(temp.path("a")));
}

void TestFileList::doubleClickActsOnTheEntryUnderThePointer() {
    TemporaryFolderTree temp;
    temp.addFolder("first");
    temp.addFolder("second");
    temp.addFile("test.rtf");
    show();
    QVERIFY(list_->setCurrentFolder(temp.root()));
    QSignalSpy opened(list_.get(), &FileList::folderDoubleClicked);

    const QRect first = list_->visualItemRect(list_->topLevelItem(0));
    moveAndDoubleClick(*list_, first.center());
    QCOMPARE(opened.count(), 1);
    QCOMPARE(opened.at(0).at(0).toString(), temp.path("first"));

    // On the line between two rows both contain the point; the later row wins.
    moveAndDoubleClick(*list_, QPoint(first.left() + 5, first.top() + first.height()));
    QCOMPARE(opened.count(), 2);
    QCOMPARE(opened.at(1).at(0).toString(), temp.path("second"));

    moveAndDoubleClick(*list_, list_->visualItemRect(entry(*list_, "test.rtf")).center());
    const QRect last = list_->visualItemRect(list_->topLevelItem(2));
    moveAndDoubleClick(*list_, QPoint(last.left() + 5, last.bottom() + 10));
    QCOMPARE(opened.count(), 2);
}

void TestFileList::refillDuringARefillEndsWithTheLastFolder() {
    TemporaryFolderTree temp;
    temp.addFile("A/first/x.bin", 10);
    temp.addFile("A/second/y.bin", 10);
    temp.addFile("A/a1.rtf");
    temp.addFile("A/a2.rtf");
    temp.addFolder("B/sub");
    temp.addFile("B/b1.rtf");
    QVERIFY(list_->setCurrentFolder(temp.path("A")));
    bool switched = false;
    // While the folder-size refill of A is under way, the user picks another folder.
    connect(list_->model(), &QAbstractItemModel::rowsInserted, list_.get(), [&] {
        if (!switched) {
            switched = true;
            list_->setCurrentFolder(temp.path("B"));
        }
    });
    QSignalSpy busy(list_.get(), &FileList::busyChanged);
    QVERIFY(!list_->fillFileList(true));
    QVERIFY(switched);
    QCOMPARE(list_->currentFolder(), temp.path("B"));
    QCOMPARE(names(*list_), (QStringList{"sub", "b1.rtf"}));
    QCOMPARE(list_->topLevelItem(0)->text(FileList::SizeColumn), QString(" "));
    QCOMPARE(busy.last().at(0).toBool(), false);
}

void TestFileList::selectionAndDragData() {
    TemporaryFolderTree temp;
    for (int i = 1; i <= 8; ++i)
        temp.addFile(QStringLiteral("t%1.rtf").arg(i));
    QVERIFY(list_->setCurrentFolder(temp.root()));
    list_->topLevelItem(6)->setSelected(true);
    list_->topLevelItem(1)->setSelected(true);
    list_->topLevelItem(4)->setSelected(true);
    const QStringList expected{temp.path("t2.rtf"), temp.path("t5.rtf"), temp.path("t7.rtf")};
    QCOMPARE(list_->selectedEntryPaths(), expected);

    std::unique_ptr<QMimeData> data(list_->createDragData());
    QCOMPARE(data->urls().size(), 3);
    QCOMPARE(data->urls().at(0), QUrl::fromLocalFile(expected[0]));
    QVERIFY(list_->isOwnDragData(data.get()));
    FileList other;
    QVERIFY(!other.isOwnDragData(data.get()));
    QMimeData foreign;
    foreign.setUrls(data->urls());
    QVERIFY(!list_->isOwnDragData(&foreign));

    QSignalSpy finished(list_.get(), &FileList::dragFinished);
    list_->finishDrag();
    QCOMPARE(finished.count(), 1);
    QVERIFY(list_->selectedItems().isEmpty());
}

void TestFileList::entriesAtTheRootDoubleTheSeparator() {
    QVERIFY(list_->setCurrentFolder("/"));
    QCOMPARE(list_->currentFolder(), QString("/"));
    QVERIFY(list_->topLevelItemCount() > 0);
    QTreeWidgetItem* first = list_->topLevelItem(0);
    first->setSelected(true);
    QCOMPARE(list_->selectedEntryPaths(), QStringList{"//" + first->text(0)});
    // The folder's key is its full path, without the doubled separator.
    QCOMPARE(FileList::keyOf(first), "/" + first->text(0));
}

void TestFileList::firstFocusIsReportedOnce() {
    QSignalSpy focused(list_.get(), &FileList::firstFocused);
    QFocusEvent in(QEvent::FocusIn);
    QCoreApplication::sendEvent(list_.get(), &in);
    QCoreApplication::sendEvent(list_.get(), &in);
    QCOMPARE(focused.count(), 1);
}

QTEST_MAIN(TestFileList)
#include "tst_FileList.moc"
