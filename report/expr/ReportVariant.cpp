#include "report/expr/ReportVariant.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <vector>

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>

#include "base/Rounding.h"
#include "report/file/Cp1251Text.h"
#include "report/runtime/ReportErrors.h"
#include "report/runtime/TextRoutines.h"

namespace {

int VarDateTypeId()
{
    static const int id = QMetaType::fromType<TVarDate>().id();
    return id;
}

QString KindName(TVarKind kind)
{
    switch (kind) {
    case TVarKind::Empty: return QStringLiteral("Empty");
    case TVarKind::Null: return QStringLiteral("Null");
    case TVarKind::Boolean: return QStringLiteral("Boolean");
    case TVarKind::Integer: return QStringLiteral("Integer");
    case TVarKind::Real: return QStringLiteral("Double");
    case TVarKind::DateTime: return QStringLiteral("Date");
    case TVarKind::String: return QStringLiteral("String");
    case TVarKind::Other: break;
    }
    return QStringLiteral("Unknown");
}

[[noreturn]] void CannotConvert(const QVariant& value, const char* target)
{
    throw EVariantError(QStringLiteral("Could not convert variant of type (%1) into type (%2)")
                            .arg(KindName(VarKind(value)), QLatin1String(target)));
}

TDateTime QDateToDateTime(const QDate& date)
{
    TDateTime result = 0;
    TryEncodeDate(date.year(), date.month(), date.day(), result);
    return result;
}

TDateTime QtToDateTime(const QVariant& value)
{
    if (value.typeId() == QMetaType::QDate)
        return QDateToDateTime(value.toDate());
    const QDateTime dt = value.toDateTime();
    const QTime t = dt.time();
    const TDateTime date = QDateToDateTime(dt.date());
    const TDateTime time = (t.msecsSinceStartOfDay()) / kMSecsPerDay;
    return date >= 0 ? date + time : date - time;
}

QString StringOf(const QVariant& value)
{
    if (value.typeId() == QMetaType::QByteArray)
        return FromCp1251(value.toByteArray());
    return value.toString();
}

// Up to three groups of digits, in the order of the locale's short date form.
bool ParseDateGroups(const QString& text, int& year, int& month, int& day)
{
    static const QRegularExpression form(QStringLiteral("^\\s*(\\d+)[./ -](\\d+)(?:[./ -](\\d+))?\\s*$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return false;
    const QString pattern = QLocale().dateFormat(QLocale::ShortFormat);
    const qsizetype dPos = pattern.indexOf(QLatin1Char('d'));
    const qsizetype mPos = pattern.indexOf(QLatin1Char('M'));
    const qsizetype yPos = pattern.indexOf(QLatin1Char('y'));
    const bool hasYear = m.capturedLength(3) > 0;
    // The order of day, month and year; a two-group text has no year.
    std::vector<std::pair<qsizetype, char>> order = {{dPos, 'd'}, {mPos, 'M'}};
    if (hasYear)
        order.emplace_back(yPos, 'y');
    std::sort(order.begin(), order.end());
    year = QDate::currentDate().year();
    for (size_t i = 0; i < order.size(); ++i) {
        const int v = m.captured(int(i) + 1).toInt();
        if (order[i].second == 'd')
            day = v;
        else if (order[i].second == 'M')
            month = v;
        else
            year = m.capturedLength(int(i) + 1) <= 2 ? (v < 50 ? 2000 + v : 1900 + v) : v;
    }
    return true;
}

}  // namespace

TVarKind VarKind(const QVariant& value)
{
    const int id = value.typeId();
    switch (id) {
    case QMetaType::UnknownType:
        return TVarKind::Empty;
    case QMetaType::Nullptr:
        return TVarKind::Null;
    case QMetaType::Bool:
        return TVarKind::Boolean;
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong: case QMetaType::ULongLong:
    case QMetaType::Short: case QMetaType::UShort: case QMetaType::Long: case QMetaType::ULong:
    case QMetaType::Char: case QMetaType::SChar: case QMetaType::UChar:
        return TVarKind::Integer;
    case QMetaType::Double: case QMetaType::Float:
        return TVarKind::Real;
    case QMetaType::QDate: case QMetaType::QDateTime:
        return TVarKind::DateTime;
    case QMetaType::QString: case QMetaType::QChar: case QMetaType::QByteArray:
        return TVarKind::String;
    default:
        return id == VarDateTypeId() ? TVarKind::DateTime : TVarKind::Other;
    }
}

bool VarIsNull(const QVariant& value)
{
    return value.typeId() == QMetaType::Nullptr;
}

bool VarIsNumeric(const QVariant& value)
{
    const TVarKind k = VarKind(value);
    return k == TVarKind::Integer || k == TVarKind::Real || k == TVarKind::DateTime;
}

bool VarIsString(const QVariant& value)
{
    return VarKind(value) == TVarKind::String;
}

QVariant VarNull()
{
    return QVariant::fromValue(nullptr);
}

QVariant VarFromDateTime(TDateTime value)
{
    return QVariant::fromValue(TVarDate{value});
}

QVariant VarFromInt(int64_t value)
{
    if (value >= std::numeric_limits<int>::min() && value <= std::numeric_limits<int>::max())
        return QVariant(int(value));
    return QVariant(qlonglong(value));
}

double VarToReal(const QVariant& value)
{
    switch (VarKind(value)) {
    case TVarKind::Empty: return 0;
    case TVarKind::Boolean: return value.toBool() ? 1 : 0;
    case TVarKind::Integer: return double(value.toLongLong());
    case TVarKind::Real: return value.toDouble();
    case TVarKind::DateTime: return VarToDateTime(value);
    case TVarKind::String: {
        double v = 0;
        if (TryStrToFloatAnySep(StringOf(value), v))
            return v;
        break;
    }
    default:
        break;
    }
    CannotConvert(value, "Double");
}

int64_t VarToInt(const QVariant& value)
{
    const TVarKind kind = VarKind(value);
    if (kind == TVarKind::Integer)
        return value.toLongLong();
    if (kind == TVarKind::Boolean)
        return value.toBool() ? 1 : 0;
    if (kind == TVarKind::Empty)
        return 0;
    const double v = VarToReal(value);
    if (!(std::fabs(v) < 9.2e18))
        CannotConvert(value, "Integer");
    return Round(v);
}

bool VarToBool(const QVariant& value)
{
    switch (VarKind(value)) {
    case TVarKind::Empty: return false;
    case TVarKind::Boolean: return value.toBool();
    case TVarKind::String: {
        const QString s = StringOf(value).trimmed();
        if (s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return true;
        if (s.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
            return false;
        return VarToReal(value) != 0;
    }
    case TVarKind::Null: case TVarKind::Other:
        CannotConvert(value, "Boolean");
    default:
        return VarToReal(value) != 0;
    }
}

TDateTime VarToDateTime(const QVariant& value)
{
    if (value.typeId() == VarDateTypeId())
        return value.value<TVarDate>().value;
    switch (VarKind(value)) {
    case TVarKind::DateTime:
        return QtToDateTime(value);
    case TVarKind::String: {
        const QString s = StringOf(value);
        TDateTime v = 0;
        double number = 0;
        if (TryStrToDate(s, v) || TryStrToTime(s, v))
            return v;
        if (TryStrToFloatAnySep(s, number))
            return number;
        break;
    }
    case TVarKind::Null: case TVarKind::Other:
        break;
    default:
        return VarToReal(value);
    }
    CannotConvert(value, "Date");
}

QString VarToStr(const QVariant& value)
{
    switch (VarKind(value)) {
    case TVarKind::Empty: case TVarKind::Null: return QString();
    case TVarKind::Boolean: return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case TVarKind::Integer: return QString::number(value.toLongLong());
    case TVarKind::Real: return FloatToStrGeneral(value.toDouble(), ReportDecimalSeparator());
    case TVarKind::DateTime: return DateTimeToStr(VarToDateTime(value));
    case TVarKind::String: return StringOf(value);
    case TVarKind::Other: break;
    }
    return value.toString();
}

QChar ReportDecimalSeparator()
{
    const QString point = QLocale().decimalPoint();
    return point.isEmpty() ? QLatin1Char('.') : point[0];
}

QChar TrpDecimalSeparator::Get() const
{
    const QLocale now;
    if (!known_ || now != locale_) {
        locale_ = now;
        separator_ = ReportDecimalSeparator();
        known_ = true;
    }
    return separator_;
}

QChar ReportThousandSeparator()
{
    const QString group = QLocale().groupSeparator();
    return group.isEmpty() ? QLatin1Char(' ') : group[0];
}

namespace {

// A finite non-zero value's significant digits, without trailing zeros, and the power of ten of
// the first: 15 of them at most, rounded as "%.15g" rounds.
struct SignificantDigits {
    bool negative = false;
    char digits[24] = {};
    int count = 0;
    int exponent = 0;
};

// The digits of to_chars' scientific form, from its text up to end.
SignificantDigits ParseScientific(const char* text, const char* end)
{
    SignificantDigits d;
    const char* p = text;
    d.negative = *p == '-';
    p += d.negative;
    for (; *p != 'e'; ++p)
        if (*p != '.' && d.count < int(sizeof d.digits))
            d.digits[d.count++] = *p;
    std::from_chars(p + 1 + (p[1] == '+'), end, d.exponent);
    while (d.count > 1 && d.digits[d.count - 1] == '0')
        --d.count;
    return d;
}

// The digits of a value that is a whole number of hundred-thousandths or coarser (readings,
// sums of money) below 10^15, without to_chars' search; false for any other value. The whole
// number's digits read back as the value, so they are its shortest form, and have 15 or fewer.
bool FewDecimalDigits(double value, SignificantDigits& d)
{
    static constexpr double kScales[] = {1, 10, 100, 1e3, 1e4, 1e5};
    for (int k = 0; k < int(std::size(kScales)); ++k) {
        const double scaled = value * kScales[k];
        if (!(std::fabs(scaled) < 1e15))
            return false;
        if (scaled != std::trunc(scaled) || scaled / kScales[k] != value)
            continue;
        char buffer[24];
        const char* end = std::to_chars(buffer, buffer + sizeof buffer, int64_t(std::fabs(scaled))).ptr;
        d.negative = value < 0;
        d.count = int(end - buffer);
        std::copy(static_cast<const char*>(buffer), end, d.digits);
        d.exponent = d.count - 1 - k;
        while (d.count > 1 && d.digits[d.count - 1] == '0')
            --d.count;
        return true;
    }
    return false;
}

SignificantDigits DecimalDigits(double value)
{
    if (SignificantDigits d; FewDecimalDigits(value, d))
        return d;
    // The shortest form that reads back is those digits whenever it has 15 or fewer: every such
    // decimal survives the trip through a normal double. to_chars gives it several times quicker
    // than the 15 digits of a precision, which only longer ones and subnormals need.
    char buffer[40];
    const char* end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific).ptr;
    SignificantDigits d = ParseScientific(buffer, end);
    if (d.count > 15 || std::fabs(value) < std::numeric_limits<double>::min()) {
        end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14).ptr;
        d = ParseScientific(buffer, end);
    }
    return d;
}

}  // namespace

QString FloatToStrGeneral(double value, QChar decimalSeparator)
{
    if (value == 0)
        return QStringLiteral("0");
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    // As "%.15g" prints it, with "E" and a bare exponent ("1E20", "1,5E-7").
    const SignificantDigits d = DecimalDigits(value);
    QChar text[48];
    int n = 0;
    const auto put = [&](QChar c) { text[n++] = c; };
    const auto putDigits = [&](int from, int to) {
        for (int i = from; i < to; ++i)
            put(QLatin1Char(d.digits[i]));
    };
    if (d.negative)
        put(QLatin1Char('-'));
    if (d.exponent < -4 || d.exponent >= 15) {
        putDigits(0, 1);
        if (d.count > 1) {
            put(decimalSeparator);
            putDigits(1, d.count);
        }
        put(QLatin1Char('E'));
        char exponent[8];
        const char* e = std::to_chars(exponent, exponent + sizeof exponent, d.exponent).ptr;
        for (const char* c = exponent; c < e; ++c)
            put(QLatin1Char(*c));
    } else if (d.exponent >= 0) {
        const int whole = d.exponent + 1;
        putDigits(0, std::min(whole, d.count));
        for (int i = d.count; i < whole; ++i)
            put(QLatin1Char('0'));
        if (d.count > whole) {
            put(decimalSeparator);
            putDigits(whole, d.count);
        }
    } else {
        put(QLatin1Char('0'));
        put(decimalSeparator);
        for (int i = -1; i > d.exponent; --i)
            put(QLatin1Char('0'));
        putDigits(0, d.count);
    }
    return QString(text, n);
}

QString DateTimeToStr(TDateTime value)
{
    const DateTimeParts p = DecodeDateTime(value);
    QString text = QLocale().toString(QDate(p.year, p.month, p.day), QLocale::ShortFormat);
    if (p.hour || p.minute || p.second || p.msec)
        text += QStringLiteral(" %1:%2:%3")
                    .arg(p.hour, 2, 10, QLatin1Char('0'))
                    .arg(p.minute, 2, 10, QLatin1Char('0'))
                    .arg(p.second, 2, 10, QLatin1Char('0'));
    return text;
}

bool TryStrToDate(const QString& text, TDateTime& value)
{
    int year = 0, month = 0, day = 0;
    return ParseDateGroups(text, year, month, day) && TryEncodeDate(year, month, day, value);
}

bool TryStrToTime(const QString& text, TDateTime& value)
{
    static const QRegularExpression form(QStringLiteral("^\\s*(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?\\s*$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return false;
    return TryEncodeTime(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt(), 0, value);
}
