// The main window's serial port and its hand-over between running instances: an instance
// that opens a port first asks the others to let it go, and lets its own port go when another
// asks for that number.
#include "app/main/FMain.h"

#include "app/main/PortRelease.h"
#include "app/main/UnhandledException.h"
#include "app/widgets/VSBPro.h"
#include "core/Monitor.h"
#include "platform/posix/ProgramFolder.h"
#include "platform/qt/InstanceChannel.h"

#include <QAction>
#include <QApplication>
#include <QThread>

namespace {

constexpr int kReleaseWaitMs = 50;   // per other instance

// The hourglass while the line keeps the program waiting (clearing the archive, or every send
// when the port asks for it). Off the GUI thread the change is posted there.
void ShowBusyCursor(bool busy)
{
    const auto change = [busy] {
        if (busy)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    };
    if (QThread::currentThread() == qApp->thread())
        change();
    else
        QMetaObject::invokeMethod(qApp, change, Qt::QueuedConnection);
}

} // namespace

void TfmMain::CreatePort()
{
    Port->SetNumber(1);
    TPortParametrs param;
    param.BaudRate = 19200;
    param.Flags = 16;   // DTR enabled, binary bit clear
    param.ByteSize = 8;
    param.Parity = 0;
    param.StopBits = 0;
    Port->SetParam(param);
    TPortTimeOut timeOut;
    timeOut.ReadIntervalTimeOut = 50;
    timeOut.ReadTimeoutMultiplier = 50;
    timeOut.ReadTimeoutConstant = 100;
    timeOut.WriteTimeoutMultiplier = 10;
    timeOut.WriteTimeoutConstant = 5;
    Port->SetTimeOut(timeOut);
    Port->SetChangeCursor(false);
    Port->SetRsvClear(true);
    Port->BusyCursor().Install(ShowBusyCursor);

    FPortChannel = new TInstanceChannel(QString::fromStdString(RuntimeFolder()), QStringLiteral("Tavik_zuzid"), this);
    connect(FPortChannel, &TInstanceChannel::MessageReceived, this, [this](const QByteArray& message, const QString& sender) {
        RunGuarded([&] { OnInstanceMessage(message, sender); });
    });
    FPortChannel->Listen();
}

bool TfmMain::PortIsOpen() const
{
    return Port->Enable();
}

void TfmMain::SetPortEnabled(bool on)
{
    if (Port->Enable() == on)
        return;
    if (on)
        FPortChannel->Broadcast(MakePortReleaseMessage(Port->Number()), kReleaseWaitMs);
    Port->SetEnable(on);
    ShowPortStatus();
}

void TfmMain::ShowPortStatus()
{
    TVStatusPanelPro& portPanel = *sBarPanels[0];
    portPanel.SetText(QStringLiteral("COM%1 - %2").arg(Port->Number()).arg(QString::fromStdString(Port->Status())));
    portPanel.SetWidth(sBar->fontMetrics().horizontalAdvance(portPanel.Text()) + 30);
    sBarPanels[1]->SetText(QStringLiteral("Скорость - %1").arg(Port->Param().BaudRate));
}

// Another instance is opening a port: ours is let go when it is that one.
void TfmMain::OnInstanceMessage(const QByteArray& message, const QString& senderId)
{
    const std::optional<int> number = ReadPortReleaseMessage(message);
    if (!number || senderId == FPortChannel->Id())
        return;
    if (*number == Port->Number())
        SetPortEnabled(false);
}

void TfmMain::ac485Execute()
{
    Port->SetIs485(!Port->is485());
    ac485->setChecked(Port->is485());
}

void TfmMain::acEchoExecute()
{
    Port->SetEcho(!Port->Echo());
    acEcho->setChecked(Port->Echo());
}
