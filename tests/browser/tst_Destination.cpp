#include "browser/Destination.h"
#include "browser/PathText.h"

#include <QTest>

using namespace tikmeter::browser;

class TestDestination : public QObject {
    Q_OBJECT
private slots:
    void entryJoinDoublesSeparatorAtRoot();
    void derivation_data();
    void derivation();
    void emptyListDerivesNothing();
};

void TestDestination::entryJoinDoublesSeparatorAtRoot() {
    QCOMPARE(joinEntryPath("/", "a.rtf"), QString("//a.rtf"));
    QCOMPARE(joinEntryPath("/t/Class A", "a.rtf"), QString("/t/Class A/a.rtf"));
    // Full file paths in the file list never double the separator.
    QCOMPARE(joinFilePath("/", "a.rtf"), QString("/a.rtf"));
    QCOMPARE(joinFilePath("/t", "a.rtf"), QString("/t/a.rtf"));
    QVERIFY(isDriveRoot("/"));
    QVERIFY(!isDriveRoot("/t"));
    QCOMPARE(separatorCount("/a/b/"), 3);
}

void TestDestination::derivation_data() {
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("path");
    QTest::newRow("Class A") << QStringList{"/home/t/Class A/a01.rtf", "/other/b.rtf"} << "Class A"
                             << "/opt/Edu Tikmeter/Class A";
    // Entry 0 decides, whatever was added after it.
    QTest::newRow("entry 0 wins") << QStringList{"/x/First/a.rtf", "/y/Second/b.rtf"} << "First"
                                  << "/opt/Edu Tikmeter/First";
    QTest::newRow("from the root") << QStringList{"//a.rtf"} << ""
                                   << "/opt/Edu Tikmeter/";
    QTest::newRow("a folder entry") << QStringList{"/t/Class B/sub"} << "Class B"
                                    << "/opt/Edu Tikmeter/Class B";
}

void TestDestination::derivation() {
    QFETCH(QStringList, entries);
    QFETCH(QString, name);
    QFETCH(QString, path);
    const std::optional<Destination> destination = deriveDestination("/opt/Edu Tikmeter", entries);
    QVERIFY(destination.has_value());
    QCOMPARE(destination->name, name);
    QCOMPARE(destination->path, path);
}

void TestDestination::emptyListDerivesNothing() {
    QVERIFY(!deriveDestination("/opt/Edu Tikmeter", {}).has_value());
}

QTEST_APPLESS_MAIN(TestDestination)
#include "tst_Destination.moc"
