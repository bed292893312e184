#include "reports/formula_printout.h"

#include "reports/page_painter.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

namespace tarvela::reports {

namespace {

constexpr double kBodyPoints = 8;
constexpr double kSharePoints = 7;
constexpr double kLine = 5;        // a line advances the current line by 5 mm
constexpr double kFirstLine = 42;  // below the page header
constexpr double kPageFull = 266;  // a row ending at or past this line breaks the page
constexpr double kRightEdge = 200; // of the page header's rules and of long texts
constexpr double kGap = 2;         // between a shortened name and the figures beside it
constexpr double kUnitX = 142;     // a nutrient's unit, just right of its value

// A figure right-aligned on an edge.
struct Figure {
    double right;
    QString text;
    double points = kBodyPoints;
    bool bold = false;
};

// A section's heading row: its title, the column headings and the width of their box.
struct SectionHeading {
    QString title;
    std::vector<Figure> headings;
    double boxWidth = 0;
    std::vector<std::pair<double, QString>> leftHeadings; // left-aligned at their x
};

class FormulaPrintout {
public:
    FormulaPrintout(PagePainter& page, const FormulaReport& report) : p_(page), r_(report) {}

    // Laid out once without drawing to count the pages ("Página N de M"), then printed.
    void print() {
        p_.setDrawing(false);
        layout();
        pages_ = page_;
        page_ = 0;
        section_.reset();
        p_.setDrawing(true);
        layout();
    }

private:
    void layout() {
        pageHeader();
        headerData();
        nutrients();
        ratiosAndGroups();
        ingredients();
    }

    // imprimeEncabezado: rules, the product word, the printing date and the page number, the
    // title and the product.
    void pageHeader() {
        ++page_;
        p_.line(10, 8, kRightEdge, 8);
        p_.line(10, 9, kRightEdge, 9);
        p_.setFont(10, true);
        p_.text(13, 12, QStringLiteral("Tarvela"));
        p_.setFont(7);
        p_.text(160, 13, QStringLiteral("Fecha de Impresión: ") + r_.todayText());
        p_.text(160, 17, QStringLiteral("Página %1 de %2").arg(page_).arg(pages_));
        p_.setFont(12, true);
        p_.text(60, 19, QStringLiteral("COMPOSICIÓN DE FÓRMULAS"));
        p_.setFont(10);
        p_.text(60, 26, p_.fitted(r_.header().producto.trimmed(), kRightEdge - 60));
        p_.line(10, 34, kRightEdge, 34);
        y_ = kFirstLine;
    }

    // A new page below the page header; a section that goes on repeats its heading row there.
    void newPage() {
        p_.newPage();
        pageHeader();
        if (section_)
            headingRow(*section_);
    }

    // After a table row: a new page once the current line has reached 266 mm.
    void breakIfFull() {
        if (y_ >= kPageFull)
            newPage();
    }

    void headerData() {
        std::vector<std::pair<QString, QString>> lines = {
            {QStringLiteral("Código:"), r_.header().codigo},
            {QStringLiteral("Versión:"), r_.header().version},
            {QStringLiteral("Última modificación:"), r_.header().fechaModificacion},
            {QStringLiteral("Materia Seca:"), r_.boxes().txtMatSeca},
            {QString::fromUtf8(kNutrientBasisLabel), r_.nutrientBasis()},
        };
        if (r_.includeCosts) {
            lines.push_back({QStringLiteral("Costo U.Seca:"), r_.boxes().txtCosS});
            lines.push_back({QStringLiteral("Costo U.Húmeda:"), r_.boxes().txtCosH});
            lines.push_back({QStringLiteral("Costo Total:"), r_.boxes().txtCosTot});
        }
        // The values start at 40 mm, or past the widest label when the font needs more room.
        p_.setFont(kBodyPoints);
        double valueX = 40;
        for (const auto& line : lines)
            valueX = std::max(valueX, 13 + p_.width(line.first) + 1.5);
        for (const auto& [label, value] : lines) {
            p_.setFont(kBodyPoints);
            p_.text(13, y_, label);
            p_.setFont(kBodyPoints, true);
            p_.text(valueX, y_, p_.fitted(value, kRightEdge - valueX));
            y_ += kLine;
        }
    }

    // A section begins with its heading row. The heading is kept with the line that follows it:
    // when that line would not fit on the page, the section starts on a new page. The heading
    // row is repeated at the top of every page the section continues on.
    void startSection(SectionHeading heading) {
        section_.reset();
        if (y_ > kFirstLine)
            y_ += 10;
        if (y_ + kLine >= kPageFull)
            newPage();
        section_ = std::move(heading);
        headingRow(*section_);
    }

    // The title, the column headings and their box.
    void headingRow(const SectionHeading& h) {
        p_.rect(10, y_ - 1.5, h.boxWidth, 5);
        p_.setFont(kBodyPoints, true);
        p_.text(13, y_, h.title);
        p_.setFont(kBodyPoints);
        for (const Figure& heading : h.headings)
            p_.textRight(heading.right, y_, heading.text);
        for (const auto& [x, text] : h.leftHeadings)
            p_.text(x, y_, text);
        y_ += kLine;
    }

    // A name at 17 mm, shortened so that it ends before the row's first figure, then the
    // figures.
    void row(const QString& name, const std::vector<Figure>& figures) {
        double limit = kRightEdge;
        for (const Figure& f : figures) {
            if (f.text.isEmpty())
                continue;
            p_.setFont(f.points, f.bold);
            limit = std::min(limit, f.right - p_.width(f.text));
        }
        p_.setFont(kBodyPoints);
        p_.text(17, y_, p_.fitted(name, limit - kGap - 17));
        for (const Figure& f : figures) {
            p_.setFont(f.points, f.bold);
            p_.textRight(f.right, y_, f.text);
        }
        y_ += kLine;
    }

