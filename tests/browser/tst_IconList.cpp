#include "browser/IconList.h"

#include "TemporaryFolderTree.h"

#include <QTest>

using namespace tikmeter::browser;

class TestIconList : public QObject {
    Q_OBJECT
private slots:
    void startsWithSixUnkeyedPictures();
    void cachedKeyAddsOnePicture();
    void applicationAndShortcutAddAPictureEveryCall_data();
    void applicationAndShortcutAddAPictureEveryCall();
    void takenKeyIsRefused();
    void pathWithoutIconAddsNothing();
};

void TestIconList::startsWithSixUnkeyedPictures() {
    IconList images;
    QCOMPARE(images.count(), 6);
    for (int number = 1; number <= 6; ++number) {
        QVERIFY2(!images.picture(number).isNull(), qPrintable(QString::number(number)));
        QCOMPARE(images.picture(number).size(), QSize(16, 16));
        QVERIFY(images.key(number).isEmpty());
    }
    // The selected-folder picture differs from the plain open folder (it carries the arrow).
    QVERIFY(images.picture(6).toImage() != images.picture(5).toImage());
}

void TestIconList::cachedKeyAddsOnePicture() {
    TemporaryFolderTree tree;
    const QString first = tree.addFolder("first");
    const QString second = tree.addFolder("second");
    IconList images;
    const int number = images.iconIndexFor(first, "File Folder");
    QCOMPARE(number, 7);
    QCOMPARE(images.iconIndexFor(second, "File Folder"), number);
    QCOMPARE(images.count(), 7);
    QCOMPARE(images.key(7), QString("File Folder"));
    // Another key makes another picture.
    QCOMPARE(images.iconIndexFor(tree.addFile("a.rtf"), "RTF document"), 8);
}

void TestIconList::applicationAndShortcutAddAPictureEveryCall_data() {
    QTest::addColumn<QString>("key");
    QTest::newRow("Application") << "Application";
    QTest::newRow("Shortcut") << "Shortcut";
}

void TestIconList::applicationAndShortcutAddAPictureEveryCall() {
    QFETCH(QString, key);
    TemporaryFolderTree tree;
    const QString file = tree.addFile("tool.bin", 10);
    IconList images;
    QCOMPARE(images.iconIndexFor(file, key), 7);
    QCOMPARE(images.iconIndexFor(file, key), 8);
    QCOMPARE(images.iconIndexFor(file, key), 9);
    QCOMPARE(images.key(7), key);
    QVERIFY(images.key(8).isEmpty());
    QVERIFY(images.key(9).isEmpty());
    QCOMPARE(images.indexOfKey(key), 7);
}

void TestIconList::takenKeyIsRefused() {
    IconList images;
    QPixmap picture(16, 16);
    picture.fill(Qt::red);
    QCOMPARE(images.add(picture, "x"), 7);
    QCOMPARE(images.add(picture, "x"), 0);
    QCOMPARE(images.add(picture, ""), 8);
    QCOMPARE(images.add(picture, ""), 9);
    QCOMPARE(images.indexOfKey(""), 0);
}

void TestIconList::pathWithoutIconAddsNothing() {
    TemporaryFolderTree tree;
    IconList images;
    QCOMPARE(images.iconIndexFor(tree.path("missing"), "Application"), 0);
    QCOMPARE(images.count(), 6);
}

QTEST_MAIN(TestIconList)
#include "tst_IconList.moc"
