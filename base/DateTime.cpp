#include "base/DateTime.h"

#include "base/Exception.h"
#include "base/Rounding.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <sys/time.h>

namespace {

// Days from 1970-01-01 to the given civil date (proleptic Gregorian calendar).
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int& year, int& month, int& day)
{
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t y = static_cast<int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(y + (month <= 2));
}

constexpr int64_t kEpochOffsetDays = 25569;   // 1899-12-30 -> 1970-01-01
// The whole days just outside the encoded years: 0000-12-31 (negated) and 10000-01-01.
constexpr int64_t kFirstDayBeyondRange = 693594;
constexpr int64_t kLastDayBeyondRange = 2958466;

// Joins a whole-day number and a time fraction the way negative values keep their time positive.
TDateTime Compose(TDateTime date, TDateTime time)
{
    return date < 0 ? date - time : date + time;
}

TDateTime FromTimespec(const timespec& ts)
{
    tm local{};
    localtime_r(&ts.tv_sec, &local);
    return EncodeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                          local.tm_min, std::min(local.tm_sec, 59),
                          static_cast<int>(ts.tv_nsec / 1000000));
}

} // namespace

bool IsLeapYear(int year)
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(int year, int month)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return days[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}

bool TryEncodeDate(int year, int month, int day, TDateTime& result)
{
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
        return false;
    result = static_cast<double>(DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day))
                                 + kEpochOffsetDays);
    return true;
}

bool TryEncodeTime(int hour, int minute, int second, int msec, TDateTime& result)
{
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || msec < 0 || msec > 999)
        return false;
    result = (hour * 3600000.0 + minute * 60000.0 + second * 1000.0 + msec) / kMSecsPerDay;
    return true;
}

bool TryEncodeDateTime(const DateTimeParts& p, TDateTime& result)
{
    TDateTime date = 0, time = 0;
    if (!TryEncodeDate(p.year, p.month, p.day, date) || !TryEncodeTime(p.hour, p.minute, p.second, p.msec, time))
        return false;
    result = Compose(date, time);
    return true;
}

TDateTime EncodeDate(int year, int month, int day)
{
    TDateTime result = 0;
    if (!TryEncodeDate(year, month, day, result))
        throw EConvertError("Неверный аргумент при кодировании даты");
    return result;
}

TDateTime EncodeTime(int hour, int minute, int second, int msec)
{
    TDateTime result = 0;
    if (!TryEncodeTime(hour, minute, second, msec, result))
        throw EConvertError("Неверный аргумент при кодировании времени");
    return result;
}

TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int msec)
{
    return Compose(EncodeDate(year, month, day), EncodeTime(hour, minute, second, msec));
}

TDateTime EncodeDateTime(const DateTimeParts& p)
{
    return EncodeDateTime(p.year, p.month, p.day, p.hour, p.minute, p.second, p.msec);
}

bool IsDateTimeInRange(TDateTime value)
{
    return value > -double(kFirstDayBeyondRange) && value < double(kLastDayBeyondRange);
}

DateTimeParts DecodeDateTime(TDateTime value)
{
    // Whole milliseconds first, then split: the integer part counts days toward zero and the
    // time of day is the magnitude of what is left.
    const int64_t msPerDay = 86400000;
    int64_t total = Round(value * kMSecsPerDay);
    // A value in the range stays there: its last millisecond of 9999-12-31 (or, before the
    // epoch, of 0001-01-01) must not round into a year the program cannot encode.
    if (IsDateTimeInRange(value))
        total = std::clamp(total, -kFirstDayBeyondRange * msPerDay + 1, kLastDayBeyondRange * msPerDay - 1);
    const int64_t days = total / msPerDay;
    int64_t ms = total % msPerDay;
    if (ms < 0)
        ms = -ms;
    DateTimeParts p;
    CivilFromDays(days - kEpochOffsetDays, p.year, p.month, p.day);
    p.hour = static_cast<int>(ms / 3600000);
    p.minute = static_cast<int>(ms / 60000 % 60);
    p.second = static_cast<int>(ms / 1000 % 60);
    p.msec = static_cast<int>(ms % 1000);
    return p;
}

int64_t DateTimeToUnix(TDateTime value)
{
    return Round((value - kUnixDateDelta) * kSecsPerDay);
}

TDateTime UnixToDateTime(int64_t seconds)
{
    return static_cast<double>(seconds) / kSecsPerDay + kUnixDateDelta;
}

TDateTime Now()
{
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return FromTimespec(ts);
}

TDateTime Date()
{
    return std::floor(Now());
}

TDateTime UtcSecondsToLocal(int64_t utcSeconds, int msec)
{
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(utcSeconds);
    ts.tv_nsec = static_cast<long>(msec) * 1000000;
    return FromTimespec(ts);
}

int64_t LocalToUtcSeconds(TDateTime local)
{
    const DateTimeParts p = DecodeDateTime(local);
    tm t{};
    t.tm_year = p.year - 1900;
    t.tm_mon = p.month - 1;
    t.tm_mday = p.day;
    t.tm_hour = p.hour;
    t.tm_min = p.minute;
    t.tm_sec = p.second;
    t.tm_isdst = -1;
    return static_cast<int64_t>(mktime(&t));
}
