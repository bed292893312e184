#include "formulas/formula_header.h"

#include "db/keys.h"
#include "db/statements.h"

namespace tarvela::formulas {

namespace {

const QChar kQuote = QLatin1Char('"');

int toInt(const QVariant& value) {
    return value.isNull() ? 0 : value.toInt();
}

bool codeTaken(db::Connection& conn, const QString& newCode, int base) {
    return !conn.query(QStringLiteral("select codigo from formulas where codigo=") +
                       db::sqlCode(newCode) + QStringLiteral(" and idbase=") + db::sqlInt(base))
                .isEmpty();
}

} // namespace

QString codeChangeQuestion(int versions, const QString& loadedCode) {
    return QStringLiteral("Existen ") + QString::number(versions) +
           QStringLiteral(" versiones de la fórmula ") + kQuote + loadedCode.trimmed() + kQuote +
           QStringLiteral(". Se actualizará el código para todas ellas") + QStringLiteral("\n\n") +
           QStringLiteral("¿Confirma el cambio?");
}

FormulaHeaderEditor::FormulaHeaderEditor(db::Connection& conn, Desktop& desktop,
                                         const HeaderStart& start, bool vSecaIng, bool vSecaNut)
    : conn_(conn), desktop_(desktop), start_(start), currentCustomer_(start.customer),
      vSecaIng_(vSecaIng), vSecaNut_(vSecaNut), today_(QDate::currentDate()) {}

bool FormulaHeaderEditor::load() {
    formulaId_ = start_.formulaId;
    loadedCode_.clear();
    if (formulaId_ < 1) {
        loadNew();
        return true;
    }
    return loadExisting();
}

void FormulaHeaderEditor::loadNew() {
    const db::Result last = conn_.query(
        QStringLiteral("select max(codigo) from formulas where idbase=") + db::sqlInt(start_.base));
    lastCode_ =
        last.isEmpty() || last.value(0, 0).isNull() ? QString() : last.value(0, 0).toString();
    customerId_ = currentCustomer_;
    refreshCustomer();
    code_.clear();
    product_.clear();
    currentVersion_ = 0;
    isNew_ = true;
}

bool FormulaHeaderEditor::loadExisting() {
    const db::Result row =
        conn_.query(QStringLiteral("SELECT f.*,c.nombre as nombrecliente FROM Formulas f LEFT JOIN "
                                   "clientes c ON f.idcliente=c.idcliente WHERE id_formula=") +
                    db::sqlInt(formulaId_));
    if (row.isEmpty()) {
        desktop_.message(QStringLiteral("No es posible grabar la fórmula"), MsgIcon::Critical);
        formulaId_ = -1;
        return false;
    }
    loadedCode_ = row.value(0, QStringLiteral("codigo")).toString();
    code_ = loadedCode_;
    product_ = row.value(0, QStringLiteral("producto")).toString();
    currentVersion_ = toInt(row.value(0, QStringLiteral("version")));
    const QVariant customer = row.value(0, QStringLiteral("nombrecliente"));
    customerName_ = customer.isNull() ? QString() : customer.toString();
    // The formula keeps its own customer (the one the dialog shows) unless another is chosen.
    customerId_ = toInt(row.value(0, QStringLiteral("idcliente")));

    const db::Result maxVersion = conn_.query(
        QStringLiteral("select max(version) from formulas where codigo=") + db::sqlText(code_));
    if (maxVersion.isEmpty()) {
        desktop_.message(QStringLiteral("No se pudo recuperar la versión"), MsgIcon::Critical);
        formulaId_ = -1;
        return false;
    }
    nextVersion_ = maxVersion.value(0, 0).isNull() ? 1 : maxVersion.value(0, 0).toInt() + 1;
    isNew_ = false;
    return true;
}

void FormulaHeaderEditor::refreshCustomer() {
    if (customerId_ < 1) {
        customerId_ = 0;
        currentCustomer_ = 0;
        customerName_.clear();
        return;
    }
    const db::Result name = conn_.query(
        QStringLiteral("SELECT nombre FROM clientes where idcliente=") + db::sqlInt(customerId_));
    if (name.isEmpty()) {
        customerId_ = 0;
        currentCustomer_ = 0;
        customerName_.clear();
        return;
    }
    customerName_ = name.value(0, 0).toString();
}

void FormulaHeaderEditor::chooseCustomer(int customerId) {
    currentCustomer_ = customerId < 1 ? 0 : customerId;
    customerId_ = currentCustomer_;
    refreshCustomer();
}

QString FormulaHeaderEditor::versionText(bool newVersion) const {
    if (isNew_)
        return QStringLiteral("0");
    return QString::number(newVersion ? nextVersion_ : currentVersion_);
}

bool FormulaHeaderEditor::codeInUse(const QString& newCode) {
    return codeTaken(conn_, newCode, start_.base);
}

int FormulaHeaderEditor::versionsOf(const QString& code) {
    return conn_
        .query(QStringLiteral("select codigo from formulas where codigo=") + db::sqlText(code) +
               QStringLiteral(" and idbase=") + db::sqlInt(start_.base))
        .rowCount();
}

SaveResult FormulaHeaderEditor::confirm(const QString& codeText, const QString& productText,
                                        bool newVersion) {
    Desktop& ui = desktop_;
    if (codeText.trimmed().isEmpty()) {
        ui.message(QStringLiteral("Debe ingresar el Código de la Fórmula"), MsgIcon::Critical);
        return {SaveOutcome::Refused, HeaderField::Code};
    }
    const QString product = productText.trimmed();
    if (product.isEmpty()) {
        ui.message(QStringLiteral("Debe ingresar el Producto para la Fórmula"), MsgIcon::Critical);
        return {SaveOutcome::Refused, HeaderField::Product};
    }
    const QString newCode = db::rightAlignCode(codeText);
    const bool codeChanged = !isNew_ && newCode != loadedCode_;

    if ((isNew_ || codeChanged) && codeInUse(newCode)) {
        ui.message(codeTakenMessage(newCode), MsgIcon::Critical);
        return {SaveOutcome::Refused, HeaderField::Code};
    }
    if (codeChanged) {
        const int versions = versionsOf(loadedCode_);
        if (versions >= 2 && !ui.question(codeChangeQuestion(versions, loadedCode_)))
            return {SaveOutcome::Cancelled, HeaderField::None};
    }

    const bool insert = isNew_ || newVersion;
    if (insert) {
        // A row that could not be given a key is refused now, while the dialog is open.
        try {
            db::nextKey(conn_, QStringLiteral("select max(id_formula) from formulas"), true);
        } catch (const db::KeyError& error) {
            ui.message(error.message(), MsgIcon::Critical);
            return {SaveOutcome::Refused, HeaderField::None};
        }
    }

    toWrite_ = HeaderToWrite{};
    toWrite_.insert = insert;
    toWrite_.newFormula = isNew_;
    toWrite_.formulaId = formulaId_;
    toWrite_.newCode = newCode;
    toWrite_.loadedCode = loadedCode_;
    toWrite_.product = product;
    toWrite_.base = start_.base;
    toWrite_.customerId = customerId_;
    toWrite_.quantity = start_.quantity;
    toWrite_.vSecaIng = vSecaIng_;
    toWrite_.vSecaNut = vSecaNut_;
    toWrite_.today = today_;
    return {SaveOutcome::Confirmed, HeaderField::None};
}

QString codeTakenMessage(const QString& newCode) {
    return QStringLiteral("El Código ") + kQuote + newCode.trimmed() + kQuote +
           QStringLiteral(" de la Fórmula Ya fue Ingresado");
}

HeaderWritten writeHeader(db::Connection& conn, const HeaderToWrite& header) {
    const QString basis = (header.vSecaIng ? QStringLiteral("0") : QStringLiteral("1")) +
                          QLatin1Char(',') +
                          (header.vSecaNut ? QStringLiteral("0") : QStringLiteral("1"));
    const bool codeChanged = !header.loadedCode.isEmpty() && header.newCode != header.loadedCode;

    db::Transaction transaction(conn);
    // The dialog checked the code; another workstation may have taken it since.
    if ((header.newFormula || codeChanged) && codeTaken(conn, header.newCode, header.base))
        return {HeaderWriteOutcome::CodeTaken, 0};

    int written = header.formulaId;
    if (header.insert) {
        written = db::nextKey(conn, QStringLiteral("select max(id_formula) from formulas"), true);
        int version = 0;
        if (!header.newFormula) {
            // After the highest version of the code in any base, as it stands now.
            const db::Result highest =
                conn.query(QStringLiteral("select max(version) from formulas where codigo=") +
                           db::sqlText(header.loadedCode));
            version = highest.isEmpty() || highest.value(0, 0).isNull()
                          ? 1
                          : highest.value(0, 0).toInt() + 1;
        }
        conn.execute(
            QStringLiteral("insert into formulas (id_formula,codigo,producto,cantidad,version,"
                           "fecha_creacion,fecha_modificacion,tipoBase,tipoBaseNutrientes,idBase, "
                           "idCliente) values (") +
            db::sqlInt(written) + QLatin1Char(',') + db::sqlCode(header.newCode) +
            QLatin1Char(',') + db::sqlText(header.product) + QLatin1Char(',') +
            db::sqlReal(header.quantity) + QLatin1Char(',') + db::sqlInt(version) +
            QLatin1Char(',') + db::sqlDate(header.today) + QLatin1Char(',') +
            db::sqlDate(header.today) + QLatin1Char(',') + basis + QLatin1Char(',') +
            db::sqlInt(header.base) + QLatin1Char(',') + db::sqlInt(header.customerId) +
            QLatin1Char(')'));
    } else {
        conn.execute(
            QStringLiteral("UPDATE formulas SET idcliente=") + db::sqlInt(header.customerId) +
            QStringLiteral(",producto=") + db::sqlText(header.product) +
            QStringLiteral(",cantidad=") + db::sqlReal(header.quantity) +
            QStringLiteral(",fecha_modificacion=") + db::sqlDate(header.today) +
            (header.vSecaIng ? QStringLiteral(",tipoBase=0") : QStringLiteral(",tipoBase=1")) +
            (header.vSecaNut ? QStringLiteral(",tipoBaseNutrientes=0")
                             : QStringLiteral(",tipoBaseNutrientes=1")) +
            QStringLiteral(" WHERE id_formula=") + db::sqlInt(header.formulaId));
    }
    if (codeChanged) {
        conn.execute(QStringLiteral("UPDATE formulas SET codigo=") + db::sqlCode(header.newCode) +
                     QStringLiteral(" WHERE idBase=") + db::sqlInt(header.base) +
                     QStringLiteral(" AND codigo=") + db::sqlText(header.loadedCode));
    }
    transaction.commit();
    return {HeaderWriteOutcome::Written, written};
}

} // namespace tarvela::formulas
