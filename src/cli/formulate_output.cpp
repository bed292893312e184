#include "cli/formulate_output.h"

#include "cli/terminal_output.h"
#include "text/format.h"

#include <QJsonArray>
#include <QJsonValue>
#include <QStringList>

namespace tarvela::cli {

namespace {

using formulation::Opt;

QString iconName(MsgIcon icon) {
    switch (icon) {
    case MsgIcon::Information:
        return QStringLiteral("information");
    case MsgIcon::Warning:
        return QStringLiteral("warning");
    case MsgIcon::Critical:
        return QStringLiteral("critical");
    case MsgIcon::Question:
        return QStringLiteral("question");
    case MsgIcon::None:
        break;
    }
    return QStringLiteral("none");
}

QJsonValue json(const std::optional<double>& v) {
    return v ? QJsonValue(*v) : QJsonValue(QJsonValue::Null);
}

// One table row with left-aligned text columns and right-aligned number columns.
QString tableRow(const QStringList& cells, const std::vector<int>& widths) {
    QString line;
    for (qsizetype c = 0; c < cells.size(); ++c) {
        const int w = widths[static_cast<size_t>(c)];
        line +=
            (w < 0 ? cells[c].leftJustified(-w) : cells[c].rightJustified(w)) + QStringLiteral(" ");
    }
    return line.trimmed() + QStringLiteral("\n");
}

} // namespace

QJsonObject formulationJson(const formulation::WorkingModel& model,
                            const std::vector<RecordedMessage>& messages) {
    QJsonObject formula;
    formula.insert(QStringLiteral("id"), model.formulaId);
    formula.insert(QStringLiteral("codigo"), model.header.codigo);
    bool versionIsNumber = false;
    const int version = model.header.version.toInt(&versionIsNumber);
    formula.insert(QStringLiteral("version"),
                   versionIsNumber ? QJsonValue(version) : QJsonValue(model.header.version));
    formula.insert(QStringLiteral("producto"), model.header.producto);
    formula.insert(QStringLiteral("cantidad"), model.batchQuantity);
    formula.insert(QStringLiteral("vSecaIng"), model.vSecaIng);
    formula.insert(QStringLiteral("vSecaNut"), model.vSecaNut);

    QJsonArray msgs;
    for (const RecordedMessage& m : messages)
        msgs.append(QJsonObject{{QStringLiteral("text"), m.text},
                                {QStringLiteral("title"), m.title},
                                {QStringLiteral("icon"), iconName(m.icon)}});

    QJsonArray ingredients;
    for (const formulation::IngredientRow& r : model.ingredients)
        ingredients.append(
            QJsonObject{{QStringLiteral("id_producto"), r.id_producto},
                        {QStringLiteral("nombre"), r.nombre},
                        {QStringLiteral("materia_seca"), json(r.materia_seca)},
                        {QStringLiteral("costo_humeda"), json(r.costo_humeda)},
                        {QStringLiteral("minimo"), json(r.minimo)},
                        {QStringLiteral("maximo"), json(r.maximo)},
                        {QStringLiteral("cantidad_seca"), json(r.cantidad_seca)},
                        {QStringLiteral("porcentaje_seca"), json(r.porcentaje_seca)},
                        {QStringLiteral("cantidad_humeda"), json(r.cantidad_humeda)},
                        {QStringLiteral("porcentaje_humeda"), json(r.porcentaje_humeda)},
                        {QStringLiteral("costo_total"), json(r.costo_total)}});

    QJsonArray nutrients;
    for (const formulation::NutrientRow& n : model.rsPropiedades)
        nutrients.append(QJsonObject{{QStringLiteral("id_propiedad"), n.id_propiedad},
                                     {QStringLiteral("nombre"), n.nombre},
                                     {QStringLiteral("minimo"), json(n.minimo)},
                                     {QStringLiteral("maximo"), json(n.maximo)},
                                     {QStringLiteral("valor"), json(n.valor)}});

    QJsonArray ratios;
    for (const formulation::RatioRow& r : model.relaciones)
        ratios.append(QJsonObject{{QStringLiteral("id_num"), r.id_num},
                                  {QStringLiteral("id_den"), r.id_den},
                                  {QStringLiteral("nombre"), formulation::ratioName(r)},
                                  {QStringLiteral("minimo"), json(r.minimo)},
                                  {QStringLiteral("maximo"), json(r.maximo)},
                                  {QStringLiteral("valor"), json(r.valor)}});

    QJsonArray groups;
    for (const formulation::GroupRow& g : model.grupos)
        groups.append(QJsonObject{{QStringLiteral("id"), g.id_grupo},
                                  {QStringLiteral("nombre"), g.nombre.trimmed()},
                                  {QStringLiteral("minimo"), json(g.minimo)},
                                  {QStringLiteral("maximo"), json(g.maximo)},
                                  {QStringLiteral("valor"), json(g.valor)}});

    const QJsonObject totals{
        {QStringLiteral("costo_unitario_humeda"), model.totals.costoUnitarioHumeda},
        {QStringLiteral("costo_unitario_seca"), model.totals.costoUnitarioSeca},
        {QStringLiteral("costo_total"), model.totals.costoTotal},
        {QStringLiteral("materia_seca"), model.totals.materiaSeca}};

    QJsonArray analysis;
    for (const formulation::AnalysisRecord& a : model.rsAnalisis) {
        QJsonObject record{{QStringLiteral("tipo"), formulation::analysisCode(a.kind)},
                           {QStringLiteral("detalle"), a.detalle},
                           {QStringLiteral("valor1"), json(a.valor1)},
                           {QStringLiteral("valor2"), json(a.valor2)},
                           {QStringLiteral("valor3"), json(a.valor3)}};
        if (a.ranged) {
            record.insert(QStringLiteral("valido_desde"), json(a.validoDesde));
            record.insert(QStringLiteral("valido_hasta"), json(a.validoHasta));
        }
        analysis.append(record);
    }

    return QJsonObject{
        {QStringLiteral("formula"), formula},         {QStringLiteral("messages"), msgs},
        {QStringLiteral("ingredients"), ingredients}, {QStringLiteral("nutrients"), nutrients},
        {QStringLiteral("relaciones"), ratios},       {QStringLiteral("grupos"), groups},
        {QStringLiteral("totals"), totals},           {QStringLiteral("analysis"), analysis}};
}

QString formulationTable(const formulation::WorkingModel& model,
                         const std::vector<RecordedMessage>& messages, QChar sep,
                         std::optional<size_t> contributions) {
    const auto num = [sep](const std::optional<double>& v, const char* pattern) {
        return v ? text::formatNumber(*v, QString::fromLatin1(pattern), sep) : QString();
    };
    QString out;
    out += QStringLiteral("Fórmula %1  Código %2  Versión %3  Producto %4\n")
               .arg(model.formulaId)
               .arg(terminalText(model.header.codigo), terminalText(model.header.version),
                    terminalText(model.header.producto));
    out += QStringLiteral("Cantidad a elaborar %1  Ingredientes: %2  Nutrientes: %3\n")
               .arg(num(model.batchQuantity, "0.000"),
                    model.vSecaIng ? QStringLiteral("Mat. Seca") : QStringLiteral("Mat. Húmeda"),
                    model.vSecaNut ? QStringLiteral("Base Seca") : QStringLiteral("Base Húmeda"));
    // A message is one line, its own line feeds escaped as those of the names in it: a name can
    // never start a line of its own. The contributions table is laid out by the command line,
    // its names escaped already: its lines stay.
    for (size_t i = 0; i < messages.size(); ++i) {
        const RecordedMessage& m = messages[i];
        out += QStringLiteral("\n[") + iconName(m.icon) + QStringLiteral("]");
        if (!m.title.isEmpty())
            out += QStringLiteral(" ") + terminalText(m.title);
        QString text;
        if (contributions && *contributions == i) {
            QStringList lines = m.text.split(QLatin1Char('\n'));
            for (QString& line : lines)
                line = terminalText(line);
            text = lines.join(QLatin1Char('\n'));
        } else {
            text = terminalText(m.text);
        }
        out += QStringLiteral("\n") + text + QStringLiteral("\n");
    }

    out += QStringLiteral("\nIngredientes\n");
    const std::vector<int> iw{-36, 9, 10, 10, 10, 10, 8, 10, 8, 12};
    out += tableRow({QStringLiteral("Descripción"), QStringLiteral("Mat.Seca"),
                     QStringLiteral("Precio"), QStringLiteral("Mínimo"), QStringLiteral("Máximo"),
                     QStringLiteral("B.Seca"), QStringLiteral("%"), QStringLiteral("B.Húmeda"),
                     QStringLiteral("%"), QStringLiteral("Costo")},
                    iw);
    for (const formulation::IngredientRow& r : model.ingredients) {
        const auto share = [&](const std::optional<double>& v) {
            return v ? text::formatNumber(*v * 100, QStringLiteral("0.00"), sep) : QString();
        };
        out +=
            tableRow({terminalText(r.nombre.trimmed()).left(36), num(r.materia_seca, "#####0.00"),
                      num(r.costo_humeda, "0.00##"), num(r.minimo, "0.000"), num(r.maximo, "0.000"),
                      num(r.cantidad_seca, "0.000"), share(r.porcentaje_seca),
                      num(r.cantidad_humeda, "0.000"), share(r.porcentaje_humeda),
                      num(r.costo_total, "0.00##")},
                     iw);
    }

    out += QStringLiteral("\nNutrientes\n");
    const std::vector<int> nw{-36, 12, 12, 12};
    out += tableRow({QStringLiteral("Descripción"), QStringLiteral("Mínimo"),
                     QStringLiteral("Máximo"), QStringLiteral("Valor")},
                    nw);
    for (const formulation::NutrientRow& n : model.rsPropiedades)
        out += tableRow({terminalText(n.nombre.trimmed()).left(36), num(n.minimo, "#####0.00"),
                         num(n.maximo, "#####0.00"), num(n.valor, "#####0.00")},
                        nw);

    if (!model.relaciones.empty() || !model.grupos.empty()) {
        out += QStringLiteral("\nRelaciones y Grupos\n");
        out += tableRow({QStringLiteral("Descripción"), QStringLiteral("Mínimo"),
                         QStringLiteral("Máximo"), QStringLiteral("Valor")},
                        nw);
        // A ratio without a value (its denominator is 0 in the mix) shows a dash.
        for (const formulation::RatioRow& r : model.relaciones)
            out += tableRow({terminalText(formulation::ratioCaption(r)).left(36),
                             num(r.minimo, "#####0.00"), num(r.maximo, "#####0.00"),
                             r.valor ? num(r.valor, "#####0.00") : QStringLiteral("—")},
                            nw);
        for (const formulation::GroupRow& g : model.grupos)
            out += tableRow({terminalText(formulation::groupCaption(g)).left(36),
                             num(g.minimo, "#####0.00"), num(g.maximo, "#####0.00"),
                             num(g.valor, "#####0.00")},
                            nw);
    }

    const formulation::TotalsTexts& t = model.totalsTexts;
    out += QStringLiteral("\nMat.Seca %1  %2 %  Mat.Húmeda %3  %4 %\n")
               .arg(t.txtCanS, t.txtPorS, t.txtCanH, t.txtPorH);
    out += QStringLiteral("% Mat.Seca: %1  Costo Total: %2  Costo U.Seca: %3  Costo U.Húmeda: %4\n")
               .arg(t.txtMatSeca, t.txtCosTot, t.txtCosS, t.txtCosH);

    if (!model.rsAnalisis.empty()) {
        out += QStringLiteral("\nAnálisis de Resultados\n");
        const std::vector<int> aw{-4, -44, 14, 14, 14, 14, 14};
        // The records of binding limits also say how far they hold.
        const auto held = [&](const formulation::AnalysisRecord& a, const Opt& end) {
            if (!a.ranged)
                return QString();
            return end ? num(end, "0.00####") : QStringLiteral("Sin límite");
        };
        for (const formulation::AnalysisRecord& a : model.rsAnalisis)
            out += tableRow({formulation::analysisCode(a.kind),
                             terminalText(a.detalle.trimmed()).left(44), num(a.valor1, "0.00####"),
                             num(a.valor2, "0.00####"), num(a.valor3, "0.00####"),
                             held(a, a.validoDesde), held(a, a.validoHasta)},
                            aw);
    }
    return out;
}

QString contributionsText(const formulation::AportesReport& report, QChar sep) {
    QString table = QStringLiteral("Ingrediente | Rest. Máximo | Aporte | Aporte Máximo");
    const QString pattern = QStringLiteral("#####0.00");
    for (const formulation::AporteRow& row : report.rows)
        table += QStringLiteral("\n") + terminalText(row.producto.trimmed()) +
                 QStringLiteral(" | ") +
                 (row.maximo ? text::formatNumber(*row.maximo, pattern, sep) : QString()) +
                 QStringLiteral(" | ") + text::formatNumber(row.valor, pattern, sep) +
                 QStringLiteral(" | ") + text::formatNumber(row.aportemaximo, pattern, sep);
    table += QStringLiteral("\nMáximo valor a alcanzar con los ingredientes actuales: ") +
             text::formatNumber(report.maximoAlcanzable, QStringLiteral("0.00###"), sep);
    return table;
}

} // namespace tarvela::cli
