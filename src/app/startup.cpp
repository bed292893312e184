#include "app/startup.h"

#include "db/schema.h"

#include "text/format.h"

#include <QDir>
#include <QSettings>

namespace tarvela {

QString decimalSeparatorFor(QChar workstationSeparator) {
    const QString shown =
        text::formatNumber(10.0 / 3, QStringLiteral("##.00"), workstationSeparator);
    if (shown.contains(QLatin1Char('.')))
        return QStringLiteral(".");
    if (shown.contains(QLatin1Char(',')))
        return QStringLiteral(",");
    return {};
}

QString configuredServer(const QString& folder) {
    const QString file = QDir(folder).filePath(QStringLiteral("tarvela.ini"));
    if (!QFileInfo::exists(file))
        return {};
    const QSettings settings(file, QSettings::IniFormat);
    return settings.value(QStringLiteral("BaseDeDatos/servidor")).toString().trimmed();
}

bool startUp(AppContext& ctx, const QString& connectionString) {
    ctx.startupOk = false;
    const QString separator = decimalSeparatorFor(text::workstationDecimalSeparator());
    if (separator.isEmpty()) {
        ctx.ui().message(QStringLiteral("El separador decimal no es válido."), MsgIcon::Critical);
        return false;
    }
    ctx.decimalSeparator = separator;

    try {
        const QString server = configuredServer(QDir::currentPath());
        std::unique_ptr<db::Connection> conn =
            server.isEmpty() ? db::Connection::openConnectionString(connectionString)
                             : db::Connection::openServer(server);
        db::upgradeSchema(*conn);
        ctx.conn = std::move(conn);
    } catch (const db::DbError& e) {
        ctx.ui().message(QStringLiteral("Error nro.: ") + QString::number(e.number()) +
                         QLatin1Char('\n') + e.description());
        return false;
    }
    ctx.startupOk = true;
    return true;
}

QString versionText(const db::Result& versions) {
    if (versions.isEmpty())
        return kNoVersionText;
    const QVariant app = versions.value(0, QStringLiteral("versionapnueva"));
    const QVariant base = versions.value(0, QStringLiteral("versionbdnueva"));
    const QChar separator = text::workstationDecimalSeparator();
    QString appText;
    if (!app.isNull())
        appText = text::formatNumber(app.toDouble() / 100, QStringLiteral("0.00"), separator);
    appText.replace(QLatin1Char(','), QLatin1Char('.'));
    return appText + QLatin1Char('.') + text::formatValue(base, QStringLiteral("0"), separator);
}

QString readVersion(db::Connection& conn) {
    return versionText(
        conn.query(QStringLiteral("SELECT * FROM versionado ORDER BY idVersionado DESC")));
}

void restoreParameters(AppContext& ctx) {
    ctx.currentBase = 1;
    ctx.currentCustomer = 0;
    const db::Result rows =
        ctx.db().query(QStringLiteral("Select idBase,idCliente from parametros"));
    if (rows.isEmpty())
        return;
    const QVariant base = rows.value(0, QStringLiteral("idBase"));
    const QVariant customer = rows.value(0, QStringLiteral("idCliente"));
    if (!base.isNull())
        ctx.currentBase = base.toInt();
    if (!customer.isNull())
        ctx.currentCustomer = customer.toInt();
}

void saveBase(AppContext& ctx, int index) {
    ctx.db().execute(QStringLiteral("update parametros set idBase =") + QString::number(index));
    ctx.currentBase = index;
}

void selectBase(AppContext& ctx, int index,
                const std::function<void(int button, bool selected)>& paint) {
    for (int i = 1; i <= 3; ++i) {
        if (i == index) {
            paint(i, true);
            saveBase(ctx, index);
        } else {
            paint(i, false);
        }
    }
    if (ctx.layoutDone)
        ctx.ui().sendKeys(QStringLiteral("%f"));
}

} // namespace tarvela
