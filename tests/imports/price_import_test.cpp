#include "catalogs/catalog_fixture.h"

#include "catalogs/ingredient_catalog.h"
#include "catalogs/price_history.h"
#include "files/csv_text.h"
#include "imports/price_import.h"
#include "imports/price_preview_grid.h"

namespace tarvela::test {
namespace {

using imports::PriceStatus;

const QDateTime kMonday(QDate(2026, 3, 2), QTime(9, 30, 0));
const QDateTime kTuesday(QDate(2026, 3, 3), QTime(10, 0, 5));

class PriceImport : public CatalogFixture {
protected:
    void SetUp() override {
        addIngredient(1, "101", "Maíz", 1, 0.20);
        addIngredient(2, "102", "Sorgo", 1, 0.17);
        addIngredient(3, "abc", "Harina", 1, 0.40);
        addIngredient(4, "104", "Avena", 1, 0.30);
        addIngredient(5, "105", "Cebada", 1, 0.30);
        addIngredient(6, "101", "Maíz de Porcinos", 2, 0.50);
    }

    imports::PriceList list(const QByteArray& csv, const QString& origin = "precios.csv") {
        table_ = files::readCsv(csv).table;
        return imports::readPriceList(table_, origin);
    }

    std::optional<double> stored(int id, const char* column) {
        const db::Result r = conn().query(QStringLiteral("select %1 from productos where "
                                                         "id_producto=%2")
                                              .arg(column)
                                              .arg(id));
        return r.value(0, 0).isNull() ? std::nullopt : std::optional(r.value(0, 0).toDouble());
    }

