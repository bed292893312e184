#include "reports/list_printout.h"

#include "db/statements.h"
#include "reports/page_painter.h"
#include "support/document_reading.h"
#include "support/gui_application.h"
#include "support/test_database.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tarvela::test {
namespace {

constexpr double kTolerance = 0.3;

// The list printouts fed with the demo database's tables, as the lists' searches leave them.
class ListPrintout : public ::testing::Test {
protected:
    ListPrintout() { ensureGuiApplication(); }

    std::vector<PdfPage> print(const reports::ListLayout& layout, const QString& sql,
                               QChar separator = QLatin1Char('.')) {
        const db::Result rows = database.conn().query(sql);
        const QString path = dir.filePath(layout.name + QStringLiteral(".pdf"));
        int pages = 0;
        const reports::WriteFailure failure =
            reports::writePdf(path, layout.title, [&](QPagedPaintDevice& device) {
                pages = reports::printList(device, layout, rows, QDate(2026, 3, 5), separator);
                return pages > 0;
            });
        EXPECT_TRUE(failure.description.isEmpty()) << failure.description.toStdString();
        const auto read = pdfPages(path);
        EXPECT_EQ(static_cast<int>(read.size()), pages);
        return read;
    }

    // The detail lines of a page: those below the column headings' rule.
    static std::vector<PdfLine> details(const PdfPage& page) {
        std::vector<PdfLine> lines;
        for (const PdfLine& l : page.lines)
            if (l.y > 32)
                lines.push_back(l);
        return lines;
    }

