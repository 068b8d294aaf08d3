#include "app/graph/TimeAxisFormat.h"

#include <algorithm>

QString TimeAxisFormat(const QDateTime& min, const QDateTime& max, int tickCount)
{
    constexpr qint64 kSecond = 1000, kMinute = 60 * kSecond, kDay = 24 * 60 * kMinute;
    const qint64 step = min.msecsTo(max) / std::max(1, tickCount - 1);
    if (step >= kDay)
        return QStringLiteral("dd.MM.yy");
    QString time = step >= kMinute ? QStringLiteral("hh:mm")
                 : step >= kSecond ? QStringLiteral("hh:mm:ss")
                                   : QStringLiteral("hh:mm:ss.zzz");
    if (min.date() != max.date())
        time.prepend(QStringLiteral("dd.MM "));
    return time;
}
