#include "report/expr/EditMask.h"

#include <vector>

#include "base/FormatDateTime.h"

namespace {

enum class TCaseChange { None, Upper, Lower };

// One element of a mask: a position that takes a character of the text, or a literal.
struct TMaskItem {
    bool position = false;
    QChar literal;
    TCaseChange caseChange = TCaseChange::None;
};

bool IsPositionChar(QChar c)
{
    return QStringLiteral("LlAaCc09#").contains(c);
}

QChar LiteralOf(QChar c)
{
    const TFormatSettings& settings = DefaultFormatSettings();
    if (c == QLatin1Char(':'))
        return QLatin1Char(settings.TimeSeparator);
    if (c == QLatin1Char('/'))
        return QLatin1Char(settings.DateSeparator);
    if (c == QLatin1Char('_'))
        return QLatin1Char(' ');
    return c;
}

std::vector<TMaskItem> ParseMask(const QString& mask, bool& alignRight)
{
    std::vector<TMaskItem> items;
    TCaseChange caseChange = TCaseChange::None;
    alignRight = false;
    const qsizetype n = mask.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = mask[i];
        if (c == QLatin1Char('!')) {
            alignRight = true;
        } else if (c == QLatin1Char('<') && i + 1 < n && mask[i + 1] == QLatin1Char('>')) {
            caseChange = TCaseChange::None;
            ++i;
        } else if (c == QLatin1Char('>')) {
            caseChange = TCaseChange::Upper;
        } else if (c == QLatin1Char('<')) {
            caseChange = TCaseChange::Lower;
        } else if (c == QLatin1Char('\\')) {
            if (++i < n)
                items.push_back(TMaskItem{false, mask[i]});
        } else if (IsPositionChar(c)) {
            items.push_back(TMaskItem{true, QChar(), caseChange});
        } else {
            items.push_back(TMaskItem{false, LiteralOf(c)});
        }
    }
    return items;
}

QChar Cased(QChar c, TCaseChange caseChange)
{
    switch (caseChange) {
    case TCaseChange::Upper: return c.toUpper();
    case TCaseChange::Lower: return c.toLower();
    default: return c;
    }
}

}  // namespace

QString EditMaskPositions(const QString& editMask)
{
    for (qsizetype i = 0; i < editMask.size(); ++i) {
        if (editMask[i] == QLatin1Char('\\'))
            ++i;
        else if (editMask[i] == QLatin1Char(';'))
            return editMask.left(i);
    }
    return editMask;
}

QString FormatMaskText(const QString& mask, const QString& text, QChar blank)
{
    bool alignRight = false;
    const std::vector<TMaskItem> items = ParseMask(mask, alignRight);
    qsizetype positions = 0;
    for (const TMaskItem& item : items)
        positions += item.position ? 1 : 0;
    // Right-aligned, the text's first characters go to the positions its length leaves over.
    const qsizetype skipped = alignRight ? std::max<qsizetype>(0, positions - text.size()) : 0;
    const qsizetype surplus = std::max<qsizetype>(0, text.size() - positions);
    qsizetype next = alignRight ? surplus : 0;   // the text's next character
    qsizetype position = 0;
    QString result = alignRight ? text.left(surplus) : QString();
    for (const TMaskItem& item : items) {
        if (!item.position) {
            result += item.literal;
        } else if (position++ < skipped || next >= text.size()) {
            result += blank;
        } else {
            result += Cased(text[next++], item.caseChange);
        }
    }
    if (!alignRight)
        result += text.mid(next);
    return result;
}