    // Each value with its unit just right of it.
    void nutrients() {
        startSection({QStringLiteral("NUTRIENTES"),
                      {{90, QStringLiteral("Mínimo")},
                       {115, QStringLiteral("Máximo")},
                       {140, QStringLiteral("Valor")}},
                      kUnitBoxWidth,
                      {{kUnitX, QStringLiteral("Unidad")}}});
        const auto& rows = r_.model.rsPropiedades;
        for (size_t i = 0; i < rows.size(); ++i) {
            const formulation::NutrientRow& n = rows[i];
            p_.setFont(kBodyPoints);
            p_.text(kUnitX, y_, p_.fitted(r_.unitOf(n), 10 + kUnitBoxWidth - kUnitX - 1));
            row(n.nombre, {{90, r_.nutrientFigure(n.minimo)},
                           {115, r_.nutrientFigure(n.maximo)},
                           {140, r_.nutrientFigure(n.valor)}});
            // After the last row the ingredients' heading decides where they start.
            if (i + 1 < rows.size())
                breakIfFull();
        }
        section_.reset();
    }

    // The ratio and group limits, as the nutrients are printed; only when the formula has any.
    void ratiosAndGroups() {
        const std::vector<LimitLine> lines = r_.ratioAndGroupLines();
        if (lines.empty())
            return;
        startSection({QStringLiteral("RELACIONES Y GRUPOS"),
                      {{90, QStringLiteral("Mínimo")},
                       {115, QStringLiteral("Máximo")},
                       {140, QStringLiteral("Valor")}},
                      kUnitBoxWidth,
                      {}});
        for (size_t i = 0; i < lines.size(); ++i) {
            const LimitLine& line = lines[i];
            row(line.nombre, {{90, r_.nutrientFigure(line.minimo)},
                              {115, r_.nutrientFigure(line.maximo)},
                              {140, r_.lineValue(line)}});
            if (i + 1 < lines.size())
                breakIfFull();
        }
        section_.reset();
    }

    void ingredients() {
        const bool costs = r_.includeCosts;
        if (costs)
            startSection({QStringLiteral("INGREDIENTES"),
                          {{90, QStringLiteral("Base Seca")},
                           {125, QStringLiteral("Base Húmeda")},
                           {160, QStringLiteral("Costo Unit.")},
                           {180, QStringLiteral("Cosot Total")}},
                          180,
                          {}});
        else
            startSection({QStringLiteral("INGREDIENTES"),
                          {{90, QStringLiteral("Base Seca")}, {125, QStringLiteral("Base Húmeda")}},
                          140,
                          {}});

        const auto rows = r_.ingredientsInMix();
        for (size_t i = 0; i < rows.size(); ++i) {
            const formulation::IngredientRow& ing = *rows[i];
            std::vector<Figure> figures = {
                {90, r_.quantity(ing.cantidad_seca)},
                {105, r_.share(ing.porcentaje_seca), kSharePoints},
                {125, r_.quantity(ing.cantidad_humeda)},
                {140, r_.share(ing.porcentaje_humeda), kSharePoints},
            };
            if (costs) {
                figures.push_back({160, r_.quantity(ing.costo_humeda)});
                const std::optional<double> cost =
                    ing.cantidad_humeda.value_or(0) * ing.costo_humeda.value_or(0);
                figures.push_back({180, r_.quantity(cost)});
            }
            row(ing.nombre, figures);
            // The totals line stays on the page of the last row: it always fits there.
            if (i + 1 < rows.size())
                breakIfFull();
        }
        section_.reset();
        totals();
    }

    void totals() {
        const auto& boxes = r_.boxes();
        p_.line(13, y_ - 0.5, r_.includeCosts ? 177 : 137, y_ - 0.5);
        p_.setFont(kBodyPoints, true);
        const QString label = QStringLiteral("Materia Seca");
        p_.text(17, y_, label);
        const double matSecaX = std::max(35.0, 17 + p_.width(label) + 1.5);
        p_.setFont(kBodyPoints);
        p_.text(matSecaX, y_, boxes.txtMatSeca);
        std::vector<Figure> figures = {
            {90, boxes.txtCanS, kBodyPoints, true},
            {105, boxes.txtPorS, kSharePoints},
            {125, boxes.txtCanH, kBodyPoints, true},
            {140, boxes.txtPorH, kSharePoints},
        };
        if (r_.includeCosts)
            figures.push_back({180, boxes.txtCosTot, kSharePoints});
        for (const Figure& f : figures) {
            p_.setFont(f.points, f.bold);
            p_.textRight(f.right, y_, f.text);
        }
        y_ += kLine;
    }

    // The nutrients' box reaches past their units.
    static constexpr double kUnitBoxWidth = 160;

    PagePainter& p_;
    const FormulaReport& r_;
    double y_ = kFirstLine;
    int page_ = 0;
    int pages_ = 0;
    std::optional<SectionHeading> section_; // the section under way
};

} // namespace

bool printFormula(QPagedPaintDevice& device, const FormulaReport& report) {
    PagePainter page(device);
    if (!page.active())
        return false;
    FormulaPrintout(page, report).print();
    return page.finish();
}

} // namespace tarvela::reports
