#include "browser/FolderTree.h"
#include "browser/IconList.h"

#include "TemporaryFolderTree.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QSignalSpy>
#include <QTest>

using namespace tikmeter::browser;

namespace {

QStringList childTexts(const QTreeWidgetItem* node) {
    QStringList texts;
    for (int i = 0; i < node->childCount(); ++i)
        texts.push_back(node->child(i)->text(0));
    return texts;
}

void click(FolderTree& tree, QTreeWidgetItem* node, Qt::MouseButton button) {
    const QPoint centre = tree.visualItemRect(node).center();
    QTest::mouseClick(tree.viewport(), button, Qt::NoModifier, centre);
}

} // namespace

class TestFolderTree : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void loadDrivesGivesTheRootWithAPlaceholder();
    void namesUnderTheRoot();
    void lazyLoadingAndPlaceholders();
    void secondExpansionLoadsNothingNew();
    void folderWithoutSubfoldersCollapses();
    void unreadableFolderKeepsItsPlaceholder();
    void setTreePathToTheRootRefillsEveryTime();
    void setTreePathOpensADeepPath();
    void setTreePathAcceptsTwentySeparatorsOnly();
    void setTreePathToAMissingPathChangesNothing();
    void leftClickSetsTheFolderRightClickDoesNot();

private:
    std::unique_ptr<FolderTree> tree_;
    std::unique_ptr<QAbstractItemModelTester> tester_;
};

