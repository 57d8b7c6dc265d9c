#pragma once

#include "app/Dialogs.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <vector>

namespace tikmeter::app::testing {

// Answers the window's dialogs from queues filled by the test and records every message
// and every dialog shown. A dialog with no scripted answer counts as unexpected and is
// answered as cancelled.
class ScriptedDialogs : public Dialogs {
public:
    struct Message {
        QString text;
        QString title;
    };

    void messageBox(const QString& text, const QString& title) override;
    bool question(const QString& text, const QString& title) override;
    QString inputBox(const QString& prompt, const QString& title,
                     const QString& defaultAnswer) override;
    void clearFileName() override;
    QString openFileName(const QString& filter, const QString& folder,
                         const QString& title) override;
    QString saveFileName(const QString& filter) override;
    bool printerDialog(QPrinter& printer) override;

    std::deque<QString> openAnswers;
    std::deque<QString> saveAnswers;
    std::deque<QString> inputAnswers;
    std::deque<bool> questionAnswers;
    std::deque<std::function<bool(QPrinter&)>> printerAnswers;

    std::vector<Message> messages;
    QStringList openFilters;
    QStringList openFolders; // where each open dialog started
    QStringList openTitles;
    QStringList saveFilters;
    QStringList inputPrompts;
    int fileNameClears = 0;
    int unexpected = 0;
};

} // namespace tikmeter::app::testing
