#include "report/TextRoutines.h"

#include <cmath>

#include <QLocale>

#include "report/ReportContext.h"
#include "report/ReportErrors.h"

QString LoadFrResString(int id)
{
    return ReportHooks.ResourceString ? ReportHooks.ResourceString(id) : QString();
}

bool TryStrToFloatAnySep(const QString& text, double& value)
{
    QString t = text.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool hasDigit = false;
    for (const QChar c : t)
        hasDigit = hasDigit || c.isDigit();
    if (!hasDigit)
        return false;
    bool ok = false;
    const double v = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(v))
        return false;
    value = v;
    return true;
}

double StrToFloatAnySep(const QString& text)
{
    double value = 0;
    if (!TryStrToFloatAnySep(text, value))
        throw ConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
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
