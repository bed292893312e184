#include "support/test_database.h"

#include "db/schema.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include <unistd.h>

namespace tarvela::test {

namespace {

QAtomicInt schemaCounter;

std::unique_ptr<db::Connection> adminConnection() {
    return db::Connection::openServer(TestDatabase::serverAddress());
}

// A new schema on the scratch server and the address that makes it the connection's own.
QString newServerSchema(QStringList& schemas) {
    const QString name = QStringLiteral("prueba_%1_%2")
                             .arg(static_cast<long>(getpid()))
                             .arg(schemaCounter.fetchAndAddRelaxed(1) + 1);
    adminConnection()->executeNative(QStringLiteral("CREATE SCHEMA ") + name);
    schemas << name;
    const QString base = TestDatabase::serverAddress();
    return base + (base.contains(QLatin1Char('?')) ? QLatin1Char('&') : QLatin1Char('?')) +
           QStringLiteral("options=-csearch_path%3D") + name;
}

} // namespace

db::Engine TestDatabase::engine() {
    return serverAddress().isEmpty() ? db::Engine::File : db::Engine::Server;
}

QString TestDatabase::serverAddress() {
    return qEnvironmentVariable("TARVELA_TEST_SERVER");
}

bool TestDatabase::serverInstalled() {
    // Where tools/pg-test-server.sh looks for them.
    const QDir versions(QStringLiteral("/usr/lib/postgresql"));
    for (const QString& version : versions.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        if (QFileInfo::exists(versions.filePath(version + QStringLiteral("/bin/initdb"))))
            return true;
    return false;
}

TestDatabase::TestDatabase(Contents contents) : folder_(dir_.path()) {
    if (onServer()) {
        path_ = newServerSchema(schemas_);
        conn_ = db::Connection::openServer(path_);
    } else {
        path_ = dir_.filePath(QStringLiteral("TarvelaN.mdb"));
        conn_ = db::Connection::create(path_, db::databasePassword());
    }
    if (contents == Contents::Empty)
        return;
    db::createSchema(*conn_);
    if (contents == Contents::Demo)
        db::loadDemo(*conn_, db::demoDataDir());
}

TestDatabase::~TestDatabase() {
    conn_.reset();
    if (schemas_.isEmpty())
        return;
    try {
        auto admin = adminConnection();
        for (const QString& schema : schemas_)
            admin->executeNative(QStringLiteral("DROP SCHEMA IF EXISTS ") + schema +
                                 QStringLiteral(" CASCADE"));
    } catch (const db::DbError&) {
        // The scratch server goes away with its data after the run.
    }
}

std::unique_ptr<db::Connection> TestDatabase::openAnother() const {
    return db::Connection::open(path_, db::databasePassword());
}

void TestDatabase::failOn(const QString& event, const QString& table, const QString& when) {
    // The connection may have been handed to the program: another one defines the trigger.
    std::unique_ptr<db::Connection> other = conn_ ? nullptr : openAnother();
    db::Connection& conn = conn_ ? *conn_ : *other;
    const QString name = QStringLiteral("fallo_") + event.toLower() + QLatin1Char('_') + table;
    if (!onServer()) {
        conn.executeNative(QStringLiteral("CREATE TRIGGER ") + name + QStringLiteral(" BEFORE ") +
                           event + QStringLiteral(" ON ") + table +
                           (when.isEmpty() ? QString() : QStringLiteral(" WHEN ") + when) +
                           QStringLiteral(" BEGIN SELECT RAISE(ABORT,'fallo'); END"));
        return;
    }
    const QString row = event.compare(QLatin1String("DELETE"), Qt::CaseInsensitive) == 0
                            ? QStringLiteral("OLD")
                            : QStringLiteral("NEW");
    conn.executeNative(QStringLiteral("CREATE OR REPLACE FUNCTION ") + name +
                       QStringLiteral("() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN IF ") +
                       (when.isEmpty() ? QStringLiteral("true") : when) +
                       QStringLiteral(" THEN RAISE EXCEPTION 'fallo'; END IF; RETURN ") + row +
                       QStringLiteral("; END $$"));
    conn.executeNative(QStringLiteral("CREATE TRIGGER ") + name + QStringLiteral(" BEFORE ") +
                       event + QStringLiteral(" ON ") + table +
                       QStringLiteral(" FOR EACH ROW EXECUTE FUNCTION ") + name +
                       QStringLiteral("()"));
}

void TestDatabase::stopFailing(const QString& event, const QString& table) {
    std::unique_ptr<db::Connection> other = conn_ ? nullptr : openAnother();
    db::Connection& conn = conn_ ? *conn_ : *other;
    const QString name = QStringLiteral("fallo_") + event.toLower() + QLatin1Char('_') + table;
    conn.executeNative(QStringLiteral("DROP TRIGGER ") + name +
                       (onServer() ? QStringLiteral(" ON ") + table : QString()));
}

QString TestDatabase::emptyTarget() {
    if (onServer())
        return newServerSchema(schemas_);
    static QAtomicInt files;
    return dir_.filePath(QStringLiteral("copia%1.mdb").arg(files.fetchAndAddRelaxed(1) + 1));
}

} // namespace tarvela::test
