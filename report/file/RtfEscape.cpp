#include "report/file/RtfEscape.h"

#include <cstdint>

#include "base/CodePage.h"

namespace {

void AppendHexOctet(QByteArray& rtf, int octet)
{
    static const char digits[] = "0123456789abcdef";
    rtf += "\\'";
    rtf += digits[octet >> 4];
    rtf += digits[octet & 0xF];
}

void AppendCharacter(QByteArray& rtf, char16_t c)
{
    if (c >= 0x80) {
        const int octet = UnicodeToOctet(c, CodePage::Cp1251);
        if (octet >= 0) {
            AppendHexOctet(rtf, octet);
        } else {
            rtf += "\\u";
            rtf += QByteArray::number(static_cast<int16_t>(c));
            rtf += '?';
        }
        return;
    }
    switch (c) {
    case '\\': rtf += "\\\\"; break;
    case '{': rtf += "\\{"; break;
    case '}': rtf += "\\}"; break;
    case '\t': rtf += "\\tab "; break;
    default:
        if (c < 0x20)
            AppendHexOctet(rtf, c);
        else
            rtf += char(c);
    }
}

}  // namespace

void AppendEscapedRtf(QByteArray& rtf, QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == '\r' || c == '\n' || c == 0x2028) {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            rtf += "\\line ";
        } else if (c == 0x2029) {
            rtf += "\\par ";
        } else {
            AppendCharacter(rtf, c);
        }
    }
}

QByteArray EscapeRtf(QStringView text)
{
    QByteArray rtf;
    rtf.reserve(text.size() + text.size() / 8);
    AppendEscapedRtf(rtf, text);
    return rtf;
}
