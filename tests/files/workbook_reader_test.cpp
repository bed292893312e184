#include "files/table_file.h"
#include "files/workbook_reader.h"
#include "files/zip_package.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <xlsxwriter.h>

namespace tarvela::files {
namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
}

// A workbook as a spreadsheet program writes it: a first sheet with shared texts, numbers, a
// formula with its value, a boolean and an error value, and a second sheet written with inline
// texts.
QString makeWorkbook(const QTemporaryDir& dir) {
    const QString path = dir.filePath(QStringLiteral("precios.xlsx"));
    lxw_workbook* book = workbook_new(path.toUtf8().constData());
    lxw_worksheet* first = workbook_add_worksheet(book, "Precios");
    worksheet_write_string(first, 0, 0, "Código", nullptr);
    worksheet_write_string(first, 0, 1, "Precio", nullptr);
    worksheet_write_string(first, 1, 0, "101", nullptr);
    worksheet_write_number(first, 1, 1, 0.25, nullptr);
    worksheet_write_number(first, 2, 0, 102, nullptr);
    worksheet_write_formula_num(first, 2, 1, "=B2*2", nullptr, 0.5);
    worksheet_write_boolean(first, 4, 0, 1, nullptr); // row 4 stays empty
    worksheet_write_formula_str(first, 4, 1, "=1/0", nullptr, "#DIV/0!");
    worksheet_write_string(first, 5, 3, "Maíz <\"&\">", nullptr);
    lxw_worksheet* second = workbook_add_worksheet(book, "Otra hoja");
    worksheet_write_string(second, 0, 0, "solo", nullptr);
    EXPECT_EQ(workbook_close(book), LXW_NO_ERROR);
    return path;
}

TEST(WorkbookReader, SheetCellsOfEveryKind) {
    QTemporaryDir dir;
    const TableRead read = readTableFile(makeWorkbook(dir));
    ASSERT_TRUE(read.ok()) << read.error.toStdString();
    EXPECT_EQ(read.sheets, QStringList({"Precios", "Otra hoja"}));
    const auto& rows = read.table.rows;
    ASSERT_EQ(rows.size(), 5u); // the empty fourth row is not listed
    EXPECT_EQ(rows[0].cells[0].text, "Código");
    EXPECT_EQ(rows[1].cells[1].kind, Cell::Kind::Number);
    EXPECT_EQ(rows[1].cells[1].number, 0.25);
    EXPECT_EQ(rows[2].cells[0].display(), "102");
    EXPECT_EQ(rows[2].cells[1].number, 0.5); // the formula's value as last computed
    EXPECT_EQ(rows[3].number, 5);
    EXPECT_EQ(rows[3].cells[0].kind, Cell::Kind::Boolean);
    EXPECT_EQ(rows[3].cells[1].kind, Cell::Kind::Text); // a formula's text result
    EXPECT_EQ(rows[3].cells[1].text, "#DIV/0!");
    EXPECT_TRUE(rows[3].cell(2).isEmpty());
    EXPECT_EQ(rows[4].cell(3).text, "Maíz <\"&\">");
    EXPECT_TRUE(rows[4].cell(0).isEmpty());

    const TableRead other = readTableFile(dir.filePath("precios.xlsx"), "OTRA HOJA");
    ASSERT_TRUE(other.ok());
    EXPECT_EQ(other.table.rows[0].cells[0].text, "solo");
    EXPECT_EQ(readTableFile(dir.filePath("precios.xlsx"), "Costos").error,
              "El libro no tiene una hoja llamada 'Costos'. Sus hojas son: Precios, Otra hoja.");
}

TEST(WorkbookReader, InlineTextsOfAStreamedWorkbook) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("grande.xlsx"));
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    lxw_workbook* book = workbook_new_opt(path.toUtf8().constData(), &options);
    lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
    worksheet_write_string(sheet, 0, 0, "Código", nullptr);
    worksheet_write_string(sheet, 1, 0, "A-1", nullptr);
    ASSERT_EQ(workbook_close(book), LXW_NO_ERROR);
    QString error;
    const std::optional<ZipPackage> package = ZipPackage::open(readAll(path), error);
    ASSERT_TRUE(package);
    ASSERT_TRUE(package->entry("xl/worksheets/sheet1.xml", error)->contains("inlineStr"));
    const TableRead read = readTableFile(path);
    ASSERT_TRUE(read.ok()) << read.error.toStdString();
    EXPECT_EQ(read.table.rows[1].cells[0].text, "A-1");
}

TEST(WorkbookReader, DamagedWorkbooksAreRefusedWithTheirReason) {
    QTemporaryDir dir;
    const QByteArray good = readAll(makeWorkbook(dir));

    const QString text = dir.filePath("texto.xlsx");
    writeFile(text, "Código;Precio\n101;0,2\n");
    EXPECT_EQ(readTableFile(text).error,
              "El archivo no es un libro de Excel (.xlsx): no es un paquete ZIP.");

    const QString cut = dir.filePath("cortado.xlsx");
    writeFile(cut, good.left(good.size() / 2));
    EXPECT_EQ(readTableFile(cut).error,
              "El libro de Excel está dañado o incompleto: no es un archivo ZIP.");

    // A byte changed inside the sheet's compressed data: its checksum no longer matches.
    QByteArray damaged = good;
    const qsizetype sheet = damaged.indexOf("xl/worksheets/sheet1.xml");
    ASSERT_GT(sheet, 0);
    damaged[sheet + 40] = static_cast<char>(damaged[sheet + 40] ^ 0x55);
    const QString broken = dir.filePath("roto.xlsx");
    writeFile(broken, damaged);
    EXPECT_TRUE(readTableFile(broken).error.contains("dañad"));

    const QString other = dir.filePath("otro.zip");
    ASSERT_FALSE(writeZipPackage(other, {{"datos.xml", "<a/>"}}).failed());
    EXPECT_EQ(readTableFile(other).error,
              "El archivo no es un libro de Excel (.xlsx): no tiene hojas de cálculo.");

    const QString binary = dir.filePath("imagen.png");
    writeFile(binary, QByteArray("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16));
    EXPECT_TRUE(readTableFile(binary).error.contains("no es un texto"));
}

TEST(ZipPackage, EntriesKeepTheirOrderAndStorage) {
    QTemporaryDir dir;
    const QString path = dir.filePath("p.zip");
    const QByteArray big(10000, 'x');
    ASSERT_FALSE(
        writeZipPackage(path, {{"mimetype", "application/x", false}, {"a/b.xml", big}}).failed());
    const QByteArray bytes = readAll(path);
    EXPECT_EQ(bytes.mid(30, 8), "mimetype"); // first, its name right after the first header
    EXPECT_EQ(bytes.mid(38, 13), "application/x");
    EXPECT_LT(bytes.size(), 1000); // the large entry is compressed
    QString error;
    const std::optional<ZipPackage> package = ZipPackage::open(bytes, error);
    ASSERT_TRUE(package);
    EXPECT_EQ(package->names(), QStringList({"mimetype", "a/b.xml"}));
    EXPECT_EQ(package->entry("a/b.xml", error), big);
    EXPECT_FALSE(package->entry("a/b.xml", error, 100)); // larger than allowed
    EXPECT_FALSE(package->entry("c.xml", error));
    EXPECT_TRUE(writeZipPackage(dir.filePath("no/such/folder/p.zip"), {{"a", "b"}}).failed());
}

} // namespace
} // namespace tarvela::files
