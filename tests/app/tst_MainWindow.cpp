// The window's shell: the start folder, the exit key from every control, the destination
// name field, the result setting and Help.
#include "WindowFixture.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QtTest>

using namespace tikmeter::app;
using namespace tikmeter::app::testing;

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void startFolderJoinsArguments_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("folder");
        QTest::newRow("spaces need no quotes")
            << QStringList{"/tmp/Class", "A", "", "x"} << "/tmp/Class A  x";
        QTest::newRow("one argument") << QStringList{"/srv/tests"} << "/srv/tests";
        QTest::newRow("none: home") << QStringList{} << QDir::homePath();
    }
    void startFolderJoinsArguments() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, folder);
        QCOMPARE(MainWindow::startFolder(arguments), folder);
    }

    // Ctrl+X exits from every control; a line edit must not take it for Cut.
    void exitKeyFromAnyControl_data() {
        QTest::addColumn<QString>("focus");
        QTest::newRow("destination name") << "destinationName";
        QTest::newRow("test list") << "testList";
    }
    void exitKeyFromAnyControl() {
        QFETCH(QString, focus);
        WindowFixture fixture;
        MainWindow& window = fixture.window();
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto* field = fixture.find<QLineEdit*>("destinationName");
        auto* target = fixture.find<QWidget*>(focus);
        target->setFocus();
        QTRY_VERIFY(target->hasFocus());
        QTest::keyClick(target, Qt::Key_X, Qt::ControlModifier);
        QVERIFY(!window.isVisible());
        QCOMPARE(field->text(), QStringLiteral("New Folder"));
    }

    // Typing in the destination name replaces it, however the field got the focus.
    void destinationNameIsSelectedOnFocus() {
        WindowFixture fixture;
        MainWindow& window = fixture.window();
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto* field = fixture.find<QLineEdit*>("destinationName");
        field->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(field->selectedText(), QStringLiteral("New Folder"));
        fixture.find<QWidget*>("testList")->setFocus();
        QTRY_VERIFY(!field->hasFocus());
        QTest::mouseClick(field, Qt::LeftButton, Qt::NoModifier, QPoint(4, field->height() / 2));
        QTRY_COMPARE(field->selectedText(), QStringLiteral("New Folder"));
        QTest::keyClicks(field, "Class B");
        QCOMPARE(field->text(), QStringLiteral("Class B"));
    }

    // Exactly one result format is checked; it starts at "multiple of 5" in every window.
    void resultSettingIsExclusiveAndNotKept() {
        {
            WindowFixture fixture;
            auto* integer = fixture.find<QAction*>("integerResultAction");
            auto* five = fixture.find<QAction*>("multipleOf5ResultAction");
            QCOMPARE(fixture.window().resultFormat(), tikmeter::engine::ResultFormat::MultipleOf5);
            integer->trigger();
            integer->trigger();
            QVERIFY(integer->isChecked() && !five->isChecked());
            QCOMPARE(fixture.window().resultFormat(), tikmeter::engine::ResultFormat::Integer);
            five->trigger();
            QVERIFY(five->isChecked() && !integer->isChecked());
            integer->trigger();
        }
        WindowFixture fixture;
        QCOMPARE(fixture.window().resultFormat(), tikmeter::engine::ResultFormat::MultipleOf5);
    }

    void helpNamesTheGuides() {
        WindowFixture fixture;
        fixture.find<QAction*>("helpAction")->trigger();
        QCOMPARE(fixture.dialogs().messages.size(), std::size_t(1));
        QCOMPARE(fixture.dialogs().messages[0].text,
                 QStringLiteral(" For Help & Instructions, please read 'Afr Tikmeter.doc' or "
                                "'Eng Tikmeter.doc in the current folder."));
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_MainWindow.moc"
