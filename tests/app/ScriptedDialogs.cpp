#include "ScriptedDialogs.h"

namespace tikmeter::app::testing {

namespace {

template <typename T> T take(std::deque<T>& queue, int& unexpected) {
    if (queue.empty()) {
        ++unexpected;
        return T();
    }
    T answer = std::move(queue.front());
    queue.pop_front();
    return answer;
}

} // namespace

void ScriptedDialogs::messageBox(const QString& text, const QString& title) {
    messages.push_back({text, title});
}

bool ScriptedDialogs::question(const QString& text, const QString& title) {
    messages.push_back({text, title});
    return take(questionAnswers, unexpected);
}

QString ScriptedDialogs::inputBox(const QString& prompt, const QString&, const QString&) {
    inputPrompts.append(prompt);
    return take(inputAnswers, unexpected);
}

void ScriptedDialogs::clearFileName() {
    ++fileNameClears;
}

QString ScriptedDialogs::openFileName(const QString& filter, const QString& folder,
                                      const QString& title) {
    openFilters.append(filter);
    openFolders.append(folder);
    openTitles.append(title);
    return take(openAnswers, unexpected);
}

QString ScriptedDialogs::saveFileName(const QString& filter) {
    saveFilters.append(filter);
    return take(saveAnswers, unexpected);
}

bool ScriptedDialogs::printerDialog(QPrinter& printer) {
    auto answer = take(printerAnswers, unexpected);
    return answer ? answer(printer) : false;
}

} // namespace tikmeter::app::testing
