#include "support/gui/app_fixture.h"

#include "formulation/gui/open_formulation.h"

namespace tarvela::test {

AppFixture::AppFixture() {
    ctx.conn = database.takeConnection();
    ctx.desktop = &desktop;
    ctx.launcher = &launcher;
    ctx.installDir = database.folder();
    ctx.startupOk = true;
}

AppFixture::~AppFixture() {
    QLocale::setDefault(savedLocale_);
}

void AppFixture::useDecimalSeparator(QChar separator) {
    QLocale::setDefault(separator == QLatin1Char(',')
                            ? QLocale(QLocale::Spanish, QLocale::Argentina)
                            : QLocale(QLocale::English, QLocale::UnitedStates));
    ctx.decimalSeparator = QString(separator);
}

std::function<void(int, QWidget*)> AppFixture::opener() {
    return
        [this](int formulaId, QWidget* parent) { openFormulationWindow(ctx, formulaId, parent); };
}

} // namespace tarvela::test
