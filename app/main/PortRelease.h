#pragma once
// The message by which an instance that is about to open a serial port asks every other
// running instance to let that port go: its name, the port number and the device the number
// names in that instance's folder (every link followed). Instances whose folders link the same
// number to different devices keep their lines; the same device under another number is let go.
#include <QByteArray>
#include <QString>

#include <optional>

// The message's name, as every instance knows it.
extern const QByteArray PortReleaseMsg;

// The port asked for.
struct TPortRelease {
    int Number = 0;
    QString Device;   // empty from an instance that names the number alone

    // Whether a port open as `number` on `device` is the one asked for: the same device, or
    // the same number when the asking instance did not name its device.
    bool Names(int number, const QString& device) const;
};

QByteArray MakePortReleaseMessage(int portNumber, const QString& device);
// The port of a port-release message; nothing for any other message.
std::optional<TPortRelease> ReadPortReleaseMessage(const QByteArray& message);
