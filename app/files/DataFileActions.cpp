#include "app/files/DataFileActions.h"

#include "app/main/ModalRunner.h"
#include "app/widgets/FileDialog.h"
#include "app/widgets/VSBPro.h"
#include "core/DataFile/DataFile.h"
#include "core/Device/Silos.h"
#include "core/Monitor.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>

namespace {

bool SamePath(const QString& a, const QString& b)
{
    return !a.isEmpty() && !b.isEmpty() && QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

} // namespace

QString AskDataFile(QWidget* parent, bool forSaving)
{
    return AskFileName(parent, forSaving ? QStringLiteral("SaveDataDialog") : QStringLiteral("OpenDataDialog"),
                       forSaving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen,
                       {QStringLiteral("Файлы данных (*.dxml)"), QStringLiteral("Все файлы (*)")}, QStringLiteral("dxml"));
}

TDataFileActions::TDataFileActions(TMonitor& monitor, TDataFileWindow window)
    : window_(std::move(window)), Settings(monitor.Settings), HardConfig(monitor.HardConfig), Log(monitor.Log)
{
}

void TDataFileActions::LoadDataFile()
{
    window_.PathPanel->SetText(Settings.DataFile);
    partlyRead_.clear();
    if (HardConfig && !Settings.DataFile.isEmpty()) {
        const TDataFileLoad load = ::LoadDataFile(*HardConfig, Settings.DataFile, Settings.AveragePeriod, Log.Sink());
        if (load.IsPartial())
            partlyRead_ = Settings.DataFile;
    }
    window_.RebuildHistory();
    *window_.Modified = false;
}

bool TDataFileActions::MayOverwrite(const QString& path, bool interactive)
{
    if (!SamePath(path, partlyRead_))
        return true;
    if (!interactive) {
        Log.Post(QStringLiteral("Файл данных \"%1\" был прочитан не полностью и не перезаписан: "
                                       "сохраните показания командой «Сохранить данные»")
                            .arg(path),
            kLogError);
        return false;
    }
    return AskUser(window_.Parent, QMessageBox::Warning,
               QStringLiteral("Файл данных \"%1\" был прочитан не полностью.\r\n"
                              "Если сохранить показания в него, непрочитанные показания будут потеряны.\r\n\r\n"
                              "Сохранить?")
                   .arg(path),
               QMessageBox::Yes | QMessageBox::No)
        == QMessageBox::Yes;
}

bool TDataFileActions::SaveDataFile(const QString& path, bool interactive)
{
    if (!HardConfig || !MayOverwrite(path, interactive))
        return false;
    ::SaveDataFile(*HardConfig, path);
    if (SamePath(path, partlyRead_))
        partlyRead_.clear();
    const bool mainFile = Settings.DataFile.isEmpty() || SamePath(path, Settings.DataFile);
    if (mainFile)
        *window_.Modified = false;
    else if (*window_.Modified)
        Log.Post(QStringLiteral("Показания сохранены в \"%1\"; файл данных \"%2\" ещё не содержит их")
                            .arg(path, Settings.DataFile),
            kLogSent);
    if (Settings.DBAutoExport)
        window_.ExportAfterSave();
    return true;
}

void TDataFileActions::acOpenDATExecute()
{
    const QString path = AskDataFile(window_.Parent, false);
    if (path.isEmpty())
        return;
    Settings.DataFile = path;
    LoadDataFile();
}

void TDataFileActions::acSaveDATExecute()
{
    SaveDataFile(Settings.DataFile, true);
}

void TDataFileActions::acSaveAsDATExecute()
{
    const QString path = AskDataFile(window_.Parent, true);
    if (!path.isEmpty())
        SaveDataFile(path, true);
}

// No question is asked: the data file changes only when it is saved next.
void TDataFileActions::acClearRetroExecute()
{
    for (TSilos* silos : window_.Suspensions())
        for (int i = 0; i < silos->TITCount(); ++i)
            silos->GetTIT(i)->ClearPoints();
    *window_.Modified = true;
    window_.RebuildHistory();
}
