// The comparison laid out as a worksheet.
#include "formulas/comparison.h"

namespace tarvela::formulas {

namespace {

constexpr int kLabelColumn = 3;
const QString kTwoDecimals = QStringLiteral("0.00");
const QString kPercent = QStringLiteral("\"% \"0.00");
const QString kUnitCost = QStringLiteral("0.00##");

// Texts reach the sheet with their double quotes turned into single quotes.
QString cellText(const QString& text) {
    QString out = text;
    out.replace(QLatin1Char('"'), QLatin1Char('\''));
    return out;
}

class ComparisonSheet {
public:
    explicit ComparisonSheet(const Comparison& c) : c_(c) {}

    reports::Sheet build() {
        sheet_.setColumnWidth(1, 0);
        sheet_.setColumnWidth(2, 0);
        sheet_.setColumnWidth(kLabelColumn, 30);
        // Printed, the formulas stay side by side on one page's width.
        sheet_.fitToPageWidth = true;
        forEach([&](int col, const ComparedFormula&) {
            for (int k = 0; k < 3; ++k)
                sheet_.setColumnWidth(col + k, 11);
        });

        label(QString());
        forEach([&](int col, const ComparedFormula& f) {
            text(col, f.listed.codigo);
            text(col + 1, QStringLiteral("Versión ") + f.listed.version);
        });
        const int titleRow = row_;
        label(QStringLiteral("Fórmula"));
        forEach([&](int col, const ComparedFormula& f) { text(col, f.listed.producto); });
        label(QStringLiteral("Ult.Modificación"));
        forEach([&](int col, const ComparedFormula& f) { text(col, f.listed.fechaModificacion); });
        // Each total in one number format across the formulas; the unit costs dry, then as fed,
        // as every output of a formula lists them.
        total(QStringLiteral("Cant.Húmeda"), &ComparedFormula::cantidadHumeda, kTwoDecimals);
        total(QStringLiteral("Cant.Seca"), &ComparedFormula::cantidadSeca, kTwoDecimals);
        total(QStringLiteral("Materia Seca %"), &ComparedFormula::materiaSeca, kTwoDecimals);
        total(QStringLiteral("Costo U.Seca"), &ComparedFormula::costoUSeca, kUnitCost);
        total(QStringLiteral("Costo U.Húmeda"), &ComparedFormula::costoUHumeda, kUnitCost);
        total(QStringLiteral("Costo Total"), &ComparedFormula::costoTotal, kTwoDecimals);
        ++row_; // an empty row

        // Each formula's nutrient values are labelled with the basis they are expressed on:
        // values on different bases are not comparable.
        label(QStringLiteral("Propiedades"));
        const int nutrientHeading = row_;
        forEach([&](int col, const ComparedFormula& f) {
            text(col, QStringLiteral("Valor"));
            text(col + 1,
                 f.nutrientsDry ? QStringLiteral("Base Seca") : QStringLiteral("Base Húmeda"));
        });
        for (const ComparedItem& item : c_.nutrients) {
            label(item.nombre);
            figures(item, {kTwoDecimals, {}, {}});
        }
        ++row_;

        // Ratio and group limits, when any formula has them: the value after the last run.
        int limitsHeading = 0;
        if (!c_.limits.empty()) {
            label(QStringLiteral("Relaciones y Grupos"));
            limitsHeading = row_;
            forEach([&](int col, const ComparedFormula&) { text(col, QStringLiteral("Valor")); });
            for (const ComparedItem& item : c_.limits) {
                label(item.nombre);
                figures(item, {kTwoDecimals, {}, {}});
            }
            ++row_;
        }

        label(QStringLiteral("Ingredientes"));
        const int ingredientHeading = row_;
        forEach([&](int col, const ComparedFormula&) {
            text(col, QStringLiteral("Cant.Seca"));
            text(col + 1, QStringLiteral("%"));
            text(col + 2, QStringLiteral("Costo"));
        });
        for (const ComparedItem& item : c_.ingredients) {
            label(item.nombre);
            figures(item, {kTwoDecimals, kPercent, kTwoDecimals});
        }

        const int last = row_;
        const int lastColumn = kLabelColumn + 3 * static_cast<int>(c_.formulas.size());
        sheet_.setFontSize(titleRow, kLabelColumn, titleRow, lastColumn, 12);
        sheet_.setRowHeight(titleRow, 16);
        for (int heading : {titleRow, nutrientHeading, limitsHeading, ingredientHeading}) {
            if (heading == 0)
                continue;
            sheet_.setFill(heading, kLabelColumn, heading, lastColumn, reports::kHeadingFill);
            sheet_.setBold(heading, kLabelColumn, heading, lastColumn);
        }
        sheet_.frame(2, 1, last, kLabelColumn);
        forEach([&](int col, const ComparedFormula&) { sheet_.frame(1, col, last, col + 2); });
        return sheet_;
    }

private:
    // Starts the next row with its label.
    void label(const QString& nombre) {
        ++row_;
        sheet_.setText(row_, kLabelColumn, cellText(nombre));
    }

    void text(int col, const QString& value) { sheet_.setText(row_, col, cellText(value)); }

    // The first column of each formula.
    template <typename F> void forEach(F&& f) {
        int col = kLabelColumn + 1;
        for (const ComparedFormula& formula : c_.formulas) {
            f(col, formula);
            col += 3;
        }
    }

    void total(const QString& name, double ComparedFormula::*field, const QString& format) {
        label(name);
        forEach([&](int col, const ComparedFormula& f) {
            sheet_.setNumber(row_, col, f.*field, format);
        });
    }

    void figures(const ComparedItem& item, const std::array<QString, 3>& formats) {
        int col = kLabelColumn + 1;
        for (const auto& entry : item.figures) {
            if (entry) {
                for (int k = 0; k < 3; ++k)
                    if ((*entry)[static_cast<size_t>(k)] &&
                        !formats[static_cast<size_t>(k)].isEmpty())
                        sheet_.setNumber(row_, col + k, *(*entry)[static_cast<size_t>(k)],
                                         formats[static_cast<size_t>(k)]);
            }
            col += 3;
        }
    }

    const Comparison& c_;
    reports::Sheet sheet_;
    int row_ = 0;
};

} // namespace

reports::Sheet comparisonSheet(const Comparison& comparison) {
    return ComparisonSheet(comparison).build();
}

} // namespace tarvela::formulas
