#pragma once

#include "db/connection.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

// What every tarvela-cli command shares of its command line: reading the words after the
// command's name, the database they name, numbers within their range, and failing with exit 2.
namespace tarvela::cli {

// The words after a command's name, read as the command declares them: flags ("--json"),
// options that take the next word as their value ("--db F"; given twice, the last counts) and
// plain words in order. A word that starts with "--" and is neither, an option without its
// value, or more plain words than the command takes make the reading fail: the command then
// prints its usage.
class Arguments {
public:
    Arguments(const QStringList& args, const QStringList& flags, const QStringList& options,
              int maxWords);

    bool ok() const { return ok_; }
    bool has(const QString& flag) const { return flags_.contains(flag); }
    std::optional<QString> value(const QString& option) const;
    const QStringList& words() const { return words_; }
    // The database of --db (a file or a server's address), or TarvelaN.mdb in the working folder.
    QString database() const;

private:
    bool ok_ = true;
    QStringList flags_;
    QStringList options_; // name, value, name, value...
    QStringList words_;
};

// The database file or server opened and brought up to the current version. Throws
// db::DbError.
std::unique_ptr<db::Connection> openDatabase(const QString& pathOrAddress);

// A whole number from lowest to highest, or nothing.
std::optional<int> wholeNumber(const QString& text, int lowest, int highest);

// Prints the message on standard error (escaped as every message is) and returns 2.
int fail(const QString& message);

// Runs a command's work: a database failure or a key that cannot be given is printed as an
// error (exit code 2).
int guarded(const std::function<int()>& work);

} // namespace tarvela::cli
