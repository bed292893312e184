#include "support/test_database.h"

#include "db/schema.h"

namespace tarvela::test {

TestDatabase::TestDatabase(Contents contents)
    : folder_(dir_.path()), path_(dir_.filePath(QStringLiteral("TarvelaN.mdb"))) {
    conn_ = db::Connection::create(path_, db::databasePassword());
    if (contents == Contents::Empty)
        return;
    db::createSchema(*conn_);
    if (contents == Contents::Demo)
        db::loadDemo(*conn_, db::demoDataDir());
}

} // namespace tarvela::test
