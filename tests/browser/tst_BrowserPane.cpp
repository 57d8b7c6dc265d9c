#include "browser/BrowserPane.h"
#include "browser/FileList.h"
#include "browser/FolderTree.h"

#include "TemporaryFolderTree.h"

#include <QSignalSpy>
#include <QTest>

using namespace tikmeter::browser;

class TestBrowserPane : public QObject {
    Q_OBJECT

private slots:
    void treeAndListFollowEachOther() {
        BrowserPane pane;
        pane.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pane));
        TemporaryFolderTree temp;
        temp.addFile("Class C/c.rtf");
        FolderTree* tree = pane.folderTree();
        FileList* list = pane.fileList();
        tree->loadRoots();
        QList<bool> treeEnabled;
        connect(list->model(), &QAbstractItemModel::rowsInserted, this,
                [&] { treeEnabled.push_back(tree->isEnabled()); });
        QSignalSpy caption(&pane, &BrowserPane::captionChanged);
        QVERIFY(tree->showFolder(temp.root()));
        QCOMPARE(caption.value(0), QVariantList{"Edu Tikmeter - " + temp.root()});
        // A click on a node shows its folder in the list.
        tree->nodeForKey(temp.root())->setExpanded(true);
        QTreeWidgetItem* node = tree->nodeForKey(temp.path("Class C"));
        tree->scrollToItem(node);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                          tree->visualItemRect(node).center());
        QCOMPARE(list->currentFolder(), temp.path("Class C"));
        // A double-clicked folder entry opens in the tree, which shows it in the list.
        QVERIFY(tree->showFolder(temp.root()));
        emit list->folderDoubleClicked(temp.path("Class C"));
        QCOMPARE(tree->currentFolder(), temp.path("Class C"));
        QCOMPARE(list->currentFolder(), temp.path("Class C"));
        // The root refills the list each time it is shown, even when unchanged.
        QVERIFY(tree->showFolder("/"));
        const qsizetype fills = caption.count();
        QVERIFY(tree->showFolder("/"));
        QCOMPARE(caption.count(), fills + 1);
        // The tree is disabled while the list fills.
        QVERIFY(!treeEnabled.isEmpty() && !treeEnabled.contains(true));
        QVERIFY(tree->isEnabled());
    }
};

QTEST_MAIN(TestBrowserPane)
#include "tst_BrowserPane.moc"
