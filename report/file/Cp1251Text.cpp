#include "report/file/Cp1251Text.h"

#include "base/CodePage.h"

QByteArray ToCp1251(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    const std::string octets = Utf8ToCp1251(std::string_view(utf8.constData(), size_t(utf8.size())));
    return QByteArray(octets.data(), qsizetype(octets.size()));
}

QString FromCp1251(const QByteArray& octets)
{
    const std::string utf8 = Cp1251ToUtf8(std::string_view(octets.constData(), size_t(octets.size())));
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}
