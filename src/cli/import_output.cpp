#include "cli/import_output.h"

#include "cli/terminal_output.h"
#include "files/table.h"
#include "text/format.h"

#include <QJsonArray>

namespace tarvela::cli {

namespace {

QJsonValue number(const std::optional<double>& value) {
    return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
}

QJsonValue variantValue(const QVariant& value) {
    if (value.isNull())
        return QJsonValue(QJsonValue::Null);
    if (value.typeId() == QMetaType::Double)
        return value.toDouble();
    return value.toString();
}

} // namespace

QString gridText(const imports::PreviewGrid& grid) {
    const qsizetype columns = static_cast<qsizetype>(grid.columns.size());
    std::vector<QStringList> lines;
    QStringList headings;
    for (const grid::GridColumn& c : grid.columns)
        headings << c.heading;
    lines.push_back(headings);
    for (int r = 0; r < grid.rowCount; ++r) {
        QStringList line;
        for (int c = 0; c < columns; ++c)
            line << terminalText(grid.cell(r, c).text);
        lines.push_back(line);
    }
    std::vector<qsizetype> widths(static_cast<size_t>(columns), 0);
    for (const QStringList& line : lines)
        for (qsizetype c = 0; c < columns; ++c)
            widths[static_cast<size_t>(c)] =
                std::max(widths[static_cast<size_t>(c)], line[c].size());
    QString out;
    for (const QStringList& line : lines) {
        QString text;
        for (qsizetype c = 0; c < columns; ++c) {
            const auto width = static_cast<int>(widths[static_cast<size_t>(c)]);
            const bool last = c + 1 == columns;
            text += last ? line[c]
                    : grid.columns[static_cast<size_t>(c)].alignRight
                        ? line[c].rightJustified(width)
                        : line[c].leftJustified(width);
            if (!last)
                text += QStringLiteral("  ");
        }
        while (text.endsWith(QLatin1Char(' ')))
            text.chop(1);
        out += text + QLatin1Char('\n');
    }
    return out;
}

QJsonObject priceJson(const QString& file, int base, const imports::PricePreview& preview,
                      bool applied, int updated) {
    QJsonArray rows;
    for (const imports::PriceRow& r : preview.rows)
        rows.append(
            QJsonObject{{QStringLiteral("fila"), r.fila},
                        {QStringLiteral("codigo"), r.codigo},
                        {QStringLiteral("id_producto"),
                         r.idProducto ? QJsonValue(r.idProducto) : QJsonValue(QJsonValue::Null)},
                        {QStringLiteral("nombre"), r.nombre.trimmed()},
                        {QStringLiteral("costo_actual"), number(r.costoActual)},
                        {QStringLiteral("costo_nuevo"), number(r.costoNuevo)},
                        {QStringLiteral("variacion"), number(r.variacion)},
                        {QStringLiteral("materia_seca_actual"), number(r.materiaSecaActual)},
                        {QStringLiteral("materia_seca_nueva"), number(r.materiaSecaNueva)},
                        {QStringLiteral("estado"), imports::priceStatusText(r.estado)},
                        {QStringLiteral("motivo"), r.motivo}});
    QJsonObject counts;
    for (const imports::PriceStatus status :
         {imports::PriceStatus::Unchanged, imports::PriceStatus::Updated,
          imports::PriceStatus::UnknownCode, imports::PriceStatus::RepeatedCode,
          imports::PriceStatus::InvalidPrice, imports::PriceStatus::InvalidDryMatter,
          imports::PriceStatus::LargeVariation})
        counts.insert(imports::priceStatusText(status), preview.count(status));
    return {{QStringLiteral("file"), file},       {QStringLiteral("base"), base},
            {QStringLiteral("rows"), rows},       {QStringLiteral("counts"), counts},
            {QStringLiteral("applied"), applied}, {QStringLiteral("updated"), updated}};
}

QJsonObject compositionJson(const QString& file, int base,
                            const imports::CompositionPreview& preview, bool applied) {
    QJsonArray nutrients;
    for (const imports::NewNutrient& n : preview.newNutrients)
        nutrients.append(QJsonObject{{QStringLiteral("columna"), files::columnLetters(n.column)},
                                     {QStringLiteral("nombre"), n.nombre},
                                     {QStringLiteral("unidad"), n.unidad}});
    QJsonArray ingredients;
    for (const imports::NewIngredient& n : preview.newIngredients)
        ingredients.append(QJsonObject{
            {QStringLiteral("fila"), n.fila},
            {QStringLiteral("codigo"), n.boxes.codigo},
            {QStringLiteral("nombre"), n.boxes.nombre},
            {QStringLiteral("unidad"), n.boxes.unidad},
            {QStringLiteral("costo"), number(text::parseUserNumber(n.boxes.costo))},
            {QStringLiteral("materia_seca"), number(text::parseUserNumber(n.boxes.materiaSeca))},
            {QStringLiteral("valores"), n.values}});
    QJsonArray changed;
    for (const imports::ValueChange& v : preview.changed)
        changed.append(QJsonObject{{QStringLiteral("fila"), v.fila},
                                   {QStringLiteral("codigo"), v.codigo},
                                   {QStringLiteral("ingrediente"), v.ingrediente},
                                   {QStringLiteral("campo"), v.campo},
                                   {QStringLiteral("antes"), variantValue(v.antes)},
                                   {QStringLiteral("despues"), variantValue(v.despues)}});
    QJsonArray refused;
    for (const imports::RefusedCell& r : preview.refused)
        refused.append(
            QJsonObject{{QStringLiteral("fila"), r.fila}, {QStringLiteral("motivo"), r.motivo}});
    const QJsonObject counts{
        {QStringLiteral("new_ingredients"), static_cast<int>(preview.newIngredients.size())},
        {QStringLiteral("new_nutrients"), static_cast<int>(preview.newNutrients.size())},
        {QStringLiteral("changed"), static_cast<int>(preview.changed.size())},
        {QStringLiteral("unchanged"), static_cast<int>(preview.unchanged.size())},
        {QStringLiteral("refused"), static_cast<int>(preview.refused.size())}};
    return {{QStringLiteral("file"), file},
            {QStringLiteral("base"), base},
            {QStringLiteral("new_nutrients"), nutrients},
            {QStringLiteral("new_ingredients"), ingredients},
            {QStringLiteral("changed"), changed},
            {QStringLiteral("refused"), refused},
            {QStringLiteral("counts"), counts},
            {QStringLiteral("applied"), applied}};
}

} // namespace tarvela::cli
