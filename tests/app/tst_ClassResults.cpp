// The class results window: its model (under QAbstractItemModelTester), the Excel export
// read back from the workbook's XML, the printed report read back from the PDF, the menu
// item and the double-click into the main window's viewer. Under a real display (Xvfb) the
// example class also gives the screenshots when TIKMETER_SCREENSHOT_DIR names a folder.
#include "WindowFixture.h"
#include "app/ClassResultsWindow.h"
#include "browser/TestList.h"
#include "documents/PathText.h"
#include "engine/MarkingSession.h"
#include "engine/SourceDocuments.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

using namespace tikmeter::app;
using namespace tikmeter::app::testing;
using tikmeter::engine::ResultRow;
using tikmeter::engine::Tenths;

namespace {

ResultRow row(const QString& student, std::optional<long long> netWords,
              const QString& status = "Successful", const QString& folder = "/p/Class A") {
    ResultRow result;
    result.student = student.toStdU16String();
    result.file = (folder + u'/' + student + ".rug").toStdU16String();
    result.status = status.toStdU16String();
    result.markedAt = u"2026-12-07 09:15";
    if (netWords) {
        result.language = u"English";
        result.keystrokes = 5 * (*netWords + 2);
        result.grossWords = *netWords + 2;
        result.wordErrors = 2;
        result.penalties = 0;
        result.errors = 2;
        result.netWords = *netWords;
        result.wpm = Tenths{*netWords};
        result.finalResult = Tenths{(*netWords + 25) / 50 * 50};
        result.accuracy = tikmeter::engine::accuracyOf(*netWords, *netWords + 2);
    }
    return result;
}

// Writes the rows as the session writes them: one whole append each.
void writeResults(const QString& folder, const std::vector<ResultRow>& rows) {
    for (const ResultRow& result : rows) {
        tikmeter::engine::appendResultRow(folder.toStdU16String(), result);
    }
}

QStringList students(const ClassResultsModel& model) {
    QStringList names;
    for (int r = 0; r < model.rowCount(); ++r) {
        names.append(model.index(r, 0).data().toString());
    }
    return names;
}

QString run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

void saveScreenshot(const QString& name, const QImage& image) {
    const QString folder = qEnvironmentVariable("TIKMETER_SCREENSHOT_DIR");
    if (!folder.isEmpty()) {
        image.save(folder + u'/' + name);
    }
}

// A marking session's observer that appends each result row as the session will.
} // namespace

