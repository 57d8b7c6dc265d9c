#include "browser/IconList.h"

#include "TemporaryFolderTree.h"

#include <QTest>

using namespace tikmeter::browser;

class TestIconList : public QObject {
    Q_OBJECT
private slots:
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
        TemporaryFolderTree temp;
        temp.addFile("tool.bin", 10);
        const QString file = temp.path(exists ? "tool.bin" : "missing");
        IconList icons;
        for (int expected : numbers)
            QCOMPARE(icons.iconIndexFor(file, key), expected);
        QCOMPARE(icons.count(), std::max(6, numbers.last()));
        QCOMPARE(icons.indexOfKey(key), numbers.first());
        QCOMPARE(icons.key(7), exists ? key : QString());
        QVERIFY(icons.key(8).isEmpty());
    }
};

QTEST_MAIN(TestIconList)
#include "tst_IconList.moc"
