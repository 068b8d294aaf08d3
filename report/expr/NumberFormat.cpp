#include "report/expr/NumberFormat.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include <QStringList>

#include "report/expr/ReportVariant.h"

namespace {

constexpr int kPrecision = 15;
constexpr int kMaxExponentDigits = 4;

// A value as decimal digits: 0.<digits> x 10^exponent; no trailing zeros; no digits for zero.
struct TDecimal {
    bool negative = false;
    QString digits;
    int exponent = 0;

    bool IsZero() const { return digits.isEmpty(); }
    QString IntegerDigits() const
    {
        if (exponent <= 0)
            return QString();
        return digits.left(exponent).leftJustified(exponent, QLatin1Char('0'));
    }
    QString FractionDigits() const
    {
        if (exponent >= 0)
            return digits.mid(exponent);
        return QString(-exponent, QLatin1Char('0')) + digits;
    }
};

void StripTrailingZeros(QString& digits)
{
    qsizetype n = digits.size();
    while (n > 0 && digits[n - 1] == QLatin1Char('0'))
        --n;
    digits.truncate(n);
}

TDecimal ToDecimal(double value, int significant)
{
    TDecimal d;
    d.negative = value < 0;
    if (value == 0 || !std::isfinite(value))
        return d;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*e", std::max(significant, 1) - 1, std::fabs(value));
    const char* e = std::strchr(buffer, 'e');
    for (const char* p = buffer; p < e; ++p)
        if (*p != '.')
            d.digits += QLatin1Char(*p);
    d.exponent = std::atoi(e + 1) + 1;
    StripTrailingZeros(d.digits);
    return d;
}

// Keeps the digits down to that many places after the decimal point, rounding half up.
void RoundDecimal(TDecimal& d, int decimals)
{
    const int keep = d.exponent + decimals;
    if (keep >= d.digits.size())
        return;
    if (keep < 0) {
        d.digits.clear();
        return;
    }
    const bool up = d.digits[keep] >= QLatin1Char('5');
    QString kept = d.digits.left(keep);
    if (up) {
        qsizetype i = kept.size() - 1;
        while (i >= 0 && kept[i] == QLatin1Char('9'))
            kept[i--] = QLatin1Char('0');
        if (i < 0) {
            kept.prepend(QLatin1Char('1'));
            ++d.exponent;
        } else {
            kept[i] = QChar(kept[i].unicode() + 1);
        }
    }
    d.digits = kept;
    StripTrailingZeros(d.digits);
}

void AppendGrouped(QString& out, const QString& digits, QChar thousandSeparator, bool grouped)
{
    for (qsizetype j = 0; j < digits.size(); ++j) {
        out += digits[j];
        const qsizetype remaining = digits.size() - 1 - j;
        if (grouped && remaining > 0 && remaining % 3 == 0)
            out += thousandSeparator;
    }
}

QString FixedText(double value, int decimals, QChar decimalSeparator, QChar thousandSeparator, bool grouped)
{
    TDecimal d = ToDecimal(value, kPrecision);
    if (d.exponent > kPrecision)
        return FloatToStrGeneral(value, decimalSeparator);
    decimals = std::clamp(decimals, 0, 18);
    RoundDecimal(d, decimals);
    QString out;
    if (d.negative && !d.IsZero())
        out += QLatin1Char('-');
    const QString integer = d.IntegerDigits();
    AppendGrouped(out, integer.isEmpty() ? QStringLiteral("0") : integer, thousandSeparator, grouped);
    if (decimals > 0)
        out += decimalSeparator + d.FractionDigits().leftJustified(decimals, QLatin1Char('0'));
    return out;
}

// The sections of a layout, split at ";" outside quotes (at most three).
QStringList Sections(const QString& format)
{
    QStringList sections{QString()};
    QChar quote;
    for (const QChar c : format) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            quote = c;
        } else if (c == QLatin1Char(';')) {
            if (sections.size() == 3)
                break;
            sections.append(QString());
            continue;
        }
        sections.last() += c;
    }
    return sections;
}

// One section of a layout, as the digits will be placed into it.
class TSectionLayout {
public:
    explicit TSectionLayout(const QString& section) : s_(section) { Scan(); }

    int FractionPlaces() const { return fracCount_; }
    int SignificantPlaces() const { return std::clamp(intCount_ + fracCount_, 1, kPrecision); }
    bool Scientific() const { return scientific_; }

