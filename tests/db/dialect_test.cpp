#include "db/dialect.h"
#include "db/sql_functions.h"
#include "db/statements.h"

#include <gtest/gtest.h>

#include <QLocale>

#include <random>

using namespace tarvela::db;

namespace {

TEST(Dialect, DateLiteralsBecomeIsoTexts) {
    EXPECT_EQ(translateStatement("where f.fecha_creacion>=#03/15/2026#"),
              "where f.fecha_creacion>='2026-03-15'");
    EXPECT_EQ(translateStatement("values (1,#12/31/2026#,#1/2/99#)"),
              "values (1,'2026-12-31','1999-01-02')");
    EXPECT_EQ(translateStatement("x=#2026-01-05#"), "x='2026-01-05'");
    // Two-digit years: 00-29 are in the 2000s, 30-99 in the 1900s.
    EXPECT_EQ(translateStatement("#1/2/00# #1/2/29# #1/2/30#"),
              "'2000-01-02' '2029-01-02' '1930-01-02'");
}

TEST(Dialect, BooleanWordsBecomeNumbers) {
    EXPECT_EQ(translateStatement("select * from propiedades p where true and nombre like '%a%'"),
              "select * from propiedades p where 1 and nombre like '%a%'");
    EXPECT_EQ(translateStatement("x = False or y=TRUE"), "x = 0 or y=1");
    EXPECT_EQ(translateStatement("select truename, t.true from t"),
              "select truename, t.true from t");
}

TEST(Dialect, NothingInsideTextLiteralsIsTouched) {
    const QString sql = "select 'it''s true & #01/02/2026# \"x\"' as a";
    EXPECT_EQ(translateStatement(sql), sql);
    EXPECT_EQ(translateStatement("select \"it's \"\"x\"\"\" as a"), "select 'it''s \"x\"' as a");
    EXPECT_EQ(translateStatement("select [true] from t"), "select [true] from t");
    EXPECT_EQ(translateStatement("select a & 'b' from t"), "select a || 'b' from t");
}

// The collation is applied where a text column is compared or sorted, and nowhere else.
TEST(Dialect, TextColumnsCompareAndSortWithTheProgramsCollation) {
    const auto c = [](const char* column) { return QString(column) + " COLLATE jet_text"; };
    EXPECT_EQ(
        translateStatement("select nombre from productos where nombre='ZINC' order by nombre"),
        "select nombre from productos where " + c("nombre") + "='ZINC' order by " + c("nombre"));
    EXPECT_EQ(translateStatement("select max(codigo) from formulas where idbase=1 and "
                                 "'  8'<=f.codigo order by pp.valor DESC,p.nombre ASC"),
              "select max(" + c("codigo") + ") from formulas where idbase=1 and '  8'<=f." +
                  c("codigo") + " order by pp.valor DESC,p." + c("nombre") + " ASC");
    EXPECT_EQ(translateStatement("UPDATE formulas SET codigo='B', producto=nombre WHERE "
                                 "codigo IN ('A') AND (select count(*) from t where x=y)=0"),
              "UPDATE formulas SET codigo='B', producto=nombre WHERE " + c("codigo") +
                  " IN ('A') AND (select count(*) from t where x=y)=0");
    for (const char* unchanged :
         {"SELECT f.*,c.nombre as nombrecliente, p.codigo x FROM Formulas f LEFT JOIN clientes c "
          "ON f.idcliente=c.idcliente",
          "insert into productos (id_producto,codigo,nombre) values (1,'A','nombre = 1')",
          "select 1 from productos where trim(codigo)='10' and nombre||'x'='ax' and "
          "nombre like '%a%' and upper(nombre) is not null order by upper(nombre)",
          "CREATE INDEX productos_codigo ON productos (codigo)",
          "select codigo COLLATE binary from productos where nombre COLLATE binary = 'a'"})
        EXPECT_EQ(translateStatement(unchanged), unchanged);
}

TEST(Statements, TextsDoubleEveryQuote) {
    EXPECT_EQ(sqlText("Harina d'avena"), "'Harina d''avena'");
    EXPECT_EQ(sqlText("''"), "''''''");
    EXPECT_EQ(sqlText(""), "''");
}

TEST(Statements, RealsUseAPointAndRoundTrip) {
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Argentina));
    EXPECT_EQ(sqlReal(0.1), "0.1");
    EXPECT_EQ(sqlReal(1000.0), "1000");
    EXPECT_EQ(sqlReal(-2.5), "-2.5");
    EXPECT_EQ(sqlReal(0.0), "0");
    EXPECT_EQ(sqlReal(1.0 / 3), "0.3333333333333333");
    EXPECT_EQ(sqlReal(std::optional<double>()), "null");
    EXPECT_EQ(sqlReal(std::numeric_limits<double>::quiet_NaN()), "null");
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> exponent(-12, 18);
    for (int i = 0; i < 2000; ++i) {
        const double value = std::pow(10.0, exponent(random)) * (i % 2 ? -1 : 1);
        bool ok = false;
        EXPECT_EQ(QLocale::c().toDouble(sqlReal(value), &ok), value);
        EXPECT_TRUE(ok) << sqlReal(value).toStdString();
    }
    QLocale::setDefault(saved);
}

