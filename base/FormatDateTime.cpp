#include "base/FormatDateTime.h"

#include <cctype>
#include <cmath>
#include <cstdio>

const TFormatSettings& DefaultFormatSettings()
{
    static const TFormatSettings settings;
    return settings;
}

int DayOfWeek(TDateTime value)
{
    // 1899-12-30, day 0, was a Saturday.
    const auto days = static_cast<long long>(std::trunc(value));
    return static_cast<int>(((days % 7) + 7 + 6) % 7) + 1;
}

namespace {

bool StartsWithNoCase(const std::string& text, size_t pos, const char* word)
{
    for (size_t i = 0; word[i]; ++i) {
        if (pos + i >= text.size()
            || std::tolower(static_cast<unsigned char>(text[pos + i])) != word[i])
            return false;
    }
    return true;
}

class DateTimeWriter {
public:
    DateTimeWriter(TDateTime value, const TFormatSettings& settings)
        : value_(value), parts_(DecodeDateTime(value)), s_(settings)
    {
    }

    void Write(const std::string& format, int depth)
    {
        // The named formats may refer to each other; a few levels are plenty.
        if (depth > 2)
            return;
        const bool twelveHour = UsesTwelveHourClock(format);
        const bool genitive = HasDayNumber(format);
        bool afterHour = false;
        size_t i = 0;
        while (i < format.size()) {
            const char c = format[i];
            const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            if (c == '\'' || c == '"') {
                const size_t end = format.find(c, i + 1);
                out_ += format.substr(i + 1, (end == std::string::npos ? format.size() : end) - i - 1);
                i = end == std::string::npos ? format.size() : end + 1;
                continue;
            }
            if (lower == 'a') {
                i += WriteAmPm(format, i);
                continue;
            }
            const size_t count = RunLength(format, i, lower);
            if (!IsLetter(lower)) {
                WriteOther(c);
                ++i;
                continue;
            }
            i += count;
            switch (lower) {
            case 'c':
                Write(s_.ShortDateFormat, depth + 1);
                if (std::fmod(std::fabs(value_), 1.0) != 0.0) {
                    out_ += ' ';
                    Write(s_.LongTimeFormat, depth + 1);
                }
                break;
            case 'd': WriteDay(count, depth); break;
            case 'm':
                if (afterHour)
                    Number(parts_.minute, count >= 2 ? 2 : 1);
                else
                    WriteMonth(count, genitive);
                break;
            case 'y': Number(count <= 2 ? parts_.year % 100 : parts_.year, count <= 2 ? 2 : 4); break;
            case 'h': {
                int hour = parts_.hour;
                if (twelveHour) {
                    hour %= 12;
                    if (hour == 0)
                        hour = 12;
                }
                Number(hour, count >= 2 ? 2 : 1);
                break;
            }
            case 'n': Number(parts_.minute, count >= 2 ? 2 : 1); break;
            case 's': Number(parts_.second, count >= 2 ? 2 : 1); break;
            case 'z': Number(parts_.msec, count >= 3 ? 3 : 1); break;
            case 't': Write(count >= 2 ? s_.LongTimeFormat : s_.ShortTimeFormat, depth + 1); break;
            }
            // 'm' right after an hour (or after hour and separator) means minutes.
            afterHour = lower == 'h';
        }
    }

    std::string Result() const { return out_; }

private:
    static bool IsLetter(char lower)
    {
        return lower == 'c' || lower == 'd' || lower == 'm' || lower == 'y' || lower == 'h'
            || lower == 'n' || lower == 's' || lower == 'z' || lower == 't';
    }

    static size_t RunLength(const std::string& format, size_t i, char lower)
    {
        size_t n = 0;
        while (i + n < format.size()
               && std::tolower(static_cast<unsigned char>(format[i + n])) == lower)
            ++n;
        return n;
    }

    // A run of one or two d's outside quoted text.
    static bool HasDayNumber(const std::string& format)
    {
        size_t i = 0;
        while (i < format.size()) {
            const char c = format[i];
            if (c == '\'' || c == '"') {
                const size_t end = format.find(c, i + 1);
                i = end == std::string::npos ? format.size() : end + 1;
                continue;
            }
            if (c != 'd' && c != 'D') {
                ++i;
                continue;
            }
            const size_t count = RunLength(format, i, 'd');
            if (count <= 2)
                return true;
            i += count;
        }
        return false;
    }

    static bool UsesTwelveHourClock(const std::string& format)
    {
        for (size_t i = 0; i < format.size(); ++i)
            if (StartsWithNoCase(format, i, "am/pm") || StartsWithNoCase(format, i, "a/p")
                || StartsWithNoCase(format, i, "ampm"))
                return true;
        return false;
    }

    size_t WriteAmPm(const std::string& format, size_t i)
    {
        const bool pm = parts_.hour >= 12;
        if (StartsWithNoCase(format, i, "am/pm")) {
            const size_t at = pm ? i + 3 : i;
            out_ += format.substr(at, 2);
            return 5;
        }
        if (StartsWithNoCase(format, i, "a/p")) {
            out_ += format[pm ? i + 2 : i];
            return 3;
        }
        if (StartsWithNoCase(format, i, "ampm")) {
            out_ += pm ? s_.TimePMString : s_.TimeAMString;
            return 4;
        }
        out_ += format[i];
        return 1;
    }

    void WriteOther(char c)
    {
        if (c == '/')
            out_ += s_.DateSeparator;
        else if (c == ':')
            out_ += s_.TimeSeparator;
        else
            out_ += c;
    }

    void WriteDay(size_t count, int depth)
    {
        if (count <= 2)
            Number(parts_.day, static_cast<int>(count));
        else if (count == 3)
            out_ += s_.ShortDayNames[DayOfWeek(value_) - 1];
        else if (count == 4)
            out_ += s_.LongDayNames[DayOfWeek(value_) - 1];
        else if (count == 5)
            Write(s_.ShortDateFormat, depth + 1);
        else
            Write(s_.LongDateFormat, depth + 1);
    }

    void WriteMonth(size_t count, bool genitive)
    {
        const size_t month = static_cast<size_t>(parts_.month - 1);
        if (count <= 2)
            Number(parts_.month, static_cast<int>(count));
        else if (count == 3)
            out_ += genitive ? s_.ShortMonthGenitiveNames[month] : s_.ShortMonthNames[month];
        else
            out_ += genitive ? s_.LongMonthGenitiveNames[month] : s_.LongMonthNames[month];
    }

    void Number(int value, int digits)
    {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "%0*d", digits, value);
        out_ += buffer;
    }

    TDateTime value_;
    DateTimeParts parts_;
    const TFormatSettings& s_;
    std::string out_;
};

} // namespace

std::string FormatDateTime(const std::string& format, TDateTime value, const TFormatSettings& settings)
{
    DateTimeWriter writer(value, settings);
    writer.Write(format.empty() ? std::string("c") : format, 0);
    return writer.Result();
}
