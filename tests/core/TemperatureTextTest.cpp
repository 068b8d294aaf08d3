#include "core/TITPoint.h"
#include "core/TemperatureText.h"

#include <gtest/gtest.h>

#include <QLocale>

namespace {

// The tests compare with a point separator; the shown separator is the locale's.
QString Shown(int precision, double value)
{
    QString text = FormatTemperature(precision, value);
    return text.replace(QLocale().decimalPoint(), QStringLiteral("."));
}

} // namespace

TEST(FormatTemperature, TableOfPrecisionsAndValues)
{
    struct Case {
        int precision;
        double value;
        const char* shown;
    };
    const Case cases[] = {
        // half-degree rounding
        {4, 21.2, " 21.0"}, {4, 21.5, " 21.5"}, {4, 21.7, " 22.0"}, {4, -2.7, " -2.0"},
        {4, 21.35, " 21.5"},   // 21.35 is a little above 21.35 in binary: over the 0.35 bound
        {4, 21.25, " 21.0"}, {4, 21.65, " 21.5"}, {4, 21.66, " 22.0"}, {4, 7.0, "  7.0"},
        {4, -0.3, "  0.0"}, {9, 21.7, " 22.0"}, {4, 123.9, "124.0"}, {4, 1234.6, "1234.5"},
        // fixed decimals, right-aligned in five characters
        {0, 21.6, "   22"}, {0, 21.4, "   21"}, {0, 21.5, "   22"}, {0, 22.5, "   22"},   // ties to even
        {1, 21.25, " 21.2"}, {1, 21.75, " 21.8"}, {1, -5.04, " -5.0"},
        {2, 3.14159, " 3.14"}, {3, 21.0, "21.000"}, {3, -1.5, "-1.500"}, {1, 100.0, "100.0"},
        {-1, 21.6, "   22"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Shown(c.precision, c.value), QString::fromLatin1(c.shown)) << c.precision << " " << c.value;
}

TEST(FormatTemperature, UsesTheLocalesDecimalSeparator)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    EXPECT_EQ(FormatTemperature(1, 21.25), QStringLiteral(" 21,2"));
    EXPECT_EQ(FormatTemperature(4, 21.5), QStringLiteral(" 21,5"));
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(FormatTemperature(1, 21.25), QStringLiteral(" 21.2"));
    QLocale::setDefault(saved);
}

TEST(TTITPoint, SetTimeComputesTheUnixTime)
{
    TTITPoint point;
    point.SetTime(EncodeDateTime(1970, 1, 1, 12, 0, 0, 0));
    EXPECT_EQ(point.UnixTime, 43200);
    EXPECT_EQ(point.Days(), 25569);

    point.SetTime(EncodeDateTime(2024, 2, 29, 23, 59, 59, 600));   // rounds to the next second
    EXPECT_EQ(point.UnixTime, 1709251200);
    EXPECT_EQ(point.Days(), static_cast<int64_t>(EncodeDate(2024, 2, 29)));
}
