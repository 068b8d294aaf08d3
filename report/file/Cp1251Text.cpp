#include "report/file/Cp1251Text.h"

#include "base/CodePage.h"

qsizetype ToCp1251(QStringView text, char* octets)
{
    // Straight from UTF-16: every printed object's texts pass here.
    qsizetype n = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        int octet = unit < 0x80 ? int(unit) : -1;
        if (octet < 0 && QChar::isHighSurrogate(unit) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;   // no character beyond the basic plane is in the code page
        else if (octet < 0 && !QChar::isSurrogate(unit))
            octet = UnicodeToOctet(unit, CodePage::Cp1251);
        octets[n++] = octet >= 0 ? char(octet) : '?';
    }
    return n;
}

QByteArray ToCp1251(const QString& text)
{
    QByteArray octets(text.size(), Qt::Uninitialized);
    octets.truncate(ToCp1251(QStringView(text), octets.data()));
    return octets;
}

QString FromCp1251(const QByteArray& octets)
{
    const std::string utf8 = Cp1251ToUtf8(std::string_view(octets.constData(), size_t(octets.size())));
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}
