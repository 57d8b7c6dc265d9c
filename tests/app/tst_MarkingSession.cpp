// A marking session started by the mark button, as the teacher runs it.
#include "WindowFixture.h"
#include "browser/TestList.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTextEdit>
#include <QtTest>

using namespace tikmeter::app;
using namespace tikmeter::app::testing;
using tikmeter::engine::Language;

class MarkingSessionTest : public QObject {
    Q_OBJECT

private slots:
    void emptyListStopsBeforeStart() {
        WindowFixture fixture;
        QTest::mouseClick(fixture.find<QPushButton*>("markButton"), Qt::LeftButton);
        const auto& messages = fixture.dialogs().messages;
        QCOMPARE(messages.size(), std::size_t(1));
        QCOMPARE(messages[0].text, QStringLiteral("No speed tests in the green box..."));
        QVERIFY(!fixture.find<QTextEdit*>("viewer")->isVisible());
    }

    // The window's own source pick names the copy in its row and feeds the session; while
    // the session runs, nothing may start a second one, replace the log or the source, or
    // move the destination.
    void classIsMarkedIntoDestination() {
        WindowFixture fixture;
        MainWindow& window = fixture.window();
        window.show();
        const QStringList tests = {testDataPath("class-a/a01.rtf"), testDataPath("edge/e49.rtf"),
                                   testDataPath("class-a/a19.rtf")};
        fixture.fillTestList(tests);

        auto* button = fixture.find<QPushButton*>("markButton");
        auto* openResults = fixture.find<QAction*>("openResultsAction");
        auto* pickEnglish = fixture.find<QPushButton*>("englishSourceButton");
        auto* list = fixture.find<tikmeter::browser::TestList*>();
        bool controlsDuringSession = true;
        QMetaObject::invokeMethod(
            &window,
            [&] {
                controlsDuringSession = button->isEnabled() || openResults->isEnabled() ||
                                        pickEnglish->isEnabled() || !window.sessionRunning();
                window.markSpeedTests();
                emit list->destinationDerived("Elsewhere", "/elsewhere");
            },
            Qt::QueuedConnection);
        fixture.pickSourcesAndMark();
        QVERIFY(!controlsDuringSession);
        QVERIFY(button->isEnabled() && openResults->isEnabled() && pickEnglish->isEnabled());
        QCOMPARE(fixture.find<QLabel*>("englishSourcePath")->text(),
                 fixture.programFolder() + "/en1-libreoffice.rtf");

        const QString dest = fixture.programFolder() + "/class-a";
        const auto& messages = fixture.dialogs().messages;
        QCOMPARE(messages.size(), std::size_t(1));
        QCOMPARE(messages[0].text,
                 "End of this marking session.\rResults have been saved in " + dest + u'\r');
        QCOMPARE(fixture.find<QLineEdit*>("destinationName")->text(), QStringLiteral("class-a"));
        QCOMPARE(fixture.find<QLabel*>("destinationPath")->text(), dest);
        QCOMPARE(fixture.find<QLabel*>("viewerTitle")->text(), QString());
        QCOMPARE(
            fixture.viewerLines(),
            QStringList({"               Marking speed tests in class-a", "",
                         tests[0] + ".......Successful", tests[1] + ".......too short or empty",
                         tests[2] + ".......Result may not be reliable", ""}));
        auto* progress = fixture.find<QProgressBar*>("progressBar");
        QCOMPARE(progress->maximum(), 3);
        QCOMPARE(progress->value(), 3);
        QVERIFY(fixture.find<QPushButton*>("viewerClearButton")->isVisible());
        QVERIFY(QFileInfo(dest + "/a19.rug").isFile());
        QVERIFY(button->hasFocus());

        // The results open where the session put them; a source pick opens where the last
        // source came from and says which language it asks for.
        fixture.find<QAction*>("openResultsAction")->trigger();
        fixture.pickSource(Language::Afrikaans, QString());
        QCOMPARE(fixture.dialogs().openFolders.mid(1),
                 QStringList({QFileInfo(testDataPath("sources")).absoluteFilePath(), dest,
                              QFileInfo(testDataPath("sources")).absoluteFilePath()}));
        QCOMPARE(fixture.dialogs().openTitles.mid(2),
                 QStringList({"Open Results", "Open the Afrikaans source document"}));
        // A changed list hides the last session's progress.
        QVERIFY(progress->isVisible());
        fixture.find<QPushButton*>("testListClearButton")->click();
        QVERIFY(!progress->isVisible());
        QCOMPARE(fixture.dialogs().unexpected, 1); // the cancelled pick
    }

    // The check's question, then a refused folder answer asked again with the reason.
    void checkQuestionAndRefusedAnswer() {
        WindowFixture fixture;
        QVERIFY(QDir().mkpath(fixture.programFolder() + "/class-a"));
        const QString missing = testDataPath("class-a/missing.rtf");
        fixture.fillTestList({testDataPath("class-a/a01.rtf"), missing});
        fixture.dialogs().questionAnswers = {true};
        fixture.dialogs().inputAnswers = {"../out", "class-a"};
        fixture.pickSourcesAndMark();
        const auto& messages = fixture.dialogs().messages;
        QCOMPARE(messages.size(), std::size_t(3));
        QCOMPARE(messages[0].title, QStringLiteral("Check"));
        QVERIFY(messages[0].text.contains(missing + QStringLiteral(" \u2014 not found")));
        QVERIFY(messages[1].text.startsWith(QStringLiteral("\"../out\"")));
        QCOMPARE(messages[2].title, QStringLiteral("Done"));
        QCOMPARE(fixture.viewerLines().at(3), missing + ".......not marked: not found");
        QCOMPARE(fixture.dialogs().unexpected, 0);
    }

    // The log is drawn in one font, whatever the viewer showed before it.
    void logKeepsItsFontAfterAMarkedTestWasShown() {
        WindowFixture fixture;
        fixture.fillTestList({testDataPath("class-a/a01.rtf")});
        fixture.pickSourcesAndMark();
        fixture.dialogs().openAnswers.push_back(fixture.programFolder() + "/class-a/a01.rug");
        fixture.find<QAction*>("openMarkedTestAction")->trigger();
        fixture.dialogs().inputAnswers.push_back("class-a");
        QTest::mouseClick(fixture.find<QPushButton*>("markButton"), Qt::LeftButton);
        const auto& log = fixture.window().viewerDocument();
        QVERIFY(log.text().starts_with(u"               Marking speed tests in class-a"));
        for (const auto& run : log.runs()) {
            QVERIFY(run.format == tikmeter::documents::CharFormat{});
        }
        QVERIFY(log.baseFontName() == tikmeter::documents::Document().baseFontName());
    }
};

QTEST_MAIN(MarkingSessionTest)
#include "tst_MarkingSession.moc"
