#include "imports/number_column.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

namespace tarvela::imports {

namespace {

// How a text is written, before the column decides its separators.
struct TextForm {
    enum class Kind {
        NotNumber,
        Integer,   // no separator, or an exponent without one
        Decimal,   // the decimal separator is `separator`
        Grouped,   // thousands grouped by the separator other than `separator`, no decimals
        Ambiguous, // one separator with three digits after a short whole part: "1,234"
    };
    Kind kind = Kind::NotNumber;
    QChar separator; // Decimal, Grouped: the decimal separator; Ambiguous: the one seen
    QString reason;  // NotNumber: why
    QString sign;
    QString whole;    // digits before the decimal separator, grouping removed
    QString fraction; // digits after it
    QString exponent; // "e-3" or empty
};

const QChar kPoint = QLatin1Char('.');
const QChar kComma = QLatin1Char(',');

QChar other(QChar separator) {
    return separator == kPoint ? kComma : kPoint;
}

QString quoted(const QString& text) {
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

bool allDigits(QStringView text) {
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

// Thousands groups: 1 to 3 digits (not a leading 0), then groups of exactly 3.
bool validGroups(const QString& whole, QChar grouping) {
    const QStringList groups = whole.split(grouping);
    if (groups.front().isEmpty() || groups.front().size() > 3 ||
        groups.front().front() == QLatin1Char('0') || !allDigits(groups.front()))
        return false;
    for (qsizetype i = 1; i < groups.size(); ++i)
        if (groups[i].size() != 3 || !allDigits(groups[i]))
            return false;
    return true;
}

TextForm notNumber(const QString& text, const QString& why = {}) {
    TextForm form;
    form.reason = quoted(text) + QStringLiteral(" no es un número") + why;
    return form;
}

TextForm formOf(const QString& original) {
    const QString text = original.trimmed();
    if (text.contains(QLatin1Char('%')))
        return notNumber(original, QStringLiteral(": quite el signo %"));
    for (const QChar c : text)
        if (c.category() == QChar::Symbol_Currency)
            return notNumber(original, QStringLiteral(": quite el signo de moneda"));

    TextForm form;
    QStringView rest(text);
    if (!rest.isEmpty() && (rest.front() == QLatin1Char('-') || rest.front() == QLatin1Char('+'))) {
        form.sign = rest.front() == QLatin1Char('-') ? QStringLiteral("-") : QString();
        rest = rest.mid(1);
    }
    const qsizetype e = rest.indexOf(QLatin1Char('e'), 0, Qt::CaseInsensitive);
    QStringView mantissa = rest;
    if (e >= 0) {
        QStringView power = rest.mid(e + 1);
        if (!power.isEmpty() &&
            (power.front() == QLatin1Char('-') || power.front() == QLatin1Char('+')))
            power = power.mid(1);
        if (power.isEmpty() || !allDigits(power))
            return notNumber(original);
        form.exponent = QLatin1Char('e') + rest.mid(e + 1).toString();
        mantissa = rest.left(e);
    }
    int digits = 0;
    int points = 0;
    int commas = 0;
    for (const QChar c : mantissa) {
        if (c == kPoint)
            ++points;
        else if (c == kComma)
            ++commas;
        else if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            ++digits;
        else
            return notNumber(original);
    }
    if (digits == 0)
        return notNumber(original);
    const QString m = mantissa.toString();

    if (points + commas == 0) {
        form.kind = TextForm::Kind::Integer;
        form.whole = m;
        return form;
    }
    if (!form.exponent.isEmpty()) {
        // An exponent leaves no room for thousands: the one separator is the decimal one.
        if (points + commas > 1)
            return notNumber(original);
        form.separator = points ? kPoint : kComma;
        form.kind = TextForm::Kind::Decimal;
    } else if (points && commas) {
        const QChar decimal = m.lastIndexOf(kPoint) > m.lastIndexOf(kComma) ? kPoint : kComma;
        if ((decimal == kPoint ? points : commas) != 1)
            return notNumber(original);
        form.separator = decimal;
        form.kind = TextForm::Kind::Decimal;
        const QString whole = m.left(m.indexOf(decimal));
        if (!validGroups(whole, other(decimal)))
            return notNumber(original);
    } else if (points + commas > 1) {
        const QChar grouping = points ? kPoint : kComma;
        if (!validGroups(m, grouping))
            return notNumber(original);
        form.separator = other(grouping);
        form.kind = TextForm::Kind::Grouped;
        form.whole = QString(m).remove(grouping);
        return form;
    } else {
        const QChar separator = points ? kPoint : kComma;
        const QString whole = m.left(m.indexOf(separator));
        const qsizetype decimals = m.size() - whole.size() - 1;
        form.separator = separator;
        const bool couldGroup = decimals == 3 && !whole.isEmpty() && whole.size() <= 3 &&
                                whole.front() != QLatin1Char('0');
        form.kind = couldGroup ? TextForm::Kind::Ambiguous : TextForm::Kind::Decimal;
    }
    const qsizetype at = m.lastIndexOf(form.separator);
    form.whole = m.left(at).remove(other(form.separator));
    form.fraction = m.mid(at + 1);
    return form;
}

// The value of the digits in C form; nothing when it is not finite.
std::optional<double> valueOf(const TextForm& form, bool asDecimal) {
    QString c = form.sign + (form.whole.isEmpty() ? QStringLiteral("0") : form.whole);
    if (asDecimal && !form.fraction.isEmpty())
        c += kPoint + form.fraction;
    else if (!asDecimal)
        c += form.fraction;
    c += form.exponent;
    const QByteArray latin = c.toLatin1();
    double value = 0;
    const auto [end, ec] =
        std::from_chars(latin.constData(), latin.constData() + latin.size(), value);
    if (ec != std::errc() || end != latin.constData() + latin.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace

std::vector<NumberCell> readNumberColumn(const std::vector<const files::Cell*>& cells) {
    std::vector<NumberCell> out(cells.size());
    std::vector<TextForm> forms(cells.size());
    std::vector<bool> pending(cells.size()); // texts, read once the column's separator is known
    int pointVotes = 0;
    int commaVotes = 0;
    for (size_t i = 0; i < cells.size(); ++i) {
        const files::Cell* cell = cells[i];
        if (!cell || cell->isEmpty() ||
            (cell->kind == files::Cell::Kind::Text && cell->text.trimmed().isEmpty()))
            continue;
        NumberCell& result = out[i];
        switch (cell->kind) {
        case files::Cell::Kind::Number:
            result = {NumberCell::State::Number, cell->number, {}};
            continue;
        case files::Cell::Kind::Boolean:
            result = {NumberCell::State::Refused, 0,
                      quoted(cell->display()) + QStringLiteral(" no es un número")};
            continue;
        case files::Cell::Kind::Error:
            result = {NumberCell::State::Refused, 0,
                      QStringLiteral("la celda tiene el error ") + cell->text};
            continue;
        case files::Cell::Kind::Empty:
        case files::Cell::Kind::Text:
            break;
        }
        forms[i] = formOf(cell->text);
        const TextForm& form = forms[i];
        if (form.kind == TextForm::Kind::Decimal || form.kind == TextForm::Kind::Grouped)
            ++(form.separator == kPoint ? pointVotes : commaVotes);
        pending[i] = true;
    }

    const std::optional<QChar> decimal = pointVotes > commaVotes   ? std::optional<QChar>(kPoint)
                                         : commaVotes > pointVotes ? std::optional<QChar>(kComma)
                                                                   : std::nullopt;
    for (size_t i = 0; i < cells.size(); ++i) {
        if (!pending[i])
            continue;
        const TextForm& form = forms[i];
        const QString text = cells[i]->text.trimmed();
        std::optional<double> value;
        QString reason;
        switch (form.kind) {
        case TextForm::Kind::NotNumber:
            reason = form.reason;
            break;
        case TextForm::Kind::Integer:
            value = valueOf(form, true);
            break;
        case TextForm::Kind::Decimal:
        case TextForm::Kind::Grouped:
            if (!decimal)
                reason =
                    quoted(text) + QStringLiteral(" no se puede leer: la columna usa tanto ',' "
                                                  "como '.' como separador decimal");
            else if (*decimal != form.separator)
                reason =
                    quoted(text) + QStringLiteral(" usa '%1' como separador decimal y el resto "
                                                  "de la columna usa '%2'")
                                       .arg(form.separator, *decimal);
            else
                value = valueOf(form, true);
            break;
        case TextForm::Kind::Ambiguous:
            if (decimal)
                value = valueOf(form, *decimal == form.separator);
            else
                reason = quoted(text) + QStringLiteral(" es ambiguo: la columna no muestra si '%1' "
                                                       "separa decimales o miles")
                                            .arg(form.separator);
            break;
        }
        if (reason.isEmpty() && !value)
            reason = quoted(text) + QStringLiteral(" está fuera del rango de los números");
        out[i] = value ? NumberCell{NumberCell::State::Number, *value, {}}
                       : NumberCell{NumberCell::State::Refused, 0, reason};
    }
    return out;
}

bool sameValue(const std::optional<double>& a, const std::optional<double>& b) {
    if (!a || !b)
        return a.has_value() == b.has_value();
    return *a == *b || std::fabs(*a - *b) <= 1e-15 * std::max(std::fabs(*a), std::fabs(*b));
}

} // namespace tarvela::imports
