// Expression values: their kinds, text forms, arithmetic and comparison.
#include <gtest/gtest.h>

#include <QLocale>

#include <cmath>
#include <cstdio>
#include <iomanip>
#include <random>
#include <vector>

#include "QtPrinters.h"
#include "report/runtime/ReportErrors.h"
#include "report/expr/ReportVariant.h"
#include "report/expr/VariantOps.h"

namespace {

class VariantValues : public ::testing::Test {
protected:
    VariantValues() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }
    ~VariantValues() override { QLocale::setDefault(QLocale::c()); }
};

TEST_F(VariantValues, UnassignedAndNullStayApart)
{
    EXPECT_EQ(VarKind(QVariant()), TVarKind::Empty);
    EXPECT_EQ(VarKind(VarNull()), TVarKind::Null);
    EXPECT_FALSE(VarIsNull(QVariant()));
    EXPECT_TRUE(VarIsNull(VarNull()));
    EXPECT_EQ(VarKind(VarFromDateTime(1.5)), TVarKind::DateTime);
    EXPECT_EQ(VarFromInt(5).typeId(), QMetaType::Int);
    EXPECT_EQ(VarFromInt(int64_t(1) << 40).typeId(), QMetaType::LongLong);
}

TEST_F(VariantValues, TextForms)
{
    const std::pair<QVariant, const char*> cases[] = {
        {QVariant(), ""},
        {VarNull(), ""},
        {true, "True"},
        {-12, "-12"},
        {2.5, "2,5"},
        {1e20, "1E20"},
        {1.5e-7, "1,5E-7"},
        {0.0001, "0,0001"},
        {1.0 / 3, "0,333333333333333"},
        {QStringLiteral("Текст"), "Текст"},
        {VarFromDateTime(EncodeDateTime(2021, 3, 2, 14, 5, 9, 0)), "02.03.2021 14:05:09"},
        {VarFromDateTime(EncodeDate(2021, 3, 2)), "02.03.2021"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(VarToStr(value), QString::fromUtf8(text)) << text;
}

// A number's text holds what "%.15g" prints, with the locale's separator and "E" before a bare
// exponent: checked over values of every size, those with more than 15 digits among them.
TEST_F(VariantValues, NumberTextsAreFifteenDigitsRounded)
{
    auto expected = [](double value) {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.15g", value);
        QString text = QString::fromLatin1(buffer).replace(QLatin1Char('.'), QLatin1Char(','));
        const qsizetype e = text.indexOf(QLatin1Char('e'));
        if (e >= 0)
            text = text.left(e) + QLatin1Char('E') + QString::number(text.mid(e + 1).toInt());
        return text;
    };
    std::vector<double> values = {0.1 + 0.2, 1e15, 999999999999999.0, 999999999999999.5, 1e-4, 9.99999999999999e-5,
                                  0.00012345, 123456789012345678.0, 5e-324, 1.7976931348623157e308, -2.5, 100, 1e21,
                                  0.5, 2.0 / 3, 1234.5678, 1e-5, 0.999999999999999944};
    std::mt19937_64 random(12345);
    std::uniform_real_distribution<double> mantissa(-10, 10);
    std::uniform_int_distribution<int> power(-30, 30);
    for (int i = 0; i < 20000; ++i)
        values.push_back(mantissa(random) * std::pow(10.0, power(random)));
    std::uniform_int_distribution<int64_t> whole(-999999999999999, 999999999999999);
    for (int i = 0; i < 7000; ++i)   // whole numbers of tenths, hundredths ... millionths
        values.push_back(double(whole(random) >> (i % 50)) / std::pow(10.0, i % 7));
    for (int i = 0; i < 2000; ++i)
        values.push_back(mantissa(random) * std::pow(10.0, -310 - power(random) / 3));   // subnormals
    for (const double value : values)
        ASSERT_EQ(VarToStr(value), expected(value)) << std::setprecision(17) << value;
}

// The separator kept for a build follows the default locale when that changes.
TEST_F(VariantValues, KeptDecimalSeparatorFollowsTheLocale)
{
    const TrpDecimalSeparator separator;
    EXPECT_EQ(separator.Get(), QLatin1Char(','));
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(separator.Get(), QLatin1Char('.'));
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Switzerland));
    EXPECT_EQ(separator.Get(), ReportDecimalSeparator());
}

