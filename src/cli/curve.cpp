#include "cli/commands.h"

#include "cli/curve_output.h"
#include "cli/stored_formula.h"
#include "cli/terminal_output.h"
#include "context/recording_desktop.h"
#include "db/connection.h"
#include "db/schema.h"
#include "formulation/cost_curve.h"
#include "formulation/loading.h"
#include "text/format.h"

#include <QDir>

#include <optional>

// tarvela-cli curve: the cost curve of one nutrient or ingredient limit, or the price map of one
// ingredient, of a stored formula, computed as the window computes it.
namespace tarvela::cli {

namespace {

int fail(const QString& message, int code = 2) {
    printError(message);
    return code;
}

int usage() {
    return fail(QStringLiteral("usage: tarvela-cli curve FORMULA_ID --nutriente ID|--ingrediente "
                               "ID [--maximo] [--precio] [--desde A --hasta B --pasos N] "
                               "[--db FILE] [--json]"));
}

std::optional<int> key(const QString& text) {
    bool ok = false;
    const int id = text.toInt(&ok);
    if (!ok || id < 1 || id > 32767)
        return std::nullopt;
    return id;
}

} // namespace

int curve(const QStringList& args) {
    std::optional<int> formulaId;
    std::optional<int> nutrient;
    std::optional<int> ingredient;
    std::optional<double> desde;
    std::optional<double> hasta;
    std::optional<int> pasos;
    bool price = false;
    bool maximo = false;
    bool asJson = false;
    QString dbFile;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool takesValue = a == QLatin1String("--nutriente") ||
                                a == QLatin1String("--ingrediente") ||
                                a == QLatin1String("--desde") || a == QLatin1String("--hasta") ||
                                a == QLatin1String("--pasos") || a == QLatin1String("--db");
        if (a == QLatin1String("--json")) {
            asJson = true;
        } else if (a == QLatin1String("--precio")) {
            price = true;
        } else if (a == QLatin1String("--maximo")) {
            maximo = true;
        } else if (takesValue) {
            if (i + 1 >= args.size())
                return usage();
            const QString value = args[++i];
            if (a == QLatin1String("--db")) {
                dbFile = value;
            } else if (a == QLatin1String("--nutriente") || a == QLatin1String("--ingrediente")) {
                const std::optional<int> id = key(value);
                if (!id)
                    return fail(a.mid(2) + QStringLiteral(" must be a number from 1 to 32767"));
                (a == QLatin1String("--nutriente") ? nutrient : ingredient) = id;
            } else if (a == QLatin1String("--pasos")) {
                bool ok = false;
                pasos = value.toInt(&ok);
                if (!ok)
                    return fail(QStringLiteral("--pasos must be a whole number"));
            } else {
                const std::optional<double> v = text::parseUserNumber(value);
                if (!v)
                    return fail(a + QStringLiteral(" must be a number"));
                (a == QLatin1String("--desde") ? desde : hasta) = v;
            }
        } else if (!a.startsWith(QLatin1String("--")) && !formulaId) {
            formulaId = key(a);
            if (!formulaId)
                return fail(QStringLiteral("FORMULA_ID must be a formula number from 1 to 32767"));
        } else {
            return usage();
        }
    }
    if (!formulaId || nutrient.has_value() == ingredient.has_value() || (price && nutrient) ||
        (price && maximo))
        return usage();
    if (dbFile.isEmpty())
        dbFile = QDir::current().filePath(QStringLiteral("TarvelaN.mdb"));

    formulation::CurveSubject subject;
    subject.kind = nutrient ? formulation::CurveKind::NutrientLimit
                   : price  ? formulation::CurveKind::IngredientPrice
                            : formulation::CurveKind::IngredientLimit;
    subject.id = nutrient ? *nutrient : *ingredient;
    subject.maximo = maximo;

    const QChar sep = text::workstationDecimalSeparator();
    try {
        std::unique_ptr<db::Connection> conn = openDatabase(dbFile);
        RecordingDesktop desktop;
        formulation::WorkingModel model;
        if (!loadStoredFormula(model, *conn, *formulaId, desktop, sep))
            return 2;

        const formulation::SubjectCheck check = formulation::curveStart(model, subject);
        if (!check.start)
            return fail(terminalText(check.refusal));
        formulation::CurveRange range;
        if (check.start->defaultRange)
            range = *check.start->defaultRange;
        else if (!desde || !hasta)
            return fail(QStringLiteral("El valor actual es 0: indique --desde y --hasta"));
        range.desde = desde.value_or(range.desde);
        range.hasta = hasta.value_or(range.hasta);
        range.pasos = pasos.value_or(range.pasos);

        const formulation::FormulaComposition composition(*conn, model);
        const formulation::CurveOutcome outcome =
            formulation::costCurve(model, subject, range, composition, sep);
        if (!outcome.curve) {
            for (const formulation::RunMessage& m : outcome.messages)
                printError(terminalText(m.text));
            return 1;
        }
        if (asJson)
            printOut(jsonText(curveJson(model, *outcome.curve)));
        else
            printOut(curveTable(model, *outcome.curve, sep));
        return 0;
    } catch (const db::DbError& e) {
        return fail(QStringLiteral("Error nro.: %1 - %2").arg(e.number()).arg(e.description()));
    }
}

} // namespace tarvela::cli
