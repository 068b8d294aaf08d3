#include "core/DataFile/PointText.h"

#include <charconv>
#include <cstdio>

namespace {

// The text as ASCII without the blanks around it; nothing when it holds any other character or
// does not fit (no number or date the file holds is that long).
std::optional<std::string_view> Ascii(QStringView text, TPointTextBuffer& buffer)
{
    text = text.trimmed();
    if (text.size() > static_cast<qsizetype>(buffer.size()))
        return std::nullopt;
    size_t n = 0;
    for (QChar c : text) {
        if (c.unicode() > 0x7F)
            return std::nullopt;
        buffer[n++] = static_cast<char>(c.unicode());
    }
    return std::string_view(buffer.data(), n);
}

// Reads 'min'..'max' digits at the cursor.
bool Digits(std::string_view& s, size_t min, size_t max, int& value)
{
    size_t n = 0;
    value = 0;
    while (n < s.size() && n < max && s[n] >= '0' && s[n] <= '9')
        value = value * 10 + (s[n++] - '0');
    if (n < min)
        return false;
    s.remove_prefix(n);
    return true;
}

bool Char(std::string_view& s, char c)
{
    if (s.empty() || s.front() != c)
        return false;
    s.remove_prefix(1);
    return true;
}

// ".zzz" with one to three digits, read as a fraction of a second.
bool Milliseconds(std::string_view& s, int& msec)
{
    msec = 0;
    if (!Char(s, '.'))
        return true;
    const size_t before = s.size();
    int digits = 0;
    if (!Digits(s, 1, 3, digits))
        return false;
    for (size_t n = before - s.size(); n < 3; ++n)
        digits *= 10;
    msec = digits;
    return true;
}

std::optional<TDateTime> Encode(const DateTimeParts& parts)
{
    TDateTime result = 0;
    if (!TryEncodeDateTime(parts, result))
        return std::nullopt;
    return result;
}

std::optional<TDateTime> ParseFixed(std::string_view s)
{
    DateTimeParts p;
    if (!Digits(s, 4, 4, p.year) || !Char(s, '-') || !Digits(s, 2, 2, p.month) || !Char(s, '-') ||
        !Digits(s, 2, 2, p.day) || !Char(s, 'T') || !Digits(s, 2, 2, p.hour) || !Char(s, ':') ||
        !Digits(s, 2, 2, p.minute) || !Char(s, ':') || !Digits(s, 2, 2, p.second) || !Milliseconds(s, p.msec) ||
        !s.empty())
        return std::nullopt;
    return Encode(p);
}

// The Russian locale's date and long time; the time is left out at midnight.
std::optional<TDateTime> ParseDotted(std::string_view s)
{
    DateTimeParts p;
    if (!Digits(s, 1, 2, p.day) || !Char(s, '.') || !Digits(s, 1, 2, p.month) || !Char(s, '.') ||
        !Digits(s, 4, 4, p.year))
        return std::nullopt;
    if (!s.empty()) {
        if (!Char(s, ' '))
            return std::nullopt;
        while (Char(s, ' ')) {
        }
        if (!Digits(s, 1, 2, p.hour) || !Char(s, ':') || !Digits(s, 2, 2, p.minute))
            return std::nullopt;
        if (Char(s, ':') && (!Digits(s, 2, 2, p.second) || !Milliseconds(s, p.msec)))
            return std::nullopt;
        if (!s.empty())
            return std::nullopt;
    }
    return Encode(p);
}

} // namespace

std::string_view FormatPointTime(TDateTime time, TPointTextBuffer& buffer)
{
    const DateTimeParts p = DecodeDateTime(time);
    const int n = std::snprintf(buffer.data(), buffer.size(), "%04d-%02d-%02dT%02d:%02d:%02d.%03d", p.year, p.month,
                                p.day, p.hour, p.minute, p.second, p.msec);
    return std::string_view(buffer.data(), static_cast<size_t>(n));
}

std::string_view FormatPointValue(double value, TPointTextBuffer& buffer)
{
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string_view(buffer.data(), static_cast<size_t>(result.ptr - buffer.data()));
}

std::string_view FormatInteger(int64_t value, TPointTextBuffer& buffer)
{
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string_view(buffer.data(), static_cast<size_t>(result.ptr - buffer.data()));
}

std::optional<TDateTime> ParsePointTime(QStringView text)
{
    TPointTextBuffer buffer;
    const auto s = Ascii(text, buffer);
    if (!s)
        return std::nullopt;
    if (auto fixed = ParseFixed(*s))
        return fixed;
    return ParseDotted(*s);
}

std::optional<double> ParsePointValue(QStringView text)
{
    TPointTextBuffer buffer;
    auto s = Ascii(text, buffer);
    if (!s || s->empty())
        return std::nullopt;
    // A comma is the decimal separator of the older files; a text with both is no number.
    const size_t comma = s->find(',');
    if (comma != std::string_view::npos) {
        if (s->find('.') != std::string_view::npos || s->find(',', comma + 1) != std::string_view::npos)
            return std::nullopt;
        buffer[comma] = '.';
    }
    double value = 0;
    const auto result = std::from_chars(s->data(), s->data() + s->size(), value);
    if (result.ec != std::errc() || result.ptr != s->data() + s->size())
        return std::nullopt;
    return value;
}

std::optional<int64_t> ParseInteger(QStringView text)
{
    TPointTextBuffer buffer;
    auto s = Ascii(text, buffer);
    if (!s || s->empty())
        return std::nullopt;
    if (s->front() == '+') {
        s->remove_prefix(1);
        if (s->empty() || s->front() == '-')
            return std::nullopt;
    }
    int64_t value = 0;
    const auto result = std::from_chars(s->data(), s->data() + s->size(), value);
    if (result.ec != std::errc() || result.ptr != s->data() + s->size())
        return std::nullopt;
    return value;
}
