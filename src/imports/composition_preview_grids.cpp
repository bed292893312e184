#include "imports/composition_preview_grids.h"

#include "text/format.h"

#include <QStringList>

namespace tarvela::imports {

namespace {

using grid::GridColumn;

QString valueText(const QVariant& value, QChar separator) {
    if (value.isNull())
        return {};
    if (value.typeId() == QMetaType::Double)
        return grid::rawCellText(value.toDouble(), separator);
    return value.toString();
}

grid::CellPaint plain(const QString& text) {
    grid::CellPaint paint;
    paint.text = text;
    return paint;
}

std::optional<double> numberIn(const QString& box) {
    return text::parseUserNumber(box);
}

} // namespace

PreviewGrid newIngredientsGrid(const CompositionPreview& preview, QChar separator) {
    PreviewGrid grid;
    grid.columns = {{QStringLiteral("fila"), QStringLiteral("Fila"), 700, true},
                    {QStringLiteral("codigo"), QStringLiteral("Código"), 1100, true},
                    {QStringLiteral("nombre"), QStringLiteral("Nombre"), grid::kRestWidth, false},
                    {QStringLiteral("unidad"), QStringLiteral("Unidad"), 900, false},
                    {QStringLiteral("costo"), QStringLiteral("Costo"), 1200, true},
                    {QStringLiteral("materia_seca"), QStringLiteral("Materia Seca"), 1300, true},
                    {QStringLiteral("valores"), QStringLiteral("Valores"), 900, true}};
    grid.rowCount = static_cast<int>(preview.newIngredients.size());
    grid.cell = [&preview, separator](int r, int c) {
        const NewIngredient& n = preview.newIngredients[static_cast<size_t>(r)];
        switch (c) {
        case 0:
            return plain(QString::number(n.fila));
        case 1:
            return plain(n.boxes.codigo);
        case 2:
            return plain(n.boxes.nombre);
        case 3:
            return plain(n.boxes.unidad);
        case 4:
            return plain(grid::rawCellText(numberIn(n.boxes.costo), separator));
        case 5:
            return plain(grid::rawCellText(numberIn(n.boxes.materiaSeca), separator));
        default:
            return plain(QString::number(n.values));
        }
    };
    return grid;
}

PreviewGrid newNutrientsGrid(const CompositionPreview& preview) {
    PreviewGrid grid;
    grid.columns = {
        {QStringLiteral("columna"), QStringLiteral("Columna"), 900, false},
        {QStringLiteral("nombre"), QStringLiteral("Nutriente"), grid::kRestWidth, false},
        {QStringLiteral("unidad"), QStringLiteral("Unidad"), 900, false}};
    grid.rowCount = static_cast<int>(preview.newNutrients.size());
    grid.cell = [&preview](int r, int c) {
        const NewNutrient& n = preview.newNutrients[static_cast<size_t>(r)];
        return plain(c == 0 ? files::columnLetters(n.column) : c == 1 ? n.nombre : n.unidad);
    };
    return grid;
}

PreviewGrid valuesGrid(const CompositionPreview& preview, bool changed, QChar separator) {
    const std::vector<ValueChange>& values = changed ? preview.changed : preview.unchanged;
    PreviewGrid grid;
    grid.columns = {{QStringLiteral("fila"), QStringLiteral("Fila"), 700, true},
                    {QStringLiteral("codigo"), QStringLiteral("Código"), 1100, true},
                    {QStringLiteral("ingrediente"), QStringLiteral("Ingrediente"), 3000, false},
                    {QStringLiteral("campo"), QStringLiteral("Campo"), grid::kRestWidth, false},
                    {QStringLiteral("antes"), QStringLiteral("Antes"), 1500, true},
                    {QStringLiteral("despues"), QStringLiteral("Después"), 1500, true}};
    grid.rowCount = static_cast<int>(values.size());
    grid.cell = [&values, changed, separator](int r, int c) {
        const ValueChange& v = values[static_cast<size_t>(r)];
        switch (c) {
        case 0:
            return plain(QString::number(v.fila));
        case 1:
            return plain(v.codigo);
        case 2:
            return plain(v.ingrediente);
        case 3:
            return plain(v.campo);
        case 4:
            return plain(valueText(v.antes, separator));
        default: {
            grid::CellPaint paint = plain(valueText(v.despues, separator));
            if (changed)
                paint.background = previewColors::changed;
            return paint;
        }
        }
    };
    return grid;
}

PreviewGrid refusedGrid(const CompositionPreview& preview) {
    PreviewGrid grid;
    grid.columns = {{QStringLiteral("fila"), QStringLiteral("Fila"), 700, true},
                    {QStringLiteral("motivo"), QStringLiteral("Motivo"), grid::kRestWidth, false}};
    grid.rowCount = static_cast<int>(preview.refused.size());
    grid.cell = [&preview](int r, int c) {
        const RefusedCell& refused = preview.refused[static_cast<size_t>(r)];
        if (c == 0)
            return plain(refused.fila > 0 ? QString::number(refused.fila) : QString());
        grid::CellPaint paint = plain(refused.motivo);
        paint.foreground = previewColors::refused;
        return paint;
    };
    return grid;
}

QString compositionPreviewCounts(const CompositionPreview& preview) {
    return QStringList{QStringLiteral("Ingredientes nuevos: %1").arg(preview.newIngredients.size()),
                       QStringLiteral("Nutrientes nuevos: %1").arg(preview.newNutrients.size()),
                       QStringLiteral("Valores cambiados: %1").arg(preview.changed.size()),
                       QStringLiteral("Valores sin cambios: %1").arg(preview.unchanged.size()),
                       QStringLiteral("Celdas rechazadas: %1").arg(preview.refused.size())}
        .join(QStringLiteral(" · "));
}

} // namespace tarvela::imports
