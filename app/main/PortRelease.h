#pragma once
// The message by which an instance that is about to open a serial port asks every other
// running instance to let that port go: its name and the port number.
#include <QByteArray>

#include <optional>

// The message's name, as every instance knows it.
extern const QByteArray PortReleaseMsg;

QByteArray MakePortReleaseMessage(int portNumber);
// The port number of a port-release message; nothing for any other message.
std::optional<int> ReadPortReleaseMessage(const QByteArray& message);
