#include "app/FrmMain.h"
#include "browser/TestList.h"

#include "app/TextConvert.h"
#include "engine/MarkingSession.h"
#include "engine/SourceDocuments.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>

#include <limits>

namespace tikmeter::app {

namespace {

int labelIndex(engine::Language language) {
    return language == engine::Language::Afrikaans ? 0 : 1;
}

int clampToInt(std::size_t value) {
    return static_cast<int>(std::min<std::size_t>(value, std::numeric_limits<int>::max()));
}

} // namespace

void FrmMain::markSpeedTests() {
    if (sessionRunning_) {
        return;
    }
    // One session at a time: the button stays disabled while this one runs, also while
    // pending events are let through between tests.
    sessionRunning_ = true;
    setSessionControlsEnabled(false);
    progressBar_->setRange(0, std::max(1, browserArea_.testList->count()));
    progressBar_->setValue(0);
    try {
        engine::runMarkingSession(*this);
    } catch (const std::exception& error) {
        reportError(error);
    }
    sessionRunning_ = false;
    setSessionControlsEnabled(true);
}

void FrmMain::setSessionControlsEnabled(bool enabled) {
    // While a session runs, pending events are let through between tests. Nothing the
    // teacher does then may replace the log the session writes, the source it reads or
    // start a second session; browsing and the settings stay available.
    for (QPushButton* button :
         {command1_, command2_, command3_, command6_, command8_[0], command8_[1]}) {
        button->setEnabled(enabled);
    }
    for (const char* name : {"mnuMarked", "mnuResults", "mnuSave", "mnuPrint"}) {
        if (auto* action = findChild<QAction*>(QLatin1String(name))) {
            action->setEnabled(enabled);
        }
    }
}

void FrmMain::pickSource(engine::Language language) {
    dialogs_.clearFileName();
    const QString picked = dialogs_.openFileName(QStringLiteral("Rich Text Format files|*.RTF"));
    engine::MaakBronOop(*this, language, toU16(picked));
}

void FrmMain::messageBox(const std::u16string& text, const std::u16string& title) {
    if (!closing_) {
        dialogs_.messageBox(toQString(text), toQString(title));
    }
}

std::u16string FrmMain::inputBox(const std::u16string& prompt, const std::u16string& title,
                                 const std::u16string& defaultAnswer) {
    // A closed window answers like a cancelled question: the session ends.
    if (closing_) {
        return {};
    }
    return toU16(dialogs_.inputBox(toQString(prompt), toQString(title), toQString(defaultAnswer)));
}

std::vector<std::u16string> FrmMain::testList() const {
    std::vector<std::u16string> entries;
    for (const QString& entry : browserArea_.testList->entries()) {
        entries.push_back(toU16(entry));
    }
    return entries;
}

std::u16string FrmMain::text1() const {
    return toU16(text1_->text());
}

void FrmMain::setText1(const std::u16string& text) {
    text1_->setText(toQString(text));
}

void FrmMain::setLabel9(const std::u16string& text) {
    // When the program folder cannot be written, the label says that the folder in the
    // user's home is used instead.
    QString shown = toQString(text);
    if (programFolder_.isHomeFallback) {
        shown += QStringLiteral("   (%1 cannot be written)")
                     .arg(toQString(programFolder_.preferredPath));
    }
    label9_->setText(shown);
}

std::u16string FrmMain::label3() const {
    return toU16(label3_->text());
}

void FrmMain::setLabel3(const std::u16string& text) {
    label3_->setText(toQString(text));
}

std::u16string FrmMain::sourcePath(engine::Language language) const {
    return toU16(label7_[labelIndex(language)]->text());
}

void FrmMain::setSourcePath(engine::Language language, const std::u16string& path) {
    label7_[labelIndex(language)]->setText(toQString(path));
}

void FrmMain::letEventsRun() {
    QCoreApplication::processEvents();
}

void FrmMain::progress(std::size_t done, std::size_t total) {
    progressBar_->setRange(0, std::max(1, clampToInt(total)));
    progressBar_->setValue(clampToInt(std::min(done, total)));
    progressBar_->show();
}

std::u16string FrmMain::programFolder() const {
    // ~/Edu Tikmeter, when used, is made the first time something goes into it.
    programFolder_.ensureExists();
    return programFolder_.path;
}

} // namespace tikmeter::app
