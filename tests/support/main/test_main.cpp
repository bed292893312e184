// main() for the tests without windows. When they run on the scratch server (TARVELA_TEST_SERVER)
// on a machine without PostgreSQL's server programs, no test runs: each says it is skipped and
// why (CTest reports it so), rather than failing on a server that cannot be started or passing
// without having been tried.
#include "support/test_database.h"

#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (tarvela::test::TestDatabase::onServer() &&
        !tarvela::test::TestDatabase::serverInstalled()) {
        std::puts("[  SKIPPED ] PostgreSQL no está instalado (paquete postgresql): las pruebas en "
                  "el servidor no se ejecutan");
        return 0;
    }
    return RUN_ALL_TESTS();
}