    TestDatabase database{TestDatabase::Contents::Demo};
    QTemporaryDir dir;
};

// The statement of a search by description escapes its quote; the rows print by description,
// each figure under its own heading, the price too although the list's search reads it as text.
TEST_F(ListPrintout, IngredientsFoundPrintByNameWithEachFigureUnderItsHeading) {
    database.conn().execute(
        QStringLiteral("insert into productos (id_producto,codigo,nombre,unidad,costo,"
                       "materia_seca,idBase) values (90,%1,%2,'Kg',1.5,87.25,1)")
            .arg(db::sqlCode(QStringLiteral("950")),
                 db::sqlText(QStringLiteral("Harina d'avena"))));
    const QString lastSelect =
        QStringLiteral(
            "select p.id_producto,p.codigo,p.nombre,p.unidad,Format(p.costo,'0.0000') "
            "as costo,p.materia_seca from productos p where idBase = 1 and (nombre like ") +
        db::sqlText(QStringLiteral("%d'avena%")) + QStringLiteral(" or nombre like '%maíz%')");
    const int found =
        database.conn()
            .query(QStringLiteral("select count(*) from (") + lastSelect + QStringLiteral(")"))
            .value(0, 0)
            .toInt();
    const auto pages = print(reports::ingredientListLayout(),
                             reports::catalogListStatement(lastSelect), QLatin1Char(','));
    ASSERT_EQ(pages.size(), 1u);
    const PdfPage& p = pages[0];
    const PdfLine& headings = *p.lineWith(QStringLiteral("Código Descripción Materia Seca Costo"));
    const auto lines = details(p);
    QStringList names;
    for (const PdfLine& l : lines)
        names << l.text();
    ASSERT_EQ(names.size(), found) << names.join(QLatin1Char('|')).toStdString();
    ASSERT_GE(found, 3);
    const qsizetype at = names.indexOf(QStringLiteral("950 Harina d'avena 87,25 1,50"));
    ASSERT_GE(at, 0) << names.join(QLatin1Char('|')).toStdString();
    for (int i = 1; i < names.size(); ++i)
        EXPECT_LE(names[i - 1].section(QLatin1Char(' '), 1).toLower(),
                  names[i].section(QLatin1Char(' '), 1).toLower());
    const PdfLine& avena = lines[static_cast<size_t>(at)];
    EXPECT_NEAR(avena.word(QStringLiteral("87,25"))->right,
                headings.word(QStringLiteral("Seca"))->right, kTolerance);
    EXPECT_NEAR(avena.word(QStringLiteral("1,50"))->right,
                headings.word(QStringLiteral("Costo"))->right, kTolerance);
    EXPECT_NEAR(avena.word(QStringLiteral("950"))->right,
                headings.word(QStringLiteral("Código"))->right, kTolerance);
}

TEST_F(ListPrintout, EveryPageHasItsHeaderNumberAndHeadingsAndEveryRowPrintsOnce) {
    const auto pages =
        print(reports::ingredientListLayout(),
              reports::catalogListStatement(QStringLiteral("SELECT * FROM productos")));
    const int total =
        database.conn().query(QStringLiteral("select count(*) from productos")).value(0, 0).toInt();
    ASSERT_GE(pages.size(), 2u);
    int printed = 0;
    for (size_t i = 0; i < pages.size(); ++i) {
        const PdfPage& p = pages[i];
        EXPECT_NE(p.lineWith(QStringLiteral("Ingredientes Fecha 05/03/2026")), nullptr) << i;
        const PdfLine* number = p.lineWith(QStringLiteral("Página"));
        ASSERT_NE(number, nullptr);
        EXPECT_EQ(number->words.back().text, QString::number(i + 1));
        EXPECT_NE(p.lineWith(QStringLiteral("Código Descripción Materia Seca Costo")), nullptr);
        double previous = 0;
        for (const PdfLine& l : details(p)) {
            EXPECT_GE(l.y - previous, 5 - kTolerance);
            // The row's whole line, not only its top, stays above the bottom margin.
            EXPECT_LE(l.y + 5, p.height - 15 + kTolerance) << l.text().toStdString();
            previous = l.y;
            ++printed;
        }
    }
    EXPECT_EQ(printed, total);
}

// The list printouts ask for Arial and get it, or Liberation Sans with its widths where Arial
// itself is missing; never another family whose widths the layouts were not made for.
TEST_F(ListPrintout, TextsAreInArialOrItsMetricTwin) {
    print(reports::nutrientListLayout(),
          reports::catalogListStatement(QStringLiteral("SELECT * FROM propiedades")));
    const QStringList fonts = pdfFontNames(dir.filePath(QStringLiteral("repNutrientes.pdf")));
    ASSERT_FALSE(fonts.isEmpty());
    for (const QString& font : fonts)
        EXPECT_TRUE(font.contains(QStringLiteral("LiberationSans")) ||
                    font.contains(QStringLiteral("Arial")))
            << font.toStdString();
}

TEST_F(ListPrintout, NutrientAndFormulaLayoutsAndAnEmptyResult) {
    auto pages = print(reports::nutrientListLayout(),
                       reports::catalogListStatement(QStringLiteral("SELECT * FROM propiedades")));
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_NE(pages[0].lineWith(QStringLiteral("Nutrientes Fecha")), nullptr);
    EXPECT_NE(pages[0].lineWith(QStringLiteral("Descripción Unidad")), nullptr);
    EXPECT_NE(pages[0].lineWith(QStringLiteral("Proteína Bruta %")), nullptr);

    pages = print(reports::formulaListLayout(),
                  QStringLiteral("SELECT f.codigo,f.producto,f.version,Format(f.fecha_creacion,"
                                 "'dd/mm/yyyy') as fecha_Creacion,Format(f.fecha_modificacion,"
                                 "'dd/mm/yyyy') as fecha_Modificacion FROM formulas f WHERE "
                                 "idBase = 1 ORDER BY f.fecha_modificacion DESC"));
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_NE(pages[0].lineWith(
                  QStringLiteral("Código Versión Producto Fecha Creación Última modificación")),
              nullptr);
    EXPECT_NE(pages[0].lineWith(QStringLiteral("1001 1 RTM vaca lechera 30 L/día 07/12/2026 "
                                               "07/12/2026")),
              nullptr);

    pages = print(reports::nutrientListLayout(),
                  reports::catalogListStatement(
                      QStringLiteral("SELECT * FROM propiedades WHERE nombre LIKE '%zz%'")));
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_NE(pages[0].lineWith(QStringLiteral("Descripción Unidad")), nullptr);
    EXPECT_TRUE(details(pages[0]).empty());
}

} // namespace
} // namespace tarvela::test
