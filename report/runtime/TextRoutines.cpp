#include "report/runtime/TextRoutines.h"

#include <charconv>
#include <cmath>

#include "report/runtime/ReportErrors.h"
#include "report/runtime/RunContext.h"

QString LoadFrResString(const TrpRunContext& context, int id)
{
    return context.Locale.LoadString(id);
}

bool TryStrToFloatAnySep(QStringView text, double& value)
{
    // Expressions convert their numbers on every evaluation, so this avoids allocations: the
    // characters go into a small buffer with "." as the separator and are read in the C form.
    const QStringView t = text.trimmed();
    char buffer[128];
    if (t.isEmpty() || t.size() >= qsizetype(sizeof buffer))
        return false;
    qsizetype length = 0;
    bool hasDigit = false;
    for (qsizetype i = 0; i < t.size(); ++i) {
        const char16_t c = t[i].unicode();
        if (c == '+' && i == 0)
            continue;
        const bool exponentSign = c == '+' && (t[i - 1] == QLatin1Char('e') || t[i - 1] == QLatin1Char('E'));
        const bool allowed = (c >= '0' && c <= '9') || c == '.' || c == ',' || c == '-' || c == 'e' || c == 'E'
                             || exponentSign;
        if (!allowed)
            return false;
        hasDigit = hasDigit || (c >= '0' && c <= '9');
        buffer[length++] = c == ',' ? '.' : char(c);
    }
    if (!hasDigit)
        return false;
    double v = 0;
    const auto [end, error] = std::from_chars(buffer, buffer + length, v);
    if (error != std::errc() || end != buffer + length || !std::isfinite(v))
        return false;
    value = v;
    return true;
}

double StrToFloatAnySep(QStringView text)
{
    double value = 0;
    if (!TryStrToFloatAnySep(text, value))
        throw ConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(text.toString()));
    return value;
}

QString StripDoubleQuotes(const QString& text)
{
    if (text.size() >= 3 && text.startsWith(QLatin1Char('"')) && text.endsWith(QLatin1Char('"')))
        return text.mid(1, text.size() - 2);
    return text;
}

QString ExtractListItem(const QString& text, int& position)
{
    const int start = position;
    const int separator = int(text.indexOf(QLatin1Char(';'), start));
    if (separator < 0) {
        position = int(text.size());
        return text.mid(start);
    }
    position = separator + 1;
    return text.mid(start, separator - start);
}

void SplitSemicolonList(const QString& text, QStringList& items)
{
    items.clear();
    int position = 0;
    while (position < text.size())
        items.append(ExtractListItem(text, position));
}

QStringList TextToLines(const QString& text)
{
    QStringList lines;
    const qsizetype n = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lines.append(text.mid(start, i - start));
        if (c == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

QString LinesToText(const QStringList& lines)
{
    qsizetype length = 0;
    for (const QString& line : lines)
        length += line.size() + 2;
    QString text;
    text.reserve(length);
    for (const QString& line : lines)
        text.append(line).append(QLatin1String("\r\n"));
    return text;
}

QString XmlEscape(const QString& text)
{
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case 10: case 13: case '"': case '<': case '>': case '&':
            result += QStringLiteral("&#%1;").arg(c.unicode());
            break;
        default:
            result += c;
        }
    }
    return result;
}

QString StreamToHex(const QByteArray& octets)
{
    return QString::fromLatin1(octets.toHex().toUpper());
}

QString ShiftTextDown10(const QString& text)
{
    QString result = text;
    for (QChar& c : result)
        c = QChar(char16_t(c.unicode() - 10));
    return result;
}
