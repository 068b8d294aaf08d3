// The main window's board and passes: the silo-block frames on the board panel, the layout
// file, the exchanges started from the menus, the end of a pass, the data file and the
// message log.
#include "app/main/FMain.h"

#include "app/detail/DetailControl.h"
#include "app/files/DatabaseActions.h"
#include "app/board/BoardHost.h"
#include "app/files/DataFileActions.h"
#include "app/detail/DetailTree.h"
#include "app/exchange/ExchangeControl.h"
#include "app/board/FrameSiloBin.h"
#include "app/detail/HistoryTree.h"
#include "app/exchange/MessageLog.h"
#include "app/exchange/PortControl.h"
#include "app/main/UnhandledException.h"
#include "app/board/BinPanel.h"
#include "app/widgets/FileDialog.h"
#include "core/Monitor.h"

#include <QAction>
#include <QFileDialog>
#include <QMenu>
#include <QScrollArea>
#include <QTreeView>

namespace {

// The layout file's dialogs: "*.xml" files first, then every file.
QString AskLayoutFile(QWidget* parent, QFileDialog::AcceptMode mode)
{
    return AskFileName(parent,
                       mode == QFileDialog::AcceptOpen ? QStringLiteral("OpenCnfDialog") : QStringLiteral("SaveCnfDialog"),
                       mode, {QStringLiteral("*.xml (*.xml)"), QStringLiteral("Все файлы (*)")}, QStringLiteral("xml"));
}

} // namespace

void TfmMain::InstallBoard()
{
    BinPanel = new TBinPanel;
    spGrid->setWidget(BinPanel);
    spGrid->viewport()->installEventFilter(this);

    Board = new TBoardHost(Monitor, {this, spGrid, acEdit, mnExchangeOneBlock}, *BinPanel);
    Board->ShowDetail = [this](const QString& caption, TSilos* silos) {
        if (IDetailView* detail = DetalViewOf(*vtDetal))
            detail->ShowSilosDetail(caption, silos);
    };
    Board->OnSelectSilo = [this](TSilos* silos) { ShowSiloGraph(silos); };
    Board->ExchangeOneBlock = [this](int index) { ExchangeOneBlock(index); };

    Exchange = new TExchangeControl(Monitor, {pcMain, tsMain, tsExchg, lblTitle, pbExchg, btn1}, *Taskbar,
                                    [this](bool on) { EnableMainMenu(on); }, this);
    Exchange->ExchangeFinished = [this] { ExchangeFinished(); };
    DataFileActions = std::make_unique<TDataFileActions>(
        Monitor, TDataFileWindow{this, sBarPanels[3], &Modified, [this] { Detail->RebuildHistory(); },
                                 [this] { DatabaseActions->ExportAfterSave(); }, [this] { return Board->Suspensions(); }});
    DatabaseActions = std::make_unique<TDatabaseActions>(
        Monitor, TDatabaseWindow{this, &Modified, FormStorage1.get(), [this] { return Board->Suspensions(); }});
    MessageLog = std::make_unique<TMessageLog>(*lbMsg, *lbErr);

    aList.SetWork(acFullExchg, [this] { Exchange->StartPass(Board->Suspensions()); });
    aList.SetWork(acSelectExchg, [this] { Exchange->StartPass(Board->SelectedSuspensions()); });
    aList.SetWork(acOpenCnf, [this] { acOpenCnfExecute(); });
    aList.SetWork(acSaveCnf, [this] { acSaveCnfExecute(); });
    aList.SetWork(acEdit, [this] { Board->SetEditMode(acEdit->isChecked()); });
    aList.SetWork(acOpenDAT, [this] { DataFileActions->acOpenDATExecute(); });
    aList.SetWork(acSaveDAT, [this] { DataFileActions->acSaveDATExecute(); });
    aList.SetWork(acSaveAsDAT, [this] { DataFileActions->acSaveAsDATExecute(); });
    aList.SetWork(acClearRetro, [this] { DataFileActions->acClearRetroExecute(); });
    aList.SetWork(acParamCom, [this] { PortControl->acParamComExecute(); });
    aList.SetWork(acExport, [this] { DatabaseActions->acExportExecute(); });
    aList.SetWork(acImport, [this] { DatabaseActions->acImportExecute(); });
    aList.SetWork(acSelExportDB, [this] { DatabaseActions->acSelExportDBExecute(); });
}

// Menu items have no enabling of their own: the rule is applied here.
void TfmMain::ExchangeOneBlock(int index)
{
    if (!Exchange->Ready())
        return;
    Exchange->StartPass(Board->FrameSuspensions(index));
}

void TfmMain::ExchangeFinished()
{
    Modified = true;
    Detail->RebuildHistory();   // the pass's poll is the newest: it is chosen and shown
    RepaintBoard();
    Execute(acMainView);
    if (!Settings.DataFile.isEmpty())
        SaveDataFile(Settings.DataFile);
}

void TfmMain::ClearBoard()
{
    Board->ClearBoard();
}

void TfmMain::RebuildConfiguration()
{
    ResetDetalRows(*vtDetal, HardConfig ? HardConfig->TITPerSilos() : 0);
    Board->BuildBoard();
    DataFileActions->LoadDataFile();
}

bool TfmMain::SaveDataFile(const QString& path)
{
    return DataFileActions->SaveDataFile(path, false);
}

void TfmMain::RepaintBoard()
{
    RepaintDetal(*vtDetal);
    Board->RepaintBoard();
}

void TfmMain::acOpenCnfExecute()
{
    const QString path = AskLayoutFile(this, QFileDialog::AcceptOpen);
    if (path.isEmpty())
        return;
    Settings.SiloBinsFile = path;
    Board->LoadSiloBinLayout();
}

void TfmMain::acSaveCnfExecute()
{
    const QString path = AskLayoutFile(this, QFileDialog::AcceptSave);
    if (path.isEmpty())
        return;
    Settings.SiloBinsFile = path;
    Board->SaveSiloBinLayout();
}
