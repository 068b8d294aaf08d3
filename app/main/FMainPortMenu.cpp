// The serial ports to choose from: the submenu "Порт обмена" (filled at the first showing) and
// the pop-up menu of the port's status panel (filled each time it opens). Choosing a port
// checks it, takes its number (which closes the port that was open) and opens it.
#include "app/main/FMain.h"

#include "app/dialogs/FPortConfig.h"
#include "app/main/UnhandledException.h"
#include "app/widgets/VSBPro.h"
#include "platform/posix/ComPorts.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

void TfmMain::FillPortMenu(QMenu& menu)
{
    menu.clear();
    std::vector<int> ports;
    ListComPorts(ports, true);
    auto* group = new QActionGroup(&menu);
    group->setExclusive(true);
    for (int number : ports) {
        QAction* item = menu.addAction(QStringLiteral("COM %1").arg(number));
        item->setCheckable(true);
        item->setChecked(Port && number == Port->Number());
        item->setData(number);
        group->addAction(item);
        connect(item, &QAction::triggered, this, [this, item] { RunGuarded([&] { SelectPortClick(*item); }); });
    }
}

void TfmMain::BuildPortMenu()
{
    FillPortMenu(*mnPort);
    sBarPanels[0]->OnDblClick = [this](QObject*) {
        if (!SendTH())
            pmPort->popup(mapToGlobal(QPoint(10, sBar->y() + 10)));
    };
    sBarPanels[1]->OnDblClick = [this](QObject*) { RunGuarded([this] { Execute(acParamCom); }); };
}

// The port's line settings; the speed panel shows the new rate.
void TfmMain::acParamComExecute()
{
    if (ShowPortConfigDialog(*Port, this))
        sBarPanels[1]->SetText(QStringLiteral("Скорость - %1").arg(Port->Param().BaudRate));
}

void TfmMain::SelectPortClick(QAction& item)
{
    item.setChecked(true);
    Port->SetNumber(static_cast<uint8_t>(item.data().toInt()));
    SetPortEnabled(true);
}