    files::Table table_;
};

const QByteArray kList = "Código;Nombre;Precio;Materia Seca\r\n"
                         " 101 ;maiz;0,21;87,5\r\n"
                         "102;;0,17;\r\n"
                         "ABC;;0,90;\r\n"
                         "\r\n"
                         "999;Nuevo;1;\r\n"
                         "103;;1;\r\n"
                         "103;;2;\r\n"
                         "104;;abc;\r\n"
                         "105;;0,3;101\r\n";

TEST_F(PriceImport, EveryRowGetsItsState) {
    const imports::PricePreview preview = imports::previewPrices(conn(), 1, list(kList));
    std::vector<PriceStatus> states;
    for (const imports::PriceRow& r : preview.rows)
        states.push_back(r.estado);
    EXPECT_EQ(states,
              std::vector<PriceStatus>({PriceStatus::Updated, PriceStatus::Unchanged,
                                        PriceStatus::LargeVariation, PriceStatus::UnknownCode,
                                        PriceStatus::RepeatedCode, PriceStatus::RepeatedCode,
                                        PriceStatus::InvalidPrice, PriceStatus::InvalidDryMatter}));
    const imports::PriceRow& maiz = preview.rows[0];
    EXPECT_EQ(maiz.idProducto, 1); // " 101 " is the stored code of base 1
    EXPECT_EQ(maiz.nombre, "Maíz");
    EXPECT_NEAR(*maiz.variacion, 5, 1e-9);
    EXPECT_EQ(maiz.materiaSecaNueva, 87.5);
    EXPECT_EQ(preview.rows[2].idProducto, 3); // codes compare without regard to case
    EXPECT_EQ(preview.rows[3].nombre, "Nuevo");
    EXPECT_EQ(preview.rows[3].motivo,
              "Fila 6, columna A (Código): no hay un ingrediente con el código '999' en la base");
    EXPECT_EQ(preview.rows[4].motivo,
              "Fila 7, columna A (Código): el código '103' también está en la fila 8");
    EXPECT_EQ(preview.rows[6].motivo, "Fila 9, columna C (Precio): 'abc' no es un número");
    EXPECT_EQ(preview.rows[7].motivo,
              "Fila 10, columna D (Materia Seca): la materia seca debe estar entre 0 y 100");
    EXPECT_EQ(preview.refused(), 5);
}

// The grid shows each state in its colour, numbers with the workstation's separator.
TEST_F(PriceImport, PreviewGridPaintsTheStates) {
    const imports::PricePreview preview = imports::previewPrices(conn(), 1, list(kList));
    const imports::PreviewGrid grid = imports::pricePreviewGrid(preview, QLatin1Char(','));
    ASSERT_EQ(grid.rowCount, 8);
    EXPECT_EQ(grid.cell(0, imports::kPrvCostoNuevo).text, "0,2100");
    EXPECT_EQ(grid.cell(0, imports::kPrvVariacion).text, "5,00");
    EXPECT_EQ(grid.cell(1, imports::kPrvMsNueva).text, QString()); // the dry matter stays
    const auto estado = [&](int row) { return grid.cell(row, imports::kPrvEstado); };
    EXPECT_EQ(estado(0).background, imports::previewColors::changed);
    EXPECT_EQ(estado(1).background, grid::colors::background);
    EXPECT_EQ(estado(2).background, imports::previewColors::confirm);
    EXPECT_EQ(estado(3).background, imports::previewColors::refused);
    EXPECT_EQ(estado(3).foreground, grid::colors::lightText);
    EXPECT_EQ(imports::pricePreviewCounts(preview),
              "Filas: 8 · Actualizado: 1 · Variación mayor al 50 %: 1 · Sin cambios: 1 · Código "
              "inexistente: 1 · Código repetido en el archivo: 2 · Precio no válido: 1 · Materia "
              "seca no válida: 1");
}

TEST_F(PriceImport, ListsWithoutTheirColumnsAreNoPriceLists) {
    EXPECT_EQ(list("Nombre;Valor\r\nMaíz;1\r\n").error,
              "El archivo no tiene la columna Código ni la columna Precio (o Costo). La primera "
              "fila con datos debe nombrar las columnas: Código, Precio (o Costo) y, si se desea, "
              "Materia Seca y Nombre.");
    EXPECT_TRUE(list("Código;Precio;Costo\r\n1;2;3\r\n").error.startsWith("Las columnas B"));
}

// The valid rows and their history are written; the others, and a large change that was not
// confirmed, are not. A second list adds to the history.
TEST_F(PriceImport, AppliedRowsLeaveTheirHistory) {
    const imports::PriceList first = list(kList, "lunes.csv");
    const imports::PricePreview preview = imports::previewPrices(conn(), 1, first);
    const imports::PriceApplication done =
        imports::applyPrices(conn(), 1, first, preview, false, kMonday);
    EXPECT_FALSE(done.stale);
    EXPECT_EQ(done.updated, 1);
    EXPECT_EQ(stored(1, "costo"), 0.21);
    EXPECT_EQ(stored(1, "materia_seca"), 87.5);
    EXPECT_EQ(stored(3, "costo"), 0.40); // not confirmed
    EXPECT_EQ(stored(6, "costo"), 0.50); // the same code in another base

    const imports::PriceList second =
        list("codigo,precio\r\n101,0.25\r\nabc,0.9\r\n", "martes.csv");
    const imports::PricePreview next = imports::previewPrices(conn(), 1, second);
    EXPECT_EQ(imports::applyPrices(conn(), 1, second, next, true, kTuesday).updated, 2);
    EXPECT_EQ(stored(3, "costo"), 0.9);

    const std::vector<catalogs::PriceHistoryEntry> history = catalogs::priceHistory(conn(), 1);
    ASSERT_EQ(history.size(), 2u);
    EXPECT_EQ(history[0].fecha, "2026-03-03 10:00:05");
    EXPECT_EQ(history[0].origen, "martes.csv");
    EXPECT_EQ(history[0].change, (catalogs::PriceChange{1, 0.21, 0.25, 87.5, 87.5}));
    EXPECT_EQ(history[1].origen, "lunes.csv");
    EXPECT_EQ(history[1].change, (catalogs::PriceChange{1, 0.20, 0.21, 88, 87.5}));
    const grid::GridPaint grid = catalogs::paintPriceHistory(history, QLatin1Char(','));
    EXPECT_EQ(grid.cell(1, 0).text, "03/03/2026 10:00");
    EXPECT_EQ(grid.cell(1, 1).text, "0,2100");
    EXPECT_EQ(grid.cell(2, 4).text, "87,50");

    // An ingredient deleted takes its history with it: a later one with its key starts clean.
    catalogs::deleteIngredient(conn(), 1);
    EXPECT_TRUE(catalogs::priceHistory(conn(), 1).empty());
}

TEST_F(PriceImport, AFailureWhileApplyingWritesNothing) {
    const imports::PriceList prices = list(kList);
    const imports::PricePreview preview = imports::previewPrices(conn(), 1, prices);
    failInsertsInto("precios_historial");
    EXPECT_THROW(imports::applyPrices(conn(), 1, prices, preview, true, kMonday), db::DbError);
    EXPECT_EQ(stored(1, "costo"), 0.20);
    EXPECT_EQ(stored(3, "costo"), 0.40);
    EXPECT_EQ(conn().query("select count(*) from precios_historial").value(0, 0).toInt(), 0);
}

TEST_F(PriceImport, ACatalogChangedSinceThePreviewIsNotOverwritten) {
    const imports::PriceList prices = list(kList);
    const imports::PricePreview preview = imports::previewPrices(conn(), 1, prices);
    conn().execute("update productos set costo=0.3 where id_producto=2");
    EXPECT_TRUE(imports::applyPrices(conn(), 1, prices, preview, true, kMonday).stale);
    EXPECT_EQ(stored(1, "costo"), 0.20);
}

} // namespace
} // namespace tarvela::test
