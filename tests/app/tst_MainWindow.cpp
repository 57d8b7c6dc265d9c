// The window's shell: start-up, menus, settings, Help and About, Exit, size limit.
#include "WindowFixture.h"
#include "browser/FolderTree.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QtTest>

using namespace tikmeter::app;
using namespace tikmeter::app::testing;

namespace {

QStringList actionTexts(const QList<QAction*>& actions) {
    QStringList texts;
    for (const QAction* action : actions) {
        texts.append(action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    return texts;
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void startState() {
        WindowFixture fixture;
        FrmMain& window = fixture.window();
        QCOMPARE(fixture.find<QLabel*>("Label6_0")->text(),
                 QStringLiteral("Afrikaans source file:"));
        QCOMPARE(fixture.find<QLabel*>("Label6_1")->text(), QStringLiteral("English source file:"));
        QCOMPARE(fixture.find<QLabel*>("Label7_0")->text(), QStringLiteral("(Empty)"));
        QCOMPARE(fixture.find<QLabel*>("Label7_1")->text(), QStringLiteral("(Empty)"));
        QCOMPARE(fixture.find<QLabel*>("Label8")->text(),
                 QStringLiteral("Destination folder (where results will be saved)"));
        QCOMPARE(fixture.find<QLineEdit*>("Text1")->text(), QStringLiteral("New Folder"));
        // The program's own icon, also without an installed icon theme.
        QVERIFY(!window.windowIcon().pixmap(32, 32).isNull());
        QCOMPARE(fixture.find<QPushButton*>("Command1")->text(),
                 QStringLiteral("Click here to mark speed tests below"));
        QCOMPARE(fixture.find<QLabel*>("Label3")->text(), QString());
        QCOMPARE(window.richTextBox1().text(), u"RichTextBox1");
        QCOMPARE(window.richTextBox2().text(), u"RichTextBox2");
        QVERIFY(window.richTextBox3().text().empty());
        QCOMPARE(window.resultFormat(), tikmeter::engine::ResultFormat::MultipleOf5);

        window.show();
        QVERIFY(!fixture.find<QTextEdit*>("RichTextBox3")->isVisible());
        QVERIFY(!fixture.find<QPushButton*>("Command8_0")->isVisible());
        QVERIFY(fixture.find<QPushButton*>("Command8_1")->isVisible());
        QVERIFY(fixture.find<QListWidget*>("List1")->isVisible());
        QCOMPARE(fixture.find<QListWidget*>("List1")->count(), 0);
    }

    void destinationLabelAtStart() {
        WindowFixture fixture;
        QCOMPARE(fixture.find<QLabel*>("Label9")->text(),
                 fixture.programFolder() + QStringLiteral("/New Folder"));
        QCOMPARE(fixture.window().programFolder(), fixture.programFolder().toStdU16String());
    }

    // The browser opens at the folder named by all arguments together; the caption stays
    // "Edu Tikmeter 2011" unless the browser has put that folder into it.
    void startUpOpensStartFolder() {
        QTemporaryDir parent;
        const QString folder = parent.path() + "/Class A";
        QVERIFY(QDir().mkpath(folder));
        WindowFixture fixture({parent.path() + "/Class", "A"});
        QCOMPARE(fixture.window().browserArea().tree->currentFolder(), folder);
        const QString caption = fixture.window().windowTitle();
        QVERIFY2(caption == QStringLiteral("Edu Tikmeter 2011") || caption.endsWith(folder),
                 qPrintable(caption));
    }

    void startFolderJoinsArguments() {
        QCOMPARE(FrmMain::startFolder({"/tmp/Class", "A", "", "x"}),
                 QStringLiteral("/tmp/Class A  x"));
        QCOMPARE(FrmMain::startFolder({"/srv/tests"}), QStringLiteral("/srv/tests"));
        QCOMPARE(FrmMain::startFolder({}), QDir::homePath());
    }

    void clientSizeAndWidthLimit() {
        WindowFixture fixture;
        FrmMain& window = fixture.window();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.centralWidget()->width(), 929);
        QCOMPARE(window.centralWidget()->height(), 709);
        window.resize(100, 500);
        QCOMPARE(window.width(), 200);
        QCOMPARE(window.height(), 500);
        window.resize(201, 30);
        QCOMPARE(window.width(), 201);
    }

    void menuStructure() {
        WindowFixture fixture;
        QMenuBar* bar = fixture.window().menuBar();
        QCOMPARE(actionTexts(bar->actions()), QStringList({"&File", "Settings", "About", "Help"}));
        const auto* file = fixture.find<QMenu*>("mnuFile");
        QCOMPARE(actionTexts(file->actions()), QStringList({"Open Marked SpeedTest", "Open Results",
                                                            "Save As...", "Print", "-", "E&xit"}));
        QCOMPARE(fixture.find<QAction*>("mnuExit")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_X));
        const auto* settings = fixture.find<QMenu*>("mnuSettings");
        QCOMPARE(actionTexts(settings->actions()),
                 QStringList({"Final result as integer", "Final result as multiple of 5"}));
        // About and Help are commands, not menus.
        QVERIFY(fixture.find<QAction*>("mnuAbout")->menu() == nullptr);
        QVERIFY(fixture.find<QAction*>("mnuHelp")->menu() == nullptr);
    }

    void settingsPairIsExclusive() {
        WindowFixture fixture;
        auto* integer = fixture.find<QAction*>("mnuInteger");
        auto* five = fixture.find<QAction*>("mnu5");
        QVERIFY(five->isChecked());
        QVERIFY(!integer->isChecked());

        integer->trigger();
        QVERIFY(integer->isChecked());
        QVERIFY(!five->isChecked());
        QCOMPARE(fixture.window().resultFormat(), tikmeter::engine::ResultFormat::Integer);

        // Choosing the checked one again changes nothing.
        integer->trigger();
        QVERIFY(integer->isChecked());
        QVERIFY(!five->isChecked());

        five->trigger();
        QVERIFY(five->isChecked());
        QVERIFY(!integer->isChecked());
        QCOMPARE(fixture.window().resultFormat(), tikmeter::engine::ResultFormat::MultipleOf5);
    }

    void settingIsNotKept() {
        {
            WindowFixture fixture;
            fixture.find<QAction*>("mnuInteger")->trigger();
        }
        WindowFixture fixture;
        QVERIFY(fixture.find<QAction*>("mnu5")->isChecked());
    }

    void helpAndAbout() {
        WindowFixture fixture;
        fixture.find<QAction*>("mnuHelp")->trigger();
        fixture.find<QAction*>("mnuAbout")->trigger();
        const auto& messages = fixture.dialogs().messages;
        QCOMPARE(messages.size(), std::size_t(2));
        QCOMPARE(messages[0].title, QStringLiteral("Help"));
        QCOMPARE(messages[0].text,
                 QStringLiteral(" For Help & Instructions, please read 'Afr Tikmeter.doc' or "
                                "'Eng Tikmeter.doc in the current folder."));
        QCOMPARE(messages[1].title, QStringLiteral("Edu Tikmeter PRO"));
        const QStringList lines = messages[1].text.split(u'\r');
        QCOMPARE(lines.size(), 2);
        QVERIFY(!lines[0].isEmpty());
        QVERIFY(lines[1].contains(QStringLiteral("://")));
    }

    void ctrlXFromNameFieldExits_data() {
        QTest::addColumn<QString>("focus");
        QTest::newRow("destination name") << "Text1";
        QTest::newRow("test list") << "List1";
    }
    void ctrlXFromNameFieldExits() {
        QFETCH(QString, focus);
        WindowFixture fixture;
        FrmMain& window = fixture.window();
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto* field = fixture.find<QLineEdit*>("Text1");
        const QString before = field->text();
        auto* target = fixture.find<QWidget*>(focus);
        target->setFocus();
        QTRY_VERIFY(target->hasFocus());

        QTest::keyClick(target, Qt::Key_X, Qt::ControlModifier);
        QVERIFY(!window.isVisible());
        // The key exited instead of cutting the field's text.
        QCOMPARE(field->text(), before);
    }

    // Typing in the destination name replaces it, however the field got the focus.
    void destinationNameIsSelectedOnFocus() {
        WindowFixture fixture;
        FrmMain& window = fixture.window();
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto* field = fixture.find<QLineEdit*>("Text1");

        field->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(field->selectedText(), QStringLiteral("New Folder"));

        fixture.find<QWidget*>("List1")->setFocus();
        QTRY_VERIFY(!field->hasFocus());
        QTest::mouseClick(field, Qt::LeftButton, Qt::NoModifier, QPoint(4, field->height() / 2));
        QTRY_COMPARE(field->selectedText(), QStringLiteral("New Folder"));
        QTest::keyClicks(field, "Class B");
        QCOMPARE(field->text(), QStringLiteral("Class B"));
    }

    void clearButtonEmptiesTestList() {
        WindowFixture fixture;
        fixture.fillTestList({"/a/b.rtf", "/a/c.rtf"});
        QCOMPARE(fixture.window().testList().size(), std::size_t(2));
        QCOMPARE(fixture.window().testList()[1], u"/a/c.rtf");
        QTest::mouseClick(fixture.find<QPushButton*>("Command8_1"), Qt::LeftButton);
        QVERIFY(fixture.window().testList().empty());
    }

    void sessionWindowFields() {
        WindowFixture fixture;
        FrmMain& window = fixture.window();
        window.setText1(u"Class B");
        QCOMPARE(fixture.find<QLineEdit*>("Text1")->text(), QStringLiteral("Class B"));
        QCOMPARE(window.text1(), u"Class B");
        window.setLabel3(u"/x/y.rug");
        QCOMPARE(window.label3(), u"/x/y.rug");
        window.setSourcePath(tikmeter::engine::Language::English, u"/p/en.rtf");
        QCOMPARE(fixture.find<QLabel*>("Label7_1")->text(), QStringLiteral("/p/en.rtf"));
        QCOMPARE(fixture.find<QLabel*>("Label7_0")->text(), QStringLiteral("(Empty)"));
        QCOMPARE(window.sourcePath(tikmeter::engine::Language::Afrikaans), u"(Empty)");
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_MainWindow.moc"
