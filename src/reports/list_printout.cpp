#include "reports/list_printout.h"

#include "grid/grid_paint.h"
#include "reports/page_painter.h"
#include "text/format.h"

#include <QStringList>

#include <algorithm>

namespace tarvela::reports {

namespace {

constexpr double kLeft = 15;
constexpr double kTop = 12;
constexpr double kBottomMargin = 15;
constexpr double kLine = 5;
constexpr double kPad = 1.5; // inside each column, on both sides
constexpr double kDetailPoints = 9;
constexpr double kHeadingPoints = 8.5;

const QString kTwoDecimals = QStringLiteral("0.00");

ListColumn column(const char* heading, const char* field, double width, bool right = false,
                  const QString& numberFormat = {}) {
    return {QString::fromUtf8(heading), QString::fromUtf8(field), width, right, numberFormat};
}

class ListPrintout {
public:
    ListPrintout(PagePainter& page, const ListLayout& layout, const db::Result& rows,
                 const QDate& today, QChar separator)
        : p_(page), layout_(layout), rows_(rows), today_(today), separator_(separator) {
        for (const ListColumn& c : layout_.columns)
            sources_.push_back(rows_.columnIndex(c.field));
    }

    int print() {
        pageHeader();
        const double bottom = p_.pageHeight() - kBottomMargin;
        for (int r = 0; r < rows_.rowCount(); ++r) {
            p_.setFont(kDetailPoints);
            if (y_ + kLine * lineCount(r) > bottom) {
                p_.newPage();
                pageHeader();
            }
            detail(r);
        }
        return page_;
    }

private:
    // The page header band: title, date and page number, the column headings and a rule.
    void pageHeader() {
        ++page_;
        const double right = kLeft + totalWidth();
        p_.setFont(14, true);
        p_.text(kLeft, kTop, layout_.title);
        p_.setFont(kHeadingPoints);
        const QString date = text::formatDate(today_, QStringLiteral("dd/mm/yyyy"));
        const QString number = QString::number(page_);
        const double valueWidth = std::max(p_.width(date), p_.width(number));
        const double labelRight = right - valueWidth - 2;
        p_.textRight(labelRight, kTop, QStringLiteral("Fecha"));
        p_.textRight(right, kTop, date);
        p_.textRight(labelRight, kTop + 4.5, QStringLiteral("Página"));
        p_.textRight(right, kTop + 4.5, number);

        const double headingY = kTop + 14;
        p_.setFont(kHeadingPoints, true);
        double x = kLeft;
        for (const ListColumn& c : layout_.columns) {
            place(x, headingY, c, c.heading);
            x += c.width;
        }
        p_.line(kLeft, headingY + 5, right, headingY + 5);
        y_ = headingY + 7;
    }

    QString fieldText(int r, size_t c) const {
        const QVariant value = sources_[c] >= 0 ? rows_.value(r, sources_[c]) : QVariant();
        return listFieldText(layout_.columns[c], value, separator_);
    }

    // A wrapping column's text in lines that fit its width, broken at spaces (a word wider than
    // the column is shortened).
    QStringList wrapped(const ListColumn& column, const QString& text) const {
        const double room = column.width - 2 * kPad;
        QStringList lines;
        QString line;
        for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const QString longer = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
            if (!line.isEmpty() && p_.width(longer) > room) {
                lines << line;
                line = word;
            } else {
                line = longer;
            }
        }
        lines << line;
        // The leading blanks of an indented text stay on its first line.
        qsizetype indent = 0;
        while (indent < text.size() && text[indent] == QLatin1Char(' '))
            ++indent;
        lines[0].prepend(QString(indent, QLatin1Char(' ')));
        return lines;
    }

    int lineCount(int r) const {
        int lines = 1;
        for (size_t c = 0; c < layout_.columns.size(); ++c)
            if (layout_.columns[c].wraps)
                lines = std::max(
                    lines, static_cast<int>(wrapped(layout_.columns[c], fieldText(r, c)).size()));
        return lines;
    }

    void detail(int r) {
        p_.setFont(kDetailPoints);
        double x = kLeft;
        int lines = 1;
        for (size_t c = 0; c < layout_.columns.size(); ++c) {
            const ListColumn& column = layout_.columns[c];
            const QString text = fieldText(r, c);
            if (column.wraps) {
                const QStringList parts = wrapped(column, text);
                for (int k = 0; k < parts.size(); ++k)
                    place(x, y_ + k * kLine, column, parts[k]);
                lines = std::max(lines, static_cast<int>(parts.size()));
            } else {
                place(x, y_, column, text);
            }
            x += column.width;
        }
        y_ += kLine * lines;
    }

    // A text inside its column, shortened with "…" when wider than the column.
    void place(double x, double y, const ListColumn& column, const QString& text) {
        const QString shown = p_.fitted(text, column.width - 2 * kPad);
        if (column.right)
            p_.textRight(x + column.width - kPad, y, shown);
        else
            p_.text(x + kPad, y, shown);
    }

    double totalWidth() const {
        double total = 0;
        for (const ListColumn& c : layout_.columns)
            total += c.width;
        return total;
    }

    PagePainter& p_;
    const ListLayout& layout_;
    const db::Result& rows_;
    QDate today_;
    QChar separator_;
    std::vector<int> sources_;
    int page_ = 0;
    double y_ = 0;
};

} // namespace

const ListLayout& ingredientListLayout() {
    // Each figure under its own heading: the dry matter under "Materia Seca", the price under
    // "Costo".
    static const ListLayout layout{QStringLiteral("repIngredientes"),
                                   QStringLiteral("Ingredientes"),
                                   {column("Código", "codigo", 24, true),
                                    column("Descripción", "nombre", 96),
                                    column("Materia Seca", "materia_seca", 30, true, kTwoDecimals),
                                    column("Costo", "costo", 30, true, kTwoDecimals)}};
    return layout;
}

const ListLayout& nutrientListLayout() {
    static const ListLayout layout{
        QStringLiteral("repNutrientes"),
        QStringLiteral("Nutrientes"),
        {column("Descripción", "nombre", 120), column("Unidad", "unidad", 60)}};
    return layout;
}

const ListLayout& formulaListLayout() {
    static const ListLayout layout{
        QStringLiteral("repFormulas"),
        QStringLiteral("Fórmulas"),
        {column("Código", "codigo", 24, true), column("Versión", "version", 17, true),
         column("Producto", "producto", 69), column("Fecha Creación", "fecha_creacion", 32),
         column("Última modificación", "fecha_modificacion", 38)}};
    return layout;
}

QString catalogListStatement(const QString& lastSelect) {
    return lastSelect + QStringLiteral(" order by nombre");
}

QString listFieldText(const ListColumn& column, const QVariant& value, QChar decimalSeparator) {
    if (value.isNull())
        return QString();
    if (!column.numberFormat.isEmpty())
        return text::formatValue(value, column.numberFormat, decimalSeparator);
    if (value.typeId() == QMetaType::Double)
        return grid::rawCellText(value.toDouble(), decimalSeparator);
    return value.toString().trimmed();
}

int printList(QPagedPaintDevice& device, const ListLayout& layout, const db::Result& rows,
              const QDate& today, QChar decimalSeparator) {
    PagePainter page(device);
    if (!page.active())
        return 0;
    const int pages = ListPrintout(page, layout, rows, today, decimalSeparator).print();
    return page.finish() ? pages : 0;
}

} // namespace tarvela::reports
