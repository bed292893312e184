// A second user of a database file for the concurrency tests: writes to the file, PAUSE_MS
// milliseconds apart, until a stop file appears, then prints how many writes it committed.
//
//   tarvela_test_writer DB_FILE transaction|autocommit PAUSE_MS STOP_FILE
//
// "transaction" rewrites rows of two tables in one unit; "autocommit" runs single statements.
// Exit code 0, or 1 with the error on stderr as soon as one write fails.
#include "db/connection.h"
#include "db/schema.h"

#include <QFileInfo>
#include <QString>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

int main(int argc, char* argv[]) {
    using namespace tarvela::db;
    if (argc != 5) {
        std::fputs("usage: tarvela_test_writer DB_FILE transaction|autocommit PAUSE_MS STOP_FILE\n",
                   stderr);
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    const bool transaction = std::strcmp(argv[2], "transaction") == 0;
    const auto pause = std::chrono::milliseconds(std::atoi(argv[3]));
    const QString stopFile = QString::fromLocal8Bit(argv[4]);
    long writes = 0;
    try {
        auto conn = Connection::open(path, databasePassword());
        while (!QFileInfo::exists(stopFile)) {
            const QString sign = writes % 2 ? QStringLiteral("-") : QStringLiteral("+");
            if (transaction) {
                Transaction unit(*conn);
                conn->execute(QStringLiteral("update formula_producto set costo=costo") + sign +
                              QStringLiteral("0.5 where id_formula<>3"));
                conn->execute(QStringLiteral("update formulas set version=version") + sign +
                              QStringLiteral("1 where id_formula<>3"));
                unit.commit();
            } else {
                conn->execute(QStringLiteral("update productos set costo=costo") + sign +
                              QStringLiteral("0.5 where idBase<>2"));
            }
            ++writes;
            std::this_thread::sleep_for(pause);
        }
    } catch (const DbError& e) {
        std::fprintf(stderr, "write %ld failed: %d %s\n", writes + 1, e.number(), e.what());
        return 1;
    }
    std::printf("%ld\n", writes);
    return 0;
}
