#pragma once

#include "context/desktop.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace tarvela {

struct RecordedMessage {
    QString text;
    MsgIcon icon = MsgIcon::None; // MsgIcon::Question for a question
    QString title;
    bool isQuestion = false;
};

// A desktop without windows: it records every message and question in order and answers the
// questions No; file dialogs are cancelled, no document opens, keystrokes and the busy pointer
// are ignored. The command line prints what it recorded; tests script it further.
class RecordingDesktop : public Desktop {
public:
    void message(const QString& text, MsgIcon icon = MsgIcon::None,
                 const QString& title = {}) override;
    bool question(const QString& text, const QString& title = {}) override;
    QString saveFileName(const QString& title, const QStringList& filters) override;
    QString openFileName(const QString& title, const QStringList& filters) override;
    int openDocument(const QString& path) override;
    void sendKeys(const QString& keys) override;
    void setBusy(bool busy) override;

    std::vector<RecordedMessage> messages;
};

} // namespace tarvela
