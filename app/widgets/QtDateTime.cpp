#include "app/widgets/QtDateTime.h"

QDateTime ToQDateTime(TDateTime value)
{
    const DateTimeParts p = DecodeDateTime(value);
    return QDateTime(QDate(p.year, p.month, p.day), QTime(p.hour, p.minute, p.second));
}

TDateTime FromQDateTime(const QDate& date, const QTime& time)
{
    TDateTime result = 0;
    DateTimeParts p;
    p.year = date.year();
    p.month = date.month();
    p.day = date.day();
    p.hour = time.hour();
    p.minute = time.minute();
    p.second = time.second();
    TryEncodeDateTime(p, result);
    return result;
}
