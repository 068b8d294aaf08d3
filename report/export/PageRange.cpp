#include "report/export/PageRange.h"

#include <algorithm>

#include <QStringList>

#include "report/runtime/ReportErrors.h"

TrpPageRange::TrpPageRange(const QString& text)
{
    QString compact = text;
    compact.remove(QLatin1Char(' '));
    if (compact.isEmpty())
        return;
    const auto number = [&](const QString& part) {
        bool ok = false;
        const int value = part.toInt(&ok);
        if (!ok || part.startsWith(QLatin1Char('+')))
            throw ConvertError(QStringLiteral("Неверный диапазон страниц: \"%1\"").arg(text));
        return value;
    };
    for (const QString& item : compact.split(QLatin1Char(','))) {
        const qsizetype dash = item.indexOf(QLatin1Char('-'));
        if (dash < 0) {
            const int page = number(item);
            ranges_.emplace_back(page, page);
        } else {
            ranges_.emplace_back(number(item.left(dash)), number(item.mid(dash + 1)));
        }
    }
}

bool TrpPageRange::Contains(int page) const
{
    return AllPages() || std::any_of(ranges_.begin(), ranges_.end(), [page](const auto& range) {
               return range.first <= page && page <= range.second;
           });
}

bool TrpPageRange::SelectsAny(int pageCount) const
{
    if (pageCount <= 0)
        return false;
    return AllPages() || std::any_of(ranges_.begin(), ranges_.end(), [pageCount](const auto& range) {
               return range.first <= range.second && range.second >= 1 && range.first <= pageCount;
           });
}
