#include "formulas/formula_header.h"

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

FormulaHeaderEditor::FormulaHeaderEditor(AppContext& ctx, bool vSecaIng, bool vSecaNut)
    : ctx_(ctx), vSecaIng_(vSecaIng), vSecaNut_(vSecaNut), today_(QDate::currentDate()) {}

bool FormulaHeaderEditor::load() {
    formulaId_ = ctx_.currentFormulaId;
    loadedCode_.clear();
    if (formulaId_ < 1) {
        loadNew();
        return true;
    }
    return loadExisting();
}

void FormulaHeaderEditor::loadNew() {
    const db::Result last =
        ctx_.db().query(QStringLiteral("select max(codigo) from formulas where idbase=") +
                        db::sqlInt(ctx_.currentBase));
    lastCode_ =
        last.isEmpty() || last.value(0, 0).isNull() ? QString() : last.value(0, 0).toString();
    customerId_ = ctx_.currentCustomer;
    refreshCustomer();
    code_.clear();
    product_.clear();
    currentVersion_ = 0;
    isNew_ = true;
}

bool FormulaHeaderEditor::loadExisting() {
    const db::Result row = ctx_.db().query(
        QStringLiteral("SELECT f.*,c.nombre as nombrecliente FROM Formulas f LEFT JOIN "
                       "clientes c ON f.idcliente=c.idcliente WHERE id_formula=") +
        db::sqlInt(formulaId_));
    if (row.isEmpty()) {
        ctx_.ui().message(QStringLiteral("No es posible grabar la fórmula"), MsgIcon::Critical);
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

    const db::Result maxVersion = ctx_.db().query(
        QStringLiteral("select max(version) from formulas where codigo=") + db::sqlText(code_));
    if (maxVersion.isEmpty()) {
        ctx_.ui().message(QStringLiteral("No se pudo recuperar la versión"), MsgIcon::Critical);
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
        ctx_.currentCustomer = 0;
        customerName_.clear();
        return;
    }
    const db::Result name = ctx_.db().query(
        QStringLiteral("SELECT nombre FROM clientes where idcliente=") + db::sqlInt(customerId_));
    if (name.isEmpty()) {
        customerId_ = 0;
        ctx_.currentCustomer = 0;
        customerName_.clear();
        return;
    }
    customerName_ = name.value(0, 0).toString();
}

void FormulaHeaderEditor::chooseCustomer(int customerId) {
    ctx_.currentCustomer = customerId < 1 ? 0 : customerId;
    customerId_ = ctx_.currentCustomer;
    refreshCustomer();
}

QString FormulaHeaderEditor::versionText(bool newVersion) const {
    if (isNew_)
        return QStringLiteral("0");
    return QString::number(newVersion ? nextVersion_ : currentVersion_);
}

bool FormulaHeaderEditor::codeInUse(const QString& newCode) {
    return !ctx_.db()
                .query(QStringLiteral("select codigo from formulas where codigo=") +
                       db::sqlCode(newCode) + QStringLiteral(" and idbase=") +
                       db::sqlInt(ctx_.currentBase))
                .isEmpty();
}

int FormulaHeaderEditor::versionsOf(const QString& code) {
    return ctx_.db()
        .query(QStringLiteral("select codigo from formulas where codigo=") + db::sqlText(code) +
               QStringLiteral(" and idbase=") + db::sqlInt(ctx_.currentBase))
        .rowCount();
}

QString FormulaHeaderEditor::insertStatement(int id, const QString& newCode, const QString& product,
                                             int version) const {
    return QStringLiteral("insert into formulas (id_formula,codigo,producto,cantidad,version,"
                          "fecha_creacion,fecha_modificacion,tipoBase,tipoBaseNutrientes,idBase, "
                          "idCliente) values (") +
           db::sqlInt(id) + QLatin1Char(',') + db::sqlCode(newCode) + QLatin1Char(',') +
           db::sqlText(product) + QLatin1Char(',') + db::sqlReal(ctx_.currentFormulaQuantity) +
           QLatin1Char(',') + db::sqlInt(version) + QLatin1Char(',') + db::sqlDate(today_) +
           QLatin1Char(',') + db::sqlDate(today_) +
           (vSecaIng_ ? QStringLiteral(",0") : QStringLiteral(",1")) +
           (vSecaNut_ ? QStringLiteral(",0") : QStringLiteral(",1")) + QLatin1Char(',') +
           db::sqlInt(ctx_.currentBase) + QLatin1Char(',') + db::sqlInt(customerId_) +
           QLatin1Char(')');
}

QString FormulaHeaderEditor::updateStatement(const QString& product) const {
    return QStringLiteral("UPDATE formulas SET ") + QStringLiteral("idcliente=") +
           db::sqlInt(customerId_) + QStringLiteral(",producto=") + db::sqlText(product) +
           QStringLiteral(",cantidad=") + db::sqlReal(ctx_.currentFormulaQuantity) +
           QStringLiteral(",fecha_modificacion=") + db::sqlDate(today_) +
           (vSecaIng_ ? QStringLiteral(",tipoBase=0") : QStringLiteral(",tipoBase=1")) +
           (vSecaNut_ ? QStringLiteral(",tipoBaseNutrientes=0")
                      : QStringLiteral(",tipoBaseNutrientes=1")) +
           QStringLiteral(" WHERE id_formula=") + db::sqlInt(formulaId_);
}

SaveResult FormulaHeaderEditor::save(const QString& codeText, const QString& productText,
                                     bool newVersion) {
    Desktop& ui = ctx_.ui();
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
    if (insert) {
        try {
            savedId = db::nextKey(ctx_.db(), QStringLiteral("select max(id_formula) from formulas"),
                                  true);
        } catch (const db::KeyError& error) {
            ui.message(error.message(), MsgIcon::Critical);
            return {SaveOutcome::Refused, HeaderField::None};
        }
    }

    db::Transaction transaction(ctx_.db());
    if (insert)
        ctx_.db().execute(insertStatement(savedId, newCode, product, isNew_ ? 0 : nextVersion_));
    else
        ctx_.db().execute(updateStatement(product));
    if (!loadedCode_.isEmpty() && !newCode.isEmpty() && loadedCode_ != newCode) {
        ctx_.db().execute(QStringLiteral("UPDATE formulas SET codigo=") + db::sqlCode(newCode) +
                          QStringLiteral(" WHERE idBase=") + db::sqlInt(ctx_.currentBase) +
                          QStringLiteral(" AND codigo=") + db::sqlText(loadedCode_));
    }
    transaction.commit();
    ctx_.currentFormulaId = static_cast<qint16>(savedId);
    return {SaveOutcome::Saved, HeaderField::None};
}

} // namespace tarvela::formulas
