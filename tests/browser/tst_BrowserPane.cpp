#include "browser/BrowserPane.h"
#include "browser/FileList.h"
#include "browser/FolderTree.h"
#include "browser/IconList.h"

#include "TemporaryFolderTree.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>

using namespace tikmeter::browser;

namespace {

QStringList names(const FileList& list) {
    QStringList texts;
    for (int i = 0; i < list.topLevelItemCount(); ++i)
        texts.push_back(list.topLevelItem(i)->text(FileList::NameColumn));
    return texts;
}

} // namespace

class TestBrowserPane : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void startsWithHeadingAndHiddenHint();
    void firstFocusOfTheListShowsTheHint();
    void setTreePathShowsTheFolderInTheList();
    void setTreePathToTheRootRefillsTheList();
    void nodeClickShowsItsFolder();
    void doubleClickedFolderOpensInTheTree();
    void treeIsDisabledWhileTheListFills();
    void treeAndListShareOneImageList();

private:
    std::unique_ptr<BrowserPane> pane_;
};

void TestBrowserPane::init() {
    pane_ = std::make_unique<BrowserPane>();
    pane_->resize(900, 500);
    pane_->folderTree()->loadRoots();
}

void TestBrowserPane::cleanup() {
    pane_.reset();
}

void TestBrowserPane::startsWithHeadingAndHiddenHint() {
    QCOMPARE(pane_->heading()->text(), QString("Search here for speed tests"));
    QCOMPARE(pane_->dragHint()->text(), QString("Drag speed tests to green box"));
    QCOMPARE(pane_->dragHintArrow()->pixmap().size(), QSize(25, 13));
    pane_->show();
    QVERIFY(QTest::qWaitForWindowExposed(pane_.get()));
    QVERIFY(!pane_->dragHint()->isVisible());
    QVERIFY(!pane_->dragHintArrow()->isVisible());
    // The tree stands left of the list.
    QVERIFY(pane_->folderTree()->geometry().right() < pane_->fileList()->geometry().left());
}

void TestBrowserPane::firstFocusOfTheListShowsTheHint() {
    pane_->show();
    QVERIFY(QTest::qWaitForWindowExposed(pane_.get()));
    pane_->activateWindow();
    pane_->folderTree()->setFocus();
    QCoreApplication::processEvents();
    QVERIFY(!pane_->dragHint()->isVisible());
    pane_->fileList()->setFocus();
    QTRY_VERIFY(pane_->dragHint()->isVisible());
    QVERIFY(pane_->dragHintArrow()->isVisible());
    pane_->folderTree()->setFocus();
    QCoreApplication::processEvents();
    QVERIFY(pane_->dragHint()->isVisible());
}

void TestBrowserPane::setTreePathShowsTheFolderInTheList() {
    TemporaryFolderTree temp;
    temp.addFolder("Class A");
    temp.addFile("test.rtf");
    QSignalSpy caption(pane_.get(), &BrowserPane::captionChanged);
    QVERIFY(pane_->folderTree()->showFolder(temp.root()));
    QCOMPARE(pane_->fileList()->currentFolder(), temp.root());
    QCOMPARE(names(*pane_->fileList()), (QStringList{"Class A", "test.rtf"}));
    QCOMPARE(caption.count(), 1);
    QCOMPARE(caption.at(0).at(0).toString(), "Edu Tikmeter - " + temp.root());
}

void TestBrowserPane::setTreePathToTheRootRefillsTheList() {
    QVERIFY(pane_->folderTree()->showFolder("/"));
    QSignalSpy caption(pane_.get(), &BrowserPane::captionChanged);
    QVERIFY(pane_->folderTree()->showFolder("/"));
    QCOMPARE(caption.count(), 1);
    QCOMPARE(pane_->fileList()->currentFolder(), QString("/"));
}

void TestBrowserPane::nodeClickShowsItsFolder() {
    TemporaryFolderTree temp;
    temp.addFile("Class B/b.rtf");
    pane_->show();
    QVERIFY(QTest::qWaitForWindowExposed(pane_.get()));
    QVERIFY(pane_->folderTree()->showFolder(temp.root()));
    FolderTree* tree = pane_->folderTree();
    tree->nodeForKey(temp.root())->setExpanded(true);
    QTreeWidgetItem* node = tree->nodeForKey(temp.path("Class B"));
    QVERIFY(node);
    tree->scrollToItem(node);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier,
                      tree->visualItemRect(node).center());
    QCOMPARE(pane_->fileList()->currentFolder(), temp.path("Class B"));
    QCOMPARE(names(*pane_->fileList()), QStringList{"b.rtf"});
}

void TestBrowserPane::doubleClickedFolderOpensInTheTree() {
    TemporaryFolderTree temp;
    temp.addFile("Class C/c.rtf");
    QVERIFY(pane_->folderTree()->showFolder(temp.root()));
    emit pane_->fileList()->folderDoubleClicked(temp.path("Class C"));
    QCOMPARE(pane_->folderTree()->currentFolder(), temp.path("Class C"));
    QCOMPARE(pane_->folderTree()->currentItem(),
             pane_->folderTree()->nodeForKey(temp.path("Class C")));
    QCOMPARE(names(*pane_->fileList()), QStringList{"c.rtf"});
}

void TestBrowserPane::treeIsDisabledWhileTheListFills() {
    TemporaryFolderTree temp;
    temp.addFile("a.rtf");
    temp.addFile("b.rtf");
    QList<bool> enabledDuringFill;
    connect(pane_->fileList()->model(), &QAbstractItemModel::rowsInserted, pane_.get(),
            [&] { enabledDuringFill.push_back(pane_->folderTree()->isEnabled()); });
    QVERIFY(pane_->folderTree()->showFolder(temp.root()));
    QVERIFY(!enabledDuringFill.isEmpty());
    QVERIFY(!enabledDuringFill.contains(true));
    QVERIFY(pane_->folderTree()->isEnabled());
}

void TestBrowserPane::treeAndListShareOneImageList() {
    TemporaryFolderTree temp;
    temp.addFile("a.rtf");
    QVERIFY(pane_->folderTree()->showFolder(temp.root()));
    QCOMPARE(&pane_->folderTree()->iconList(), pane_->iconList());
    const int before = pane_->iconList()->count();
    QVERIFY(pane_->fileList()->fillFileList());
    QCOMPARE(pane_->iconList()->count(), before); // the type's icon is cached already
}

QTEST_MAIN(TestBrowserPane)
#include "tst_BrowserPane.moc"
