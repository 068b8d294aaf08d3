#pragma once
// The program's date-time values in Qt's date and time edits, to the second.
#include "base/DateTime.h"

#include <QDateTime>

QDateTime ToQDateTime(TDateTime value);
// The date's day at the time of day; 0 when the two make no valid date-time.
TDateTime FromQDateTime(const QDate& date, const QTime& time);
