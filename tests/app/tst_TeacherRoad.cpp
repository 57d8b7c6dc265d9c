// The teacher's whole road through the real window with the example class: start at a
// folder, browse to the class, drag its tests into the green box, pick the sources, mark,
// look at the class's results, export and print them, open the result file and a marked
// test. Under a real display (Xvfb) the run also saves screenshots when
// TIKMETER_SCREENSHOT_DIR names a folder. Then the class results window on its own: the
// Excel export read back from the workbook's XML, the printed report read back from the
// PDF, the double-click into the viewer and its model (under QAbstractItemModelTester).
#include "WindowFixture.h"
#include "app/ClassResultsWindow.h"
#include "browser/FileList.h"

#include <QAbstractItemModelTester>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressBar>
#include <QTableView>

using namespace tikmeter::app;
using namespace tikmeter::app::testing;
using tikmeter::browser::FileList;
using tikmeter::browser::TestList;
using tikmeter::engine::ResultRow;

namespace {

void screenshot(QWidget& window, const QString& name) {
    const QString folder = qEnvironmentVariable("TIKMETER_SCREENSHOT_DIR");
    if (!folder.isEmpty()) {
        QCoreApplication::processEvents();
        window.grab().save(folder + u'/' + name);
    }
}

const int kWpm = static_cast<int>(tikmeter::engine::ResultColumn::Wpm);

ResultRow row(const QString& student, std::optional<long long> netWords,
              const QString& status = "Successful", const QString& folder = "/p/Class A") {
    ResultRow result;
    result.student = student.toStdU16String();
    result.file = (folder + u'/' + student + ".rug").toStdU16String();
    result.status = status.toStdU16String();
    result.markedAt = u"2026-12-07 09:15";
    if (netWords) {
        result.language = u"English";
        result.grossWords = *netWords + 2;
        result.keystrokes = 5 * (*netWords + 2);
        result.wordErrors = result.errors = 2;
        result.penalties = 0;
        result.netWords = *netWords;
        result.wpm = tikmeter::engine::Tenths{*netWords};
        result.finalResult = tikmeter::engine::Tenths{(*netWords + 25) / 50 * 50};
        result.accuracy = tikmeter::engine::accuracyOf(*netWords, *netWords + 2);
    }
    return result;
}

QStringList students(const ClassResultsModel& model) {
    QStringList names;
    for (int r = 0; r < model.rowCount(); ++r) {
        names.append(model.index(r, 0).data().toString());
    }
    return names;
}

} // namespace

