#include "app/main/PortRelease.h"

const QByteArray PortReleaseMsg = QByteArrayLiteral("Перевести COM порт в неактивное состояние");

bool TPortRelease::Names(int number, const QString& device) const
{
    return Device.isEmpty() ? number == Number : device == Device;
}

QByteArray MakePortReleaseMessage(int portNumber, const QString& device)
{
    return PortReleaseMsg + '\n' + QByteArray::number(portNumber) + '\n' + device.toUtf8();
}

std::optional<TPortRelease> ReadPortReleaseMessage(const QByteArray& message)
{
    const qsizetype nameEnd = message.indexOf('\n');
    if (nameEnd < 0 || message.left(nameEnd) != PortReleaseMsg)
        return std::nullopt;
    const QByteArray rest = message.mid(nameEnd + 1);
    const qsizetype numberEnd = rest.indexOf('\n');
    bool ok = false;
    TPortRelease release;
    release.Number = (numberEnd < 0 ? rest : rest.left(numberEnd)).toInt(&ok);
    if (!ok)
        return std::nullopt;
    if (numberEnd >= 0)
        release.Device = QString::fromUtf8(rest.mid(numberEnd + 1));
    return release;
}
