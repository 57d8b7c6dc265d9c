#include "browser/FolderTree.h"
#include "browser/IconList.h"

#include "TemporaryFolderTree.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

using namespace tikmeter::browser;

static QStringList childTexts(const QTreeWidgetItem* node) {
    QStringList texts;
    for (int i = 0; i < node->childCount(); ++i)
        texts.push_back(node->child(i)->text(0));
    return texts;
}

class TestFolderTree : public QObject {
    Q_OBJECT
    std::unique_ptr<FolderTree> tree_;
    std::unique_ptr<QAbstractItemModelTester> tester_;
    std::unique_ptr<TemporaryFolderTree> temp_;

    QTreeWidgetItem* node(const QString& relative) const {
        return tree_->nodeForKey(temp_->path(relative));
    }

private slots:
    void init() {
        tester_.reset();
        tree_ = std::make_unique<FolderTree>();
        tester_ = std::make_unique<QAbstractItemModelTester>(
            tree_->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        temp_ = std::make_unique<TemporaryFolderTree>();
        tree_->loadRoots();
        tree_->loadRoots(); // loading again replaces the nodes
    }

    void expansion_data() {
        QTest::addColumn<QString>("removed");      // before "a" is first expanded
        QTest::addColumn<QStringList>("children"); // of "a" after its first expansion
        QTest::addColumn<QStringList>("later");    // after a subfolder "a/new" was made
        QTest::newRow("unchanged: loaded once") << "" << QStringList{"sub"} << QStringList{"sub"};
        // Nothing to show: the node collapses without children, loaded.
        QTest::newRow("subfolder gone") << "a/sub" << QStringList{} << QStringList{};
        // Unreadable: the node collapses and keeps its placeholder to try again.
        QTest::newRow("folder gone") << "a" << QStringList{""} << QStringList{"new"};
    }

    void expansion() {
        QFETCH(QString, removed);
        QFETCH(QStringList, children);
        QFETCH(QStringList, later);
        QCOMPARE(tree_->topLevelItemCount(), 1);
        QCOMPARE(childTexts(tree_->nodeForKey("/")), QStringList{""});
        temp_->addFolder("a/sub");
        temp_->addFolder("b");
        temp_->addFile("c.rtf");
        QVERIFY(tree_->showFolder(temp_->root()));
        QCOMPARE(childTexts(node("")), QStringList{""}); // the folder itself stays closed
        node("")->setExpanded(true);
        QCOMPARE(childTexts(node("")), (QStringList{"a", "b"}));
        // Only a folder with subfolders gets a placeholder (and so an expansion sign).
        QCOMPARE(childTexts(node("b")), QStringList{});
        QCOMPARE(childTexts(node("a")), QStringList{""});
        if (!removed.isEmpty())
            QVERIFY(temp_->remove(removed));
        node("a")->setExpanded(true);
        QCOMPARE(childTexts(node("a")), children);
        QCOMPARE(node("a")->isExpanded(), removed.isEmpty());
        temp_->addFolder("a/new");
        node("a")->setExpanded(false);
        node("a")->setExpanded(true);
        QCOMPARE(childTexts(node("a")), later);
    }

    void showFolder_data() {
        QTest::addColumn<QString>("path");   // relative to the temporary root
        QTest::addColumn<int>("separators"); // > 0: a chain of folders with this many in all
        QTest::addColumn<bool>("shown");
        QTest::newRow("deep, with .. and a trailing /") << "A/d1/d2/d3/../d3/" << 0 << true;
        QTest::newRow("missing") << "A/missing" << 0 << false;
        QTest::newRow("twenty separators") << "" << 20 << true;
        QTest::newRow("twenty-one separators") << "" << 21 << false;
    }

    void showFolder() {
        QFETCH(QString, path);
        QFETCH(int, separators);
        QFETCH(bool, shown);
        temp_->addFolder("A/d1/d2/d3");
        if (separators > 0) {
            const qsizetype depth = separators - temp_->root().count('/');
            QVERIFY2(depth > 0, "the temporary folder is too deep");
            path = QStringList(depth, "d").join('/');
            temp_->addFolder(path);
        }
        QVERIFY(tree_->showFolder(temp_->root()));
        QSignalSpy changed(tree_.get(), &FolderTree::currentFolderChanged);
        QCOMPARE(tree_->showFolder(temp_->path(path)), shown);
        QCOMPARE(changed.count(), shown ? 1 : 0);
        QTreeWidgetItem* target = tree_->nodeForKey(QDir::cleanPath(temp_->path(path)));
        QCOMPARE(tree_->currentItem(), shown ? target : node(""));
        // A refused path opens nothing on the way.
        QCOMPARE(FolderTree::isUnloaded(node("")), !shown);
        if (!shown)
            return;
        QVERIFY(!target->isExpanded());
        for (QTreeWidgetItem* up = target->parent(); up; up = up->parent())
            QVERIFY(up->isExpanded());
        QCOMPARE(target->data(0, FolderTree::SelectedIconRole).toInt(),
                 IconList::kSelectedFolderPicture);
    }
};

QTEST_MAIN(TestFolderTree)
#include "tst_FolderTree.moc"
