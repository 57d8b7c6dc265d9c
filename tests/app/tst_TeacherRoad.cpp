// The teacher's whole road through the real window: start at a folder, browse to the
// class, select tests, drag them into the green box, pick the sources, mark, open the
// result file and a marked test, print to PDF. Under a real display (Xvfb) the run also
// saves screenshots when TIKMETER_SCREENSHOT_DIR names a folder.
#include "WindowFixture.h"
#include "app/ClassResultsWindow.h"
#include "browser/FileList.h"
#include "browser/TestList.h"

#include <QAction>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPrinter>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QtTest>

using namespace tikmeter::app;
using namespace tikmeter::app::testing;
using tikmeter::browser::FileList;
using tikmeter::browser::TestList;
using tikmeter::engine::Language;

namespace {

void screenshot(QWidget& window, const QString& name) {
    const QString folder = qEnvironmentVariable("TIKMETER_SCREENSHOT_DIR");
    if (!folder.isEmpty()) {
        QCoreApplication::processEvents();
        window.grab().save(folder + u'/' + name);
    }
}

// A drag that enters the green box and is dropped there.
void dropOn(TestList& list, const QMimeData& data) {
    const QPoint centre = list.viewport()->rect().center();
    QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list.viewport(), &enter);
    QDropEvent drop(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list.viewport(), &drop);
}

QTreeWidgetItem* entryNamed(const FileList& list, const QString& name) {
    const auto found = list.findItems(name, Qt::MatchExactly);
    return found.isEmpty() ? nullptr : found.first();
}

QStringList resultLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QStringList lines = QString::fromLatin1(file.readAll()).split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty()) {
        lines.removeLast();
    }
    return lines;
}

} // namespace

