#include "worklist/version_save.h"

#include "context/recording_desktop.h"
#include "db/keys.h"
#include "formulas/formula_header.h"
#include "formulation/save_details.h"

#include <algorithm>

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

namespace {

// One formula's outcome, applied to its row and to the count.
void record(Reformulated& row, int id, int version, const QString& motivo, VersionsSaved& out) {
    if (id > 0) {
        row.idFormulaNueva = id;
        row.versionNueva = version;
        ++out.saved;
    } else {
        out.failures.push_back({row.formula.idFormula, row.formula.codigo, motivo});
    }
}

struct Saved {
    Reformulated* row;
    int id;
    int version;
};

} // namespace

VersionsSaved saveNewVersions(db::Connection& conn, std::vector<Reformulated>& rows, int base,
                              const QDate& today,
                              const std::function<bool(int done, int total)>& keepGoing) {
    VersionsSaved out;
    std::vector<Reformulated*> pending;
    for (Reformulated& row : rows)
        if (savable(row))
            pending.push_back(&row);
    const int total = static_cast<int>(pending.size());
    int done = 0;
    // Each batch is one transaction; a formula that cannot be saved takes its batch back, and
    // the batch is saved again one formula per transaction, so that it alone is left out.
    for (size_t from = 0; from < pending.size() && !out.cancelled;
         from += kVersionsPerTransaction) {
        const size_t to = std::min(pending.size(), from + kVersionsPerTransaction);
        std::vector<Saved> batch;
        size_t asked = from; // formulas of the batch already counted for keepGoing
        bool failed = false;
        try {
            db::Transaction transaction(conn);
            for (size_t k = from; k < to && !out.cancelled; ++k) {
                QString motivo;
                int version = 0;
                const int id = saveOne(conn, *pending[k], base, today, version, motivo);
                if (id == 0) {
                    failed = true;
                    break;
                }
                batch.push_back({pending[k], id, version});
                asked = k + 1;
                ++done;
                if (done < total && keepGoing && !keepGoing(done, total))
                    out.cancelled = true;
            }
            if (!failed)
                transaction.commit();
        } catch (const db::DbError&) {
            failed = true;
        }
        if (!failed) {
            for (const Saved& saved : batch)
                record(*saved.row, saved.id, saved.version, QString(), out);
            continue;
        }
        for (size_t k = from; k < to; ++k) {
            QString motivo;
            int version = 0;
            const int id = saveOne(conn, *pending[k], base, today, version, motivo);
            record(*pending[k], id, version, motivo, out);
            if (k < asked)
                continue; // counted already
            ++done;
            if (done < total && keepGoing && !keepGoing(done, total)) {
                out.cancelled = true;
                break;
            }
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
