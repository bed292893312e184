#include "cli/command_line.h"

#include "cli/terminal_output.h"
#include "db/db_error.h"
#include "db/keys.h"
#include "db/schema.h"

#include <QDir>

namespace tarvela::cli {

Arguments::Arguments(const QStringList& args, const QStringList& flags, const QStringList& options,
                     int maxWords) {
    for (qsizetype i = 0; i < args.size() && ok_; ++i) {
        const QString& a = args[i];
        if (flags.contains(a)) {
            flags_ << a;
        } else if (options.contains(a)) {
            ok_ = i + 1 < args.size();
            if (ok_)
                options_ << a << args[++i];
        } else if (!a.startsWith(QLatin1String("--")) && words_.size() < maxWords) {
            words_ << a;
        } else {
            ok_ = false;
        }
    }
}

std::optional<QString> Arguments::value(const QString& option) const {
    for (qsizetype i = options_.size() - 2; i >= 0; i -= 2)
        if (options_[i] == option)
            return options_[i + 1];
    return std::nullopt;
}

QString Arguments::database() const {
    const std::optional<QString> given = value(QStringLiteral("--db"));
    return given && !given->isEmpty() ? *given
                                      : QDir::current().filePath(QStringLiteral("TarvelaN.mdb"));
}

std::unique_ptr<db::Connection> openDatabase(const QString& pathOrAddress) {
    std::unique_ptr<db::Connection> conn =
        db::Connection::open(pathOrAddress, db::databasePassword());
    db::upgradeSchema(*conn);
    return conn;
}

std::optional<int> wholeNumber(const QString& text, int lowest, int highest) {
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < lowest || value > highest)
        return std::nullopt;
    return value;
}

int fail(const QString& message) {
    printError(message);
    return 2;
}

int guarded(const std::function<int()>& work) {
    try {
        return work();
    } catch (const db::KeyError& e) {
        return fail(e.message());
    } catch (const db::DbError& e) {
        return fail(QStringLiteral("Error nro.: %1 - %2").arg(e.number()).arg(e.description()));
    }
}

} // namespace tarvela::cli
