#include "context/recording_desktop.h"

namespace tarvela {

void RecordingDesktop::message(const QString& text, MsgIcon icon, const QString& title) {
    messages.push_back({text, icon, title, false});
}

bool RecordingDesktop::question(const QString& text, const QString& title) {
    messages.push_back({text, MsgIcon::Question, title, true});
    return false;
}

QString RecordingDesktop::saveFileName(const QString&, const QStringList&) {
    return {};
}

QString RecordingDesktop::openFileName(const QString&, const QStringList&) {
    return {};
}

int RecordingDesktop::openDocument(const QString&) {
    return 0;
}

void RecordingDesktop::sendKeys(const QString&) {}

void RecordingDesktop::setBusy(bool) {}

} // namespace tarvela
