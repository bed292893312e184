#pragma once

#include "db/connection.h"

#include <QString>

#include <stdexcept>

namespace tarvela::db {

// A new key cannot be given: the maximum could not be read, or the next key would not fit the
// 16-bit identifiers the windows hand to one another. what() is the message for the user.
class KeyError : public std::runtime_error {
public:
    explicit KeyError(const QString& message);
    const QString& message() const { return message_; }

private:
    QString message_;
};

// Runs a "select max(...)" statement and returns the maximum plus 1, or 1 for an empty table.
// With sixteenBit, a key above 32767 is refused instead of wrapping. noRowMessage is the
// message when the statement returns no row.
int nextKey(Connection& conn, const QString& maxStatement, bool sixteenBit,
            const QString& noRowMessage = QStringLiteral("No se pudo recuperar el id"));

} // namespace tarvela::db