TEST_F(VariantValues, Arithmetic)
{
    EXPECT_EQ(VarAdd(QStringLiteral("a"), QStringLiteral("b")), QVariant(QStringLiteral("ab")));
    EXPECT_EQ(VarAdd(QVariant(), QStringLiteral("b")), QVariant(QStringLiteral("b")));
    EXPECT_EQ(VarAdd(QStringLiteral("2,5"), 1), QVariant(3.5));
    EXPECT_EQ(VarAdd(2, 3), QVariant(5));
    EXPECT_EQ(VarKind(VarAdd(QVariant(qlonglong(INT64_MAX)), 1)), TVarKind::Real);
    EXPECT_TRUE(VarIsNull(VarAdd(VarNull(), 1)));
    EXPECT_TRUE(VarIsNull(VarMul(2, VarNull())));
    EXPECT_EQ(VarMul(true, 3), QVariant(3));
    const QVariant later = VarAdd(VarFromDateTime(100), 1);
    EXPECT_EQ(VarKind(later), TVarKind::DateTime);
    EXPECT_EQ(VarToDateTime(later), 101);
    EXPECT_EQ(VarKind(VarSub(VarFromDateTime(100), VarFromDateTime(90))), TVarKind::Real);
    EXPECT_EQ(VarMod(7.5, 3), QVariant(2));   // 7.5 rounds to 8
    EXPECT_EQ(VarMod(-7, 3), QVariant(-1));
    EXPECT_EQ(VarAnd(true, false), QVariant(false));
    EXPECT_EQ(VarOr(4, 1), QVariant(5));
    EXPECT_EQ(VarNeg(QStringLiteral("2")), QVariant(-2.0));
    EXPECT_THROW(VarMod(1, 0), EVariantError);
    EXPECT_THROW(VarSub(QStringLiteral("x"), 1), EVariantError);
    EXPECT_THROW(VarToReal(VarNull()), EVariantError);
}

TEST_F(VariantValues, Comparison)
{
    struct Case {
        QVariant a, b;
        int sign;
    };
    const Case cases[] = {
        {VarNull(), VarNull(), 0},
        {VarNull(), QVariant(), 0},
        {VarNull(), 0, -1},
        {QStringLiteral(""), VarNull(), 1},
        {QVariant(), 0, 0},
        {QVariant(), QStringLiteral(""), 0},
        {1, 1.0, 0},
        {2, 10, -1},
        {QStringLiteral("10"), 9, 1},
        {QStringLiteral("abc"), QStringLiteral("abd"), -1},
        {QStringLiteral("abc"), 0, 1},
        {true, 1, 0},
        {false, true, -1},
        {VarFromDateTime(5), 5, 0},
    };
    for (const Case& c : cases) {
        const int r = VarCompare(c.a, c.b);
        EXPECT_EQ((r > 0) - (r < 0), c.sign) << VarToStr(c.a).toStdString() << " ? " << VarToStr(c.b).toStdString();
    }
    EXPECT_TRUE(VarEqualsZero(false));
    EXPECT_FALSE(VarEqualsZero(VarNull()));
}

TEST_F(VariantValues, DateAndTimeTexts)
{
    TDateTime v = 0;
    EXPECT_TRUE(TryStrToDate(QStringLiteral("2.3.21"), v));
    EXPECT_EQ(v, EncodeDate(2021, 3, 2));
    EXPECT_TRUE(TryStrToDate(QStringLiteral("31.12.1999"), v));
    EXPECT_EQ(v, EncodeDate(1999, 12, 31));
    EXPECT_FALSE(TryStrToDate(QStringLiteral("31.02.2020"), v));
    EXPECT_FALSE(TryStrToDate(QStringLiteral("today"), v));
    EXPECT_TRUE(TryStrToTime(QStringLiteral("6:00:30"), v));
    EXPECT_DOUBLE_EQ(v, 0.25 + 30.0 / 86400);
}

}  // namespace
