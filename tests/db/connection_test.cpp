#include "db/connection.h"
#include "db/keys.h"
#include "db/schema.h"
#include "support/test_database.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <thread>

using namespace tarvela::db;
using tarvela::test::TestDatabase;

namespace {

constexpr int notADatabase = 26; // the engine's "file is not a database"
constexpr int cannotOpen = 14;   // the engine's "unable to open"

template <typename F> DbError dbErrorOf(F&& f) {
    try {
        f();
    } catch (const DbError& e) {
        return e;
    }
    ADD_FAILURE() << "no DbError";
    return DbError(0, {});
}

TEST(Connection, MissingFileFailsWithoutCreatingIt) {
    QTemporaryDir dir;
    const QString path = dir.filePath("TarvelaN.mdb");
    const DbError e = dbErrorOf([&] { Connection::open(path, databasePassword()); });
    EXPECT_EQ(e.number(), cannotOpen);
    EXPECT_FALSE(e.description().isEmpty());
    EXPECT_FALSE(QFile::exists(path));
}

TEST(Connection, WrongPasswordFailsAtOpen) {
    TestDatabase db;
    const QString path = db.path();
    db.takeConnection().reset();
    const DbError e = dbErrorOf([&] { Connection::open(path, "otra"); });
    EXPECT_EQ(e.number(), notADatabase);
    EXPECT_NO_THROW(Connection::open(path, databasePassword()));
}

TEST(Connection, TextFileIsNotADatabase) {
    QTemporaryDir dir;
    const QString path = dir.filePath("TarvelaN.mdb");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("Esto no es una base de datos.\n").repeated(200));
    file.close();
    const DbError e = dbErrorOf([&] { Connection::open(path, databasePassword()); });
    EXPECT_EQ(e.number(), notADatabase);
}

TEST(Connection, CreateRefusesAnExistingFile) {
    TestDatabase db;
    const DbError e = dbErrorOf([&] { Connection::create(db.path(), databasePassword()); });
    EXPECT_NE(e.number(), 0);
    EXPECT_EQ(db.conn().query("select * from parametros").rowCount(), 1); // untouched
}

TEST(Connection, WaitsForAnotherUserAndSaysSoWhenTheWaitRunsOut) {
    const QString inUse = QStringLiteral("La base de datos está en uso por otro usuario; no se "
                                         "realizó ningún cambio. Intente nuevamente en unos "
                                         "momentos.");
    TestDatabase db;
    Connection& holder = db.conn();
    auto other = Connection::open(db.path(), databasePassword());
    other->setBusyTimeout(200);

    // While one user writes, the others still read; a unit of writes waits at its start.
    holder.execute("BEGIN IMMEDIATE");
    holder.execute("update parametros set idBase=3");
    EXPECT_EQ(other->query("select idBase from parametros").value(0, 0).toInt(), 1);
    DbError e = dbErrorOf([&] { Transaction unit(*other); });
    EXPECT_TRUE(e.databaseInUse());
    EXPECT_EQ(e.number(), 5);
    EXPECT_EQ(e.description(), inUse);
    EXPECT_FALSE(other->inTransaction());

    // Committing shuts readers out for a moment; a reader that cannot get in gives up in time.
    holder.execute("COMMIT");
    holder.execute("BEGIN EXCLUSIVE");
    e = dbErrorOf([&] { other->query("select idBase from parametros"); });
    EXPECT_EQ(e.description(), inUse);
    e = dbErrorOf([&] { other->execute("update parametros set idCliente=7"); });
    EXPECT_TRUE(e.databaseInUse());

    // A lock released within the wait lets the statement through.
    other->setBusyTimeout(Connection::kBusyTimeoutMs);
    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        holder.execute("COMMIT");
    });
    EXPECT_EQ(other->execute("update parametros set idCliente=7"), 1);
    release.join();
    EXPECT_EQ(holder.query("select idBase, idCliente from parametros").row(0),
              QVariantList({qlonglong(3), qlonglong(7)}));
}

TEST(Connection, FileIsEncrypted) {
    TestDatabase db;
    db.conn().execute("insert into propiedades (id_propiedad,nombre) values (1,'Proteína Bruta')");
    db.takeConnection().reset();
    QFile file(db.path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_FALSE(bytes.startsWith("SQLite format 3"));
    EXPECT_FALSE(bytes.contains("Bruta"));
    EXPECT_FALSE(bytes.contains("propiedades"));
}

TEST(Connection, OpensTheProgramsConnectionStringInTheWorkingFolder) {
    TestDatabase db;
    db.takeConnection().reset();
    const QString saved = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(db.folder()));
    std::unique_ptr<Connection> conn;
    EXPECT_NO_THROW(conn = Connection::openConnectionString(Connection::defaultConnectionString()));
    QDir::setCurrent(saved);
    ASSERT_TRUE(conn);
    EXPECT_EQ(conn->query("Select idBase,idCliente from parametros").row(0),
              QVariantList({qlonglong(1), qlonglong(0)}));
}

TEST(Connection, ReadsFileAndPasswordFromTheConnectionString) {
    const QString text = Connection::defaultConnectionString();
    EXPECT_EQ(Connection::dataSourceOf(text), "TarvelaN.mdb");
    EXPECT_EQ(Connection::passwordOf(text), "qolment527");
    EXPECT_EQ(databasePassword(), "qolment527");
    EXPECT_EQ(Connection::passwordOf("Data Source=a.mdb;Jet OLEDB:Database Password = x1 ;"), "x1");
}

