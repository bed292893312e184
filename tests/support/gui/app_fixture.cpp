#include "support/gui/app_fixture.h"

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

} // namespace tarvela::test
