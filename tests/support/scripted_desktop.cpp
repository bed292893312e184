#include "support/scripted_desktop.h"

#include <gtest/gtest.h>

namespace tarvela::test {

void ScriptedDesktop::message(const QString& text, MsgIcon icon, const QString& title) {
    RecordingDesktop::message(text, icon, title);
    if (onMessage)
        onMessage(messages.back());
}

bool ScriptedDesktop::question(const QString& text, const QString& title) {
    RecordingDesktop::question(text, title);
    if (answers.empty()) {
        ADD_FAILURE() << "unexpected question: " << text.toStdString();
        return false;
    }
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

Answer ScriptedDesktop::questionWithCancel(const QString& text, const QString& title) {
    RecordingDesktop::question(text, title);
    if (choices.empty()) {
        ADD_FAILURE() << "unexpected question: " << text.toStdString();
        return Answer::Cancel;
    }
    const Answer answer = choices.front();
    choices.pop_front();
    return answer;
}

QString ScriptedDesktop::saveFileName(const QString& title, const QStringList& filters) {
    lastDialogTitle = title;
    lastDialogFilters = filters;
    if (fileNames.empty())
        return {};
    QString name = fileNames.front();
    fileNames.pop_front();
    return name;
}

QString ScriptedDesktop::openFileName(const QString& title, const QStringList& filters) {
    return saveFileName(title, filters);
}

int ScriptedDesktop::openDocument(const QString& path) {
    openedDocuments << path;
    return openResult;
}

void ScriptedDesktop::sendKeys(const QString& k) {
    keys << k;
}

void ScriptedDesktop::setBusy(bool busy) {
    busyDepth += busy ? 1 : -1;
    if (busy)
        ++busyCalls;
}

QString ScriptedDesktop::documentsFolder() {
    return documentsDir.isEmpty() ? outputDir_.path() : documentsDir;
}

QString ScriptedDesktop::temporaryFolder() {
    return temporaryDir.isEmpty() ? outputDir_.path() : temporaryDir;
}

QStringList ScriptedDesktop::texts() const {
    QStringList out;
    for (const auto& m : messages)
        out << m.text;
    return out;
}

void ScriptedDesktop::clear() {
    messages.clear();
    openedDocuments.clear();
    keys.clear();
}

} // namespace tarvela::test
