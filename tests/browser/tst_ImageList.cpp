#include "browser/ImageList.h"

#include "TempTree.h"

#include <QTest>

using namespace tikmeter::browser;

class TestImageList : public QObject {
    Q_OBJECT
private slots:
    void startsWithSixUnkeyedPictures();
    void cachedKeyAddsOnePicture();
    void applicationAndShortcutAddAPictureEveryCall_data();
    void applicationAndShortcutAddAPictureEveryCall();
    void takenKeyIsRefused();
    void pathWithoutIconAddsNothing();
};

void TestImageList::startsWithSixUnkeyedPictures() {
    ImageList images;
    QCOMPARE(images.count(), 6);
    for (int number = 1; number <= 6; ++number) {
        QVERIFY2(!images.picture(number).isNull(), qPrintable(QString::number(number)));
        QCOMPARE(images.picture(number).size(), QSize(16, 16));
        QVERIFY(images.key(number).isEmpty());
    }
    // The selected-folder picture differs from the plain open folder (it carries the arrow).
    QVERIFY(images.picture(6).toImage() != images.picture(5).toImage());
}

void TestImageList::cachedKeyAddsOnePicture() {
    TempTree tree;
    const QString first = tree.addFolder("first");
    const QString second = tree.addFolder("second");
    ImageList images;
    const int number = images.GetFileIcon(first, "File Folder");
    QCOMPARE(number, 7);
    QCOMPARE(images.GetFileIcon(second, "File Folder"), number);
    QCOMPARE(images.count(), 7);
    QCOMPARE(images.key(7), QString("File Folder"));
    // Another key makes another picture.
    QCOMPARE(images.GetFileIcon(tree.addFile("a.rtf"), "RTF document"), 8);
}

void TestImageList::applicationAndShortcutAddAPictureEveryCall_data() {
    QTest::addColumn<QString>("key");
    QTest::newRow("Application") << "Application";
    QTest::newRow("Shortcut") << "Shortcut";
}

void TestImageList::applicationAndShortcutAddAPictureEveryCall() {
    QFETCH(QString, key);
    TempTree tree;
    const QString file = tree.addFile("tool.bin", 10);
    ImageList images;
    QCOMPARE(images.GetFileIcon(file, key), 7);
    QCOMPARE(images.GetFileIcon(file, key), 8);
    QCOMPARE(images.GetFileIcon(file, key), 9);
    QCOMPARE(images.key(7), key);
    QVERIFY(images.key(8).isEmpty());
    QVERIFY(images.key(9).isEmpty());
    QCOMPARE(images.indexOfKey(key), 7);
}

void TestImageList::takenKeyIsRefused() {
    ImageList images;
    QPixmap picture(16, 16);
    picture.fill(Qt::red);
    QCOMPARE(images.add(picture, "x"), 7);
    QCOMPARE(images.add(picture, "x"), 0);
    QCOMPARE(images.add(picture, ""), 8);
    QCOMPARE(images.add(picture, ""), 9);
    QCOMPARE(images.indexOfKey(""), 0);
}

void TestImageList::pathWithoutIconAddsNothing() {
    TempTree tree;
    ImageList images;
    QCOMPARE(images.GetFileIcon(tree.path("missing"), "Application"), 0);
    QCOMPARE(images.count(), 6);
}

QTEST_MAIN(TestImageList)
#include "tst_ImageList.moc"
