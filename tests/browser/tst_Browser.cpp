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
        QCOMPARE(FileList::sizeText(512), QStringLiteral("1 KB")); // a half rounds up
    }

    // A click on the Name heading sorts by the locale's collation: a letter with a diaeresis
    // among its base letter, folders among files.
    void nameHeadingSortsByCollation() {
        addFolder("folder");
        for (const QString& name : {QStringLiteral("\u00cblise.rtf"), QStringLiteral("zz.rtf"),
                                    QStringLiteral("Frans.rtf"), QStringLiteral("a.rtf")})
            addFile(name, 1);
        QVERIFY(list_->setCurrentFolder(root_));
        clickHeader(FileList::NameColumn);
        QCOMPARE(column(), (QStringList{"a.rtf", QStringLiteral("\u00cblise.rtf"), "folder",
                                        "Frans.rtf", "zz.rtf"}));
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

    void doubleClickOpensTheFolderUnderThePointer_data() {
        QTest::addColumn<double>("y"); // in row heights from the top of the first row
        QTest::addColumn<QString>("opened");
        QTest::newRow("a folder") << 0.25 << "first";
        // A point on the line between two rows lies in both; the later row wins.
        QTest::newRow("border line") << 1.0 << "second";
    }
    void doubleClickOpensTheFolderUnderThePointer() {
        QFETCH(double, y);
        QFETCH(QString, opened);
        addFolder("first");
        addFolder("second");
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

    // A drop from another program adds its local files, never the file list's selection, and
    // is refused when it has none; a drop never moves a file.
    void dropFromAnotherProgram_data() {
        QTest::addColumn<QList<QUrl>>("urls");
        QTest::addColumn<QStringList>("added");
        const QUrl web("https://example.org/x.rtf");
        QTest::newRow("local files")
            << QList<QUrl>{QUrl::fromLocalFile("/x/a.rtf"), web, QUrl::fromLocalFile("/x/b.doc")}
            << QStringList{"/x/a.rtf", "/x/b.doc"};
        QTest::newRow("no local file: refused") << QList<QUrl>{web} << QStringList{};
    }
    void dropFromAnotherProgram() {
        QFETCH(QList<QUrl>, urls);
        QFETCH(QStringList, added);
        addFile("t2.rtf");
        QVERIFY(list_->setCurrentFolder(root_));
        list_->selectAll();
        QMimeData data;
        data.setUrls(urls);
        tests_->appendEntries({"/earlier.rtf"});
        const QPoint centre = tests_->viewport()->rect().center();
        const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
        QDragEnterEvent enter(centre, actions, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(tests_->viewport(), &enter);
        QCOMPARE(enter.isAccepted(), !added.isEmpty());
        QDropEvent dropped(centre, actions, &data, Qt::LeftButton, {});
        if (enter.isAccepted())
            QCoreApplication::sendEvent(tests_->viewport(), &dropped);
        QCOMPARE(dropped.dropAction(), Qt::CopyAction);
        QCOMPARE(tests_->entries(), QStringList{"/earlier.rtf"} + added);
    }

    // At the end of a drag the first entry names the destination; the selection is cleared.
    void endOfDragDerivesTheDestination() {
        addFile("a.rtf");
        QVERIFY(list_->setCurrentFolder(root_));
        list_->selectAll();
        tests_->appendEntries({"/t/Class A/a01.rtf", "/u/Second/b.rtf"});
        connect(list_.get(), &FileList::dragFinished, tests_.get(), &TestList::deriveDestination);
        QSignalSpy spy(tests_.get(), &TestList::destinationDerived);
        list_->finishDrag();
        QCOMPARE(spy, (QList<QVariantList>{{"Class A", "/opt/Edu Tikmeter/Class A"}}));
        QVERIFY(list_->selectedItems().isEmpty());
    }

    void deleteRemovesOneSelectedEntry() {
        tests_->appendEntries({"/a.rtf", "/b.rtf", "/c.rtf"});
        QTest::keyClick(tests_.get(), Qt::Key_Delete); // nothing selected: nothing happens
        tests_->setCurrentRow(1);
        QTest::keyClick(tests_.get(), Qt::Key_Backspace);
        QTest::keyClick(tests_.get(), Qt::Key_Delete);
        // The list would select the next entry by itself; a second Delete must remove nothing.
        QTest::keyClick(tests_.get(), Qt::Key_Delete);
        QCOMPARE(tests_->entries(), (QStringList{"/a.rtf", "/c.rtf"}));
    }

    // Only a folder with subfolders gets a placeholder (and so an expansion sign). A folder
    // gone before its first expansion collapses and keeps its placeholder to try again.
    void expansionOfAVanishedFolderIsTriedAgain() {
        QCOMPARE(tree_->topLevelItemCount(), 1);
        QCOMPARE(childTexts(tree_->nodeForKey("/")), QStringList{""});
        addFolder("a/sub");
        addFolder("b");
        addFile("c.rtf");
        QVERIFY(tree_->showFolder(root_));
        QCOMPARE(childTexts(node("")), QStringList{""}); // the folder itself stays closed
        node("")->setExpanded(true);
        QCOMPARE(childTexts(node("")), (QStringList{"a", "b"}));
        QCOMPARE(childTexts(node("b")), QStringList{});
        QVERIFY(remove("a"));
        node("a")->setExpanded(true);
        QCOMPARE(childTexts(node("a")), QStringList{""});
        QVERIFY(!node("a")->isExpanded());
        addFolder("a/new");
        node("a")->setExpanded(true);
        QCOMPARE(childTexts(node("a")), QStringList{"new"});
    }

    // A path of up to 20 separators is shown, its node selected and every node above it
    // opened; a longer one is refused and opens nothing on the way.
    void showFolder_data() {
        QTest::addColumn<int>("separators");
        QTest::newRow("twenty separators") << 20;
        QTest::newRow("twenty-one separators") << 21;
    }
    void showFolder() {
        QFETCH(int, separators);
        const bool shown = separators <= 20;
        const qsizetype depth = separators - root_.count('/');
        QVERIFY2(depth > 0, "the temporary folder is too deep");
        const QString folder = QStringList(depth, "d").join('/');
        addFolder(folder);
        QVERIFY(tree_->showFolder(root_));
        QSignalSpy changed(tree_.get(), &FolderTree::currentFolderChanged);
        QCOMPARE(tree_->showFolder(path(folder)), shown);
        QCOMPARE(changed.count(), shown ? 1 : 0);
        QTreeWidgetItem* target = node(folder);
        QCOMPARE(tree_->currentItem(), shown ? target : node(""));
        QCOMPARE(FolderTree::isUnloaded(node("")), !shown);
        if (!shown)
            return;
        QVERIFY(!target->isExpanded());
        for (QTreeWidgetItem* up = target->parent(); up; up = up->parent())
            QVERIFY(up->isExpanded());
        QCOMPARE(target->data(0, FolderTree::SelectedIconRole).toInt(),
                 IconList::kSelectedFolderPicture);
    }

    // Pictures 1 to 6 are built in, so the first one made for a path is number 7. A second
    // "Application" (or "Shortcut") finds its key taken: added once without a key.
    void iconIndexFor_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QList<int>>("numbers");
        QTest::newRow("cached key") << "File Folder" << QList<int>{7, 7, 7};
        QTest::newRow("Application") << "Application" << QList<int>{7, 8, 9};
    }
    void iconIndexFor() {
        QFETCH(QString, key);
        QFETCH(QList<int>, numbers);
        addFile("tool.bin", 10);
        IconList icons;
        for (int expected : numbers)
            QCOMPARE(icons.iconIndexFor(path("tool.bin"), key), expected);
        QCOMPARE(icons.count(), numbers.last());
        QCOMPARE(icons.indexOfKey(key), 7);
        QCOMPARE(icons.key(7), key);
        QVERIFY(icons.key(8).isEmpty());
    }

    // The root refills the list each time it is shown, even when unchanged.
    void paneRefillsTheRoot() {
        BrowserPane pane;
        FolderTree* tree = pane.folderTree();
        tree->loadRoots();
        QSignalSpy caption(&pane, &BrowserPane::captionChanged);
        QVERIFY(tree->showFolder("/"));
        const qsizetype fills = caption.count();
        QVERIFY(tree->showFolder("/"));
        QCOMPARE(caption.count(), fills + 1);
    }
};

QTEST_MAIN(TestBrowser)
#include "tst_Browser.moc"