    QString Render(TDecimal d, bool withSign, QChar decimalSeparator, QChar thousandSeparator) const
    {
        int exponent = 0;
        if (scientific_ && !d.IsZero()) {
            exponent = d.exponent - intCount_;
            d.exponent = intCount_;
        }
        const QString integer = d.IntegerDigits();
        const QString padded = integer.rightJustified(std::max<qsizetype>(integer.size(), intMin_), QLatin1Char('0'));
        const QString fraction = d.FractionDigits();
        const int fracShown = std::min<int>(fracCount_, std::max<int>(int(fraction.size()), fracMin_));

        QString out = withSign ? QStringLiteral("-") : QString();
        int intIndex = 0;
        int fracIndex = 0;
        bool pointSeen = false;
        bool integerWritten = false;
        auto writeInteger = [&](int placeholder) {
            const qsizetype first = padded.size() - intCount_ + placeholder;
            if (placeholder == 0 || !integerWritten) {
                AppendRange(out, padded, 0, first, thousandSeparator);
                integerWritten = true;
            } else if (first >= 0) {
                AppendRange(out, padded, first, first, thousandSeparator);
            }
        };
        for (qsizetype i = 0; i < s_.size(); ++i) {
            const QChar c = s_[i];
            if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
                const qsizetype end = s_.indexOf(c, i + 1);
                out += s_.mid(i + 1, (end < 0 ? s_.size() : end) - i - 1);
                i = end < 0 ? s_.size() : end;
            } else if (c == QLatin1Char('0') || c == QLatin1Char('#')) {
                if (!pointSeen) {
                    writeInteger(intIndex++);
                } else {
                    if (fracIndex < fracShown)
                        out += fracIndex < fraction.size() ? fraction[fracIndex] : QLatin1Char('0');
                    ++fracIndex;
                }
            } else if (c == QLatin1Char('.')) {
                if (pointSeen)
                    continue;
                pointSeen = true;
                if (intCount_ == 0)
                    writeInteger(0);
                if (fracShown > 0)
                    out += decimalSeparator;
            } else if (c == QLatin1Char(',')) {
                continue;
            } else if ((c == QLatin1Char('E') || c == QLatin1Char('e')) && i + 1 < s_.size()
                       && (s_[i + 1] == QLatin1Char('+') || s_[i + 1] == QLatin1Char('-'))) {
                out += c;
                if (exponent < 0)
                    out += QLatin1Char('-');
                else if (s_[i + 1] == QLatin1Char('+'))
                    out += QLatin1Char('+');
                i += 2;
                int count = 0;
                while (i < s_.size() && s_[i] == QLatin1Char('0')) {
                    ++count;
                    ++i;
                }
                --i;
                out += QString::number(std::abs(exponent)).rightJustified(std::min(count, kMaxExponentDigits), QLatin1Char('0'));
            } else {
                out += c;
            }
        }
        return out;
    }

private:
    void Scan()
    {
        bool pointSeen = false;
        int firstZero = -1;
        for (qsizetype i = 0; i < s_.size(); ++i) {
            const QChar c = s_[i];
            if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
                const qsizetype end = s_.indexOf(c, i + 1);
                i = end < 0 ? s_.size() : end;
            } else if (c == QLatin1Char('0') || c == QLatin1Char('#')) {
                if (pointSeen) {
                    ++fracCount_;
                    if (c == QLatin1Char('0'))
                        fracMin_ = fracCount_;
                } else {
                    if (c == QLatin1Char('0') && firstZero < 0)
                        firstZero = intCount_;
                    ++intCount_;
                }
            } else if (c == QLatin1Char('.')) {
                pointSeen = true;
            } else if (c == QLatin1Char(',')) {
                thousands_ = true;
            } else if ((c == QLatin1Char('E') || c == QLatin1Char('e')) && i + 1 < s_.size()
                       && (s_[i + 1] == QLatin1Char('+') || s_[i + 1] == QLatin1Char('-'))) {
                scientific_ = true;
                i += 1;
                while (i + 1 < s_.size() && s_[i + 1] == QLatin1Char('0'))
                    ++i;
            }
        }
        intMin_ = firstZero < 0 ? 0 : intCount_ - firstZero;
        if (scientific_)
            thousands_ = false;
    }

    void AppendRange(QString& out, const QString& digits, qsizetype from, qsizetype to, QChar separator) const
    {
        for (qsizetype j = std::max<qsizetype>(from, 0); j <= to && j < digits.size(); ++j) {
            out += digits[j];
            const qsizetype remaining = digits.size() - 1 - j;
            if (thousands_ && remaining > 0 && remaining % 3 == 0)
                out += separator;
        }
    }

    QString s_;
    int intCount_ = 0;
    int intMin_ = 0;
    int fracCount_ = 0;
    int fracMin_ = 0;
    bool thousands_ = false;
    bool scientific_ = false;
};

TDecimal Digits(const TSectionLayout& layout, double value)
{
    if (layout.Scientific())
        return ToDecimal(value, layout.SignificantPlaces());
    TDecimal d = ToDecimal(value, kPrecision);
    RoundDecimal(d, layout.FractionPlaces());
    return d;
}

}  // namespace

QString FormatFloat(const QString& format, double value, QChar decimalSeparator, QChar thousandSeparator)
{
    if (format.isEmpty() || !std::isfinite(value))
        return FloatToStrGeneral(value, decimalSeparator);
    const QStringList sections = Sections(format);
    auto usable = [&](int index) { return index < sections.size() && !sections[index].isEmpty(); };
    int index = 0;
    if (value < 0 && usable(1))
        index = 1;
    else if (value == 0 && usable(2))
        index = 2;
    TSectionLayout layout(sections[index]);
    TDecimal d = Digits(layout, value);
    if (d.IsZero() && value != 0) {
        // The value rounds to zero: the zero section shows it, without a sign.
        index = usable(2) ? 2 : 0;
        layout = TSectionLayout(sections[index]);
        d = TDecimal();
    }
    const bool withSign = d.negative && !d.IsZero() && index == 0;
    return layout.Render(d, withSign, decimalSeparator, thousandSeparator);
}

QString FloatToStrFixed(double value, int decimals, QChar decimalSeparator)
{
    return FixedText(value, decimals, decimalSeparator, QChar(), false);
}

QString FloatToStrNumber(double value, int decimals, QChar decimalSeparator, QChar thousandSeparator)
{
    return FixedText(value, decimals, decimalSeparator, thousandSeparator, true);
}
