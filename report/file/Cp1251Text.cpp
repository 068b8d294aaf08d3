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
    // Every character of the code page lies in the basic plane: one octet, one UTF-16 unit.
    QString text(octets.size(), Qt::Uninitialized);
    char16_t* units = reinterpret_cast<char16_t*>(text.data());
    for (qsizetype i = 0; i < octets.size(); ++i) {
        const auto octet = static_cast<unsigned char>(octets[i]);
        units[i] = octet < 0x80 ? char16_t(octet) : char16_t(OctetToUnicode(octet, CodePage::Cp1251));
    }
    return text;
}
