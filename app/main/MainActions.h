#pragma once
// The main window's actions (its action list "aList"): every command of the menus, pop-up
// menus and toolbars is one of these. Each carries its name as objectName, its caption and
// shortcut; what it does and when it is enabled are set by the main window.
#include <QList>

class QAction;
class QObject;

struct TMainActions {
    QAction* acClose = nullptr;
    QAction* acAbout = nullptr;
    QAction* acParamCom = nullptr;
    QAction* ac485 = nullptr;
    QAction* acEcho = nullptr;
    QAction* acOpenDAT = nullptr;
    QAction* acSaveDAT = nullptr;
    QAction* acSaveAsDAT = nullptr;
    QAction* acPrint = nullptr;
    QAction* acFullExchg = nullptr;
    QAction* acSelectExchg = nullptr;
    QAction* acMaxT = nullptr;
    QAction* acSetProp = nullptr;
    QAction* acHardCnfg = nullptr;
    QAction* acMainView = nullptr;
    QAction* acGraphView = nullptr;
    QAction* acPreview = nullptr;
    QAction* acPevewErr = nullptr;
    QAction* acPrevewSelTemp = nullptr;
    QAction* acDebug = nullptr;
    QAction* acControllers = nullptr;
    QAction* acClearRetro = nullptr;
    QAction* acGraphParam = nullptr;
    QAction* acEdit = nullptr;
    QAction* acDelTM = nullptr;
    QAction* acExecProc = nullptr;
    QAction* acTimePeriod = nullptr;
    QAction* acSortBySilos = nullptr;
    QAction* acSortByBin = nullptr;
    QAction* acSelUser = nullptr;
    QAction* acImport = nullptr;
    QAction* acExport = nullptr;
    QAction* acPrintGraph = nullptr;
    QAction* acSelExportDB = nullptr;
    QAction* acShowErr = nullptr;
    QAction* asPrecision = nullptr;
    QAction* acColorPrint = nullptr;
    QAction* acTITParam = nullptr;
    QAction* acCheckSpeed = nullptr;
    QAction* acReportExportRTF = nullptr;
    QAction* acTimerParam = nullptr;
    QAction* acReportExportTXT = nullptr;
    QAction* acAutoRun = nullptr;
    QAction* acSilosParam = nullptr;
    QAction* acMB = nullptr;
    QAction* acOpenCnf = nullptr;
    QAction* acSaveCnf = nullptr;
    QAction* acPreviwSilBin = nullptr;
    QAction* acReportColor = nullptr;
    QAction* acReport2Col = nullptr;
    QAction* acOverlay = nullptr;

    // Creates every action, owned by owner.
    void CreateActions(QObject* owner);
    // Every action, in the order of the list.
    QList<QAction*> AllActions() const;
};
