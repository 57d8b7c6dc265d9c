#include "browser/FileList.h"

#include "TemporaryFolderTree.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>

using namespace tikmeter::browser;

class TestFileList : public QObject {
    Q_OBJECT
    std::unique_ptr<FileList> list_;
    std::unique_ptr<QAbstractItemModelTester> tester_;
    std::unique_ptr<TemporaryFolderTree> temp_;

    QStringList column(int column = FileList::NameColumn) const {
        QStringList texts;
        for (int i = 0; i < list_->topLevelItemCount(); ++i)
            texts.push_back(list_->topLevelItem(i)->text(column));
        return texts;
    }
    void rightClick(const QString& name) {
        const QTreeWidgetItem* entry = list_->findItems(name, Qt::MatchExactly).value(0);
        QTest::mouseClick(list_->viewport(), Qt::RightButton, {},
                          list_->visualItemRect(entry).center());
    }

private slots:
    void init() {
        QLocale::setDefault(QLocale(QLocale::English));
        tester_.reset();
        list_ = std::make_unique<FileList>();
        tester_ = std::make_unique<QAbstractItemModelTester>(
            list_->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        list_->setErrorReporter([](const QString& text) { QFAIL(qPrintable(text)); });
        list_->resize(600, 300);
        list_->show();
        QVERIFY(QTest::qWaitForWindowExposed(list_.get()));
        temp_ = std::make_unique<TemporaryFolderTree>();
    }

    void listsFoldersThenRtfFilesOnce() {
        for (const char* name : {"zeta/", "Alpha/", "notes.rtf", "Essay.RTF", "a.doc", "b.rtf~"})
            QString(name).endsWith('/') ? temp_->addFolder(name) : temp_->addFile(name, 5120);
        QSignalSpy caption(list_.get(), &FileList::captionChanged);
        QVERIFY(list_->setCurrentFolder(temp_->root()));
        QVERIFY(list_->setCurrentFolder(temp_->root() + "/"));
        QVERIFY(!list_->setCurrentFolder(temp_->path("missing")));
        QCOMPARE(caption.count(), 1); // an unchanged or unreadable folder is not filled again
        QCOMPARE(column(), (QStringList{"Alpha", "zeta", "Essay.RTF", "notes.rtf"}));
        QCOMPARE(column(FileList::SizeColumn), (QStringList{" ", " ", "5 KB", "5 KB"}));
        const QStringList types = column(FileList::TypeColumn);
        QVERIFY(!types[2].isEmpty() && types[2] == types[3] && types[2] != types[0]);
    }

    void sizeText_data() {
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("just under a half") << qint64(511) << "0 KB";
        QTest::newRow("a half rounds up") << qint64(512) << "1 KB";
        QTest::newRow("one and a half") << qint64(1536) << "2 KB";
        QTest::newRow("grouped") << qint64(1024 * 1024 * 1024) << "1,048,576 KB";
    }

    void sizeText() {
        QFETCH(qint64, bytes);
        QFETCH(QString, text);
        QCOMPARE(FileList::sizeText(bytes), text);
    }

    void columnClickSortsOnceByText() {
        temp_->addFolder("folder");
        temp_->addFile("a nine.rtf", 9 * 1024);
        temp_->addFile("b ten.rtf", 10 * 1024);
        QVERIFY(list_->setCurrentFolder(temp_->root()));
        QHeaderView* header = list_->header();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          {header->sectionViewportPosition(FileList::SizeColumn) + 20, 5});
        // As text: the blank folder size first, then "10 KB" before "9 KB".
        QCOMPARE(column(FileList::SizeColumn), (QStringList{" ", "10 KB", "9 KB"}));
        QVERIFY(list_->fillFileList());
        QCOMPARE(column(), (QStringList{"folder", "a nine.rtf", "b ten.rtf"}));
        // Names by the locale's collation: a letter with a diaeresis among its base letter.
        temp_->addFile(QStringLiteral("\u00cblise.rtf"), 1);
        temp_->addFile("zz.rtf", 1);
        temp_->addFile("Frans.rtf", 1);
        QVERIFY(list_->fillFileList());
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          {header->sectionViewportPosition(FileList::NameColumn) + 20, 5});
        QCOMPARE(column(), (QStringList{"a nine.rtf", "b ten.rtf", QStringLiteral("\u00cblise.rtf"),
                                        "folder", "Frans.rtf", "zz.rtf"}));
    }

    void rightClickOnAFolderSumsEveryFolder() {
        temp_->addFile("big/inner/deeper/x.bin", 2048);
        temp_->addFile("big/.hidden", 2048);
        temp_->addFolder("small");
        temp_->addFile("file.rtf", 5120);
        QVERIFY(list_->setCurrentFolder(temp_->root()));
        QSignalSpy caption(list_.get(), &FileList::captionChanged);
        rightClick("file.rtf");
        QCOMPARE(caption.count(), 0);
        rightClick("small");
        QCOMPARE(column(FileList::SizeColumn), (QStringList{"4 KB", "0 KB", "5 KB"}));
        // A folder that vanishes between listing and summing stops the refill, reported.
        QStringList reported;
        list_->setErrorReporter([&reported](const QString& text) { reported.push_back(text); });
        connect(list_->model(), &QAbstractItemModel::rowsInserted, this,
                [this] { temp_->remove("big"); });
        QSignalSpy busy(list_.get(), &FileList::busyChanged);
        rightClick("small");
        QCOMPARE(column(), QStringList{"big"});
        QCOMPARE(reported.size(), 1);
        QVERIFY(reported.first().contains(temp_->path("big")));
        QCOMPARE(busy.last(), QVariantList{false});
    }

    void refillDuringARefillEndsWithTheLastFolder() {
        temp_->addFile("A/first/x.bin", 10);
        temp_->addFolder("B/sub");
        temp_->addFile("B/b1.rtf");
        QVERIFY(list_->setCurrentFolder(temp_->path("A")));
        // While A's folder sizes are summed, the user picks another folder.
        connect(list_->model(), &QAbstractItemModel::rowsInserted, this,
                [this] { list_->setCurrentFolder(temp_->path("B")); });
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
        temp_->addFolder("first");
        temp_->addFolder("second");
        temp_->addFile("test.rtf");
        QVERIFY(list_->setCurrentFolder(temp_->root()));
        // On the row's right border, which counts as inside.
        const QRect row = list_->visualItemRect(list_->topLevelItem(0));
        const QPoint point(row.right() + 1, row.top() + qRound(y * row.height()));
        QSignalSpy spy(list_.get(), &FileList::folderDoubleClicked);
        QTest::mouseClick(list_->viewport(), Qt::LeftButton, {}, point); // a double click's first
        QTest::mouseDClick(list_->viewport(), Qt::LeftButton, {}, point);
        QCOMPARE(spy, opened.isEmpty() ? QList<QVariantList>{}
                                       : QList<QVariantList>{{temp_->path(opened)}});
    }
};

QTEST_MAIN(TestFileList)
#include "tst_FileList.moc"
