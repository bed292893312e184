#include "catalogs/catalog_fixture.h"

#include "files/csv_text.h"
#include "files/table_file.h"
#include "imports/composition_export.h"
#include "imports/composition_import.h"

#include <QTemporaryDir>

namespace tarvela::test {
namespace {

const QDateTime kWhen(QDate(2026, 3, 2), QTime(9, 30, 0));

class CompositionImport : public CatalogFixture {
protected:
    void SetUp() override {
        addNutrient(1, "Proteína Bruta");
        addNutrient(2, "Calcio");
        addNutrient(3, "Energía Metabolizable", "Mcal/kg");
        addIngredient(1, "101", "Maíz");
        addIngredient(2, "102", "Sorgo");
        addIngredient(3, "101", "Maíz de Porcinos", 2);
        for (int i = 1; i <= 3; ++i) {
            addContent(i, 1, 8);
            addContent(i, 2, 0.02);
            addContent(i, 3, 3.3);
        }
    }

    imports::CompositionFile read(const QByteArray& csv) {
        return imports::readCompositionFile(files::readCsv(csv).table);
    }

    QVariant content(int ingredient, int nutrient) {
        const db::Result r = conn().query(QStringLiteral("select valor from producto_propiedad "
                                                         "where id_producto=%1 and id_propiedad=%2")
                                              .arg(ingredient)
                                              .arg(nutrient));
        return r.isEmpty() ? QVariant() : r.value(0, 0);
    }
    int count(const QString& sql) { return conn().query(sql).value(0, 0).toInt(); }
};

const QByteArray kTable =
    "Código;Nombre;Unidad;Costo;Materia Seca;PROTEINA BRUTA (%);Calcio;Fósforo (mg);"
    "Energía Metabolizable (Mcal/kg);Energía Metabolizable (kcal)\r\n"
    "101;Maíz;Kg;0,2;88;9,5;;12;3,3;\r\n"
    "103;Harina nueva;Kg;0,45;90;44;0,3;;;\r\n"
    "104;Sin unidad;;0,1;90;;;;;\r\n"
    "102;Sorgo;Kg;$0,2;89;1x;0,05;;;\r\n";

TEST_F(CompositionImport, PreviewListsWhatWouldChange) {
    const imports::CompositionPreview p = imports::previewComposition(conn(), 1, read(kTable));
    ASSERT_EQ(p.newNutrients.size(), 1u);
    EXPECT_EQ(p.newNutrients[0], (imports::NewNutrient{7, "Fósforo", "mg"}));
    ASSERT_EQ(p.newIngredients.size(), 1u);
    EXPECT_EQ(p.newIngredients[0].boxes.nombre, "Harina nueva");
    EXPECT_EQ(p.newIngredients[0].values, 2);

    QStringList changed;
    for (const imports::ValueChange& v : p.changed)
        changed << QStringLiteral("%1 %2 %3→%4")
                       .arg(v.codigo, v.campo, v.antes.toString(), v.despues.toString());
    EXPECT_EQ(changed, QStringList({"101 Proteína Bruta 8→9.5", "101 Fósforo →12",
                                    "102 Materia Seca 88→89", "102 Calcio 0.02→0.05"}));
    // 101: name, unit, price, dry matter, energy; 102: name, unit.
    EXPECT_EQ(p.unchanged.size(), 7u);
    QStringList refused;
    for (const imports::RefusedCell& r : p.refused)
        refused << r.motivo;
    EXPECT_EQ(refused,
              QStringList({"Columna J (Energía Metabolizable (kcal)): la unidad kcal no es la del "
                           "nutriente Energía Metabolizable (Mcal/kg)",
                           "Fila 4 (ingrediente nuevo 104): Debe ingresar la Unidad",
                           "Fila 5, columna D (Costo): '$0,2' no es un número: quite el signo de "
                           "moneda",
                           "Fila 5, columna F (PROTEINA BRUTA (%)): '1x' no es un número"}));
}

TEST_F(CompositionImport, ApplyingBuildsAndRefreshesTheCatalog) {
    const imports::CompositionFile table = read(kTable);
    const imports::CompositionPreview p = imports::previewComposition(conn(), 1, table);
    const imports::CompositionApplication done =
        imports::applyComposition(conn(), 1, table, p, "tabla.csv", kWhen);
    EXPECT_FALSE(done.stale);
    EXPECT_EQ(done.newNutrients, 1);
    EXPECT_EQ(done.newIngredients, 1);

    // The new nutrient has a row for every ingredient of every base, the new ingredient one for
    // every nutrient, as their windows create them; new keys follow the largest.
    EXPECT_EQ(count("select count(*) from producto_propiedad where id_propiedad=4"), 4);
    EXPECT_EQ(count("select count(*) from producto_propiedad where id_producto=4"), 4);
    EXPECT_EQ(count("select count(*) from productos where id_producto=4 and idBase=1 and "
                    "codigo='                 103' and unidad='Kg' and costo=0.45"),
              1);
    EXPECT_EQ(content(4, 1), 44.0);
    EXPECT_EQ(content(4, 4), 0.0);
    EXPECT_EQ(content(1, 1), 9.5);
    EXPECT_EQ(content(1, 4), 12.0);
    EXPECT_EQ(content(1, 2), 0.02); // an empty cell keeps the stored value
    EXPECT_EQ(content(2, 1), 8.0);  // a refused cell changes nothing
    EXPECT_EQ(content(2, 2), 0.05);
    EXPECT_EQ(content(3, 1), 8.0); // the other base
    EXPECT_EQ(count("select count(*) from propiedades where nombre='Fósforo' and unidad='mg'"), 1);
    EXPECT_EQ(count("select count(*) from precios_historial where id_producto=2 and "
                    "materia_seca_anterior=88 and materia_seca_nueva=89 and origen='tabla.csv'"),
              1);
    // The ingredient's record of changes holds its composition's changes, one row per ingredient.
    const db::Result record = conn().query(
        "select detalle from auditoria where tabla='productos' and clave='1' and detalle like "
        "'composición%'");
    ASSERT_EQ(record.rowCount(), 1);
    EXPECT_EQ(record.value(0, 0).toString(),
              "composición desde tabla.csv: Proteína Bruta: 8 → 9.5; Fósforo: (vacío) → 12");
}

TEST_F(CompositionImport, AFailureWhileApplyingWritesNothing) {
    const imports::CompositionFile table = read(kTable);
    const imports::CompositionPreview p = imports::previewComposition(conn(), 1, table);
    // The new ingredient's content fails after the nutrient and the ingredient were created.
    failInsertsInto("producto_propiedad", "new.valor = 44");
    EXPECT_THROW(imports::applyComposition(conn(), 1, table, p, "tabla.csv", kWhen), db::DbError);
    EXPECT_EQ(count("select count(*) from propiedades"), 3);
    EXPECT_EQ(count("select count(*) from productos"), 3);
    EXPECT_EQ(count("select count(*) from producto_propiedad"), 9);
    EXPECT_EQ(content(1, 1), 8.0);
    EXPECT_EQ(count("select count(*) from precios_historial"), 0);
    EXPECT_EQ(count("select count(*) from auditoria"), 0);
}

// The exported table, read again as CSV (either decimal separator) or as a workbook, changes
// nothing, whatever its names and values hold.
TEST_F(CompositionImport, ExportThenImportChangesNothing) {
    addNutrient(4, "Calcio (Ca)", "");
    addIngredient(4, "=1+1", "Harina \"especial\"; fina", 1, 0.1 + 0.2, "Ton");
    addContent(4, 1, 2.125);
    addContent(4, 2, -3.5);
    addContent(4, 3, 1e-7);
    addContent(1, 4, 12345.678);
    conn().execute("delete from producto_propiedad where id_producto=2 and id_propiedad=3");
    QTemporaryDir dir;
    for (const QString name : {"a.csv", "b.csv", "c.xlsx"}) {
        const QString path = dir.filePath(name);
        const QChar decimal = name == "b.csv" ? QLatin1Char(',') : QLatin1Char('.');
        ASSERT_EQ(imports::exportComposition(conn(), 1, path, decimal), QString());
        const files::TableRead read = files::readTableFile(path);
        ASSERT_TRUE(read.ok()) << read.error.toStdString();
        const imports::CompositionPreview p =
            imports::previewComposition(conn(), 1, imports::readCompositionFile(read.table));
        EXPECT_FALSE(p.hasChanges()) << name.toStdString();

        EXPECT_TRUE(p.refused.empty()) << name.toStdString();
        // Four fields of each of three ingredients, and their 4 + 2 + 3 contents.
        EXPECT_EQ(p.unchanged.size(), 21u) << name.toStdString();
    }
    EXPECT_EQ(imports::exportComposition(conn(), 1, dir.filePath("d.ods"), '.'),
              "El nombre del archivo debe terminar en .xlsx o .csv.");
}

} // namespace
} // namespace tarvela::test
