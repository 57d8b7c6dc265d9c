// The viewer pane and its File-menu commands: open, save as, print, clear.
#include "WindowFixture.h"

#include "documents/Document.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextEdit>
#include <QtTest>

using namespace tikmeter::app;
using namespace tikmeter::app::testing;
using tikmeter::documents::Color;
using tikmeter::documents::Document;

namespace {

// A marked test as the marking session leaves it: red and white marks, bold, underline.
Document markedDocument() {
    Document document;
    document.setText(u"The quick brown fox\r\njumps over the lazy dog.");
    document.setSelStart(4);
    document.setSelLength(5);
    document.setSelColor(tikmeter::documents::kRed);
    document.setSelBold(true);
    document.setSelStart(10);
    document.setSelLength(5);
    document.setSelBackColor(tikmeter::documents::kRed);
    document.setSelColor(tikmeter::documents::kWhite);
    document.setSelUnderline(true);
    return document;
}

// The non-empty lines of a PDF's text, trimmed (blank lines do not survive extraction).
QStringList pdfLines(const QString& pdf) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    if (!process.waitForFinished() || process.exitCode() != 0) {
        return {QStringLiteral("<pdftotext failed>")};
    }
    QStringList lines;
    for (const QString& line : QString::fromUtf8(process.readAllStandardOutput()).split(u'\n')) {
        if (!line.trimmed().isEmpty()) {
            lines.append(line.trimmed());
        }
    }
    return lines;
}

} // namespace

class ViewerTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir files_;

    static QTextEdit* pane(WindowFixture& fixture) {
        return fixture.find<QTextEdit*>("RichTextBox3");
    }
    static QString title(WindowFixture& fixture) { return fixture.find<QLabel*>("Label3")->text(); }

    // Opens `path` as a marked test through the menu.
    void openMarked(WindowFixture& fixture, const QString& path) {
        fixture.dialogs().openAnswers.push_back(path);
        fixture.find<QAction*>("mnuMarked")->trigger();
    }