class TeacherRoadTest : public QObject {
    Q_OBJECT

private slots:
    void wholeRoad() {
        const QString examples = QStringLiteral(TIKMETER_EXAMPLES_DIR);
        const QString classFolder = examples + "/class-a";
        // Start at the folder given on the command line.
        WindowFixture fixture({examples});
        MainWindow& window = fixture.window();
        window.resize(1100, 760);
        window.show();
        auto* files = fixture.find<FileList*>();
        QCOMPARE(files->currentFolder(), examples);
        QCOMPARE(window.windowTitle(), "Edu Tikmeter - " + examples);

        // Browse: double-click the class folder where the pointer is.
        const QPoint point =
            files->visualItemRect(files->findItems("class-a", Qt::MatchExactly).value(0)).center();
        QTest::mouseDClick(files->viewport(), Qt::LeftButton, Qt::NoModifier, point);
        QCOMPARE(files->currentFolder(), classFolder);
        QCOMPARE(files->topLevelItemCount(), 24);

        // Select every test and drag them into the green box.
        files->selectAll();
        auto* list = fixture.find<TestList*>();
        std::unique_ptr<QMimeData> data(files->createDragData());
        const QPoint centre = list->viewport()->rect().center();
        QDragEnterEvent enter(centre, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(list->viewport(), &enter);
        QDropEvent drop(centre, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(list->viewport(), &drop);
        files->finishDrag();
        QCOMPARE(list->count(), 24);
        QCOMPARE(fixture.find<QLineEdit*>("destinationName")->text(), QStringLiteral("class-a"));
        const QString dest = fixture.programFolder() + "/class-a";
        QCOMPARE(fixture.find<QLabel*>("destinationPath")->text(), dest);
        screenshot(window, "browser.png");

        // Pick the sources and mark.
        fixture.pickSources(examples + "/sources/afrikaans.rtf", examples + "/sources/english.rtf");
        fixture.markAndWait();
        QCOMPARE(fixture.dialogs().titles, QStringList{"Done"});
        const QStringList log = fixture.viewerLines();
        QCOMPARE(log.size(), 2 + 24 + 1); // header, blank line, one line per test, final end
        QCOMPARE(log[0], QStringLiteral("               Marking speed tests in class-a"));
        QCOMPARE(log[2], classFolder + "/a01.rtf.......Successful");
        QCOMPARE(log[20], classFolder + "/a19.rtf.......Result may not be reliable");
        auto* progress = fixture.find<QProgressBar*>("progressBar");
        QVERIFY(progress->value() == 24 && progress->maximum() == 24);
        screenshot(window, "screenshot.png");

        // The class's results open beside the log.
        ClassResultsWindow* results = window.classResultsWindow();
        QVERIFY(results != nullptr && results->isVisible());
        results->resize(1180, 760);
        QCOMPARE(results->model().rowCount(), 24);
        results->table()->sortByColumn(kWpm, Qt::DescendingOrder);
        QTest::qWait(50);
        screenshot(*results, "results-view.png");

        // They go to a spreadsheet and to a report of the whole class.
        fixture.dialogs().saveAnswers.push_back(fixture.programFolder() + "/class-a");
        results->exportToExcel();
        QVERIFY(
            run("unzip", {"-p", fixture.programFolder() + "/class-a.xlsx", "xl/sharedStrings.xml"})
                .contains("<t>a13</t>"));
        const QString pdf = fixture.programFolder() + "/report.pdf";
        fixture.dialogs().printerAnswers.push_back(pdf);
        results->printReport();
        QVERIFY(QFileInfo(pdf).size() > 0);
        const QString folder = qEnvironmentVariable("TIKMETER_SCREENSHOT_DIR");
        if (!folder.isEmpty()) {
            QProcess::execute("pdftoppm", {"-png", "-r", "80", "-f", "1", "-l", "1", "-singlefile",
                                           pdf, folder + "/class-report"});
        }

        // Open the result file, one line per test, and a marked test in the viewer.
        fixture.open("openResultsAction", dest + "/Resultaat.res");
        QCOMPARE(fixture.viewerLines().size(), 24 + 1);
        QCOMPARE(fixture.viewerTitle(), dest + "/Resultaat.res");
        fixture.open("openMarkedTestAction", dest + "/a01.rug");
        QVERIFY(window.viewerDocument().text().find(u"Final:") != std::u16string::npos);
        screenshot(window, "marked-test.png");
        QCOMPARE(fixture.dialogs().unexpected, 0);
    }

    // Through the menu: the folder dialog starts at the destination folder; export, print
    // and a double-click on a row.
    void windowExportsPrintsAndOpensTests() {
        QTemporaryDir home;
        const QString dest = home.path() + "/Class A";
        QVERIFY(QDir().mkpath(dest));
        QVERIFY(QFile::copy(testDataPath("class-a/a01.rtf"), dest + "/jan.rug"));
        // Written as the session writes them: one whole append each.
        for (const ResultRow& result :
             {row("jan", 161, "Successful", dest), row("Zo\u00EB", 95, "Successful", dest),
              row("piet", std::nullopt, "too short or empty", "/t"),
              row("jan", 431, "Result may not be reliable", dest)}) {
            tikmeter::engine::appendResultRow(dest.toStdU16String(), result);
        }
        WindowFixture fixture;
        MainWindow& window = fixture.window();
        window.show();

        // A test dragged from the class folder names the destination folder.
        fixture.fillTestList({dest + "/jan.rtf"});
        fixture.find<tikmeter::browser::TestList*>()->deriveDestination();
        fixture.dialogs().folderAnswers.push_back(dest);
        fixture.find<QAction*>("classResultsAction")->trigger();
        QCOMPARE(fixture.dialogs().folderStarts, QStringList{fixture.programFolder() + "/Class A"});
        ClassResultsWindow* results = window.classResultsWindow();
        QVERIFY(results != nullptr && results->isVisible());
        QCOMPARE(results->model().rowCount(), 3);
        QCOMPARE(results->findChild<QLabel*>("testsMarked")->text(),
                 QStringLiteral("2 (1 not marked)"));
        QCOMPARE(results->findChild<QLabel*>("meanWpm")->text(), QStringLiteral("26.3"));

        // Export: the sheet's XML has the header and numbers as numbers, and the workbook a
        // summary sheet.
        fixture.dialogs().saveAnswers.push_back(home.path() + "/results");
        QTest::mouseClick(results->findChild<QPushButton*>("exportExcelButton"), Qt::LeftButton);
        const QString xlsx = home.path() + "/results.xlsx";
        const QString sheet = run("unzip", {"-p", xlsx, "xl/worksheets/sheet1.xml"});
        QVERIFY(sheet.contains(QRegularExpression(R"(<c r="J2" s="\d+"><v>43.1</v></c>)")));
        QVERIFY(sheet.contains(QRegularExpression(R"(<c r="D3" s="\d+"><v>485</v></c>)")));
        const QString strings = run("unzip", {"-p", xlsx, "xl/sharedStrings.xml"});
        QVERIFY(strings.contains("<t>Student</t>") && strings.contains("<t>Zo\u00EB</t>"));
        const QString summary = run("unzip", {"-p", xlsx, "xl/worksheets/sheet2.xml"});
        QVERIFY(summary.contains(QRegularExpression(R"(<c r="B5" s="\d+"><v>26.3</v></c>)")));

        // Print to PDF: class name, summary and a student's row.
        const QString pdf = home.path() + "/report.pdf";
        fixture.dialogs().printerAnswers.push_back(pdf);
        QTest::mouseClick(results->findChild<QPushButton*>("printReportButton"), Qt::LeftButton);
        const QString printed = run("pdftotext", {"-layout", pdf, "-"});
        QVERIFY2(printed.contains("Class results: Class A"), qPrintable(printed));
        QVERIFY(printed.contains("Mean WPM: 26.3"));
        QVERIFY(printed.contains(QRegularExpression(
            R"(jan\s+English\s+2165\s+433\s+2\s+0\s+2\s+431\s+43.1\s+45\s+99.5\s+Result may not be reliable)")));

        // A double-click on a row shows its marked test in the main window's viewer; a
        // test that was not marked has none.
        auto* table = results->findChild<QTableView*>("resultsTable");
        QVERIFY(QTest::qWaitForWindowExposed(results));
        for (int r : {2, 0}) {
            const QPoint point = table->visualRect(table->model()->index(r, 0)).center();
            // The press and release of the first click, then the second press as a double
            // click.
            QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, point);
            QTest::mouseDClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, point);
            QCOMPARE(fixture.viewerTitle(), r == 0 ? dest + "/jan.rug" : QString());
        }
        QVERIFY(window.viewerDocument().text().size() > 100);
        QCOMPARE(fixture.dialogs().unexpected, 0);

        // The latest marking of each test; a test not marked is shaded apart from an
        // unreliable one. Numbers sort as numbers, a test not marked last, and persistent
        // indexes follow their rows.
        QAbstractItemModelTester tester(table->model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        const ClassResultsModel& model = results->model();
        QVERIFY(model.index(2, 0).data(Qt::BackgroundRole).isValid());
        QVERIFY(model.index(2, 0).data(Qt::BackgroundRole) !=
                model.index(0, 0).data(Qt::BackgroundRole));
        const QPersistentModelIndex zoe = model.index(1, 0);
        table->sortByColumn(kWpm, Qt::DescendingOrder);
        QCOMPARE(students(model), QStringList({"jan", "Zo\u00EB", "piet"}));
        table->sortByColumn(kWpm, Qt::AscendingOrder);
        QCOMPARE(students(model), QStringList({"Zo\u00EB", "jan", "piet"}));
        QCOMPARE(zoe.row(), 0);
    }
};

QTEST_MAIN(TeacherRoadTest)
#include "tst_TeacherRoad.moc"