TEST(Statements, DatesAndCodes) {
    EXPECT_EQ(sqlDate(QDate(2026, 12, 31)), "#12/31/2026#");
    EXPECT_EQ(sqlDate(QDate(2026, 1, 5)), "#01/05/2026#");
    EXPECT_EQ(sqlInt(-32767), "-32767");
    EXPECT_EQ(rightAlignCode("  125 "), QString(17, ' ') + "125");
    EXPECT_EQ(rightAlignCode("ABCDEFGHIJKLMNOPQRSTUVWXY"), "ABCDEFGHIJKLMNOPQRST");
    EXPECT_EQ(rightAlignCode(""), QString(20, ' '));
    EXPECT_EQ(rightAlignCode("7", 5), "    7");
    EXPECT_EQ(sqlCode("A'B"), "'" + QString(17, ' ') + "A''B'");
}

TEST(Like, FoldsCaseButNotAccents) {
    EXPECT_TRUE(likeMatches("%MAÍZ%", "Harina de maíz"));
    EXPECT_TRUE(likeMatches("%ñandú%", "ÑANDÚ"));
    EXPECT_FALSE(likeMatches("%maiz%", "Maíz"));
    EXPECT_TRUE(likeMatches("M_íz", "maíz"));
    EXPECT_FALSE(likeMatches("M_z", "maíz"));
    EXPECT_TRUE(likeMatches("%", ""));
    EXPECT_TRUE(likeMatches("%%a%%", "xAy"));
    EXPECT_FALSE(likeMatches("a%b", "a-b-c"));
    EXPECT_TRUE(likeMatches("a%b%c", "a-b-c"));
    EXPECT_TRUE(likeMatches("10!%%", "10% proteína", u'!'));
    EXPECT_FALSE(likeMatches("10!%%", "100 proteína", u'!'));
}

TEST(Collation, CaseInsensitiveWithAccentsNextToPlainLetters) {
    EXPECT_EQ(compareText("MAÍZ", "maíz"), 0);
    EXPECT_LT(compareText("Ácido", "avena"), 0);
    EXPECT_LT(compareText("avena", "Zinc"), 0);
    EXPECT_NE(compareText("maiz", "maíz"), 0);
    EXPECT_LT(compareText("anzuelo", "año"), 0); // ñ is a letter after n
    EXPECT_LT(compareText("año", "aobo"), 0);
}

} // namespace

namespace {

int sign(int value) {
    return (value > 0) - (value < 0);
}

// The engine compares the stored UTF-8 texts; its order is the collation's, for Spanish names
// (read from a table), for every Latin letter and for texts beyond them.
TEST(Collation, StoredTextsCompareInTheCollationsOrder) {
    QStringList texts = {
        "maíz",         "MAÍZ",   "Maiz",      "maiz",    "año",   "anzuelo", "Ñandú", "nandu",
        "Ácido",        "acido",  "Straße",    "strasse", "Œuvre", "oeuvre",  "ǅemal", "Soja 45%",
        "soja",         "",       " ",         "Ωmega",   "ωmega", "Zinc",    "zïnc",  "x😀",
        "mañana\u0301", "manana", "ab\u0301c", "abc",     "aΩ",    "áΩ"};
    for (char16_t c = 0x20; c < 0x250; ++c)
        texts << QString(QChar(c)) + "a";
    for (const QString& a : texts) {
        const QByteArray x = a.toUtf8();
        for (const QString& b : texts) {
            const QByteArray y = b.toUtf8();
            ASSERT_EQ(sign(compareUtf8Text(x.constData(), static_cast<int>(x.size()), y.constData(),
                                           static_cast<int>(y.size()))),
                      sign(compareText(a, b)))
                << a.toStdString() << " / " << b.toStdString();
        }
    }
}

} // namespace