TEST(Connection, FailedStatementCarriesNumberAndDescription) {
    TestDatabase db;
    const DbError e = dbErrorOf([&] { db.conn().query("select nada from ningunatabla"); });
    EXPECT_EQ(e.number(), 1);
    EXPECT_TRUE(e.description().contains("ningunatabla"));
}

TEST(Transaction, LeavingTheScopeWithoutCommitRollsBack) {
    TestDatabase db;
    try {
        Transaction t(db.conn());
        db.conn().execute("insert into clientes (idCliente,nombre) values (1,'A')");
        db.conn().execute("insert into clientes (idCliente,nombre) values (1,'duplicado')");
        t.commit();
    } catch (const DbError&) {
    }
    EXPECT_FALSE(db.conn().inTransaction());
    EXPECT_EQ(db.conn().query("select * from clientes").rowCount(), 0);
    {
        Transaction t(db.conn());
        db.conn().execute("insert into clientes (idCliente,nombre) values (2,'B')");
        t.commit();
    }
    EXPECT_EQ(db.conn().query("select * from clientes").rowCount(), 1);
}

TEST(Transaction, InnerFailureMeansTheOuterCannotCommit) {
    TestDatabase db;
    Transaction outer(db.conn());
    db.conn().execute("insert into clientes (idCliente,nombre) values (1,'A')");
    {
        Transaction inner(db.conn());
        db.conn().execute("insert into clientes (idCliente,nombre) values (2,'B')");
    } // no commit
    EXPECT_THROW(outer.commit(), DbError);
    EXPECT_FALSE(db.conn().inTransaction());
    EXPECT_EQ(db.conn().query("select * from clientes").rowCount(), 0);
}

TEST(Transaction, NestedCommitsJoinTheOuterUnit) {
    TestDatabase db;
    {
        Transaction outer(db.conn());
        {
            Transaction inner(db.conn());
            db.conn().execute("insert into clientes (idCliente,nombre) values (1,'A')");
            inner.commit();
        }
        EXPECT_TRUE(db.conn().inTransaction());
    } // outer not committed
    EXPECT_EQ(db.conn().query("select * from clientes").rowCount(), 0);
}

TEST(Keys, MaxPlusOneStartingAtOne) {
    TestDatabase db;
    EXPECT_EQ(nextKey(db.conn(), "select max(id_producto) from productos", true), 1);
    db.conn().execute("insert into productos (id_producto,codigo) values (41,'x')");
    EXPECT_EQ(nextKey(db.conn(), "select max(id_producto) from productos", true), 42);
}

TEST(Keys, SixteenBitIdentifiersStopAt32767) {
    TestDatabase db;
    db.conn().execute("insert into formulas (id_formula,codigo) values (32766,'x')");
    EXPECT_EQ(nextKey(db.conn(), "select max(id_formula) from formulas", true), 32767);
    db.conn().execute("insert into formulas (id_formula,codigo) values (32767,'y')");
    try {
        nextKey(db.conn(), "select max(id_formula) from formulas", true);
        ADD_FAILURE() << "key beyond 32767 given";
    } catch (const KeyError& e) {
        EXPECT_EQ(e.message(), "Se alcanzó el máximo de identificadores (32767); no es posible "
                               "agregar más registros.");
    }
    EXPECT_EQ(nextKey(db.conn(), "select max(id_formula) from formulas", false), 32768);
}

TEST(Keys, NoRowIsReported) {
    TestDatabase db;
    try {
        nextKey(db.conn(), "select max(id_producto) from productos group by idBase", true);
        ADD_FAILURE() << "no KeyError";
    } catch (const KeyError& e) {
        EXPECT_EQ(e.message(), "No se pudo recuperar el id");
    }
}

TEST(Result, ColumnsFindAndStableMultiKeySort) {
    Result r({"id_producto", "Nombre", "valor"}, {{qlonglong(1), QString("b"), 2.0},
                                                  {qlonglong(2), QString("A"), QVariant()},
                                                  {qlonglong(3), QString("a"), 2.0},
                                                  {qlonglong(4), QString("c"), 10.0}});
    EXPECT_EQ(r.columnIndex("NOMBRE"), 1);
    EXPECT_EQ(r.columnIndex("p.nombre"), 1);
    EXPECT_EQ(r.columnIndex("otro"), -1);
    EXPECT_THROW(r.value(0, "otro"), DbError);
    EXPECT_EQ(r.find("id_producto", 3), 2);
    EXPECT_EQ(r.find("id_producto", 3.0), 2);
    EXPECT_EQ(r.find("valor", 2.0, 1), 2);
    EXPECT_EQ(r.find("nombre", QString("a")), 2);
    EXPECT_EQ(r.find("nombre", QString("z")), -1);
    r.sort("valor DESC,nombre");
    auto ids = [&r] {
        QList<int> out;
        for (int i = 0; i < r.rowCount(); ++i)
            out << r.value(i, 0).toInt();
        return out;
    };
    EXPECT_EQ(ids(), QList<int>({4, 3, 1, 2})); // 10; 2 by name; null last when descending
    r.sort("valor");
    EXPECT_EQ(ids(), QList<int>({2, 3, 1, 4})); // null first; equal values keep their order
    r.sort("id_producto");
    r.sort("nombre ASC");
    EXPECT_EQ(ids(), QList<int>({2, 3, 1, 4})); // "A" and "a" tie without regard to case
}

} // namespace
