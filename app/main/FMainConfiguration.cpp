// The main window's configuration dialogs: hardware, set-points, site details, sensor
// calibration and chart settings. Each is made by its action, shown modally and gone after.
#include "app/main/FMain.h"

#include "app/board/BoardHost.h"
#include "app/detail/DetailModel.h"
#include "app/detail/DetailTree.h"
#include "app/dialogs/FDetalTIT.h"
#include "app/dialogs/FGraphParam.h"
#include "app/dialogs/FHardCfg.h"
#include "app/dialogs/FProperties.h"
#include "app/dialogs/FSetMaxT.h"
#include "app/main/ModalRunner.h"

#include <QAction>
#include <QCheckBox>
#include <QTreeView>

void TfmMain::ConnectConfigurationDialogs()
{
    aList.SetWork(acHardCnfg, [this] { acHardCnfgExecute(); });
    aList.SetWork(acMaxT, [this] {
        TfmSetMaxT dialog(Settings, this);
        ExecModal(dialog);
        RepaintBoard();
    });
    aList.SetWork(acSetProp, [this] {
        TfmProperties dialog(Settings, FormStorage1.get(), this);
        ExecModal(dialog);
    });
    aList.SetWork(acTITParam, [this] { acTITParamExecute(); });
    aList.SetWork(acGraphParam, [this] {
        TfmGraphParam dialog(Settings, FormStorage1.get(), this);
        if (ExecModal(dialog) == QDialog::Accepted)
            ApplyGraphSettings();
    });
}

// The board is cleared (its layout saved) before the dialog, so that no frame or detail row
// points into a tree the dialog may replace, and rebuilt after it whatever the answer.
void TfmMain::acHardCnfgExecute()
{
    TfmHardCfg dialog(Settings, HardConfig, FormStorage1.get(), this);
    ClearBoard();
    if (TDetalModel* rows = DetalModelOf(*vtDetal))
        rows->Clear();
    ExecModal(dialog);
    RebuildConfiguration();
}

void TfmMain::acTITParamExecute()
{
    const TDetalModel* rows = DetalModelOf(*vtDetal);
    if (!rows)
        return;
    TfmDetalTIT dialog(FormStorage1.get(), this);
    dialog.Setup(*rows);
    if (ExecModal(dialog) != QDialog::Accepted)
        return;
    if (dialog.chAllDev->isChecked() && dialog.Silos())
        ApplyCalibrationToSelected(*dialog.Silos(), Board->Suspensions());
    RepaintBoard();
}
