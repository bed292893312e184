// A server that cannot be reached, a database without the program's tables, a connection lost
// halfway, a statement the server cancels: a Spanish message naming the server, nothing half
// written, and the connection usable again once the server answers.
#include "db/schema.h"
#include "support/test_database.h"

#include <gtest/gtest.h>

#include <functional>

using namespace tarvela::db;
using tarvela::test::TestDatabase;

namespace {

DbError errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const DbError& error) {
        return error;
    }
    return DbError(0, {});
}

// Nothing listens on the loopback's discard port: the connection is refused at once.
TEST(ServerFailures, AServerThatDoesNotAnswerIsNamed) {
    const DbError error = errorOf([] {
        Connection::openServer("postgresql://tarvela@127.0.0.1:9/tarvela?connect_timeout=5");
    });
    EXPECT_EQ(error.failure(), DbFailure::Connection);
    EXPECT_EQ(error.description(), "No se pudo conectar con el servidor 127.0.0.1: el servidor no "
                                   "responde (¿está en marcha y acepta conexiones?).");
    EXPECT_TRUE(Connection::isServerAddress("postgres://u@h/b"));
    EXPECT_FALSE(Connection::isServerAddress("TarvelaN.mdb"));
}

TEST(ServerFailures, ADatabaseWithoutTheProgramsTablesIsRefused) {
    TestDatabase empty(TestDatabase::Contents::Empty);
    const DbError error = errorOf([&] { upgradeSchema(empty.conn()); });
    EXPECT_EQ(error.failure(), DbFailure::NotProgram);
    EXPECT_TRUE(error.description().endsWith(" no es una base de datos de Tarvela."));
    if (TestDatabase::onServer()) {
        EXPECT_EQ(error.description(), "La base de datos " + empty.conn().displayName() +
                                           " no es una base de datos de Tarvela.");
    }
}

class OnServer : public ::testing::Test {
protected:
    void SetUp() override {
        if (!TestDatabase::onServer())
            GTEST_SKIP() << "del servidor solamente";
    }
};

TEST_F(OnServer, AMissingDatabaseIsNamed) {
    const QString address = TestDatabase::serverAddress().replace("///postgres", "///no_existe");
    const DbError error = errorOf([&] { Connection::openServer(address); });
    EXPECT_EQ(error.failure(), DbFailure::Connection);
    EXPECT_EQ(error.description(), "No se pudo conectar con el servidor localhost: la base de "
                                   "datos 'no_existe' no existe.");
}

TEST_F(OnServer, AConnectionLostHalfwayWritesNothingAndComesBack) {
    TestDatabase database(TestDatabase::Contents::Demo);
    Connection& conn = database.conn();
    const int pid = conn.query("select pg_backend_pid()").value(0, 0).toInt();
    {
        Transaction unit(conn);
        conn.execute("update productos set nombre='cambiado' where id_producto=1");
        Connection::openServer(TestDatabase::serverAddress())
            ->query("select pg_terminate_backend(" + QString::number(pid) + ")");
        const DbError error = errorOf([&] { conn.execute("delete from productos"); });
        EXPECT_EQ(error.failure(), DbFailure::Connection);
        EXPECT_EQ(error.description(), "Se perdió la conexión con el servidor localhost; no se "
                                       "grabó ningún cambio.");
        EXPECT_THROW(unit.commit(), DbError);
    }
    // The next statement finds the server again.
    EXPECT_EQ(conn.query("select count(*) from productos where nombre='cambiado'").value(0, 0).toInt(),
              0);
    EXPECT_GT(conn.query("select count(*) from productos").value(0, 0).toInt(), 0);
}

TEST_F(OnServer, AStatementTheServerCancelsIsToldAsSuch) {
    TestDatabase database;
    Connection& conn = database.conn();
    conn.executeNative("SET statement_timeout = 50");
    const DbError error = errorOf([&] { conn.query("select pg_sleep(2)"); });
    EXPECT_EQ(error.failure(), DbFailure::Timeout);
    EXPECT_EQ(error.description(), "El servidor localhost canceló la operación porque excedió el "
                                   "tiempo máximo; no se realizó ningún cambio.");
    EXPECT_EQ(conn.query("select count(*) from parametros").value(0, 0).toInt(), 1);
}

} // namespace
