#include "app/cli_commands.h"

#include "db/connection.h"
#include "db/format.h"
#include "db/schema.h"
#include "formulation/loading.h"
#include "formulation/run.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <vector>

// tarvela-cli formulate: loads a formula as the formulation window does and runs the least-cost
// formulation through the same code, printing the messages and the resulting mix.
namespace tarvela::cli {

namespace {

struct Message {
    QString text;
    QString title;
    MsgIcon icon = MsgIcon::None;
};

// The desktop of the command line: messages are kept and printed with the result.
class RecordingDesktop : public Desktop {
public:
    void message(const QString& text, MsgIcon icon, const QString& title) override {
        messages.push_back({text, title, icon});
    }
    bool question(const QString& text, const QString& title) override {
        messages.push_back({text, title, MsgIcon::Question});
        return false;
    }
    QString saveFileName(const QString&, const QStringList&) override { return {}; }
    int openDocument(const QString&) override { return 0; }
    void sendKeys(const QString&) override {}
    void setBusy(bool) override {}

    std::vector<Message> messages;
};

class CliHost : public formulation::RunHost {
public:
    CliHost(RecordingDesktop& desktop, QChar sep) : desktop_(desktop), sep_(sep) {}
    Desktop& desktop() override { return desktop_; }
    // The contributions window as a message: its caption, its rows and the blend maximum, then
    // the window's own message.
    void showAportes(const formulation::AportesReport& report) override {
        QString text = QStringLiteral("Ingrediente | Rest. Máximo | Aporte | Aporte Máximo");
        const QString pattern = QStringLiteral("#####0.00");
        for (const formulation::AporteRow& row : report.rows)
            text += QStringLiteral("\n") + row.producto.trimmed() + QStringLiteral(" | ") +
                    (row.maximo ? formatNumber(*row.maximo, pattern, sep_) : QString()) +
                    QStringLiteral(" | ") + formatNumber(row.valor, pattern, sep_) +
                    QStringLiteral(" | ") + formatNumber(row.aportemaximo, pattern, sep_);
        text += QStringLiteral("\nMáximo valor a alcanzar con los ingredientes actuales: ") +
                formatNumber(report.maximoAlcanzable, QStringLiteral("0.00###"), sep_);
        desktop_.message(text, MsgIcon::None, report.caption);
        desktop_.message(QStringLiteral("No es posible alcanzar el Mínimo para la propiedad ") +
                             report.propertyName.trimmed(),
                         MsgIcon::Critical, QStringLiteral("Se ha cancelado la Formulación"));
    }

private:
    RecordingDesktop& desktop_;
    QChar sep_;
};

// Text from the database as the terminal may show it: control characters (escape sequences,
// line feeds, C1 controls) written as "\n", "\t", "\r" or "\xHH"; line feeds kept where a
// message has lines of its own.
QString escaped(const QString& text, bool keepLineFeeds = false) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const bool control = u < 0x20 || (u >= 0x7f && u <= 0x9f);
        if (!control || (keepLineFeeds && u == u'\n')) {
            out += c;
        } else if (u == u'\n') {
            out += QStringLiteral("\\n");
        } else if (u == u'\t') {
            out += QStringLiteral("\\t");
        } else if (u == u'\r') {
            out += QStringLiteral("\\r");
        } else {
            out += QStringLiteral("\\x") +
                   QString::number(u, 16).rightJustified(2, QLatin1Char('0')).toUpper();
        }
    }
    return out;
}

void print(FILE* out, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), out);
}

int fail(const QString& message) {
    print(stderr, escaped(message, true) + QStringLiteral("\n"));
    return 2;
}

int usage() {
    return fail(QStringLiteral(
        "usage: tarvela-cli formulate FORMULA_ID [--db FILE] [--cantidad Q] [--json]"));
}

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