void TestFolderTree::init() {
    tree_ = std::make_unique<FolderTree>();
    tester_ = std::make_unique<QAbstractItemModelTester>(
        tree_->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    tree_->loadRoots();
}

void TestFolderTree::cleanup() {
    tester_.reset();
    tree_.reset();
}

void TestFolderTree::loadDrivesGivesTheRootWithAPlaceholder() {
    QCOMPARE(tree_->topLevelItemCount(), 1);
    QTreeWidgetItem* root = tree_->topLevelItem(0);
    QCOMPARE(FolderTree::keyOf(root), QString("/"));
    QCOMPARE(root->text(0), QString("/"));
    QVERIFY(FolderTree::isUnloaded(root));
    QVERIFY(FolderTree::keyOf(root->child(0)).isEmpty());
    // The drive got its own keyed icon.
    const int image = root->data(0, FolderTree::IconRole).toInt();
    QVERIFY(image > IconList::kSelectedFolderPicture);
    QCOMPARE(tree_->iconList().key(image), QString("/"));
    // Loading again leaves one drive node, not two.
    tree_->loadRoots();
    QCOMPARE(tree_->topLevelItemCount(), 1);
}

void TestFolderTree::namesUnderTheRoot() {
    QTreeWidgetItem* root = tree_->topLevelItem(0);
    root->setExpanded(true);
    QVERIFY(!FolderTree::isUnloaded(root));
    const QString firstComponent = QDir::tempPath().section('/', 1, 1);
    QTreeWidgetItem* node = tree_->nodeForKey("/" + firstComponent);
    QVERIFY(node);
    QCOMPARE(node->parent(), root);
    QCOMPARE(node->text(0), firstComponent);
}

void TestFolderTree::lazyLoadingAndPlaceholders() {
    TemporaryFolderTree temp;
    temp.addFolder("Class A/sub");
    temp.addFolder("Class B");
    temp.addFile("c.rtf");
    QVERIFY(tree_->showFolder(temp.root()));
    QTreeWidgetItem* top = tree_->nodeForKey(temp.root());
    QVERIFY(top);
    QVERIFY(FolderTree::isUnloaded(top)); // the target itself is not expanded
    top->setExpanded(true);
    QCOMPARE(childTexts(top), (QStringList{"Class A", "Class B"}));
    QTreeWidgetItem* classA = tree_->nodeForKey(temp.path("Class A"));
    QTreeWidgetItem* classB = tree_->nodeForKey(temp.path("Class B"));
    QVERIFY(classA && classB);
    QVERIFY(FolderTree::isUnloaded(classA));
    QCOMPARE(classB->childCount(), 0); // no subfolder: no expansion sign
    // All folders share one cached icon; only a node with children gets an expanded image.
    QCOMPARE(classA->data(0, FolderTree::IconRole), classB->data(0, FolderTree::IconRole));
    QCOMPARE(classA->data(0, FolderTree::ExpandedIconRole), classA->data(0, FolderTree::IconRole));
    QVERIFY(!classB->data(0, FolderTree::ExpandedIconRole).isValid());
}

void TestFolderTree::secondExpansionLoadsNothingNew() {
    TemporaryFolderTree temp;
    temp.addFolder("a/x");
    temp.addFolder("a/y");
    QVERIFY(tree_->showFolder(temp.path("a")));
    QTreeWidgetItem* a = tree_->nodeForKey(temp.path("a"));
    a->setExpanded(true);
    QCOMPARE(childTexts(a), (QStringList{"x", "y"}));
    temp.addFolder("a/z"); // made after loading: not reflected
    a->setExpanded(false);
    a->setExpanded(true);
    QCOMPARE(childTexts(a), (QStringList{"x", "y"}));
    QVERIFY(a->isExpanded());
}

void TestFolderTree::folderWithoutSubfoldersCollapses() {
    TemporaryFolderTree temp;
    temp.addFolder("a/gone");
    QVERIFY(tree_->showFolder(temp.root()));
    QTreeWidgetItem* top = tree_->nodeForKey(temp.root());
    top->setExpanded(true);
    QTreeWidgetItem* a = tree_->nodeForKey(temp.path("a"));
    QVERIFY(FolderTree::isUnloaded(a));
    QVERIFY(QDir(temp.path("a/gone")).removeRecursively());
    a->setExpanded(true);
    QCOMPARE(a->childCount(), 0);
    QVERIFY(!a->isExpanded());
}

void TestFolderTree::unreadableFolderKeepsItsPlaceholder() {
    TemporaryFolderTree temp;
    temp.addFolder("a/sub");
    QVERIFY(tree_->showFolder(temp.root()));
    tree_->nodeForKey(temp.root())->setExpanded(true);
    QTreeWidgetItem* a = tree_->nodeForKey(temp.path("a"));
    QVERIFY(QDir(temp.path("a")).removeRecursively());
    a->setExpanded(true);
    QVERIFY(!a->isExpanded());
    QVERIFY(FolderTree::isUnloaded(a));
    // When the folder is back, the next expansion loads it.
    temp.addFolder("a/again");
    a->setExpanded(true);
    QVERIFY(a->isExpanded());
    QCOMPARE(childTexts(a), QStringList{"again"});
}

void TestFolderTree::setTreePathToTheRootRefillsEveryTime() {
    QSignalSpy changed(tree_.get(), &FolderTree::currentFolderChanged);
    QSignalSpy refill(tree_.get(), &FolderTree::refillRequested);
    QVERIFY(tree_->showFolder("/"));
    QVERIFY(tree_->showFolder("/"));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(refill.count(), 2);
    QCOMPARE(refill.at(1).at(0).toString(), QString("/"));
    QCOMPARE(tree_->currentItem(), tree_->topLevelItem(0));
    // A drive node keeps its own picture when selected.
    QVERIFY(!tree_->topLevelItem(0)->data(0, FolderTree::SelectedIconRole).isValid());
}

void TestFolderTree::setTreePathOpensADeepPath() {
    TemporaryFolderTree temp;
    const QString deep = temp.addChain("Class A", 4);
    QSignalSpy changed(tree_.get(), &FolderTree::currentFolderChanged);
    QSignalSpy refill(tree_.get(), &FolderTree::refillRequested);
    // A trailing separator and a ".." step reach the same folder.
    QVERIFY(tree_->showFolder(deep + "/../d4/"));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).toString(), deep);
    QCOMPARE(refill.count(), 0);
    QCOMPARE(tree_->currentFolder(), deep);
    QTreeWidgetItem* node = tree_->nodeForKey(deep);
    QVERIFY(node);
    QCOMPARE(tree_->currentItem(), node);
    QCOMPARE(node->data(0, FolderTree::SelectedIconRole).toInt(), IconList::kSelectedFolderPicture);
    for (QTreeWidgetItem* up = node->parent(); up; up = up->parent())
        QVERIFY2(up->isExpanded(), qPrintable(FolderTree::keyOf(up)));
    QVERIFY(!node->isExpanded());
}

