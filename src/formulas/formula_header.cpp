#include "formulas/formula_header.h"

#include "db/change_log.h"
#include "db/keys.h"
#include "db/statements.h"

namespace tarvela::formulas {

namespace {

const QChar kQuote = QLatin1Char('"');

int toInt(const QVariant& value) {
    return value.isNull() ? 0 : value.toInt();
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
    return !conn_
                .query(QStringLiteral("select codigo from formulas where codigo=") +
                       db::sqlCode(newCode) + QStringLiteral(" and idbase=") +
                       db::sqlInt(start_.base))
                .isEmpty();
}

int FormulaHeaderEditor::versionsOf(const QString& code) {
    return conn_
        .query(QStringLiteral("select codigo from formulas where codigo=") + db::sqlText(code) +
               QStringLiteral(" and idbase=") + db::sqlInt(start_.base))
        .rowCount();
}

QString FormulaHeaderEditor::insertStatement(int id, const QString& newCode, const QString& product,
                                             int version) const {
    return QStringLiteral("insert into formulas (id_formula,codigo,producto,cantidad,version,"
                          "fecha_creacion,fecha_modificacion,tipoBase,tipoBaseNutrientes,idBase, "
                          "idCliente) values (") +
           db::sqlInt(id) + QLatin1Char(',') + db::sqlCode(newCode) + QLatin1Char(',') +
           db::sqlText(product) + QLatin1Char(',') + db::sqlReal(start_.quantity) +
           QLatin1Char(',') + db::sqlInt(version) + QLatin1Char(',') + db::sqlDate(today_) +
           QLatin1Char(',') + db::sqlDate(today_) +
           (vSecaIng_ ? QStringLiteral(",0") : QStringLiteral(",1")) +
           (vSecaNut_ ? QStringLiteral(",0") : QStringLiteral(",1")) + QLatin1Char(',') +
           db::sqlInt(start_.base) + QLatin1Char(',') + db::sqlInt(customerId_) + QLatin1Char(')');
}

void FormulaHeaderEditor::updateRow(const QString& product) {
    db::updateRecorded(conn_, QStringLiteral("formulas"), QStringLiteral("id_formula"), formulaId_,
                       start_.stamp,
                       {QStringLiteral("idCliente"), QStringLiteral("producto"),
                        QStringLiteral("cantidad"), QStringLiteral("fecha_modificacion"),
                        QStringLiteral("tipoBase"), QStringLiteral("tipoBaseNutrientes")},
                       {customerId_, product, start_.quantity, today_.toString(Qt::ISODate),
                        vSecaIng_ ? 0 : 1, vSecaNut_ ? 0 : 1});
}

void FormulaHeaderEditor::renameVersions(const QString& newCode) {
    const db::Result versions = conn_.query(
        QStringLiteral("SELECT id_formula,modificado FROM formulas WHERE idBase=") +
        db::sqlInt(start_.base) + QStringLiteral(" AND codigo=") + db::sqlText(loadedCode_));
    for (int r = 0; r < versions.rowCount(); ++r) {
        const int id = versions.value(r, 0).toInt();
        conn_.execute(
            QStringLiteral("UPDATE formulas SET codigo=?,modificado=? WHERE id_formula=?"),
            {newCode, db::newChangeStamp(versions.value(r, 1).toString()), id});
        db::recordChange(conn_, QStringLiteral("formulas"), QString::number(id), db::kActionChanged,
                         QStringLiteral("codigo: ") + db::recordedValue(loadedCode_) +
                             QStringLiteral(" → ") + db::recordedValue(newCode));
    }
}

SaveResult FormulaHeaderEditor::save(const QString& codeText, const QString& productText,
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

    if ((isNew_ || newCode != loadedCode_) && codeInUse(newCode)) {
        ui.message(QStringLiteral("El Código ") + kQuote + newCode.trimmed() + kQuote +
                       QStringLiteral(" de la Fórmula Ya fue Ingresado"),
                   MsgIcon::Critical);
        return {SaveOutcome::Refused, HeaderField::Code};
    }
    if (codeChanged) {
        const int versions = versionsOf(loadedCode_);
        if (versions >= 2 && !ui.question(codeChangeQuestion(versions, loadedCode_)))
            return {SaveOutcome::Cancelled, HeaderField::None};
    }

    const bool insert = isNew_ || newVersion;
    int savedId = formulaId_;
    db::Transaction transaction(conn_);
    if (insert) {
        // The key is taken under the formulas' lock, in the inserting transaction: two
        // workstations never take the same one.
        conn_.lockForWriting(QStringLiteral("formulas"));
        try {
            savedId =
                db::nextKey(conn_, QStringLiteral("select max(id_formula) from formulas"), true);
        } catch (const db::KeyError& error) {
            ui.message(error.message(), MsgIcon::Critical);
            return {SaveOutcome::Refused, HeaderField::None};
        }
        conn_.execute(insertStatement(savedId, newCode, product, isNew_ ? 0 : nextVersion_));
        db::recordCreated(conn_, QStringLiteral("formulas"), QStringLiteral("id_formula"), savedId);
    } else {
        updateRow(product);
    }
    if (!loadedCode_.isEmpty() && !newCode.isEmpty() && loadedCode_ != newCode)
        renameVersions(newCode);
    transaction.commit();
    return {SaveOutcome::Saved, HeaderField::None, savedId};
}

} // namespace tarvela::formulas
