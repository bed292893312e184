#include "worklist/version_save.h"

#include "context/recording_desktop.h"
#include "db/keys.h"
#include "formulas/formula_header.h"
#include "formulation/save_details.h"

namespace tarvela::worklist {

namespace {

int saveOne(db::Connection& conn, const Reformulated& row, int base, const QDate& today,
            int& version, QString& motivo) {
    return saveNewVersion(conn, row.model, row.formula.idFormula, row.formula.idCliente, base,
                          today, version, motivo);
}

} // namespace

int saveNewVersion(db::Connection& conn, const formulation::WorkingModel& model, int idFormula,
                   int idCliente, int base, const QDate& today, int& version, QString& motivo) {
    RecordingDesktop said;
    try {
        db::Transaction transaction(conn);
        formulas::HeaderStart start;
        start.formulaId = idFormula;
        start.base = base;
        start.customer = idCliente;
        start.quantity = model.batchQuantity;
        formulas::FormulaHeaderEditor header(conn, said, start, model.vSecaIng, model.vSecaNut);
        header.setToday(today);
        if (header.load()) {
            version = header.nextVersion();
            const formulas::SaveResult result =
                header.confirm(header.code(), header.product(), /*newVersion=*/true);
            if (result.outcome == formulas::SaveOutcome::Confirmed) {
                const formulas::HeaderWritten written =
                    formulas::writeHeader(conn, header.toWrite());
                if (written.outcome == formulas::HeaderWriteOutcome::Written) {
                    formulation::WorkingModel saved = model;
                    saved.formulaId = written.formulaId;
                    formulation::saveDetails(saved, conn);
                    transaction.commit();
                    return written.formulaId;
                }
                said.message(formulas::codeTakenMessage(header.toWrite().newCode));
            }
        }
        motivo = said.messages.empty() ? QStringLiteral("No es posible grabar la fórmula")
                                       : said.messages.back().text;
    } catch (const db::KeyError& error) {
        motivo = error.message();
    } catch (const db::DbError& error) {
        motivo = QStringLiteral("Error nro.: %1 - %2").arg(error.number()).arg(error.description());
    }
    return 0;
}

bool savable(const Reformulated& row) {
    return row.marcada && row.estado == Estado::Optima && row.idFormulaNueva == 0;
}

VersionsSaved saveNewVersions(db::Connection& conn, std::vector<Reformulated>& rows, int base,
                              const QDate& today,
                              const std::function<bool(int done, int total)>& keepGoing) {
    VersionsSaved out;
    int total = 0;
    for (const Reformulated& row : rows)
        total += savable(row) ? 1 : 0;
    int done = 0;
    for (Reformulated& row : rows) {
        if (!savable(row))
            continue;
        QString motivo;
        int version = 0;
        const int id = saveOne(conn, row, base, today, version, motivo);
        if (id > 0) {
            row.idFormulaNueva = id;
            row.versionNueva = version;
            ++out.saved;
        } else {
            out.failures.push_back({row.formula.idFormula, row.formula.codigo, motivo});
        }
        ++done;
        if (done < total && keepGoing && !keepGoing(done, total)) {
            out.cancelled = true;
            break;
        }
    }
    return out;
}

QStringList failureLines(const std::vector<SaveFailure>& failures) {
    QStringList lines;
    lines << QStringLiteral("No se pudieron grabar las siguientes fórmulas:");
    for (const SaveFailure& f : failures)
        lines << f.codigo + QStringLiteral(": ") + f.motivo;
    return lines;
}

QString failuresMessage(const std::vector<SaveFailure>& failures) {
    return failureLines(failures).join(QLatin1Char('\n'));
}

} // namespace tarvela::worklist
