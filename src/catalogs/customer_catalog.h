#pragma once

#include "catalogs/field_check.h"
#include "db/connection.h"

#include <QString>

#include <optional>

// The customer catalog: the list's statement, and the customer window's loading, check, saving
// and the deletion, which a customer with formulas refuses.
namespace tarvela::catalogs {

// A customer as the window's five boxes show it.
struct CustomerRecord {
    QString nombre;
    QString direccion;
    QString localidad;
    QString telefono;
    QString mail;

    bool operator==(const CustomerRecord&) const = default;
};

// The customer list's statement for a name and a town fragment (blank: any), without its
// ordering.
QString customerListStatement(const QString& name, const QString& town);

// The customer, or nothing when it does not exist. Null columns read as empty texts.
std::optional<CustomerRecord> loadCustomer(db::Connection& conn, int id);

enum class CustomerField { None, Name };

FieldCheck<CustomerField> checkCustomer(const CustomerRecord& boxes);

// Stores a new customer and returns its key. Throws db::DbError.
int createCustomer(db::Connection& conn, const CustomerRecord& customer);
// The customer's change stamp as it is now (read when its window loads it).
QString customerStamp(db::Connection& conn, int id);
// Rewrites the five texts and records the change, unless someone else changed or deleted the
// customer since its stamp was read: then db::DbError (DbFailure::Changed), nothing written.
void updateCustomer(db::Connection& conn, int id, const CustomerRecord& customer,
                    const QString& stampRead);

enum class CustomerDeletion { Deleted, HasFormulas };

// Deletes the customer unless a formula (any base, any version) names it. A customer kept as the
// saved customer filter is no longer kept there (0). One transaction. Throws db::DbError.
CustomerDeletion deleteCustomer(db::Connection& conn, int id);

QString deleteCustomerQuestion(const QString& name);
QString customerHasFormulasMessage(const QString& name);

} // namespace tarvela::catalogs
