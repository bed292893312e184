#include "files/csv_text.h"

#include <gtest/gtest.h>

namespace tarvela::files {
namespace {

QStringList texts(const Row& row) {
    QStringList out;
    for (const Cell& c : row.cells)
        out << c.text;
    return out;
}

// A price list as purchasing sends it: byte-order mark, ";" between fields, decimal commas,
// a quoted name holding ";" and a quote, a blank line, CR LF and lone CR line ends.
TEST(CsvText, MessyPriceListIsReadCellByCell) {
    const QByteArray bytes = "\xEF\xBB\xBF"
                             "C\xC3\xB3"
                             "digo;Nombre;Precio\r\n"
                             "101;\"Ma\xC3\xADz; grano \"\"A\"\"\";0,25\r\n"
                             "\r\n"
                             " 102 ;Sorgo;1.234,5\r"
                             "103;\"dos\nl\xC3\xADneas\";7\n";
    const TableRead read = readCsv(bytes);
    ASSERT_TRUE(read.ok()) << read.error.toStdString();
    const auto& rows = read.table.rows;
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(texts(rows[0]), QStringList({"Código", "Nombre", "Precio"}));
    EXPECT_EQ(texts(rows[1]), QStringList({"101", "Maíz; grano \"A\"", "0,25"}));
    EXPECT_TRUE(rows[2].isBlank());
    EXPECT_EQ(rows[3].number, 4);
    EXPECT_EQ(texts(rows[3]), QStringList({" 102 ", "Sorgo", "1.234,5"}));
    EXPECT_EQ(texts(rows[4]), QStringList({"103", "dos\nlíneas", "7"}));
}

TEST(CsvText, SeparatorIsTheOneThatSplitsTheRowsAlike) {
    EXPECT_EQ(detectSeparator("codigo,nombre,precio\n1,\"a; b\",0.5\n"), QLatin1Char(','));
    EXPECT_EQ(detectSeparator("codigo;precio\n1;0,5\n2;1,25\n"), QLatin1Char(';'));
    EXPECT_EQ(detectSeparator("codigo\tprecio\n1\t0,5\n"), QLatin1Char('\t'));
}

TEST(CsvText, TextsOutsideUtf8AreWindows1252) {
    const TableRead read = readCsv("C\xF3"
                                   "digo;Precio \x80\n1;2\n");
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.table.rows[0].cells[0].text, QStringLiteral("Código"));
    EXPECT_EQ(read.table.rows[0].cells[1].text, QStringLiteral("Precio €"));
}

TEST(CsvText, FilesThatAreNoTableAreRefusedWithTheirReason) {
    EXPECT_EQ(readCsv("").error, "El archivo está vacío.");
    EXPECT_EQ(readCsv("\xEF\xBB\xBF\r\n\r\n").error, "El archivo está vacío.");
    EXPECT_TRUE(readCsv(QByteArray("\x7F"
                                   "ELF\x02\x01\x01\0\0\0",
                                   10))
                    .error.contains("no es un texto"));
    const TableRead unclosed = readCsv("a;b\n1;\"abierto\n2;3\n");
    EXPECT_EQ(unclosed.error,
              "Fila 2: unas comillas abiertas no se cierran hasta el final del archivo.");
    EXPECT_TRUE(unclosed.table.rows.empty());
}

// What csvBytes writes, readCsv reads back the same: texts with separators, quotes, line breaks
// and leading formula signs; numbers exact and never ambiguous.
TEST(CsvText, WrittenTablesReadBackTheSame) {
    const std::vector<std::vector<Cell>> rows = {
        {{Cell::Kind::Text, "Nombre", 0}, {Cell::Kind::Text, "Valor", 0}},
        {{Cell::Kind::Text, "a;b,\"c\"\nd", 0}, {Cell::Kind::Number, {}, 2.125}},
        {{Cell::Kind::Text, "=HYPERLINK(\"x\")", 0}, {Cell::Kind::Number, {}, 0.1 + 0.2}},
        {{Cell::Kind::Text, " con blancos ", 0}, {Cell::Kind::Number, {}, -1e-7}},
        {{}, {Cell::Kind::Number, {}, 1234.5}},
    };
    for (const QChar decimal : {QLatin1Char('.'), QLatin1Char(',')}) {
        const QByteArray bytes = csvBytes(rows, decimal);
        EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
        EXPECT_TRUE(bytes.contains("'=HYPERLINK")); // a spreadsheet shows it as text
        const TableRead read = readCsv(bytes);
        ASSERT_TRUE(read.ok());
        ASSERT_EQ(read.table.rows.size(), rows.size());
        for (size_t r = 0; r < rows.size(); ++r)
            for (size_t c = 0; c < rows[r].size(); ++c) {
                const Cell& cell = read.table.rows[r].cell(static_cast<int>(c));
                if (rows[r][c].kind == Cell::Kind::Text) {
                    EXPECT_EQ(cell.text, rows[r][c].text);
                } else if (rows[r][c].kind == Cell::Kind::Empty) {
                    EXPECT_TRUE(cell.isEmpty());
                }
            }
        EXPECT_EQ(read.table.rows[1].cells[1].text, decimal == '.' ? "2.1250" : "2,1250");
        EXPECT_EQ(read.table.rows[2].cells[1].text,
                  decimal == '.' ? "0.30000000000000004" : "0,30000000000000004");
    }
}

} // namespace
} // namespace tarvela::files