class TeacherRoadTest : public QObject {
    Q_OBJECT

private slots:
    void wholeRoad() {
        QTemporaryDir school;
        const QString classFolder = school.path() + "/Class A";
        QVERIFY(QDir().mkpath(classFolder));
        const QStringList tests = {"a01", "a02", "a13", "a14"};
        for (const QString& name : tests) {
            QVERIFY(QFile::copy(testDataPath("class-a/" + name + ".rtf"),
                                classFolder + u'/' + name + ".rtf"));
        }
        QVERIFY(QFile::copy(testDataPath("bad/plain-text.rtf"), classFolder + "/notes.doc"));

        // Start at the school folder given on the command line.
        WindowFixture fixture({school.path()});
        MainWindow& window = fixture.window();
        window.show();
        auto* files = fixture.find<FileList*>();
        QCOMPARE(files->currentFolder(), school.path());
        QCOMPARE(window.windowTitle(), "Edu Tikmeter - " + school.path());

        // Browse: double-click the class folder where the pointer is.
        QTreeWidgetItem* classEntry = entryNamed(*files, "Class A");
        QVERIFY(classEntry != nullptr);
        const QPoint point = files->visualItemRect(classEntry).center();
        QMouseEvent move(QEvent::MouseMove, point, files->viewport()->mapToGlobal(point),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(files->viewport(), &move);
        QTest::mouseDClick(files->viewport(), Qt::LeftButton, Qt::NoModifier, point);
        QCOMPARE(files->currentFolder(), classFolder);
        QCOMPARE(files->topLevelItemCount(), 4); // notes.doc is not a speed test

        // Select three tests and drag them into the green box.
        for (const char* name : {"a01.rtf", "a13.rtf", "a14.rtf"}) {
            entryNamed(*files, name)->setSelected(true);
        }
        auto* list = fixture.find<TestList*>();
        std::unique_ptr<QMimeData> data(files->createDragData());
        dropOn(*list, *data);
        files->finishDrag();
        QCOMPARE(list->entries(), QStringList({classFolder + "/a01.rtf", classFolder + "/a13.rtf",
                                               classFolder + "/a14.rtf"}));
        QCOMPARE(fixture.find<QLineEdit*>("destinationName")->text(), QStringLiteral("Class A"));
        const QString dest = fixture.programFolder() + "/Class A";
        QCOMPARE(fixture.find<QLabel*>("destinationPath")->text(), dest);
        QVERIFY(files->selectedItems().isEmpty());
        screenshot(window, "browser.png");

        // Pick the sources and mark.
        fixture.pickSource(Language::Afrikaans, testDataPath("sources/af1-libreoffice.rtf"));
        fixture.pickSource(Language::English, testDataPath("sources/en1-libreoffice.rtf"));
        fixture.markAndWait();
        QCOMPARE(fixture.dialogs().messages.size(), std::size_t(1));
        QCOMPARE(fixture.dialogs().messages[0].title, QStringLiteral("Done"));
        const QString log = fixture.find<QTextEdit*>("viewer")->toPlainText();
        QVERIFY(log.startsWith("               Marking speed tests in Class A"));
        QVERIFY(log.contains(classFolder + "/a13.rtf.......Successful"));
        screenshot(window, "after-marking.png");

        // The class's results open beside the log; they go to a spreadsheet.
        ClassResultsWindow* classResults = window.classResultsWindow();
        QVERIFY(classResults != nullptr && classResults->isVisible());
        QCOMPARE(classResults->model().rowCount(), 3);
        fixture.dialogs().saveAnswers.push_back(school.path() + "/Class A");
        classResults->exportToExcel();
        QProcess unzip;
        unzip.start("unzip", {"-p", school.path() + "/Class A.xlsx", "xl/sharedStrings.xml"});
        QVERIFY(unzip.waitForFinished());
        QVERIFY(QString::fromUtf8(unzip.readAllStandardOutput()).contains("a13"));

        // Open the result file in the viewer.
        fixture.dialogs().openAnswers.push_back(dest + "/Resultaat.res");
        fixture.find<QAction*>("openResultsAction")->trigger();
        const QStringList results = resultLines(dest + "/Resultaat.res");
        QCOMPARE(results.size(), 3);
        QCOMPARE(fixture.find<QTextEdit*>("viewer")->toPlainText(), results.join('\n') + '\n');
        QCOMPARE(fixture.find<QLabel*>("viewerTitle")->text(), dest + "/Resultaat.res");

        // Open a marked test: its error marks show white on red.
        fixture.dialogs().openAnswers.push_back(dest + "/a01.rug");
        fixture.find<QAction*>("openMarkedTestAction")->trigger();
        const auto& marked = window.viewerDocument();
        bool redMark = false;
        for (const auto& run : marked.runs()) {
            redMark = redMark || (run.format.backColor == tikmeter::documents::kRed &&
                                  run.format.textColor == tikmeter::documents::kWhite);
        }
        QVERIFY(redMark);
        QVERIFY(marked.text().find(u"Final:") != std::u16string::npos);
        screenshot(window, "marked-test.png");

        // Print it to a PDF file.
        const QString pdf = school.path() + "/a01.pdf";
        fixture.dialogs().printerAnswers.push_back([&](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return true;
        });
        fixture.find<QAction*>("printAction")->trigger();
        QProcess pdftotext;
        pdftotext.start("pdftotext", {pdf, "-"});
        QVERIFY(pdftotext.waitForFinished());
        // Compatibility form: a temporary name with "fl" or "fi" comes out as a ligature.
        const QString printed = QString::fromUtf8(pdftotext.readAllStandardOutput())
                                    .normalized(QString::NormalizationForm_KC);
        QVERIFY(printed.startsWith(dest + "/a01.rug"));
        QVERIFY(printed.contains("Final:"));
        QCOMPARE(fixture.dialogs().unexpected, 0);
    }

    // The examples marked as a teacher would: every test of the example class dragged into
    // the green box at once, the example sources picked, one press of the button.
    void examplesMarkedThroughTheWindow() {
        const QString examples = QStringLiteral(TIKMETER_EXAMPLES_DIR);
        WindowFixture fixture({examples + "/class-a"});
        MainWindow& window = fixture.window();
        window.resize(1100, 760);
        window.show();
        auto* files = fixture.find<FileList*>();
        QCOMPARE(files->topLevelItemCount(), 24);
        files->selectAll();
        auto* list = fixture.find<TestList*>();
        std::unique_ptr<QMimeData> data(files->createDragData());
        dropOn(*list, *data);
        files->finishDrag();
        QCOMPARE(list->count(), 24);

        fixture.pickSource(Language::Afrikaans, examples + "/sources/afrikaans.rtf");
        fixture.pickSource(Language::English, examples + "/sources/english.rtf");
        fixture.markAndWait();
        QCOMPARE(fixture.dialogs().messages.size(), std::size_t(1));
        QCOMPARE(fixture.dialogs().messages[0].title, QStringLiteral("Done"));
        const QStringList log = fixture.find<QTextEdit*>("viewer")->toPlainText().split(u'\n');
        QCOMPARE(log.size(), 2 + 24 + 1); // header, blank line, one line per test, final end
        QCOMPARE(log[0], QStringLiteral("               Marking speed tests in class-a"));
        QCOMPARE(log[2], examples + "/class-a/a01.rtf.......Successful");
        QCOMPARE(log[20], examples + "/class-a/a19.rtf.......Result may not be reliable");
        auto* progress = fixture.find<QProgressBar*>("progressBar");
        QCOMPARE(progress->value(), progress->maximum());
        QCOMPARE(progress->maximum(), 24);
        QCOMPARE(resultLines(fixture.programFolder() + "/class-a/Resultaat.res").size(), 24);
        screenshot(window, "screenshot.png");
    }
};

QTEST_MAIN(TeacherRoadTest)
#include "tst_TeacherRoad.moc"
