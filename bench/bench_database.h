#pragma once

// The database the benchmarks fill and measure: the embedded file in a temporary folder, or,
// when TARVELA_BENCH_SERVER names a server (a libpq address, best over the local socket), a
// schema of its own there, dropped at the end. Each figure is labelled with its engine.
#include "db/connection.h"
#include "db/schema.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>
#include <unistd.h>

namespace tarvela::bench {

class BenchDatabase {
public:
    BenchDatabase() {
        const QString server = qEnvironmentVariable("TARVELA_BENCH_SERVER");
        if (server.isEmpty()) {
            conn_ = db::Connection::create(dir_.filePath(QStringLiteral("TarvelaN.mdb")),
                                           db::databasePassword());
            return;
        }
        schema_ = QStringLiteral("banco_%1").arg(static_cast<long>(getpid()));
        admin_ = db::Connection::openServer(server);
        admin_->executeNative(QStringLiteral("DROP SCHEMA IF EXISTS ") + schema_ +
                              QStringLiteral(" CASCADE"));
        admin_->executeNative(QStringLiteral("CREATE SCHEMA ") + schema_);
        conn_ = db::Connection::openServer(
            server + (server.contains(QLatin1Char('?')) ? QLatin1Char('&') : QLatin1Char('?')) +
            QStringLiteral("options=-csearch_path%3D") + schema_);
    }
    ~BenchDatabase() {
        conn_.reset();
        if (admin_)
            admin_->executeNative(QStringLiteral("DROP SCHEMA IF EXISTS ") + schema_ +
                                  QStringLiteral(" CASCADE"));
    }
    BenchDatabase(const BenchDatabase&) = delete;
    BenchDatabase& operator=(const BenchDatabase&) = delete;

    db::Connection& conn() { return *conn_; }
    // After filling: a server takes its tables' statistics, as it does by itself on a database
    // in use (and copy-db after a copy).
    void settle() {
        if (conn_->engine() == db::Engine::Server)
            conn_->executeNative(QStringLiteral("ANALYZE"));
    }
    // "archivo" or "servidor", for the figures' labels.
    const char* engineLabel() const {
        return conn_->engine() == db::Engine::Server ? "servidor" : "archivo";
    }

private:
    QTemporaryDir dir_;
    QString schema_;
    std::unique_ptr<db::Connection> admin_;
    std::unique_ptr<db::Connection> conn_;
};

// The benchmarks' main(): the figures say which engine they were measured on.
inline int runLabelledByEngine(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::AddCustomContext(
        "motor", qEnvironmentVariableIsEmpty("TARVELA_BENCH_SERVER") ? "archivo" : "servidor");
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace tarvela::bench
