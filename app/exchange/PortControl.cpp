#include "app/exchange/PortControl.h"

#include "app/dialogs/FPortConfig.h"
#include "app/main/PortRelease.h"
#include "app/main/UnhandledException.h"
#include "app/widgets/VSBPro.h"
#include "comm/CommPort.h"
#include "platform/posix/ComPorts.h"
#include "platform/posix/ProgramFolder.h"
#include "platform/posix/SerialDevicePath.h"
#include "platform/qt/InstanceChannel.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QMenu>
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

TPortControl::TPortControl(TCommPort& port, const TPortWindow& window)
    : QObject(window.Window), Port(port), window_(window)
{
    Port.SetNumber(1);
    TPortParametrs param;
    param.BaudRate = 19200;
    param.Flags = 16;   // DTR enabled, binary bit clear
    param.ByteSize = 8;
    param.Parity = 0;
    param.StopBits = 0;
    Port.SetParam(param);
    TPortTimeOut timeOut;
    timeOut.ReadIntervalTimeOut = 50;
    timeOut.ReadTimeoutMultiplier = 50;
    timeOut.ReadTimeoutConstant = 100;
    timeOut.WriteTimeoutMultiplier = 10;
    timeOut.WriteTimeoutConstant = 5;
    Port.SetTimeOut(timeOut);
    Port.SetChangeCursor(false);
    Port.SetRsvClear(true);
    Port.BusyCursor().Install(ShowBusyCursor);

    FPortChannel = new TInstanceChannel(QString::fromStdString(RuntimeFolder()), QStringLiteral("Tavik_zuzid"), this);
    connect(FPortChannel, &TInstanceChannel::MessageReceived, this, [this](const QByteArray& message, const QString& sender) {
        RunGuarded(this, [&] { OnInstanceMessage(message, sender); });
    });
    FPortChannel->Listen();
    connect(window_.PortPopup, &QMenu::aboutToShow, this,
            [this] { RunGuarded(this, [this] { FillPortMenu(*window_.PortPopup); }); });
}

void TPortControl::SetPortEnabled(bool on)
{
    if (Port.Enable() == on)
        return;
    if (on) {
        const std::string device = CanonicalDevicePath(SerialDevicePath(Port.Number()));
        FPortChannel->Broadcast(MakePortReleaseMessage(Port.Number(), QString::fromStdString(device)), kReleaseWaitMs);
    }
    Port.SetEnable(on);
    ShowPortStatus();
}

QString TPortControl::PortStatusText() const
{
    return QStringLiteral("COM%1 - %2").arg(Port.Number()).arg(QString::fromStdString(Port.Status()));
}

void TPortControl::RefreshPortStatus()
{
    // Until the port is first opened or closed the panel shows nothing.
    if (!window_.PortPanel->Text().isEmpty() && window_.PortPanel->Text() != PortStatusText())
        ShowPortStatus();
}

void TPortControl::ShowPortStatus()
{
    TVStatusPanelPro& portPanel = *window_.PortPanel;
    portPanel.SetText(PortStatusText());
    portPanel.SetWidth(window_.StatusBar->fontMetrics().horizontalAdvance(portPanel.Text()) + 30);
    window_.SpeedPanel->SetText(QStringLiteral("Скорость - %1").arg(Port.Param().BaudRate));
}

// Another instance is opening a port: ours is let go when it is that one's device.
void TPortControl::OnInstanceMessage(const QByteArray& message, const QString& senderId)
{
    const std::optional<TPortRelease> release = ReadPortReleaseMessage(message);
    if (!release || senderId == FPortChannel->Id())
        return;
    if (release->Names(Port.Number(), QString::fromStdString(Port.Device())))
        SetPortEnabled(false);
}

void TPortControl::ac485Execute()
{
    Port.SetIs485(!Port.is485());
    window_.Rs485->setChecked(Port.is485());
}

void TPortControl::acEchoExecute()
{
    Port.SetEcho(!Port.Echo());
    window_.Echo->setChecked(Port.Echo());
}

void TPortControl::FillPortMenu(QMenu& menu)
{
    menu.clear();
    std::vector<int> ports;
    ListComPorts(ports, true);
    auto* group = new QActionGroup(&menu);
    group->setExclusive(true);
    for (int number : ports) {
        QAction* item = menu.addAction(QStringLiteral("COM %1").arg(number));
        item->setCheckable(true);
        item->setChecked(number == Port.Number());
        item->setData(number);
        group->addAction(item);
        connect(item, &QAction::triggered, this, [this, item] { RunGuarded(this, [&] { SelectPortClick(*item); }); });
    }
}

void TPortControl::BuildPortMenu()
{
    FillPortMenu(*window_.PortMenu);
    window_.PortPanel->OnDblClick = [this](QObject*) {
        if (!window_.PassRunning())
            window_.PortPopup->popup(window_.Window->mapToGlobal(QPoint(10, window_.StatusBar->y() + 10)));
    };
    window_.SpeedPanel->OnDblClick = [this](QObject*) { RunGuarded(this, [this] { window_.Execute(window_.Parameters); }); };
}

// The port's line settings; the speed panel shows the new rate.
void TPortControl::acParamComExecute()
{
    if (ShowPortConfigDialog(Port, window_.Window))
        window_.SpeedPanel->SetText(QStringLiteral("Скорость - %1").arg(Port.Param().BaudRate));
}

void TPortControl::SelectPortClick(QAction& item)
{
    item.setChecked(true);
    Port.SetNumber(static_cast<uint8_t>(item.data().toInt()));
    SetPortEnabled(true);
}
