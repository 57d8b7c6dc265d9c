// A whole marking session started by the marking button, as the teacher runs it.
#include "WindowFixture.h"

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

namespace {

QStringList classA() {
    QStringList tests;
    for (int i = 1; i <= 24; ++i) {
        tests.append(testDataPath(QStringLiteral("class-a/a%1.rtf").arg(i, 2, 10, QChar(u'0'))));
    }
    return tests;
}

const QStringList kStatuses = {".......Successful", ".......Result may not be reliable",
                               ".......too short or empty", ".......too long or corrupt"};

} // namespace

class MarkingSessionTest : public QObject {
    Q_OBJECT

private slots:
    void emptyListStopsBeforeStart() {
        WindowFixture fixture;
        QTest::mouseClick(fixture.find<QPushButton*>("Command1"), Qt::LeftButton);
        const auto& messages = fixture.dialogs().messages;
        QCOMPARE(messages.size(), std::size_t(1));
        QCOMPARE(messages[0].text, QStringLiteral("No speed tests in the green box..."));
        QVERIFY(fixture.find<QPushButton*>("Command1")->isEnabled());
    }

    void classIsMarkedIntoDestination() {
        WindowFixture fixture;
        FrmMain& window = fixture.window();
        window.show();
        fixture.pickSource(Language::Afrikaans, testDataPath("sources/af1-libreoffice.rtf"));
        fixture.pickSource(Language::English, testDataPath("sources/en1-libreoffice.rtf"));
        const QStringList tests = classA();
        fixture.fillTestList(tests);

        // Runs at the first pending-event pass inside the session: the button must be
        // disabled, and a second press must not start a second session.
        auto* button = fixture.find<QPushButton*>("Command1");
        bool enabledDuringSession = true;
        bool runningDuringSession = false;
        bool viewerCommandsDuringSession = true;
        auto* openResults = window.findChild<QAction*>("mnuResults");
        auto* pickEnglish = fixture.find<QPushButton*>("Command3");
        QMetaObject::invokeMethod(
            &window,
            [&] {
                enabledDuringSession = button->isEnabled();
                runningDuringSession = window.sessionRunning();
                // Nothing may replace the log or the source while the session runs.
                viewerCommandsDuringSession = openResults->isEnabled() || pickEnglish->isEnabled();
                window.markSpeedTests();
            },
            Qt::QueuedConnection);
        QTest::mouseClick(button, Qt::LeftButton);

        QVERIFY(runningDuringSession);
        QVERIFY(!enabledDuringSession);
        QVERIFY(!viewerCommandsDuringSession);
        QVERIFY(button->isEnabled());
        QVERIFY(openResults->isEnabled());
        QVERIFY(pickEnglish->isEnabled());
        QVERIFY(!window.sessionRunning());

        const auto& messages = fixture.dialogs().messages;
        QCOMPARE(messages.size(), std::size_t(1));
        QCOMPARE(messages[0].title, QStringLiteral("Done"));
        const QString dest = fixture.programFolder() + "/class-a";
        QCOMPARE(messages[0].text, QStringLiteral("End of this marking session.\rResults have "
                                                  "been saved in ") +
                                       dest + u'\r');
        QCOMPARE(fixture.find<QLineEdit*>("Text1")->text(), QStringLiteral("class-a"));
        QCOMPARE(fixture.find<QLabel*>("Label9")->text(), dest);
        QCOMPARE(fixture.find<QLabel*>("Label3")->text(), QString());
        QVERIFY(QFileInfo(dest + "/Resultaat.res").isFile());

        // One log line per test, in list order, each with a status.
        const QStringList log = fixture.find<QTextEdit*>("RichTextBox3")
                                    ->toPlainText()
                                    .split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(log.size(), tests.size() + 1);
        QVERIFY(log[0].contains(QStringLiteral("Marking speed tests in class-a")));
        for (qsizetype i = 0; i < tests.size(); ++i) {
            QVERIFY2(log[i + 1].startsWith(tests[i]), qPrintable(log[i + 1]));
            const QString status = log[i + 1].mid(tests[i].size());
            QVERIFY2(kStatuses.contains(status), qPrintable(status));
        }
        auto* progress = fixture.find<QProgressBar*>("progressBar");
        QCOMPARE(progress->maximum(), int(tests.size()));
        QCOMPARE(progress->value(), int(tests.size()));
        QVERIFY(fixture.find<QPushButton*>("Command8_0")->isVisible());
        QCOMPARE(fixture.dialogs().unexpected, 0);
    }
};

QTEST_MAIN(MarkingSessionTest)
#include "tst_MarkingSession.moc"
