// The main window's serial port and its hand-over between running instances.
#include "app/FMain.h"

#include "app/PortRelease.h"
#include "platform/posix/ProgramFolder.h"
#include "platform/qt/InstanceChannel.h"

void TfmMain::CreatePort()
{
    FPortChannel = new TInstanceChannel(QString::fromStdString(RuntimeFolder()), QStringLiteral("Tavik_zuzid"), this);
    connect(FPortChannel, &TInstanceChannel::MessageReceived, this, &TfmMain::OnInstanceMessage);
    FPortChannel->Listen();
}

bool TfmMain::PortIsOpen() const
{
    return false;
}

void TfmMain::SetPortEnabled(bool)
{
}

void TfmMain::OnInstanceMessage(const QByteArray&, const QString&)
{
}