private slots:
    void cancelledOpenLeavesEmptyVisiblePane_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("filter");
        QTest::newRow("results") << "mnuResults"
                                 << "Result files|*.res|*.res";
        QTest::newRow("marked") << "mnuMarked"
                                << "Marked speed tests|*.rug|*.rug";
    }
    void cancelledOpenLeavesEmptyVisiblePane() {
        QFETCH(QString, command);
        QFETCH(QString, filter);
        WindowFixture fixture;
        fixture.window().show();
        fixture.window().richTextBox3().setText(u"earlier log");
        fixture.window().setLabel3(u"/old/title.rug");
        fixture.dialogs().openAnswers.push_back(QString());
        fixture.find<QAction*>(command)->trigger();

        QCOMPARE(fixture.dialogs().openFilters, QStringList({filter}));
        QVERIFY(pane(fixture)->isVisible());
        QVERIFY(fixture.find<QPushButton*>("Command8_0")->isVisible());
        QVERIFY(pane(fixture)->toPlainText().isEmpty());
        QVERIFY(fixture.window().richTextBox3().text().empty());
        QCOMPARE(title(fixture), QString());
        QVERIFY(fixture.window().state().currentFilePath.empty());
        QVERIFY(fixture.dialogs().messages.empty());
    }

    void openResultsShowsPlainText() {
        WindowFixture fixture;
        fixture.window().show();
        const QString path = files_.path() + "/Resultaat.res";
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("a01.rtf  35\r\na02.rtf  40\r\n");
        file.close();

        fixture.dialogs().openAnswers.push_back(path);
        fixture.find<QAction*>("mnuResults")->trigger();

        QCOMPARE(title(fixture), path);
        QCOMPARE(fixture.window().state().currentFilePath, path.toStdU16String());
        QVERIFY(pane(fixture)->isVisible());
        QCOMPARE(pane(fixture)->document()->blockCount(), 3);
        QCOMPARE(pane(fixture)->document()->findBlockByNumber(1).text(),
                 QStringLiteral("a02.rtf  40"));
    }

    void openMarkedShowsColours() {
        WindowFixture fixture;
        const QString path = files_.path() + "/a01.rug";
        markedDocument().saveFile(path.toStdU16String());
        openMarked(fixture, path);

        QCOMPARE(title(fixture), path);
        QTextDocument* shown = pane(fixture)->document();
        QCOMPARE(shown->toPlainText(),
                 QStringLiteral("The quick brown fox\njumps over the lazy dog."));
        QTextCursor cursor(shown);
        cursor.setPosition(5); // format of the character before position 5: "q"
        QCOMPARE(cursor.charFormat().foreground().color(), QColor(255, 0, 0));
        QCOMPARE(cursor.charFormat().fontWeight(), int(QFont::Bold));
        cursor.setPosition(11); // "b" of "brown"
        QCOMPARE(cursor.charFormat().background().color(), QColor(255, 0, 0));
        QCOMPARE(cursor.charFormat().foreground().color(), QColor(255, 255, 255));
        QVERIFY(cursor.charFormat().fontUnderline());
        cursor.setPosition(1);
        QVERIFY(!cursor.charFormat().fontUnderline());
        QVERIFY(cursor.charFormat().fontWeight() != int(QFont::Bold));
    }

    void failedOpenReportsAndKeepsTitle() {
        WindowFixture fixture;
        const QString path = files_.path() + "/missing.rug";
        openMarked(fixture, path);

        const auto& messages = fixture.dialogs().messages;
        QCOMPARE(messages.size(), std::size_t(1));
        QCOMPARE(messages[0].title, QStringLiteral("Error"));
        QVERIFY(messages[0].text.startsWith(QStringLiteral("Error # ")));
        QVERIFY(messages[0].text.contains(QStringLiteral(" was generated by Edu Tikmeter\r")));
        QCOMPARE(title(fixture), path);
        QVERIFY(fixture.window().richTextBox3().text().empty());
    }

    void saveAsUsesExactName() {
        WindowFixture fixture;
        const QString source = files_.path() + "/for-save.rug";
        markedDocument().saveFile(source.toStdU16String());
        openMarked(fixture, source);

        const QString target = files_.path() + "/saved copy"; // no extension is added
        fixture.dialogs().saveAnswers.push_back(target);
        fixture.find<QAction*>("mnuSave")->trigger();

        QCOMPARE(fixture.dialogs().saveFilters,
                 QStringList({"'Rich Text Format'-Lêers (*.RTF)|*.RTF"}));
        QVERIFY(QFileInfo(target).isFile());
        QVERIFY(!QFileInfo::exists(target + ".RTF"));
        QCOMPARE(fixture.find<QLabel*>("Label4")->text(), target);
        Document back;
        back.loadFile(target.toStdU16String());
        QCOMPARE(back.text(), fixture.window().richTextBox3().text());
        QCOMPARE(back.runs(), fixture.window().richTextBox3().runs());
        QVERIFY(fixture.dialogs().messages.empty());
    }

    void cancelledSaveWritesNothing() {
        WindowFixture fixture;
        const QString hint = fixture.find<QLabel*>("Label4")->text();
        fixture.dialogs().saveAnswers.push_back(QString());
        fixture.find<QAction*>("mnuSave")->trigger();
        QCOMPARE(fixture.find<QLabel*>("Label4")->text(), hint);
        QVERIFY(fixture.dialogs().messages.empty());
    }

    void failedSaveIsReported() {
        WindowFixture fixture;
        fixture.window().richTextBox3().setText(u"log");
        const QString target = files_.path() + "/no such folder/x.rtf";
        fixture.dialogs().saveAnswers.push_back(target);
        fixture.find<QAction*>("mnuSave")->trigger();
        QCOMPARE(fixture.dialogs().messages.size(), std::size_t(1));
        QCOMPARE(fixture.dialogs().messages[0].title, QStringLiteral("Error"));
        QVERIFY(!QFileInfo::exists(target));
        QVERIFY(fixture.find<QLabel*>("Label4")->text() != target);
    }

    void printStartsWithTitleAndRestoresPane() {
        WindowFixture fixture;
        const QString source = files_.path() + "/for-print.rug";
        markedDocument().saveFile(source.toStdU16String());
        openMarked(fixture, source);
        const std::u16string textBefore = fixture.window().richTextBox3().text();
        const auto runsBefore = fixture.window().richTextBox3().runs();

        const QString pdf = files_.path() + "/print.pdf";
        fixture.dialogs().printerAnswers.push_back([&](QPrinter& printer) {
            // While the dialog is up, the title and a blank line head the document.
            const std::u16string shown = fixture.window().richTextBox3().text();
            if (shown != source.toStdU16String() + u"\r\n\r\n" + textBefore) {
                return false;
            }
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return true;
        });
        fixture.find<QAction*>("mnuPrint")->trigger();

        QVERIFY(QFileInfo(pdf).isFile());
        // Title, then the document; the page number follows at the foot of the page.
        const QStringList lines = pdfLines(pdf);
        QVERIFY(lines.size() >= 3);
        QCOMPARE(lines[0], source);
        QCOMPARE(lines[1], QStringLiteral("The quick brown fox"));
        QCOMPARE(lines[2], QStringLiteral("jumps over the lazy dog."));

        QCOMPARE(fixture.window().richTextBox3().text(), textBefore);
        QCOMPARE(fixture.window().richTextBox3().runs(), runsBefore);
        QCOMPARE(pane(fixture)->toPlainText(),
                 QStringLiteral("The quick brown fox\njumps over the lazy dog."));
    }

    void cancelledPrintRestoresPane() {
        WindowFixture fixture;
        fixture.window().richTextBox3().setText(u"only line");
        fixture.window().setLabel3(u"");
        fixture.dialogs().printerAnswers.push_back([](QPrinter&) { return false; });
        fixture.find<QPushButton*>("Command6")->click();
        QCOMPARE(fixture.window().richTextBox3().text(), u"only line");
        QCOMPARE(fixture.dialogs().unexpected, 0);
    }

    void printEmptyPaneGivesTitleOnly() {
        WindowFixture fixture;
        fixture.window().setLabel3(u"Empty pane title");
        const QString pdf = files_.path() + "/empty.pdf";
        fixture.dialogs().printerAnswers.push_back([&](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return true;
        });
        fixture.find<QAction*>("mnuPrint")->trigger();
        // Only the title and the page number.
        QCOMPARE(pdfLines(pdf), QStringList({"Empty pane title", "1"}));
        QVERIFY(fixture.window().richTextBox3().text().empty());
    }

    void clearHidesPane() {
        WindowFixture fixture;
        fixture.window().show();
        const QString path = files_.path() + "/for-clear.rug";
        markedDocument().saveFile(path.toStdU16String());
        openMarked(fixture, path);
        QVERIFY(pane(fixture)->isVisible());

        QTest::mouseClick(fixture.find<QPushButton*>("Command8_0"), Qt::LeftButton);
        QVERIFY(!pane(fixture)->isVisible());
        QVERIFY(!fixture.find<QPushButton*>("Command8_0")->isVisible());
        QCOMPARE(title(fixture), QString());
        QVERIFY(fixture.window().richTextBox3().text().empty());
        QVERIFY(fixture.find<QLabel*>("Label5")->isVisible());
    }
};

QTEST_MAIN(ViewerTest)
#include "tst_Viewer.moc"
