#pragma once

#include <QString>

#include <stdexcept>

namespace tarvela::db {

// A failed database operation: the engine's error number and its description, as the error
// window shows them.
class DbError : public std::runtime_error {
public:
    DbError(int number, const QString& description);
    int number() const { return number_; }
    const QString& description() const { return description_; }
    // Another process kept the database locked longer than the connection waits.
    bool databaseInUse() const;

private:
    int number_;
    QString description_;
};

} // namespace tarvela::db