void TestFolderTree::setTreePathAcceptsTwentySeparatorsOnly() {
    TemporaryFolderTree temp;
    const int rootSeparators = static_cast<int>(temp.root().count('/'));
    if (rootSeparators >= 20)
        QSKIP("the temporary folder is too deep");
    const QString twenty = temp.addChain("", 20 - rootSeparators);
    const QString twentyOne = temp.addChain("", 21 - rootSeparators);
    QCOMPARE(twenty.count('/'), 20);
    QVERIFY(tree_->showFolder(twenty));
    QCOMPARE(tree_->currentFolder(), twenty);

    QSignalSpy changed(tree_.get(), &FolderTree::currentFolderChanged);
    QTreeWidgetItem* selected = tree_->currentItem();
    QVERIFY(!tree_->showFolder(twentyOne));
    QCOMPARE(changed.count(), 0);
    QCOMPARE(tree_->currentItem(), selected);
    QCOMPARE(tree_->currentFolder(), twenty);
    // Without the limit the deeper path would have opened the node above it.
    QVERIFY(!tree_->nodeForKey(twenty)->isExpanded());
    QVERIFY(!tree_->nodeForKey(twentyOne));
}

void TestFolderTree::setTreePathToAMissingPathChangesNothing() {
    TemporaryFolderTree temp;
    temp.addFolder("present");
    QVERIFY(tree_->showFolder(temp.root()));
    QSignalSpy changed(tree_.get(), &FolderTree::currentFolderChanged);
    QVERIFY(!tree_->showFolder(temp.path("missing/deeper")));
    QVERIFY(!tree_->showFolder(QString()));
    QCOMPARE(changed.count(), 0);
    QCOMPARE(tree_->currentFolder(), temp.root());
    QVERIFY(FolderTree::isUnloaded(tree_->nodeForKey(temp.root())));
}

void TestFolderTree::leftClickSetsTheFolderRightClickDoesNot() {
    TemporaryFolderTree temp;
    temp.addFolder("left");
    temp.addFolder("right");
    tree_->resize(400, 600);
    tree_->show();
    QVERIFY(QTest::qWaitForWindowExposed(tree_.get()));
    QVERIFY(tree_->showFolder(temp.root()));
    tree_->nodeForKey(temp.root())->setExpanded(true);
    QTreeWidgetItem* left = tree_->nodeForKey(temp.path("left"));
    QTreeWidgetItem* right = tree_->nodeForKey(temp.path("right"));
    tree_->scrollToItem(right);

    QSignalSpy changed(tree_.get(), &FolderTree::currentFolderChanged);
    click(*tree_, right, Qt::RightButton);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(tree_->currentFolder(), temp.root());

    click(*tree_, left, Qt::LeftButton);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).toString(), temp.path("left"));
    QCOMPARE(left->data(0, FolderTree::SelectedIconRole).toInt(), IconList::kSelectedFolderPicture);

    // Clicking a folder that has gone meanwhile changes nothing.
    QVERIFY(QDir(temp.path("right")).removeRecursively());
    click(*tree_, right, Qt::LeftButton);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(tree_->currentFolder(), temp.path("left"));
}

QTEST_MAIN(TestFolderTree)
#include "tst_FolderTree.moc"
