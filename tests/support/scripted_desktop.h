#pragma once

#include "context/recording_desktop.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <deque>
#include <functional>
#include <vector>

namespace tarvela::test {

// A desktop for tests: records every message and question, answers questions, file dialogs and
// document openings from queues, and records keystrokes and the busy pointer's calls.
class ScriptedDesktop : public RecordingDesktop {
public:
    void message(const QString& text, MsgIcon icon, const QString& title) override;
    bool question(const QString& text, const QString& title) override;
    Answer questionWithCancel(const QString& text, const QString& title) override;
    QString saveFileName(const QString& title, const QStringList& filters) override;
    QString openFileName(const QString& title, const QStringList& filters) override;
    int openDocument(const QString& path) override;
    void sendKeys(const QString& keys) override;
    void setBusy(bool busy) override;
    QString documentsFolder() override;
    QString temporaryFolder() override;

    // Answers for the next questions (true = Yes); an unanswered question fails the test.
    std::deque<bool> answers;
    // Answers for the next Yes/No/Cancel questions; an unanswered one fails the test.
    std::deque<Answer> choices;
    // Names for the next save-file and open-file dialogs (empty = cancelled).
    std::deque<QString> fileNames;
    // Shell result of opening a document (above 32 = opened).
    int openResult = 42;
    // Called after a message is recorded (e.g. to act while a message box is up).
    std::function<void(const RecordedMessage&)> onMessage;

    // The folders for generated documents: a temporary folder of the test's own unless set.
    QString documentsDir;
    QString temporaryDir;

    QStringList openedDocuments;
    QStringList keys;
    QString lastDialogTitle;
    QStringList lastDialogFilters;
    int busyDepth = 0;
    int busyCalls = 0;

    QStringList texts() const;
    void clear();

private:
    QTemporaryDir outputDir_;
};

} // namespace tarvela::test
