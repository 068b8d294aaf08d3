#pragma once
// The program's date-time value: days since 1899-12-30 as a double, the fraction being the
// time of day. Values before that day keep the time of day as a positive fraction of a negative
// number (-1.25 is 1899-12-29 06:00). Values are local (wall-clock) times.
#include <cstdint>

using TDateTime = double;

constexpr double kUnixDateDelta = 25569.0;   // 1970-01-01 as a TDateTime
constexpr double kSecsPerDay = 86400.0;
constexpr double kMSecsPerDay = 86400000.0;

struct DateTimeParts {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0, msec = 0;
    bool operator==(const DateTimeParts&) const = default;
};

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

// The Try forms return false for an invalid date or time; the others raise EConvertError.
bool TryEncodeDate(int year, int month, int day, TDateTime& result);
bool TryEncodeTime(int hour, int minute, int second, int msec, TDateTime& result);
bool TryEncodeDateTime(const DateTimeParts& parts, TDateTime& result);
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int msec);
TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int msec);
TDateTime EncodeDateTime(const DateTimeParts& parts);

// Whether a value lies in the years 1 to 9999, the dates the program encodes.
bool IsDateTimeInRange(TDateTime value);

// Splits a value into its parts, rounding to the nearest millisecond. Beyond about 290 million
// years, and for NaN, it raises EInvalidOp.
DateTimeParts DecodeDateTime(TDateTime value);

// Unix time as the program computes it: Round((T - 25569) * 86400); EInvalidOp beyond 64 bits.
int64_t DateTimeToUnix(TDateTime value);
TDateTime UnixToDateTime(int64_t seconds);

// The local wall-clock time now, to the millisecond.
TDateTime Now();
// Today's date at midnight.
TDateTime Date();

// Local wall-clock time <-> seconds since the Unix epoch in UTC (through the machine's time zone).
TDateTime UtcSecondsToLocal(int64_t utcSeconds, int msec = 0);
int64_t LocalToUtcSeconds(TDateTime local);
