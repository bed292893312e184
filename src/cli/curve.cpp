#include "cli/command_line.h"
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

#include <optional>

// tarvela-cli curve: the cost curve of one nutrient or ingredient limit, or the price map of one
// ingredient, of a stored formula, computed as the window computes it.
namespace tarvela::cli {

namespace {

int usage() {
    return fail(QStringLiteral("uso: tarvela-cli curve ID_FORMULA --nutriente ID|--ingrediente "
                               "ID [--maximo] [--precio] [--desde A --hasta B --pasos N] "
                               "[--db ARCHIVO|postgresql://...] [--json]"));
}

} // namespace

int curve(const QStringList& args) {
    const Arguments read(
        args, {QStringLiteral("--json"), QStringLiteral("--precio"), QStringLiteral("--maximo")},
        {QStringLiteral("--nutriente"), QStringLiteral("--ingrediente"), QStringLiteral("--desde"),
         QStringLiteral("--hasta"), QStringLiteral("--pasos"), QStringLiteral("--db")},
        1);
    if (!read.ok() || read.words().isEmpty())
        return usage();
    const std::optional<int> formulaId = wholeNumber(read.words().front(), 1, 32767);
    if (!formulaId)
        return fail(QStringLiteral("ID_FORMULA debe ser un número de fórmula de 1 a 32767"));
    std::optional<int> nutrient;
    std::optional<int> ingredient;
    for (const QString& option : {QStringLiteral("--nutriente"), QStringLiteral("--ingrediente")})
        if (const std::optional<QString> given = read.value(option)) {
            const std::optional<int> id = wholeNumber(*given, 1, 32767);
            if (!id)
                return fail(option + QStringLiteral(" debe ser un número de 1 a 32767"));
            (option == QLatin1String("--nutriente") ? nutrient : ingredient) = id;
        }
    std::optional<int> pasos;
    if (const std::optional<QString> given = read.value(QStringLiteral("--pasos"))) {
        bool ok = false;
        pasos = given->toInt(&ok);
        if (!ok)
            return fail(QStringLiteral("--pasos debe ser un número entero"));
    }
    std::optional<double> desde;
    std::optional<double> hasta;
    for (const QString& option : {QStringLiteral("--desde"), QStringLiteral("--hasta")})
        if (const std::optional<QString> given = read.value(option)) {
            const std::optional<double> v = text::parseUserNumber(*given);
            if (!v)
                return fail(option + QStringLiteral(" debe ser un número"));
            (option == QLatin1String("--desde") ? desde : hasta) = v;
        }
    const bool price = read.has(QStringLiteral("--precio"));
    const bool maximo = read.has(QStringLiteral("--maximo"));
    const bool asJson = read.has(QStringLiteral("--json"));
    if (nutrient.has_value() == ingredient.has_value() || (price && nutrient) || (price && maximo))
        return usage();
    const QString dbFile = read.database();

    formulation::CurveSubject subject;
    subject.kind = nutrient ? formulation::CurveKind::NutrientLimit
                   : price  ? formulation::CurveKind::IngredientPrice
                            : formulation::CurveKind::IngredientLimit;
    subject.id = nutrient ? *nutrient : *ingredient;
    subject.maximo = maximo;

    const QChar sep = text::workstationDecimalSeparator();
    return guarded([&] {
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
    });
}

} // namespace tarvela::cli
