#include "imports/column_names.h"
#include "imports/number_column.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tarvela::imports {
namespace {

std::vector<NumberCell> column(const QStringList& texts) {
    std::vector<files::Cell> cells;
    for (const QString& t : texts)
        cells.push_back(t.isEmpty() ? files::Cell{} : files::Cell{files::Cell::Kind::Text, t, 0});
    std::vector<const files::Cell*> pointers;
    for (const files::Cell& c : cells)
        pointers.push_back(&c);
    return readNumberColumn(pointers);
}

double valueOf(const NumberCell& cell) {
    EXPECT_TRUE(cell.number()) << cell.reason.toStdString();
    return cell.value;
}

TEST(NumberColumn, TheColumnDecidesWhatASeparatorIs) {
    const auto spanish = column({"0,45", "1.234,5", "1.234", "2,125", "", "1.234.567"});
    EXPECT_EQ(valueOf(spanish[0]), 0.45);
    EXPECT_EQ(valueOf(spanish[1]), 1234.5);
    EXPECT_EQ(valueOf(spanish[2]), 1234); // a thousand, as the rest of the column says
    EXPECT_EQ(valueOf(spanish[3]), 2.125);
    EXPECT_TRUE(spanish[4].empty());
    EXPECT_EQ(valueOf(spanish[5]), 1234567);

    const auto english = column({"0.45", "1,234.5", "1,234", "-2.125", "1,5E-03"});
    EXPECT_EQ(valueOf(english[1]), 1234.5);
    EXPECT_EQ(valueOf(english[2]), 1234);
    EXPECT_EQ(valueOf(english[3]), -2.125);
    EXPECT_TRUE(english[4].refused()); // a decimal comma in a column of decimal points
    EXPECT_EQ(english[4].reason, "'1,5E-03' usa ',' como separador decimal y el resto de la "
                                 "columna usa '.'");

    // Alone, 1.500 could be a thousand and a half or one and a half.
    const auto alone = column({"1.500", "12"});
    EXPECT_TRUE(alone[0].refused());
    EXPECT_EQ(alone[0].reason,
              "'1.500' es ambiguo: la columna no muestra si '.' separa decimales o miles");
    EXPECT_EQ(valueOf(alone[1]), 12);
    EXPECT_EQ(valueOf(column({"0,125"})[0]), 0.125); // no thousands group starts with 0
}

TEST(NumberColumn, ValuesThatAreNoNumberSayWhy) {
    const auto cells =
        column({"1e999", "nan", "12%", "$ 0,45", "abc", "inf", "1,2,3", "1.2.3,4,5"});
    EXPECT_EQ(cells[0].reason, "'1e999' está fuera del rango de los números");
    EXPECT_EQ(cells[1].reason, "'nan' no es un número");
    EXPECT_EQ(cells[2].reason, "'12%' no es un número: quite el signo %");
    EXPECT_EQ(cells[3].reason, "'$ 0,45' no es un número: quite el signo de moneda");
    for (const NumberCell& c : cells)
        EXPECT_TRUE(c.refused());

    const files::Cell truth{files::Cell::Kind::Boolean, {}, 1};
    const files::Cell error{files::Cell::Kind::Error, "#N/A", 0};
    const files::Cell number{files::Cell::Kind::Number, {}, 0.25};
    const auto typed = readNumberColumn({&truth, &error, &number, nullptr});
    EXPECT_EQ(typed[0].reason, "'VERDADERO' no es un número");
    EXPECT_EQ(typed[1].reason, "la celda tiene el error #N/A");
    EXPECT_EQ(valueOf(typed[2]), 0.25);
    EXPECT_TRUE(typed[3].empty());
}

TEST(ColumnNames, HeadingsMatchWithoutCaseAccentsOrUnit) {
    for (const char* heading : {"Código", "codigo", " CODIGO ", "Código (texto)"})
        EXPECT_TRUE(headingNames(QString::fromUtf8(heading), QStringLiteral("código"))) << heading;
    EXPECT_FALSE(headingNames(QStringLiteral("Códigos"), QStringLiteral("código")));
    EXPECT_TRUE(headingNames(QStringLiteral("MATERIA  SECA"), QStringLiteral("materia seca")));
    const HeadingParts parts = splitUnit(QStringLiteral("Calcio (Ca) (%)"));
    EXPECT_EQ(parts.name, "Calcio (Ca)");
    EXPECT_EQ(parts.unit, "%");
    EXPECT_EQ(splitUnit(QStringLiteral("Lisina")).unit, QString());
}

} // namespace
} // namespace tarvela::imports
