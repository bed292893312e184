#pragma once

#include <QString>

#include <stdexcept>

namespace tarvela::db {

// What kind of failure a database error is, where the program treats it apart from the rest.
enum class DbFailure {
    Other,
    InUse,      // another user held the data longer than the connection waits
    Duplicate,  // a key or a unique value exists already
    Connection, // the server cannot be reached, or the connection was lost
    Timeout,    // the server cancelled a statement that ran too long
    NotProgram, // the database holds no tables of the program
    Changed,    // someone else changed or deleted the item since it was read: nothing written
};

// A failed database operation: the engine's error number and its description, as the error
// window shows them.
class DbError : public std::runtime_error {
public:
    // The embedded engine's numbers: its "busy" code (5) is a database in use.
    DbError(int number, const QString& description);
    DbError(int number, const QString& description, DbFailure failure);
    int number() const { return number_; }
    const QString& description() const { return description_; }
    DbFailure failure() const { return failure_; }
    // Another process kept the database locked longer than the connection waits.
    bool databaseInUse() const { return failure_ == DbFailure::InUse; }
    // The description is a message for the user in its own right (a database in use, a server
    // that cannot be reached or stopped answering, a statement cancelled by the server): windows
    // show it with their own message.
    bool toldToUser() const {
        return failure_ == DbFailure::InUse || failure_ == DbFailure::Connection ||
               failure_ == DbFailure::Timeout || failure_ == DbFailure::NotProgram ||
               failure_ == DbFailure::Changed;
    }

private:
    int number_;
    QString description_;
    DbFailure failure_;
};

} // namespace tarvela::db
