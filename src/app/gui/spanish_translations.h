#pragma once

class QCoreApplication;
class QTranslator;

namespace tarvela {

// Qt's own texts (the standard buttons of messages and questions: "Aceptar", "Sí", "No"; the
// file dialog) in Spanish, the language of the whole program, whatever the workstation's
// locale. Returns the installed translator, owned by the application, or nullptr when Qt's
// Spanish translations are not installed (the texts then stay in English).
QTranslator* installSpanishTranslations(QCoreApplication& app);

} // namespace tarvela
