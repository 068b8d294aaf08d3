#include "report/expr/ValueFormat.h"

#include "base/FormatDateTime.h"
#include "report/file/Cp1251Text.h"
#include "report/expr/NumberFormat.h"
#include "report/expr/ReportVariant.h"
#include "report/runtime/RunContext.h"

namespace {

QChar SeparatorOf(uint32_t format)
{
    const char code = char(FormatSeparator(format));
    if (code == 0)
        return ReportDecimalSeparator();
    const QString text = FromCp1251(QByteArray(1, code));
    return text.isEmpty() ? ReportDecimalSeparator() : text[0];
}

QString DateTimeText(const QString& layout, const QVariant& value)
{
    return QString::fromStdString(FormatDateTime(layout.toStdString(), VarToDateTime(value)));
}

QString ListItem(const QStringList& list, uint32_t index)
{
    return index < uint32_t(list.size()) ? list[int(index)] : QString();
}

QString NumberText(const QVariant& value, uint32_t format, const QString& formatText)
{
    const double number = VarToReal(value);
    const QChar separator = SeparatorOf(format);
    const int decimals = int(FormatDecimals(format));
    const QString hashes(decimals, QLatin1Char('#'));
    switch (FormatIndex(format)) {
    case 0: return FormatFloat(QStringLiteral("##0.") + hashes, number, separator, ReportThousandSeparator());
    case 1: return FloatToStrFixed(number, decimals, separator);
    case 2: return FormatFloat(QStringLiteral("#,##0.") + hashes, number, separator, ReportThousandSeparator());
    case 3: return FloatToStrNumber(number, decimals, separator, ReportThousandSeparator());
    case kCustomFormatIndex: return FormatFloat(formatText, number, separator, ReportThousandSeparator());
    default: return VarToStr(value);
    }
}

QString DateText(const QStringList& layouts, const QVariant& value, uint32_t format, const QString& formatText)
{
    const uint32_t index = FormatIndex(format);
    if (index < 3)
        return DateTimeText(ListItem(layouts, index), value);
    if (index == 3)
        return DateTimeText(QString::fromStdString(DefaultFormatSettings().LongDateFormat), value);
    if (index == kCustomFormatIndex)
        return DateTimeText(formatText, value);
    return VarToStr(value);
}

QString TimeText(const QStringList& layouts, const QVariant& value, uint32_t format, const QString& formatText)
{
    const uint32_t index = FormatIndex(format);
    if (index < kCustomFormatIndex)
        return DateTimeText(ListItem(layouts, index), value);
    if (index == kCustomFormatIndex)
        return DateTimeText(formatText, value);
    return VarToStr(value);
}

QString BooleanText(const QStringList& layouts, const QVariant& value, uint32_t format, const QString& formatText)
{
    const uint32_t index = FormatIndex(format);
    if (index > kCustomFormatIndex)
        return VarToStr(value);
    const QString layout = index == kCustomFormatIndex ? formatText : ListItem(layouts, index);
    const qsizetype separator = layout.indexOf(QLatin1Char(';'));
    if (VarToBool(value))
        return layout.mid(separator + 1);
    return separator < 0 ? QString() : layout.left(separator);
}

bool IsOneOf(QChar c, const char* set)
{
    for (; *set; ++set)
        if (c == QLatin1Char(*set))
            return true;
    return false;
}

}  // namespace

QString FormatReportValue(const TrpRunContext& context, const QVariant& value, uint32_t format,
                          const QString& formatText)
{
    if (VarIsEmpty(value) || VarIsNull(value) || (VarIsString(value) && VarToStr(value).trimmed().isEmpty()))
        return QString();
    try {
        switch (FormatCategory(format)) {
        case fcText:
            if (VarKind(value) == TVarKind::Real)
                return FloatToStrGeneral(value.toDouble(), context.DecimalSeparator.Get());
            return VarToStr(value);
        case fcNumber: return NumberText(value, format, formatText);
        case fcDate: return DateText(context.DateFormats, value, format, formatText);
        case fcTime: return TimeText(context.TimeFormats, value, format, formatText);
        case fcBoolean: return BooleanText(context.BooleanFormats, value, format, formatText);
        default: return QString();
        }
    } catch (const std::exception&) {
        return VarToStr(value);
    }
}

void ApplyFormatOverride(QString& expression, uint32_t& format, QString& formatText)
{
    // The first " #"; found through its '#', which most expressions lack, for speed.
    qsizetype hash = expression.indexOf(QLatin1Char('#'), 1);
    while (hash > 0 && expression[hash - 1] != QLatin1Char(' '))
        hash = expression.indexOf(QLatin1Char('#'), hash + 1);
    if (hash < 0)
        return;
    const qsizetype at = hash - 1;
    QString s = expression.mid(at + 2);
    expression.truncate(at);
    if (s.isEmpty())
        return;
    const QChar first = s[0];
    if (first.isDigit() || first == QLatin1Char('N') || first == QLatin1Char('n')) {
        if (first.isDigit())
            s.prepend(QLatin1Char('N'));
        const bool fixed = s.size() > 1 && s[1].isDigit();
        format = MakeFormat(fcNumber, fixed ? 1 : 0);
        for (qsizetype i = s.size() - 1; i >= 1; --i) {
            if (!IsOneOf(s[i], ",-."))
                continue;
            format |= uint8_t(ToCp1251(QString(s[i])).at(0));
            s[i] = QLatin1Char('.');
            if (fixed) {
                qsizetype end = i + 1;
                while (end < s.size() && s[end].isDigit())
                    ++end;
                const int decimals = std::min(s.mid(i + 1, end - i - 1).toInt(), 255);
                format |= uint32_t(decimals) << 8;
            }
            break;
        }
        if (!fixed) {
            formatText = s.mid(1);
            format |= kCustomFormatIndex << 16;
        }
    } else if (IsOneOf(first, "DdTt")) {
        format = MakeFormat(fcDate, kCustomFormatIndex);
        formatText = s.mid(1);
    } else if (IsOneOf(first, "Bb")) {
        format = MakeFormat(fcBoolean, kCustomFormatIndex);
        formatText = s.mid(1);
    }
}