class ClassResultsTest : public QObject {
    Q_OBJECT

private slots:
    void modelSortsNumbersAsNumbers_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<Qt::SortOrder>("order");
        QTest::addColumn<QStringList>("expected");
        // WPM 10.0, 9.5, 100.0 and a test that was not marked: as text 10.0 < 100.0 < 9.5.
        const int wpm = static_cast<int>(tikmeter::engine::ResultColumn::Wpm);
        const int status = static_cast<int>(tikmeter::engine::ResultColumn::Status);
        QTest::newRow("WPM up") << wpm << Qt::AscendingOrder << QStringList{"b", "a", "c", "d"};
        QTest::newRow("WPM down") << wpm << Qt::DescendingOrder << QStringList{"c", "a", "b", "d"};
        QTest::newRow("student down")
            << 0 << Qt::DescendingOrder << QStringList{"d", "c", "b", "a"};
        QTest::newRow("status up")
            << status << Qt::AscendingOrder << QStringList{"c", "b", "a", "d"};
    }
    void modelSortsNumbersAsNumbers() {
        QFETCH(int, column);
        QFETCH(Qt::SortOrder, order);
        QFETCH(QStringList, expected);
        ClassResultsModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        tikmeter::engine::ClassResults results;
        results.all = {row("b", 95), row("d", std::nullopt, "too short or empty"),
                       row("c", 1000, "Result may not be reliable"), row("a", 100)};
        results.latest = results.all;
        model.setResults(results);
        const QPersistentModelIndex cRow = model.index(2, 0);
        model.sort(column, order);
        // The b/a order of "status up" is the file's: the sort is stable.
        QCOMPARE(students(model), expected);
        QCOMPARE(cRow.data().toString(), QStringLiteral("c"));
        model.sort(-1);
        QCOMPARE(students(model), QStringList({"b", "d", "c", "a"}));
    }

    void modelShowsLatestOrAllMarkings() {
        ClassResultsModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        tikmeter::engine::ClassResults results;
        results.all = {row("jan", 161), row("zoe", std::nullopt, "too long or corrupt"),
                       row("jan", 431, "Result may not be reliable")};
        results.latest = tikmeter::engine::latestPerFile(results.all);
        model.setResults(results);
        const int wpm = static_cast<int>(tikmeter::engine::ResultColumn::Wpm);
        QCOMPARE(model.rowCount(), 2);
        QCOMPARE(model.index(0, wpm).data().toString(), QStringLiteral("43.1"));
        QCOMPARE(model.index(0, wpm).data(ClassResultsModel::SortRole).toDouble(), 43.1);
        QCOMPARE(model.index(0, 0).data(ClassResultsModel::KindRole).toInt(),
                 int(ClassResultsModel::Kind::Unreliable));
        QCOMPARE(model.index(1, 0).data(ClassResultsModel::KindRole).toInt(),
                 int(ClassResultsModel::Kind::Failed));
        QVERIFY(model.index(1, 0).data(Qt::BackgroundRole).isValid());
        QVERIFY(model.index(1, 0).data(Qt::BackgroundRole) !=
                model.index(0, 0).data(Qt::BackgroundRole));
        model.sort(wpm, Qt::AscendingOrder);
        model.setShowAll(true);
        QCOMPARE(students(model), QStringList({"jan", "jan", "zoe"})); // still sorted by WPM
        QCOMPARE(model.index(0, wpm).data().toString(), QStringLiteral("16.1"));
        model.setShowAll(false);
        QCOMPARE(model.rowCount(), 2);
    }

    // Through the menu: the folder dialog starts at the destination folder; export, print
    // and a double-click on a row.
    void windowExportsPrintsAndOpensTests() {
        QTemporaryDir home;
        const QString dest = home.path() + "/Class A";
        QVERIFY(QDir().mkpath(dest));
        QVERIFY(QFile::copy(testDataPath("class-a/a01.rtf"), dest + "/jan.rug"));
        writeResults(dest,
                     {row("jan", 161, "Successful", dest), row("Zo\u00EB", 95, "Successful", dest),
                      row("piet", std::nullopt, "too short or empty", "/t"),
                      row("jan", 431, "Result may not be reliable", dest)});
        WindowFixture fixture;
        MainWindow& window = fixture.window();
        window.show();

        QMenu* file = fixture.find<QMenu*>("fileMenu");
        const QList<QAction*> actions = file->actions();
        auto* classResults = fixture.find<QAction*>("classResultsAction");
        const qsizetype place = actions.indexOf(classResults);
        QCOMPARE(classResults->text(), QStringLiteral("Class Results..."));
        QVERIFY(actions.at(place + 1)->isSeparator());
        QCOMPARE(actions.at(place + 2), fixture.find<QAction*>("exitAction"));

        // A test dragged from the class folder names the destination folder.
        fixture.fillTestList({dest + "/jan.rtf"});
        fixture.find<tikmeter::browser::TestList*>()->deriveDestination();
        fixture.dialogs().folderAnswers.push_back(dest);
        classResults->trigger();
        QCOMPARE(fixture.dialogs().folderStarts, QStringList{fixture.programFolder() + "/Class A"});
        ClassResultsWindow* results = window.classResultsWindow();
        QVERIFY(results != nullptr && results->isVisible());
        QCOMPARE(results->model().rowCount(), 3);
        QCOMPARE(results->findChild<QLabel*>("testsMarked")->text(),
                 QStringLiteral("2 (1 not marked)"));
        QCOMPARE(results->findChild<QLabel*>("meanWpm")->text(), QStringLiteral("26.3"));

        // Export: the sheet's XML has the header, numbers as numbers, the frozen top row,
        // and the workbook a summary sheet.
        const QString workbook = home.path() + "/results";
        fixture.dialogs().saveAnswers.push_back(workbook);
        QTest::mouseClick(results->findChild<QPushButton*>("exportExcelButton"), Qt::LeftButton);
        const QString xlsx = workbook + ".xlsx";
        const QString sheet = run("unzip", {"-p", xlsx, "xl/worksheets/sheet1.xml"});
        QVERIFY2(
            sheet.contains(
                R"(<pane ySplit="1" topLeftCell="A2" activePane="bottomLeft" state="frozen"/>)"),
            qPrintable(sheet.left(1500)));
        QVERIFY(sheet.contains(QRegularExpression(R"(<c r="J2" s="\d+"><v>43.1</v></c>)")));
        QVERIFY(sheet.contains(QRegularExpression(R"(<c r="D3" s="\d+"><v>485</v></c>)")));
        QVERIFY(sheet.contains(R"(<autoFilter ref="A1:N4"/>)"));
        const QString strings = run("unzip", {"-p", xlsx, "xl/sharedStrings.xml"});
        QVERIFY(strings.contains("<t>Student</t>") && strings.contains("<t>Accuracy %</t>"));
        QVERIFY(strings.contains(QString::fromUtf8("<t>Zo\u00EB</t>")));
        QVERIFY(run("unzip", {"-p", xlsx, "xl/workbook.xml"}).contains(R"(<sheet name="Summary")"));
        const QString summary = run("unzip", {"-p", xlsx, "xl/worksheets/sheet2.xml"});
        QVERIFY(summary.contains(QRegularExpression(R"(<c r="B5" s="\d+"><v>26.3</v></c>)")));

        // Print to PDF: class name, summary and a student's row.
        const QString pdf = home.path() + "/report.pdf";
        fixture.dialogs().printerAnswers.push_back([&](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return true;
        });
        QTest::mouseClick(results->findChild<QPushButton*>("printReportButton"), Qt::LeftButton);
        const QString printed = run("pdftotext", {"-layout", pdf, "-"});
        QVERIFY2(printed.contains("Class results: Class A"), qPrintable(printed));
        QVERIFY(printed.contains("Tests marked: 2"));
        QVERIFY(printed.contains("Mean WPM: 26.3"));
        QVERIFY(printed.contains(QRegularExpression(
            R"(jan\s+English\s+2165\s+433\s+2\s+0\s+2\s+431\s+43.1\s+45\s+99.5\s+Result may not be reliable)")));

        // A double-click on a row shows its marked test in the main window's viewer; a
        // test that was not marked has none.
        auto* table = results->findChild<QTableView*>("resultsTable");
        QVERIFY(QTest::qWaitForWindowExposed(results));
        const auto doubleClick = [&](int r) {
            const QPoint point = table->visualRect(table->model()->index(r, 0)).center();
            // The press and release of the first click, then the second press as a double click.
            QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, point);
            QTest::mouseDClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, point);
        };
        doubleClick(2);
        QVERIFY(fixture.find<QLabel*>("viewerTitle")->text().isEmpty());
        doubleClick(0);
        QCOMPARE(fixture.find<QLabel*>("viewerTitle")->text(), dest + "/jan.rug");
        QVERIFY(window.viewerDocument().text().size() > 100);
        QCOMPARE(fixture.dialogs().unexpected, 0);
    }

    // The example class marked by the engine with the rows written as the session writes
    // them; the view and the report of 24 tests.
    void exampleClass() {
        // The class is marked through the window; the results open after the session.
        const QString examples = QStringLiteral(TIKMETER_EXAMPLES_DIR);
        WindowFixture fixture;
        for (const QString& name :
             QDir(examples + "/class-a").entryList({"*.rtf"}, QDir::Files, QDir::Name)) {
            fixture.fillTestList({examples + "/class-a/" + name});
        }
        fixture.pickSource(tikmeter::engine::Language::Afrikaans,
                           examples + "/sources/afrikaans.rtf");
        fixture.pickSource(tikmeter::engine::Language::English, examples + "/sources/english.rtf");
        fixture.markAndWait();
        QTemporaryDir program;
        ClassResultsWindow* results = fixture.window().classResultsWindow();
        results->resize(1180, 760);
        QCOMPARE(results->model().rowCount(), 24);
        QCOMPARE(results->summary().testsMarked, std::size_t(24));
        results->table()->sortByColumn(static_cast<int>(tikmeter::engine::ResultColumn::Wpm),
                                       Qt::DescendingOrder);
        QCOMPARE(results->model().rowAt(4).student, u"a20"); // unreliable, shaded
        QTest::qWait(50);
        saveScreenshot("results-view.png", results->grab().toImage());

        const QString pdf = program.path() + "/report.pdf";
        fixture.dialogs().printerAnswers.push_back([&](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return true;
        });
        results->printReport();
        const QString info = run("pdfinfo", {pdf});
        const QRegularExpressionMatch pages = QRegularExpression(R"(Pages:\s+(\d+))").match(info);
        QVERIFY2(pages.hasMatch() && pages.captured(1).toInt() <= 2, qPrintable(info));
        const QString folder = qEnvironmentVariable("TIKMETER_SCREENSHOT_DIR");
        if (!folder.isEmpty()) {
            QProcess::execute("pdftoppm", {"-png", "-r", "80", "-f", "1", "-l", "1", "-singlefile",
                                           pdf, folder + "/class-report"});
        }
    }
};

QTEST_MAIN(ClassResultsTest)
#include "tst_ClassResults.moc"
