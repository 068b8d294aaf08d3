#include "app/files/DatabaseActions.h"

#include "app/dialogs/FProgress.h"
#include "app/dialogs/FSelectTable.h"
#include "app/dialogs/ProgressThread.h"
#include "app/files/AutoExport.h"
#include "app/files/DatabaseTransfer.h"
#include "core/DB/DBConnection.h"
#include "core/DB/ReadingsTable.h"
#include "core/Monitor.h"

namespace {

const QString kExportCaption = QStringLiteral("Экспорт архивных данных");
const QString kImportCaption = QStringLiteral("Импорт архивных данных");

} // namespace

TDatabaseActions::TDatabaseActions(TMonitor& monitor, TDatabaseWindow window)
    : window_(std::move(window)), Settings(monitor.Settings), Log(monitor.Log)
{
}

void TDatabaseActions::acExportExecute()
{
    const std::vector<TSilos*> suspensions = UniqueSuspensions(window_.Suspensions());
    const QString connection = Settings.DBConnection;
    const QString table = Settings.DBTable;
    const ExchangeLogSink log = Log.Sink();
    Run(kExportCaption, CountPoints(suspensions),
        [&](TProgressThread& worker) { ExportArchiveToDB(suspensions, connection, table, &worker, log); });
}

void TDatabaseActions::acImportExecute()
{
    qint64 rows = 0;
    {
        TDBConnection db(Settings.DBConnection);
        rows = CountReadings(db, Settings.DBTable);
    }
    const std::vector<TSilos*> suspensions = UniqueSuspensions(window_.Suspensions());
    const QString connection = Settings.DBConnection;
    const QString table = Settings.DBTable;
    const int averagePeriod = Settings.AveragePeriod;
    Run(kImportCaption, rows, [&](TProgressThread& worker) {
        ImportArchiveFromDB(suspensions, connection, table, averagePeriod, &worker);
    });
    *window_.Modified = true;
}

bool TDatabaseActions::Run(const QString& caption, qint64 maximum, const std::function<void(TProgressThread&)>& work)
{
    busy_ = true;
    struct TIdleAfter {
        bool& busy;
        ~TIdleAfter() { busy = false; }
    } idleAfter{busy_};
    return RunUnderProgress(window_.Parent, caption, maximum, work, Log);
}

void TDatabaseActions::acSelExportDBExecute()
{
    ShowSelectTable(Settings, Log, window_.Placement, window_.Parent);
}

void TDatabaseActions::ExportAfterSave()
{
    const std::vector<TSilos*> suspensions = window_.Suspensions();
    const QString connection = Settings.DBConnection;
    const QString table = Settings.DBTable;
    const ExchangeLogSink log = Log.Sink();
    long long written = 0;
    const bool completed = Run(kExportCaption, 0, [&](TProgressThread& worker) {
        written = ExportNewReadings(suspensions, connection, table, &worker,
            [&worker](qint64 rows) { worker.SetMaximum(rows); }, log);
    });
    if (completed)
        Log.Post(QStringLiteral("В базу данных выгружено показаний: %1").arg(written), kLogSent);
}
