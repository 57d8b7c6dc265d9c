#include "WindowFixture.h"

#include <QPushButton>
#include <QtTest>

namespace tikmeter::app::testing {

WindowFixture::WindowFixture(const QStringList& startArguments) {
    qputenv("EDU_TIKMETER_HOME", home_.path().toLocal8Bit());
    window_ = std::make_unique<FrmMain>(dialogs_, startArguments);
}

WindowFixture::~WindowFixture() {
    window_.reset();
    qunsetenv("EDU_TIKMETER_HOME");
}

void WindowFixture::fillTestList(const QStringList& paths) {
    find<QListWidget*>(QStringLiteral("List1"))->addItems(paths);
}

void WindowFixture::pickSource(engine::Language language, const QString& path) {
    dialogs_.openAnswers.push_back(path);
    const QString button = language == engine::Language::Afrikaans ? QStringLiteral("Command2")
                                                                   : QStringLiteral("Command3");
    QTest::mouseClick(find<QPushButton*>(button), Qt::LeftButton);
}

QString testDataPath(const QString& relative) {
    return QStringLiteral(TIKMETER_TEST_DATA_DIR) + u'/' + relative;
}

} // namespace tikmeter::app::testing
