// The browser's widgets: the file list, the green box it fills by drag and drop, the folder
// tree, the icon list they draw from, and the pane that joins tree and list.
#include "browser/BrowserPane.h"
#include "browser/FileList.h"
#include "browser/FolderTree.h"
#include "browser/IconList.h"
#include "browser/TestList.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QDropEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace tikmeter::browser;

static QStringList childTexts(const QTreeWidgetItem* node) {
    QStringList texts;
    for (int i = 0; i < node->childCount(); ++i)
        texts.push_back(node->child(i)->text(0));
    return texts;
}

class TestBrowser : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> dir_;
    QString root_; // the temporary folder of one test, in normalised form
    std::unique_ptr<FileList> list_;
    std::unique_ptr<TestList> tests_;
    std::unique_ptr<FolderTree> tree_;
    std::unique_ptr<QAbstractItemModelTester> listTester_, treeTester_;

    QString path(const QString& relative) const {
        return relative.isEmpty() ? root_ : root_ + '/' + relative;
    }
    void addFolder(const QString& relative) { QDir(root_).mkpath(relative); }
    void addFile(const QString& relative, qint64 size = 0) {
        QDir().mkpath(QFileInfo(path(relative)).path());
        QFile file(path(relative));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(size));
    }
    bool remove(const QString& relative) { return QDir(path(relative)).removeRecursively(); }
    QStringList column(int column = FileList::NameColumn) const {
        QStringList texts;
        for (int i = 0; i < list_->topLevelItemCount(); ++i)
            texts.push_back(list_->topLevelItem(i)->text(column));
        return texts;
    }
    void click(Qt::MouseButton button, const QString& name) {
        const QTreeWidgetItem* entry = list_->findItems(name, Qt::MatchExactly).value(0);
        QTest::mouseClick(list_->viewport(), button, {}, list_->visualItemRect(entry).center());
    }
    QTreeWidgetItem* node(const QString& relative) const {
        return tree_->nodeForKey(path(relative));
    }
    void clickHeader(int section) {
        QTest::mouseClick(list_->header()->viewport(), Qt::LeftButton, {},
                          {list_->header()->sectionViewportPosition(section) + 20, 5});
    }

