// The program's text comparison, as each engine does it: the same rows, in the same order, on the
// file and on the server (the suite runs on both).
#include "db/sql_functions.h"
#include "db/statements.h"
#include "support/test_database.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace tarvela::db;
using tarvela::test::TestDatabase;

namespace {

QStringList trickyNames() {
    QStringList texts = {
        "maíz",         "MAÍZ",   "Maiz",  "maiz",      "año",   "anzuelo", "Ñandú",
        "nandu",        "Nube",   "Oso",   "Ácido",     "acido", "Straße",  "strasse",
        "Œuvre",        "oeuvre", "ǅemal", "Soja 45%",  "soja",  "",        " ",
        "Ωmega",        "ωmega",  "Zinc",  "zïnc",      "µg",    "μg",      "ΣΑΣ",
        "mañana\u0301", "manana", "abc",   "ab\u0301c", "aΩ",    "áΩ",      "Harina d'avena",
        "a\\b",         "a_b",    "a%b",   "Łódź",      "lodz",  "Ĳssel"};
    for (char16_t c = 0x20; c < 0x250; c += 3)
        texts << QString(QChar(c)) + "a";
    return texts;
}

class EnginesAgree : public ::testing::Test {
protected:
    void SetUp() override {
        Transaction unit(db.conn());
        for (int i = 0; i < names.size(); ++i)
            db.conn().execute("insert into productos (id_producto,codigo,nombre,idBase) values "
                              "(?,?,?,1)",
                              {i + 1, rightAlignCode(QString::number(i + 1)), names[i]});
        unit.commit();
    }

    QStringList column(const QString& sql, const Params& params = {}) {
        const Result rows = db.conn().query(sql, params);
        QStringList out;
        for (int r = 0; r < rows.rowCount(); ++r)
            out << rows.value(r, 0).toString();
        return out;
    }

    TestDatabase db;
    const QStringList names = trickyNames();
};

TEST_F(EnginesAgree, TextsSortInTheCollationsOrder) {
    QStringList expected = names;
    std::stable_sort(expected.begin(), expected.end(),
                     [](const QString& a, const QString& b) { return compareText(a, b) < 0; });
    EXPECT_EQ(column("select nombre from productos order by nombre, id_producto"), expected);
    std::reverse(expected.begin(), expected.end());
    const QStringList descending = column("select nombre from productos order by nombre desc");
    ASSERT_EQ(descending.size(), expected.size());
    for (int i = 0; i + 1 < descending.size(); ++i)
        EXPECT_GE(compareText(descending[i], descending[i + 1]), 0) << i;
    const QString highest =
        *std::max_element(names.begin(), names.end(),
                          [](const QString& a, const QString& b) { return compareText(a, b) < 0; });
    EXPECT_EQ(compareText(column("select max(nombre) from productos").value(0), highest), 0);
}

TEST_F(EnginesAgree, EqualityAndRangesFollowTheCollation) {
    for (const QString& probe : {QStringLiteral("MAÍZ"), QStringLiteral("maiz"),
                                 QStringLiteral("ÑANDÚ"), QStringLiteral("Harina D'Avena")}) {
        const auto expected = std::count_if(names.begin(), names.end(), [&](const QString& n) {
            return compareText(n, probe) == 0;
        });
        EXPECT_EQ(column("select id_producto from productos where nombre=" + sqlText(probe)).size(),
                  expected)
            << probe.toStdString();
        EXPECT_EQ(column("select id_producto from productos where nombre=?", {probe}).size(),
                  expected)
            << probe.toStdString();
    }
    const auto between = std::count_if(names.begin(), names.end(), [](const QString& n) {
        return compareText(n, "N") >= 0 && compareText(n, "Oz") <= 0;
    });
    EXPECT_EQ(column("select nombre from productos where nombre>='N' and nombre<='Oz'").size(),
              between);
}

TEST_F(EnginesAgree, LikeFindsTheSameRows) {
    for (const QString& typed :
         {QStringLiteral("MAÍZ"), QStringLiteral("ñandu"), QStringLiteral("a"),
          QStringLiteral("45%"), QStringLiteral("_"), QStringLiteral("\\"), QStringLiteral("d'av"),
          QStringLiteral("ω"), QStringLiteral("ss")}) {
        const QString pattern = "%" + typed + "%";
        QStringList expected;
        for (const QString& n : names)
            if (likeMatches(pattern, n))
                expected << n;
        QStringList found = column("select nombre from productos where nombre like " +
                                   sqlText(pattern) + " order by id_producto");
        EXPECT_EQ(found, expected) << typed.toStdString();
        found = column("select nombre from productos where nombre like ? order by id_producto",
                       {pattern});
        EXPECT_EQ(found, expected) << typed.toStdString();
    }
}

} // namespace
