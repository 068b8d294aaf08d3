#include "app/main/MainMenus.h"

#include "app/main/MainActions.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>

namespace {

QMenu* AddMenu(QWidget* parentMenu, const char* name, const char* caption)
{
    auto* menu = new QMenu(QString::fromUtf8(caption), parentMenu);
    menu->setObjectName(QString::fromLatin1(name));
    if (auto* bar = qobject_cast<QMenuBar*>(parentMenu))
        bar->addMenu(menu);
    else if (auto* owner = qobject_cast<QMenu*>(parentMenu))
        owner->addMenu(menu);
    return menu;
}

QMenu* PopupMenu(QWidget* owner, const char* name)
{
    auto* menu = new QMenu(owner);
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

QAction* AddItem(QMenu* menu, const char* name, const char* caption)
{
    QAction* item = menu->addAction(QString::fromUtf8(caption));
    item->setObjectName(QString::fromLatin1(name));
    return item;
}

} // namespace

void TMainMenus::BuildMenus(QMainWindow& window, const TMainActions& a)
{
    MainMenu1 = window.menuBar();
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));

    mnFile = AddMenu(MainMenu1, "mnFile", "&Файл");
    mnFile->addActions({a.acOpenCnf, a.acSaveCnf});
    mnFile->addSeparator();
    mnFile->addActions({a.acOpenDAT, a.acSaveDAT, a.acSaveAsDAT});
    mnFile->addSeparator();
    mnFile->addActions({a.acExport, a.acImport});
    mnFile->addSeparator();
    mnFile->addActions({a.acPrint, a.acPrintGraph});
    mnFile->addSeparator();
    mnFile->addAction(a.acSelUser);
    mnFile->addSeparator();
    mnFile->addAction(a.acClose);

    mnExchange = AddMenu(MainMenu1, "mnExchange", "&Обмен");
    mnExchange->addAction(a.acFullExchg);
    mnExchangeOneBlock = AddMenu(mnExchange, "mnExchangeOneBlock", "Обмен для одного &СК");
    mnExchangeOneBlock->menuAction()->setStatusTip(QStringLiteral("Выполнить опрос одного СК"));
    mnExchange->addAction(a.acSelectExchg);
    mnExchange->addSeparator();
    mnExchange->addAction(a.acMB);
    mnExchange->addSeparator();
    mnExchange->addAction(a.acClearRetro);

    mnSettings = AddMenu(MainMenu1, "mnSettings", "&Настройки");
    mnUsers = AddMenu(mnSettings, "mnUsers", "&Управление пользователем");
    N55 = AddItem(mnUsers, "N55", "Изменить...");
    N56 = AddItem(mnUsers, "N56", "Добавить...");
    N57 = AddItem(mnUsers, "N57", "Удалить...");
    mnSettings->addAction(a.acSetProp);
    mnSettings->addSeparator();
    mnSettings->addActions({a.acHardCnfg, a.acControllers, a.acTimePeriod, a.acTimerParam, a.acEdit, a.acOverlay});
    mnSettings->addSeparator();
    mnSettings->addActions({a.acGraphParam, a.asPrecision, a.acMaxT, a.acSelExportDB});
    mnReport = AddMenu(mnSettings, "mnReport", "&Отчет");
    mnReport->addActions({a.acSortBySilos, a.acSortByBin});
    miReportTimeManual = AddItem(mnReport, "miReportTimeManual", "Вводить время отчета вручную ");
    miReportTimeManual->setCheckable(true);
    mnReport->addSeparator();
    mnReport->addAction(a.acColorPrint);
    mnSettings->addSeparator();
    mnPort = AddMenu(mnSettings, "mnPort", "&Порт обмена");
    mnSettings->addActions({a.acParamCom, a.acShowErr});
    mnSettings->addSeparator();
    mnSettings->addAction(a.acAutoRun);

    mnView = AddMenu(MainMenu1, "mnView", "&Экран");
    mnView->addAction(a.acMainView);
    mnView->addSeparator();
    mnView->addAction(a.acGraphView);
    mnView->addSeparator();
    mnView->addAction(a.acPreviwSilBin);
    mnView->addSeparator();
    mnView->addActions({a.acPreview, a.acPevewErr, a.acPrevewSelTemp});
    mnView->addSeparator();
    mnView->addAction(a.acDebug);

    mnHelp = AddMenu(MainMenu1, "mnHelp", "&Справка");
    mnHelp->addAction(a.acAbout);

    pmArcTM = PopupMenu(&window, "pmArcTM");
    pmArcTM->addAction(a.acDelTM);
    pmArcTM->addSeparator()->setVisible(false);
    pmArcTM->addAction(a.acCheckSpeed);

    pmDetalTIT = PopupMenu(&window, "pmDetalTIT");
    pmDetalTIT->addAction(a.acTITParam);
    pmDetalTIT->addSeparator();
    pmDetalTIT->addActions({a.acMaxT, a.asPrecision});

    pmPort = PopupMenu(&window, "pmPort");

    // As on every desktop, F10 opens the first menu that can open (Alt with a title's underlined
    // letter opens that menu).
    auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), &window);
    f10->setObjectName(QStringLiteral("scMenuBar"));
    QObject::connect(f10, &QShortcut::activated, MainMenu1, [bar = MainMenu1] {
        for (QAction* menu : bar->actions())
            if (menu->isEnabled() && menu->isVisible()) {
                bar->setActiveAction(menu);
                return;
            }
    });
}