QJsonObject toJson(const formulation::WorkingModel& model, const std::vector<Message>& messages) {
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
    for (const Message& m : messages)
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

    const QJsonObject totals{
        {QStringLiteral("costo_unitario_humeda"), model.totals.costoUnitarioHumeda},
        {QStringLiteral("costo_unitario_seca"), model.totals.costoUnitarioSeca},
        {QStringLiteral("costo_total"), model.totals.costoTotal},
        {QStringLiteral("materia_seca"), model.totals.materiaSeca}};

    QJsonArray analysis;
    for (const formulation::AnalysisRecord& a : model.rsAnalisis)
        analysis.append(QJsonObject{{QStringLiteral("tipo"), a.tipo},
                                    {QStringLiteral("detalle"), a.detalle},
                                    {QStringLiteral("valor1"), json(a.valor1)},
                                    {QStringLiteral("valor2"), json(a.valor2)},
                                    {QStringLiteral("valor3"), json(a.valor3)}});

    return QJsonObject{
        {QStringLiteral("formula"), formula},         {QStringLiteral("messages"), msgs},
        {QStringLiteral("ingredients"), ingredients}, {QStringLiteral("nutrients"), nutrients},
        {QStringLiteral("totals"), totals},           {QStringLiteral("analysis"), analysis}};
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

QString readable(const formulation::WorkingModel& model, const std::vector<Message>& messages,
                 QChar sep) {
    const auto num = [sep](const std::optional<double>& v, const char* pattern) {
        return v ? formatNumber(*v, QString::fromLatin1(pattern), sep) : QString();
    };
    QString out;
    out += QStringLiteral("Fórmula %1  Código %2  Versión %3  Producto %4\n")
               .arg(model.formulaId)
               .arg(escaped(model.header.codigo), escaped(model.header.version),
                    escaped(model.header.producto));
    out += QStringLiteral("Cantidad a elaborar %1  Ingredientes: %2  Nutrientes: %3\n")
               .arg(num(model.batchQuantity, "0.000"),
                    model.vSecaIng ? QStringLiteral("Mat. Seca") : QStringLiteral("Mat. Húmeda"),
                    model.vSecaNut ? QStringLiteral("Base Seca") : QStringLiteral("Base Húmeda"));
    for (const Message& m : messages) {
        out += QStringLiteral("\n[") + iconName(m.icon) + QStringLiteral("]");
        if (!m.title.isEmpty())
            out += QStringLiteral(" ") + escaped(m.title);
        out += QStringLiteral("\n") + escaped(m.text, true) + QStringLiteral("\n");
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
            return v ? formatNumber(*v * 100, QStringLiteral("0.00"), sep) : QString();
        };
        out += tableRow({escaped(r.nombre.trimmed()).left(36), num(r.materia_seca, "#####0.00"),
                         num(r.costo_humeda, "0.00##"), num(r.minimo, "0.000"),
                         num(r.maximo, "0.000"), num(r.cantidad_seca, "0.000"),
                         share(r.porcentaje_seca), num(r.cantidad_humeda, "0.000"),
                         share(r.porcentaje_humeda), num(r.costo_total, "0.00##")},
                        iw);
    }

    out += QStringLiteral("\nNutrientes\n");
    const std::vector<int> nw{-36, 12, 12, 12};
    out += tableRow({QStringLiteral("Descripción"), QStringLiteral("Mínimo"),
                     QStringLiteral("Máximo"), QStringLiteral("Valor")},
                    nw);
    for (const formulation::NutrientRow& n : model.rsPropiedades)
        out += tableRow({escaped(n.nombre.trimmed()).left(36), num(n.minimo, "#####0.00"),
                         num(n.maximo, "#####0.00"), num(n.valor, "#####0.00")},
                        nw);

    const formulation::TotalsTexts& t = model.totalsTexts;
    out += QStringLiteral("\nMat.Seca %1  %2 %  Mat.Húmeda %3  %4 %\n")
               .arg(t.txtCanS, t.txtPorS, t.txtCanH, t.txtPorH);
    out += QStringLiteral("% Mat.Seca %1  Costo Total %2  Costo U.Húmeda %3  Costo U. Seca %4\n")
               .arg(t.txtMatSeca, t.txtCosTot, t.txtCosH, t.txtCosS);

    if (!model.rsAnalisis.empty()) {
        out += QStringLiteral("\nAnálisis de Resultados\n");
        const std::vector<int> aw{-4, -44, 14, 14, 14};
        for (const formulation::AnalysisRecord& a : model.rsAnalisis)
            out +=
                tableRow({a.tipo, escaped(a.detalle.trimmed()).left(44), num(a.valor1, "0.00####"),
                          num(a.valor2, "0.00####"), num(a.valor3, "0.00####")},
                         aw);
    }
    return out;
}

} // namespace

int formulate(const QStringList& args) {
    std::optional<int> formulaId;
    QString dbFile;
    std::optional<QString> cantidad;
    bool asJson = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--json")) {
            asJson = true;
        } else if (a == QLatin1String("--db") || a == QLatin1String("--cantidad")) {
            if (i + 1 >= args.size())
                return usage();
            (a == QLatin1String("--db") ? dbFile : cantidad.emplace()) = args[++i];
        } else if (!a.startsWith(QLatin1String("--")) && !formulaId) {
            bool ok = false;
            const int id = a.toInt(&ok);
            if (!ok || id < 1 || id > 32767)
                return fail(QStringLiteral("FORMULA_ID must be a formula number from 1 to 32767"));
            formulaId = id;
        } else {
            return usage();
        }
    }
    if (!formulaId)
        return usage();
    if (dbFile.isEmpty())
        dbFile = QDir::current().filePath(QStringLiteral("TarvelaN.mdb"));

    const QChar sep = workstationDecimalSeparator();
    try {
        std::unique_ptr<db::Connection> conn = db::Connection::open(dbFile, db::databasePassword());
        RecordingDesktop desktop;
        formulation::WorkingModel model;
        model.formulaId = *formulaId;
        formulation::actuFormula(model, *conn, desktop, sep);
        if (model.formulaId == 0) {
            QString text;
            for (const Message& m : desktop.messages)
                text += escaped(m.text, true) + QStringLiteral("\n");
            print(stderr, text);
            return 2;
        }

        CliHost host(desktop, sep);
        const formulation::RunResult result = formulation::formulate(
            model, cantidad ? *cantidad : model.txtCantidad, *conn, host, sep);

        if (asJson)
            print(stdout, QString::fromUtf8(QJsonDocument(toJson(model, desktop.messages))
                                                .toJson(QJsonDocument::Indented)));
        else
            print(stdout, readable(model, desktop.messages, sep));
        // A script must never take the clipped mix of an infeasible run for a formula.
        return formulation::mixMeetsLimits(result) ? 0 : 1;
    } catch (const db::DbError& e) {
        return fail(QStringLiteral("Error nro.: %1 - %2").arg(e.number()).arg(e.description()));
    }
}

} // namespace tarvela::cli
