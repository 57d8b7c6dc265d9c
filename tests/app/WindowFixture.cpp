#include "WindowFixture.h"

#include "browser/TestList.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTextEdit>
#include <QtTest>

namespace tikmeter::app::testing {

WindowFixture::WindowFixture(const QStringList& startArguments) {
    qputenv("EDU_TIKMETER_HOME", home_.path().toLocal8Bit());
    window_ = std::make_unique<MainWindow>(dialogs_, startArguments);
}

WindowFixture::~WindowFixture() {
    window_.reset();
    qunsetenv("EDU_TIKMETER_HOME");
}

void WindowFixture::fillTestList(const QStringList& paths) {
    find<browser::TestList*>()->appendEntries(paths);
}

void WindowFixture::pickSource(engine::Language language, const QString& path) {
    dialogs_.openAnswers.push_back(path);
    QTest::mouseClick(find<QPushButton*>(language == engine::Language::Afrikaans
                                             ? QStringLiteral("afrikaansSourceButton")
                                             : QStringLiteral("englishSourceButton")),
                      Qt::LeftButton);
}

void WindowFixture::markAndWait() {
    QSignalSpy finished(window_.get(), &MainWindow::sessionFinished);
    QTest::mouseClick(find<QPushButton*>(QStringLiteral("markButton")), Qt::LeftButton);
    if (window_->sessionRunning() && !finished.wait(30000)) {
        qFatal("the marking session did not end");
    }
}

void WindowFixture::pickSourcesAndMark() {
    pickSource(engine::Language::Afrikaans, testDataPath("sources/af1-libreoffice.rtf"));
    pickSource(engine::Language::English, testDataPath("sources/en1-libreoffice.rtf"));
    markAndWait();
}

QStringList WindowFixture::viewerLines() const {
    return find<QTextEdit*>(QStringLiteral("viewer"))->toPlainText().split(u'\n');
}

QString testDataPath(const QString& relative) {
    return QStringLiteral(TIKMETER_TEST_DATA_DIR) + u'/' + relative;
}

} // namespace tikmeter::app::testing
