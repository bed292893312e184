#include "catalogs/customer_catalog.h"

#include "catalogs/catalog_keys.h"
#include "catalogs/catalog_statements.h"
#include "db/change_log.h"
#include "db/statements.h"

#include <QStringList>

namespace tarvela::catalogs {

namespace {

QString textOf(const QVariant& value) {
    return value.isNull() ? QString() : value.toString();
}

QStringList textsOf(const CustomerRecord& customer) {
    return {customer.nombre, customer.direccion, customer.localidad, customer.telefono,
            customer.mail};
}

const QStringList& customerColumns() {
    static const QStringList columns = {QStringLiteral("nombre"), QStringLiteral("direccion"),
                                        QStringLiteral("localidad"), QStringLiteral("telefono"),
                                        QStringLiteral("mail")};
    return columns;
}

} // namespace

QString customerListStatement(const QString& name, const QString& town) {
    return QStringLiteral("select idCliente,nombre,direccion,localidad from clientes  where true") +
           containsCondition(QStringLiteral("nombre"), name) +
           containsCondition(QStringLiteral("localidad"), town);
}

std::optional<CustomerRecord> loadCustomer(db::Connection& conn, int id) {
    const db::Result row =
        conn.query(QStringLiteral("select * from clientes where idCliente=") + db::sqlInt(id));
    if (row.isEmpty())
        return std::nullopt;
    QStringList texts;
    for (const QString& column : customerColumns())
        texts << textOf(row.value(0, column));
    return CustomerRecord{texts[0], texts[1], texts[2], texts[3], texts[4]};
}

FieldCheck<CustomerField> checkCustomer(const CustomerRecord& boxes) {
    if (boxes.nombre.trimmed().isEmpty())
        return {QStringLiteral("Debe ingresar el nombre"), CustomerField::Name};
    return {};
}

int createCustomer(db::Connection& conn, const CustomerRecord& customer) {
    QStringList values;
    for (const QString& text : textsOf(customer))
        values << db::sqlText(text);
    db::Transaction transaction(conn);
    const int id = nextCatalogKey(conn, Catalog::Customers);
    conn.execute(QStringLiteral("insert into clientes (idCliente,") +
                 customerColumns().join(QLatin1Char(',')) + QStringLiteral(") values (") +
                 db::sqlInt(id) + QLatin1Char(',') + values.join(QLatin1Char(',')) +
                 QLatin1Char(')'));
    db::recordCreated(conn, QStringLiteral("clientes"), QStringLiteral("idCliente"), id);
    transaction.commit();
    return id;
}

QString customerStamp(db::Connection& conn, int id) {
    return db::changeStamp(conn, QStringLiteral("clientes"), QStringLiteral("idCliente"), id);
}

void updateCustomer(db::Connection& conn, int id, const CustomerRecord& customer,
                    const QString& stampRead) {
    db::Params values;
    for (const QString& text : textsOf(customer))
        values << text;
    db::updateRecorded(conn, QStringLiteral("clientes"), QStringLiteral("idCliente"), id, stampRead,
                       customerColumns(), values);
}

CustomerDeletion deleteCustomer(db::Connection& conn, int id) {
    const QString key = db::sqlInt(id);
    db::Transaction transaction(conn);
    if (anyRow(conn, QStringLiteral("from formulas where idCliente=") + key))
        return CustomerDeletion::HasFormulas;
    db::recordDeleted(conn, QStringLiteral("clientes"), QStringLiteral("idCliente"), id);
    conn.execute(QStringLiteral("delete from Clientes where idCliente=") + key);
    conn.execute(QStringLiteral("update parametros set idcliente=0 where idcliente=") + key);
    transaction.commit();
    return CustomerDeletion::Deleted;
}

QString deleteCustomerQuestion(const QString& name) {
    return QStringLiteral("Desea eliminar el Cliente ") + name + QStringLiteral(" ?");
}

QString customerHasFormulasMessage(const QString& name) {
    return QStringLiteral("El Cliente << ") + name + QStringLiteral(" >> posee Formulas Cargadas ");
}

} // namespace tarvela::catalogs
