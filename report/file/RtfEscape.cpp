#include "report/file/RtfEscape.h"

#include <cstdint>
#include <cstring>

#include "base/CodePage.h"

namespace {

// The most octets one UTF-16 unit becomes: "\u-32768?".
constexpr qsizetype kMaxOctetsPerUnit = 9;

char* Put(char* out, const char* text)
{
    const size_t length = std::strlen(text);
    std::memcpy(out, text, length);
    return out + length;
}

char* PutHexOctet(char* out, int octet)
{
    static const char digits[] = "0123456789abcdef";
    *out++ = '\\';
    *out++ = '\'';
    *out++ = digits[octet >> 4];
    *out++ = digits[octet & 0xF];
    return out;
}

char* PutCharacter(char* out, char16_t c)
{
    if (c >= 0x80) {
        const int octet = UnicodeToOctet(c, CodePage::Cp1251);
        if (octet >= 0)
            return PutHexOctet(out, octet);
        out = Put(out, "\\u");
        const QByteArray number = QByteArray::number(static_cast<int16_t>(c));
        out = Put(out, number.constData());
        *out++ = '?';
        return out;
    }
    switch (c) {
    case '\\': return Put(out, "\\\\");
    case '{': return Put(out, "\\{");
    case '}': return Put(out, "\\}");
    case '\t': return Put(out, "\\tab ");
    default:
        if (c < 0x20)
            return PutHexOctet(out, c);
        *out++ = char(c);
        return out;
    }
}

}  // namespace

void AppendEscapedRtf(QByteArray& rtf, QStringView text)
{
    // Written in place into room for the longest form, then cut to what was written.
    const qsizetype start = rtf.size();
    rtf.resize(start + text.size() * kMaxOctetsPerUnit);
    char* const begin = rtf.data();
    char* out = begin + start;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == '\r' || c == '\n' || c == 0x2028) {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            out = Put(out, "\\line ");
        } else if (c == 0x2029) {
            out = Put(out, "\\par ");
        } else {
            out = PutCharacter(out, c);
        }
    }
    rtf.truncate(out - begin);
}

QByteArray EscapeRtf(QStringView text)
{
    QByteArray rtf;
    AppendEscapedRtf(rtf, text);
    return rtf;
}
