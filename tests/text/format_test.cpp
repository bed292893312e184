#include "text/format.h"

#include <gtest/gtest.h>

#include <QLocale>

using tarvela::text::formatDate;
using tarvela::text::formatNumber;
using tarvela::text::formatValue;
using tarvela::text::parseUserNumber;
using tarvela::text::roundDecimal;

namespace {

QString fmt(double value, const char* pattern, char separator = '.') {
    return formatNumber(value, QString::fromLatin1(pattern), QChar::fromLatin1(separator));
}

TEST(FormatNumber, RoundsHalfAwayFromZeroOnTheVisibleDecimalValue) {
    EXPECT_EQ(fmt(99.995, "0.00"), "100.00");
    EXPECT_EQ(fmt(0.125, "0.00"), "0.13");
    EXPECT_EQ(fmt(1.005, "0.00"), "1.01"); // binary 1.00499999... shows as 1.005
    EXPECT_EQ(fmt(2.675, "#####0.00"), "2.68");
    EXPECT_EQ(fmt(-2.5, "0"), "-3");
    EXPECT_EQ(fmt(2.5, "0"), "3");
    EXPECT_EQ(fmt(0.4, "0"), "0");
    EXPECT_EQ(fmt(-0.001, "0.00"), "0.00"); // no negative zero
    EXPECT_EQ(fmt(1e20, "0.00"), "100000000000000000000.00");
    EXPECT_EQ(fmt(0.1 + 0.2, "0.00########"), "0.30");
}

TEST(FormatNumber, LeadingHashDigitsAreOptional) {
    EXPECT_EQ(fmt(10.0 / 3, "##.00"), "3.33");
    EXPECT_EQ(fmt(0.5, "##.00"), ".50");
    EXPECT_EQ(fmt(0.5, "#####0.00"), "0.50");
    EXPECT_EQ(fmt(1234.56, "########0.0"), "1234.6");
    EXPECT_EQ(fmt(123456789, "##0.00"), "123456789.00"); // more digits than placeholders
    EXPECT_EQ(fmt(5, "00.0"), "05.0");
}

TEST(FormatNumber, TrailingHashDecimalsShowOnlyWhenNeeded) {
    EXPECT_EQ(fmt(1.5, "#####0.00#"), "1.50");
    EXPECT_EQ(fmt(1.234, "#####0.00#"), "1.234");
    EXPECT_EQ(fmt(1.23456, "#####0.00#"), "1.235");
    EXPECT_EQ(fmt(1.23456, "0.00##"), "1.2346");
    EXPECT_EQ(fmt(2, "0.00##"), "2.00");
    EXPECT_EQ(fmt(1.0 / 3, "0.00########"), "0.3333333333");
    EXPECT_EQ(fmt(12.5, "#####0.00########"), "12.50");
    EXPECT_EQ(fmt(0.00012, "0.00###"), "0.00012");
}

TEST(FormatNumber, PercentMultipliesByHundred) {
    EXPECT_EQ(fmt(0.125, "##0.00%"), "12.50%");
    EXPECT_EQ(fmt(0.0001234, "##0.00%"), "0.01%");
    EXPECT_EQ(fmt(1, "##0.00%"), "100.00%");
}

TEST(FormatNumber, UsesTheGivenSeparatorAndKeepsLiterals) {
    EXPECT_EQ(fmt(10.0 / 3, "##.00", ','), "3,33");
    EXPECT_EQ(fmt(0.2, "0.0000", ','), "0,2000");
    EXPECT_EQ(fmt(-1234.5, "#####0.000", ','), "-1234,500");
    EXPECT_EQ(fmt(3.1815, "#####0.00000"), "3.18150");
    EXPECT_EQ(fmt(12.5, "0.0 \"kg\""), "12.5 kg");
    EXPECT_EQ(fmt(1234567.891, "#,##0.00"), "1,234,567.89");
    EXPECT_EQ(fmt(1234567.891, "#,##0.00", ','), "1.234.567,89");
    EXPECT_EQ(fmt(2.5, ""), "2.5");
    EXPECT_EQ(fmt(200.0 / 100, "0.00", ','), "2,00");
    EXPECT_EQ(fmt(3, "0"), "3");
}

TEST(FormatDate, DayMonthYearPatterns) {
    const QDate date(2026, 3, 7);
    EXPECT_EQ(formatDate(date, "dd/mm/yyyy"), "07/03/2026");
    EXPECT_EQ(formatDate(date, "mm/dd/yyyy"), "03/07/2026");
    EXPECT_EQ(formatDate(date, "d/m/yy"), "7/3/26");
    EXPECT_EQ(formatDate(QDate(), "dd/mm/yyyy"), "");
}

TEST(FormatValue, NumbersDatesTextsAndNull) {
    EXPECT_EQ(formatValue(QVariant(), "0.00", '.'), "");
    EXPECT_EQ(formatValue(QVariant(qlonglong(5)), "0.00", ','), "5,00");
    EXPECT_EQ(formatValue(QVariant(0.25), "##0.00%", '.'), "25.00%");
    EXPECT_EQ(formatValue(QVariant(QDate(2026, 12, 31)), "dd/mm/yyyy", '.'), "31/12/2026");
    EXPECT_EQ(formatValue(QVariant(QString("2026-12-31")), "dd/mm/yyyy", '.'), "31/12/2026");
    EXPECT_EQ(formatValue(QVariant(QString("3.5")), "0.00", ','), "3,50");
    EXPECT_EQ(formatValue(QVariant(QString("Maíz")), "0.00", '.'), "Maíz");
    EXPECT_EQ(formatValue(QVariant(QString("texto")), "dd/mm/yyyy", '.'), "texto");
}

TEST(RoundDecimal, MatchesTheDisplayedValue) {
    EXPECT_DOUBLE_EQ(roundDecimal(2.675, 2), 2.68);
    EXPECT_DOUBLE_EQ(roundDecimal(-1.005, 2), -1.01);
    EXPECT_DOUBLE_EQ(roundDecimal(99.995, 2), 100.0);
    EXPECT_DOUBLE_EQ(roundDecimal(1.23456789, 4), 1.2346);
    EXPECT_EQ(roundDecimal(1e-20, 2), 0.0);
    EXPECT_DOUBLE_EQ(roundDecimal(123.0, 0), 123.0);
}

TEST(ParseUserNumber, AcceptsEitherSeparatorAndRejectsGarbage) {
    EXPECT_EQ(parseUserNumber("3,5"), 3.5);
    EXPECT_EQ(parseUserNumber(" 3.5 "), 3.5);
    EXPECT_EQ(parseUserNumber("-2"), -2.0);
    EXPECT_EQ(parseUserNumber("+.5"), 0.5);
    EXPECT_EQ(parseUserNumber("5."), 5.0);
    EXPECT_EQ(parseUserNumber("1000"), 1000.0);
    EXPECT_FALSE(parseUserNumber(""));
    EXPECT_FALSE(parseUserNumber("   "));
    EXPECT_FALSE(parseUserNumber("abc"));
    EXPECT_FALSE(parseUserNumber("1.2.3"));
    EXPECT_FALSE(parseUserNumber("1,2,3"));
    EXPECT_FALSE(parseUserNumber("12a"));
    EXPECT_FALSE(parseUserNumber("-"));
    EXPECT_FALSE(parseUserNumber("."));
}

TEST(WorkstationSeparator, FollowsTheDefaultLocale) {
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Argentina));
    EXPECT_EQ(tarvela::text::workstationDecimalSeparator(), QChar(u','));
    // The start-up test: 10/3 with "##.00" in the workstation's settings.
    EXPECT_EQ(fmt(10.0 / 3, "##.00", tarvela::text::workstationDecimalSeparator().toLatin1()),
              "3,33");
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(tarvela::text::workstationDecimalSeparator(), QChar(u'.'));
    QLocale::setDefault(saved);
}

} // namespace