private slots:
    void init() {
        QLocale::setDefault(QLocale(QLocale::English));
        dir_ = std::make_unique<QTemporaryDir>();
        root_ = QDir(dir_->path()).canonicalPath();
        list_ = std::make_unique<FileList>();
        listTester_ = std::make_unique<QAbstractItemModelTester>(
            list_->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        list_->setErrorReporter([](const QString& text) { QFAIL(qPrintable(text)); });
        list_->resize(600, 300);
        list_->show();
        QVERIFY(QTest::qWaitForWindowExposed(list_.get()));
        tests_ = std::make_unique<TestList>();
        tests_->setFileList(list_.get());
        tests_->setProgramFolder("/opt/Edu Tikmeter");
        tree_ = std::make_unique<FolderTree>();
        treeTester_ = std::make_unique<QAbstractItemModelTester>(
            tree_->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        tree_->loadRoots();
        tree_->loadRoots(); // loading again replaces the nodes
    }
    // The model testers go before their models.
    void cleanup() {
        listTester_.reset();
        treeTester_.reset();
    }

    void listsFoldersThenRtfFilesOnce() {
        for (const char* name : {"zeta/", "Alpha/", "notes.rtf", "Essay.RTF", "a.doc", "b.rtf~"})
            QString(name).endsWith('/') ? addFolder(name) : addFile(name, 5120);
        QSignalSpy caption(list_.get(), &FileList::captionChanged);
        QVERIFY(list_->setCurrentFolder(root_));
        QVERIFY(list_->setCurrentFolder(root_ + "/"));
        QVERIFY(!list_->setCurrentFolder(path("missing")));
        QCOMPARE(caption.count(), 1); // an unchanged or unreadable folder is not filled again
        QCOMPARE(column(), (QStringList{"Alpha", "zeta", "Essay.RTF", "notes.rtf"}));
        QCOMPARE(column(FileList::SizeColumn), (QStringList{" ", " ", "5 KB", "5 KB"}));
        const QStringList types = column(FileList::TypeColumn);
        QVERIFY(!types[2].isEmpty() && types[2] == types[3] && types[2] != types[0]);
        QCOMPARE(FileList::sizeText(511), QStringLiteral("0 KB"));
        QCOMPARE(FileList::sizeText(512), QStringLiteral("1 KB")); // a half rounds up
        QCOMPARE(FileList::sizeText(1024 * 1024 * 1024), QStringLiteral("1,048,576 KB"));
    }

    void columnClickSortsOnceByText() {
        addFolder("folder");
        addFile("a nine.rtf", 9 * 1024);
        addFile("b ten.rtf", 10 * 1024);
        QVERIFY(list_->setCurrentFolder(root_));
        clickHeader(FileList::SizeColumn);
        // As text: the blank folder size first, then "10 KB" before "9 KB".
        QCOMPARE(column(FileList::SizeColumn), (QStringList{" ", "10 KB", "9 KB"}));
        QVERIFY(list_->fillFileList());
        QCOMPARE(column(), (QStringList{"folder", "a nine.rtf", "b ten.rtf"}));
        // Names by the locale's collation: a letter with a diaeresis among its base letter.
        for (const QString& name : {QStringLiteral("\u00cblise.rtf"), QStringLiteral("zz.rtf"),
                                    QStringLiteral("Frans.rtf")})
            addFile(name, 1);
        QVERIFY(list_->fillFileList());
        clickHeader(FileList::NameColumn);
        QCOMPARE(column(), (QStringList{"a nine.rtf", "b ten.rtf", QStringLiteral("\u00cblise.rtf"),
                                        "folder", "Frans.rtf", "zz.rtf"}));
    }

    void rightClickOnAFolderSumsEveryFolder() {
        addFile("big/inner/deeper/x.bin", 2048);
        addFile("big/.hidden", 2048);
        addFolder("small");
        addFile("file.rtf", 5120);
        QVERIFY(list_->setCurrentFolder(root_));
        QSignalSpy caption(list_.get(), &FileList::captionChanged);
        click(Qt::RightButton, "file.rtf");
        QCOMPARE(caption.count(), 0);
        click(Qt::RightButton, "small");
        QCOMPARE(column(FileList::SizeColumn), (QStringList{"4 KB", "0 KB", "5 KB"}));
        // A folder that vanishes between listing and summing stops the refill, reported.
        QStringList reported;
        list_->setErrorReporter([&reported](const QString& text) { reported.push_back(text); });
        connect(list_->model(), &QAbstractItemModel::rowsInserted, this, [this] { remove("big"); });
        QSignalSpy busy(list_.get(), &FileList::busyChanged);
        click(Qt::RightButton, "small");
        QCOMPARE(column(), QStringList{"big"});
        QCOMPARE(reported.size(), 1);
        QVERIFY(reported.first().contains(path("big")));
        QCOMPARE(busy.last(), QVariantList{false});
    }

    void refillDuringARefillEndsWithTheLastFolder() {
        addFile("A/first/x.bin", 10);
        addFolder("B/sub");
        addFile("B/b1.rtf");
        QVERIFY(list_->setCurrentFolder(path("A")));
        // While A's folder sizes are summed, the user picks another folder.
        connect(list_->model(), &QAbstractItemModel::rowsInserted, this,
                [this] { list_->setCurrentFolder(path("B")); });
        QVERIFY(!list_->fillFileList(true));
        QCOMPARE(column(), (QStringList{"sub", "b1.rtf"}));
        QCOMPARE(column(FileList::SizeColumn), (QStringList{" ", "0 KB"}));
    }

    void doubleClickOpensTheFolderUnderThePointer_data() {
        QTest::addColumn<double>("y"); // in row heights from the top of the first row
        QTest::addColumn<QString>("opened");
        QTest::newRow("a folder") << 0.25 << "first";
        // A point on the line between two rows lies in both; the later row wins.
        QTest::newRow("border line") << 1.0 << "second";
        QTest::newRow("a file") << 2.25 << "";
        QTest::newRow("below the last row") << 3.5 << "";
    }
    void doubleClickOpensTheFolderUnderThePointer() {
        QFETCH(double, y);
        QFETCH(QString, opened);
        addFolder("first");
        addFolder("second");
        addFile("test.rtf");
        QVERIFY(list_->setCurrentFolder(root_));
        // On the row's right border, which counts as inside.
        const QRect row = list_->visualItemRect(list_->topLevelItem(0));
        const QPoint point(row.right() + 1, row.top() + qRound(y * row.height()));
        QSignalSpy spy(list_.get(), &FileList::folderDoubleClicked);
        QTest::mouseClick(list_->viewport(), Qt::LeftButton, {}, point); // a double click's first
        QTest::mouseDClick(list_->viewport(), Qt::LeftButton, {}, point);
        QCOMPARE(spy,
                 opened.isEmpty() ? QList<QVariantList>{} : QList<QVariantList>{{path(opened)}});
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
            addFile(name);
        addFolder("Class A");
        QVERIFY(list_->setCurrentFolder(folder == "/" ? folder : path(folder)));
        for (const QString& name : selected)
            list_->findItems(name, Qt::MatchExactly).value(0)->setSelected(true);
        std::unique_ptr<QMimeData> data(list_->createDragData());
        if (!foreign.isEmpty()) {
            data = std::make_unique<QMimeData>();
            data->setUrls(foreign);
        }
        tests_->appendEntries({"/earlier.rtf"});
        const QPoint centre = tests_->viewport()->rect().center();
        const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
        QDragEnterEvent enter(centre, actions, data.get(), Qt::LeftButton, {});
        QCoreApplication::sendEvent(tests_->viewport(), &enter);
        QCOMPARE(enter.isAccepted(), foreign.isEmpty() || !added.isEmpty());
        QDropEvent dropped(centre, actions, data.get(), Qt::LeftButton, {});
        if (enter.isAccepted())
            QCoreApplication::sendEvent(tests_->viewport(), &dropped);
        QCOMPARE(dropped.dropAction(), Qt::CopyAction); // never a move out of the file list
        QCOMPARE(tests_->entries(),
                 QStringList{"/earlier.rtf"} + added.replaceInStrings("%1", root_));
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
        addFile("a.rtf");
        QVERIFY(list_->setCurrentFolder(root_));
        list_->selectAll();
        tests_->appendEntries(entries);
        connect(list_.get(), &FileList::dragFinished, tests_.get(), &TestList::deriveDestination);
        QSignalSpy spy(tests_.get(), &TestList::destinationDerived);
        list_->finishDrag();
        QCOMPARE(spy, derived.isEmpty() ? QList<QVariantList>{} : QList<QVariantList>{derived});
        QVERIFY(list_->selectedItems().isEmpty());
    }

    void deleteRemovesOneSelectedEntryClearRemovesAll() {
        tests_->appendEntries({"/a.rtf", "/b.rtf", "/c.rtf"});
        QTest::keyClick(tests_.get(), Qt::Key_Delete); // nothing selected: nothing happens
        tests_->setCurrentRow(1);
        QTest::keyClick(tests_.get(), Qt::Key_Backspace);
        QTest::keyClick(tests_.get(), Qt::Key_Delete);
        // The list would select the next entry by itself; a second Delete must remove nothing.
        QTest::keyClick(tests_.get(), Qt::Key_Delete);
        QCOMPARE(tests_->entries(), (QStringList{"/a.rtf", "/c.rtf"}));
        tests_->clearEntries();
        QCOMPARE(tests_->count(), 0);
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
        addFolder("a/sub");
        addFolder("b");
        addFile("c.rtf");
        QVERIFY(tree_->showFolder(root_));
        QCOMPARE(childTexts(node("")), QStringList{""}); // the folder itself stays closed
        node("")->setExpanded(true);
        QCOMPARE(childTexts(node("")), (QStringList{"a", "b"}));
        // Only a folder with subfolders gets a placeholder (and so an expansion sign).
        QCOMPARE(childTexts(node("b")), QStringList{});
        QCOMPARE(childTexts(node("a")), QStringList{""});
        if (!removed.isEmpty())
            QVERIFY(remove(removed));
        node("a")->setExpanded(true);
        QCOMPARE(childTexts(node("a")), children);
        QCOMPARE(node("a")->isExpanded(), removed.isEmpty());
        addFolder("a/new");
        node("a")->setExpanded(false);
        node("a")->setExpanded(true);
        QCOMPARE(childTexts(node("a")), later);
    }

    void showFolder_data() {
        QTest::addColumn<QString>("folder"); // relative to the temporary root
        QTest::addColumn<int>("separators"); // > 0: a chain of folders with this many in all
        QTest::addColumn<bool>("shown");
        QTest::newRow("deep, with .. and a trailing /") << "A/d1/d2/d3/../d3/" << 0 << true;
        QTest::newRow("missing") << "A/missing" << 0 << false;
        QTest::newRow("twenty separators") << "" << 20 << true;
        QTest::newRow("twenty-one separators") << "" << 21 << false;
    }
    void showFolder() {
        QFETCH(QString, folder);
        QFETCH(int, separators);
        QFETCH(bool, shown);
        addFolder("A/d1/d2/d3");
        if (separators > 0) {
            const qsizetype depth = separators - root_.count('/');
            QVERIFY2(depth > 0, "the temporary folder is too deep");
            folder = QStringList(depth, "d").join('/');
            addFolder(folder);
        }
        QVERIFY(tree_->showFolder(root_));
        QSignalSpy changed(tree_.get(), &FolderTree::currentFolderChanged);
        QCOMPARE(tree_->showFolder(path(folder)), shown);
        QCOMPARE(changed.count(), shown ? 1 : 0);
        QTreeWidgetItem* target = tree_->nodeForKey(QDir::cleanPath(path(folder)));
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

    void iconIndexFor_data() {
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QList<int>>("numbers");
        // Pictures 1 to 6 are built in, so the first one made for a path is number 7.
        QTest::newRow("cached key") << true << "File Folder" << QList<int>{7, 7, 7};
        // A second "Application" or "Shortcut" finds its key taken: added once without a key.
        QTest::newRow("Application") << true << "Application" << QList<int>{7, 8, 9};
        QTest::newRow("Shortcut") << true << "Shortcut" << QList<int>{7, 8, 9};
        QTest::newRow("no icon") << false << "Application" << QList<int>{0, 0, 0};
    }
    void iconIndexFor() {
        QFETCH(bool, exists);
        QFETCH(QString, key);
        QFETCH(QList<int>, numbers);
        addFile("tool.bin", 10);
        const QString file = path(exists ? "tool.bin" : "missing");
        IconList icons;
        for (int expected : numbers)
            QCOMPARE(icons.iconIndexFor(file, key), expected);
        QCOMPARE(icons.count(), std::max(6, numbers.last()));
        QCOMPARE(icons.indexOfKey(key), numbers.first());
        QCOMPARE(icons.key(7), exists ? key : QString());
        QVERIFY(icons.key(8).isEmpty());
    }

    void paneJoinsTreeAndList() {
        BrowserPane pane;
        pane.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pane));
        addFile("Class C/c.rtf");
        FolderTree* tree = pane.folderTree();
        FileList* list = pane.fileList();
        tree->loadRoots();
        QList<bool> treeEnabled;
        connect(list->model(), &QAbstractItemModel::rowsInserted, this,
                [&] { treeEnabled.push_back(tree->isEnabled()); });
        QSignalSpy caption(&pane, &BrowserPane::captionChanged);
        QVERIFY(tree->showFolder(root_));
        // A click on a node shows its folder in the list.
        tree->nodeForKey(root_)->setExpanded(true);
        QTreeWidgetItem* classNode = tree->nodeForKey(path("Class C"));
        tree->scrollToItem(classNode);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                          tree->visualItemRect(classNode).center());
        QCOMPARE(list->currentFolder(), path("Class C"));
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

QTEST_MAIN(TestBrowser)
#include "tst_Browser.moc"
