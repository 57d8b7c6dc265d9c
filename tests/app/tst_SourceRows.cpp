// The two source rows: pick, cancel, re-pick, and a copy that cannot be made.
#include "WindowFixture.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

using namespace tikmeter::app;
using namespace tikmeter::app::testing;
using tikmeter::engine::Language;

namespace {

QString label(WindowFixture& fixture, const char* name) {
    return fixture.find<QLabel*>(name)->text();
}

} // namespace

class SourceRowsTest : public QObject {
    Q_OBJECT

private slots:
    void pickCopiesIntoProgramFolder() {
        WindowFixture fixture;
        const QString picked = testDataPath("sources/af1-libreoffice.rtf");
        fixture.pickSource(Language::Afrikaans, picked);

        const QString copy = fixture.programFolder() + "/af1-libreoffice.rtf";
        QCOMPARE(fixture.dialogs().openFilters, QStringList({"Rich Text Format files|*.RTF"}));
        QVERIFY(fixture.dialogs().fileNameClears >= 1);
        QCOMPARE(label(fixture, "Label7_0"), copy);
        QCOMPARE(label(fixture, "Label7_1"), QStringLiteral("(Empty)"));
        QVERIFY(QFileInfo(copy).isFile());
        QCOMPARE(QFileInfo(copy).size(), QFileInfo(picked).size());
        // The document text of the source, not the working document's start text.
        const std::u16string text = fixture.window().richTextBox2().text();
        QVERIFY(text.size() > 50);
        QVERIFY(text.find(u"RichTextBox2") == std::u16string::npos);
        QVERIFY(fixture.dialogs().messages.empty());
    }

    void secondRowKeepsFirstLabel() {
        WindowFixture fixture;
        fixture.pickSource(Language::Afrikaans, testDataPath("sources/af1-libreoffice.rtf"));
        const std::u16string afrikaans = fixture.window().richTextBox2().text();
        fixture.pickSource(Language::English, testDataPath("sources/en1-pandoc.rtf"));

        QCOMPARE(label(fixture, "Label7_0"), fixture.programFolder() + "/af1-libreoffice.rtf");
        QCOMPARE(label(fixture, "Label7_1"), fixture.programFolder() + "/en1-pandoc.rtf");
        QVERIFY(fixture.window().richTextBox2().text() != afrikaans);
    }

    void repickReplacesEarlierCopy() {
        WindowFixture fixture;
        QTemporaryDir other;
        const QString picked = other.path() + "/source.rtf";
        QVERIFY(QFile::copy(testDataPath("sources/en1-pandoc.rtf"), picked));
        fixture.pickSource(Language::English, picked);
        QFile::remove(picked);
        QVERIFY(QFile::copy(testDataPath("sources/en1-libreoffice.rtf"), picked));
        fixture.pickSource(Language::English, picked);

        const QString copy = fixture.programFolder() + "/source.rtf";
        QCOMPARE(label(fixture, "Label7_1"), copy);
        QCOMPARE(QFileInfo(copy).size(),
                 QFileInfo(testDataPath("sources/en1-libreoffice.rtf")).size());
    }

    void cancelEmptiesRowAndSource() {
        WindowFixture fixture;
        fixture.pickSource(Language::English, testDataPath("sources/en1-pandoc.rtf"));
        fixture.pickSource(Language::English, QString());

        QCOMPARE(label(fixture, "Label7_1"), QString()); // empty, not "(Empty)"
        QVERIFY(fixture.window().richTextBox2().text().empty());
        QVERIFY(fixture.dialogs().messages.empty());
        QCOMPARE(fixture.dialogs().unexpected, 0);
    }

    // The program folder has turned into a file: the copy cannot be created there.
    void copyFailureIsReported() {
        WindowFixture fixture;
        const QString folder = fixture.programFolder();
        QVERIFY(QDir(folder).removeRecursively());
        QFile blocker(folder);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();

        const QString picked = testDataPath("sources/en1-pandoc.rtf");
        fixture.pickSource(Language::English, picked);

        const auto& messages = fixture.dialogs().messages;
        QCOMPARE(messages.size(), std::size_t(1));
        QCOMPARE(messages[0].text,
                 QStringLiteral("Please save current file on an accessible disk."));
        QCOMPARE(messages[0].title, QStringLiteral("Error"));
        QCOMPARE(label(fixture, "Label7_1"), picked);
        QVERIFY(fixture.window().richTextBox2().text().empty());
        QVERIFY(fixture.window().state().writeFailure);
        QFile::remove(folder);
    }
};

QTEST_MAIN(SourceRowsTest)
#include "tst_SourceRows.moc"
