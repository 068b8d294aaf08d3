#include "app/main/PortRelease.h"

const QByteArray PortReleaseMsg = QByteArrayLiteral("Перевести COM порт в неактивное состояние");

QByteArray MakePortReleaseMessage(int portNumber)
{
    return PortReleaseMsg + '\n' + QByteArray::number(portNumber);
}

std::optional<int> ReadPortReleaseMessage(const QByteArray& message)
{
    const qsizetype newline = message.lastIndexOf('\n');
    if (newline < 0 || message.left(newline) != PortReleaseMsg)
        return std::nullopt;
    bool ok = false;
    const int number = message.mid(newline + 1).toInt(&ok);
    return ok ? std::optional<int>(number) : std::nullopt;
}
