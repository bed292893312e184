#include "db/keys.h"

#include <limits>

namespace tarvela::db {

KeyError::KeyError(const QString& message)
    : std::runtime_error(message.toStdString()), message_(message) {}

int nextKey(Connection& conn, const QString& maxStatement, bool sixteenBit,
            const QString& noRowMessage) {
    const Result result = conn.query(maxStatement);
    if (result.isEmpty() || result.columnCount() == 0)
        throw KeyError(noRowMessage);
    const QVariant& maximum = result.value(0, 0);
    if (maximum.isNull())
        return 1;
    const qlonglong next = maximum.toLongLong() + 1;
    const qlonglong limit = sixteenBit ? 32767 : std::numeric_limits<int>::max();
    if (next > limit)
        throw KeyError(QStringLiteral("Se alcanzó el máximo de identificadores (%1); no es posible "
                                      "agregar más registros.")
                           .arg(limit));
    return static_cast<int>(next < 1 ? 1 : next);
}

} // namespace tarvela::db
