#include "catalogs/price_history.h"

#include "db/statements.h"
#include "text/format.h"

#include <QStringList>

namespace tarvela::catalogs {

namespace {

const QString kStoredDate = QStringLiteral("yyyy-MM-dd HH:mm:ss");

std::optional<double> realOf(const QVariant& value) {
    if (value.isNull())
        return std::nullopt;
    return value.toDouble();
}

} // namespace

QString historyDate(const QDateTime& when) {
    return when.toString(kStoredDate);
}

void recordPriceChanges(db::Connection& conn, const std::vector<PriceChange>& changes,
                        const QDateTime& when, const QString& origin) {
    const QString tail = QLatin1Char(',') + db::sqlText(historyDate(when)) + QLatin1Char(',') +
                         db::sqlText(origin) + QLatin1Char(')');
    QStringList rows;
    const auto flush = [&] {
        if (rows.isEmpty())
            return;
        conn.execute(QStringLiteral("insert into precios_historial (id_producto,costo_anterior,"
                                    "costo_nuevo,materia_seca_anterior,materia_seca_nueva,fecha,"
                                    "origen) values ") +
                     rows.join(QLatin1Char(',')));
        rows.clear();
    };
    for (const PriceChange& c : changes) {
        rows << QLatin1Char('(') + db::sqlInt(c.idProducto) + QLatin1Char(',') +
                    db::sqlReal(c.costoAnterior) + QLatin1Char(',') + db::sqlReal(c.costoNuevo) +
                    QLatin1Char(',') + db::sqlReal(c.materiaSecaAnterior) + QLatin1Char(',') +
                    db::sqlReal(c.materiaSecaNueva) + tail;
        if (rows.size() == 400)
            flush();
    }
    flush();
}

std::vector<PriceHistoryEntry> priceHistory(db::Connection& conn, int idProducto) {
    const db::Result rows = conn.query(
        QStringLiteral("select fecha,costo_anterior,costo_nuevo,materia_seca_anterior,"
                       "materia_seca_nueva,origen from precios_historial where id_producto=") +
        db::sqlInt(idProducto) + QStringLiteral(" order by fecha desc"));
    std::vector<PriceHistoryEntry> out;
    for (int r = 0; r < rows.rowCount(); ++r)
        out.push_back({rows.value(r, 0).toString(),
                       {idProducto, realOf(rows.value(r, 1)), realOf(rows.value(r, 2)),
                        realOf(rows.value(r, 3)), realOf(rows.value(r, 4))},
                       rows.value(r, 5).toString()});
    return out;
}

grid::GridPaint paintPriceHistory(const std::vector<PriceHistoryEntry>& entries, QChar separator) {
    const std::vector<grid::GridColumn> columns = {
        {QStringLiteral("fecha"), QStringLiteral("Fecha"), 1700, false},
        {QStringLiteral("costo_anterior"), QStringLiteral("Precio anterior"), 1400, true},
        {QStringLiteral("costo_nuevo"), QStringLiteral("Precio nuevo"), 1400, true},
        {QStringLiteral("materia_seca_anterior"), QStringLiteral("M.S. anterior"), 1200, true},
        {QStringLiteral("materia_seca_nueva"), QStringLiteral("M.S. nueva"), 1200, true},
        {QStringLiteral("origen"), QStringLiteral("Origen"), grid::kRestWidth, false}};
    const auto number = [separator](const std::optional<double>& value, const char* pattern) {
        return value ? text::formatNumber(*value, QString::fromLatin1(pattern), separator)
                     : QString();
    };
    return grid::paintTable(columns, static_cast<int>(entries.size()), [&](int r, int c) {
        const PriceHistoryEntry& e = entries[static_cast<size_t>(r)];
        switch (c) {
        case 0:
            return QDateTime::fromString(e.fecha, kStoredDate)
                .toString(QStringLiteral("dd/MM/yyyy HH:mm"));
        case 1:
            return number(e.change.costoAnterior, "0.0000");
        case 2:
            return number(e.change.costoNuevo, "0.0000");
        case 3:
            return number(e.change.materiaSecaAnterior, "0.00");
        case 4:
            return number(e.change.materiaSecaNueva, "0.00");
        default:
            return e.origen;
        }
    });
}

} // namespace tarvela::catalogs
