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

QChar ReportThousandSeparator()
{
    const QString group = QLocale().groupSeparator();
    return group.isEmpty() ? QLatin1Char(' ') : group[0];
}

QString FloatToStrGeneral(double value, QChar decimalSeparator)
{
    if (value == 0)
        return QStringLiteral("0");
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    // As "%.15g" prints it; to_chars is several times quicker than the printf family.
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15).ptr;
    QString text = QString::fromLatin1(buffer, end - buffer);
    const qsizetype e = text.indexOf(QLatin1Char('e'));
    if (e >= 0)
        text = text.left(e) + QLatin1Char('E') + QString::number(text.mid(e + 1).toInt());
    text.replace(QLatin1Char('.'), decimalSeparator);
    return text;
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
