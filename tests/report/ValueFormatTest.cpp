// Display formats: number layouts, the predefined formats of each category, and the " #"
// overrides of expressions.
#include <gtest/gtest.h>

#include <QLocale>

#include "QtPrinters.h"
#include "base/DateTime.h"
#include "report/expr/NumberFormat.h"
#include "report/expr/ReportVariant.h"
#include "report/expr/ValueFormat.h"
#include "report/runtime/RunContext.h"

namespace {

TEST(NumberLayouts, FormatFloat)
{
    const struct {
        const char* layout;
        double value;
        char separator;
        const char* text;
    } cases[] = {
        {"##0.", 1234.5, ',', "1235"},
        {"##0.#", 1234.56, ',', "1234,6"},
        {"##0.##", 0.5, '.', "0.5"},
        {"##0.##", 2, ',', "2"},
        {"##0.###", -1.0005, ',', "-1,001"},   // halves round away from zero on decimal digits
        {"0.0", 0.15, ',', "0,2"},
        {"0.00", 0.125, '.', "0.13"},
        {"#,##0.00", 1234567.891, ',', "1 234 567,89"},
        {"#,##0.00", 999.999, '.', "1 000.00"},
        {"#,##0.00", -0.004, ',', "0,00"},     // rounds to zero: no sign
        {"0.00;(0.00);zero", -1.5, ',', "(1,50)"},
        {"0.00;(0.00);zero", 0, ',', "zero"},
        {"0.00;(0.00);zero", 0.001, ',', "zero"},
        {"0.00;;zero", -2, ',', "-2,00"},      // an empty negative section: the first, signed
        {"000", 7, ',', "007"},
        {"#", 0, ',', ""},
        {".00", 12.5, ',', "12,50"},
        {"0.00E+00", 12345, ',', "1,23E+04"},
        {"0.0E-0", 0.00125, '.', "1.3E-3"},
        {"'№ '0\" шт\"", 5, ',', "№ 5 шт"},
        {"0-0", 123, ',', "12-3"},
        {"", 1.5, ',', "1,5"},                 // no layout: the general form
        {"", -1e20, '.', "-1E20"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatFloat(QString::fromUtf8(c.layout), c.value, QLatin1Char(c.separator), QLatin1Char(' ')),
                  QString::fromUtf8(c.text))
            << c.layout << " " << c.value;
}

TEST(NumberLayouts, FixedAndNumber)
{
    EXPECT_EQ(FloatToStrFixed(2.5, 0, QLatin1Char('.')), QStringLiteral("3"));
    EXPECT_EQ(FloatToStrFixed(1234.5678, 2, QLatin1Char(',')), QStringLiteral("1234,57"));
    EXPECT_EQ(FloatToStrFixed(0.5, 3, QLatin1Char('.')), QStringLiteral("0.500"));
    EXPECT_EQ(FloatToStrFixed(-0.001, 2, QLatin1Char('.')), QStringLiteral("0.00"));
    EXPECT_EQ(FloatToStrFixed(-12.345, 1, QLatin1Char('.')), QStringLiteral("-12.3"));
    EXPECT_EQ(FloatToStrFixed(1e16, 2, QLatin1Char('.')), QStringLiteral("1E16"));
    EXPECT_EQ(FloatToStrNumber(1234567.5, 1, QLatin1Char(','), QLatin1Char(' ')), QStringLiteral("1 234 567,5"));
    EXPECT_EQ(FloatToStrNumber(-999.5, 0, QLatin1Char(','), QLatin1Char(' ')), QStringLiteral("-1 000"));
}

class DisplayFormats : public ::testing::Test {
protected:
    DisplayFormats() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }
    ~DisplayFormats() override { QLocale::setDefault(QLocale::c()); }

    TrpRunContext context;
};

TEST_F(DisplayFormats, ValuesByFormatWord)
{
    const QString nbsp(QChar(0xA0));   // the platform's thousands separator
    const QVariant when = VarFromDateTime(EncodeDateTime(1998, 11, 15, 2, 43, 35, 0));
    const struct {
        QVariant value;
        uint32_t format;
        const char* formatText;
        QString text;
    } cases[] = {
        {12.5, 0x22E, "", QStringLiteral("12,5")},                       // text: the platform's form
        {QStringLiteral("abc"), 0x2C, "", QStringLiteral("abc")},
        {1234.567, MakeFormat(fcNumber, 0, 0, ','), "", QStringLiteral("1235")},
        {1234.567, MakeFormat(fcNumber, 0, 2, ','), "", QStringLiteral("1234,57")},
        {1234.5, MakeFormat(fcNumber, 0, 3, '.'), "", QStringLiteral("1234.5")},
        {2.5, MakeFormat(fcNumber, 1, 0, '.'), "", QStringLiteral("3")},
        {1234.567, MakeFormat(fcNumber, 1, 1, ','), "", QStringLiteral("1234,6")},
        {QStringLiteral("3,25"), MakeFormat(fcNumber, 1, 3, '.'), "", QStringLiteral("3.250")},
        {1234.567, MakeFormat(fcNumber, 2, 1, ','), "", QStringLiteral("1") + nbsp + QStringLiteral("234,6")},
        {1234567.0, MakeFormat(fcNumber, 3, 2, '.'), "", QStringLiteral("1") + nbsp + QStringLiteral("234") + nbsp + QStringLiteral("567.00")},
        {-5.5, MakeFormat(fcNumber, 4, 0, '.'), "0.0;[0.0]", QStringLiteral("[5.5]")},
        {7.25, MakeFormat(fcNumber, 1, 2, 0), "", QStringLiteral("7,25")},   // no separator: the platform's
        {7.25, MakeFormat(fcNumber, 9, 2, '.'), "", QStringLiteral("7,25")},  // no such index: plain text
        {when, MakeFormat(fcDate, 0), "", QStringLiteral("11.15.98")},
        {when, MakeFormat(fcDate, 1), "", QStringLiteral("11.15.1998")},
        {when, MakeFormat(fcDate, 2), "", QStringLiteral("15 ноя 1998")},
        {when, MakeFormat(fcDate, 3), "", QStringLiteral("15 ноября 1998 г.")},
        {when, MakeFormat(fcDate, 4), "dd.mm.yyyy hh:mm", QStringLiteral("15.11.1998 02:43")},
        {when, MakeFormat(fcTime, 0), "", QStringLiteral("02:43:35")},
        {when, MakeFormat(fcTime, 1), "", QStringLiteral("2:43:35")},
        {when, MakeFormat(fcTime, 2), "", QStringLiteral("02:43")},
        {when, MakeFormat(fcTime, 3), "", QStringLiteral("2:43")},
        {when, MakeFormat(fcTime, 4), "h:mm", QStringLiteral("2:43")},     // "mm" after an hour: minutes
        {true, MakeFormat(fcBoolean, 0), "", QStringLiteral("1")},
        {false, MakeFormat(fcBoolean, 1), "", QStringLiteral("No")},
        {true, MakeFormat(fcBoolean, 1), "", QStringLiteral("Yes")},
        {true, MakeFormat(fcBoolean, 2), "", QStringLiteral("x")},
        {false, MakeFormat(fcBoolean, 3), "", QStringLiteral("False")},
        {1, MakeFormat(fcBoolean, 4), "нет;да", QStringLiteral("да")},
        {false, MakeFormat(fcBoolean, 4), "да", QString()},
        {QStringLiteral("abc"), MakeFormat(fcNumber, 1, 2, '.'), "", QStringLiteral("abc")},   // fails: plain text
        {QStringLiteral("abc"), MakeFormat(fcDate, 0), "", QStringLiteral("abc")},
        {QStringLiteral("abc"), MakeFormat(fcBoolean, 1), "", QStringLiteral("abc")},
        {VarNull(), MakeFormat(fcNumber, 1, 2, '.'), "", QString()},
        {QVariant(), 0x22E, "", QString()},
        {QStringLiteral("  "), 0x22E, "", QString()},
        {5, MakeFormat(5, 0), "", QString()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatReportValue(context, c.value, c.format, QString::fromUtf8(c.formatText)), c.text)
            << std::hex << c.format << " " << c.formatText;
    EXPECT_EQ(QLocale().decimalPoint(), QStringLiteral(","));   // never changed by formatting
}

TEST(FormatOverrides, CutOffAndApplied)
{
    const uint32_t own = 0x22E;
    const struct {
        const char* expression;
        const char* rest;
        uint32_t format;
        const char* formatText;
    } cases[] = {
        {"x #N0,2", "x", MakeFormat(fcNumber, 1, 2, ','), "own"},
        {"x #n#,##0.00", "x", MakeFormat(fcNumber, 4, 0, '.'), "#,##0.00"},
        {"x #N#.##0,00", "x", MakeFormat(fcNumber, 4, 0, ','), "#.##0.00"},
        {"x #0.3", "x", MakeFormat(fcNumber, 1, 3, '.'), "own"},   // a leading digit: an N in front
        {"x #N2", "x", MakeFormat(fcNumber, 1, 0, 0), "own"},      // decimals follow a separator only
        {"x #N1-", "x", MakeFormat(fcNumber, 1, 0, '-'), "own"},
        {"DATE #Ddd.mm.yyyy", "DATE", MakeFormat(fcDate, 4), "dd.mm.yyyy"},
        {"TIME #thh:nn", "TIME", MakeFormat(fcDate, 4), "hh:nn"},
        {"b #BNo;Yes", "b", MakeFormat(fcBoolean, 4), "No;Yes"},
        {"x #Q", "x", own, "own"},
        {"x #", "x", own, "own"},
        {"a #1 #2", "a", MakeFormat(fcNumber, 1, 0, 0), "own"},
        {"x#N2", "x#N2", own, "own"},
        {"#a#b #N0,2", "#a#b", MakeFormat(fcNumber, 1, 2, ','), "own"},
        {" #N0,2", "", MakeFormat(fcNumber, 1, 2, ','), "own"},
    };
    for (const auto& c : cases) {
        QString expression = QString::fromLatin1(c.expression);
        uint32_t format = own;
        QString formatText = QStringLiteral("own");
        ApplyFormatOverride(expression, format, formatText);
        EXPECT_EQ(expression, QString::fromLatin1(c.rest)) << c.expression;
        EXPECT_EQ(format, c.format) << c.expression;
        EXPECT_EQ(formatText, QString::fromLatin1(c.formatText)) << c.expression;
    }
}

}  // namespace
