#include "app/files/DatabaseActions.h"

#include "app/dialogs/FSelectTable.h"
#include "app/dialogs/ProgressThread.h"
#include "app/files/AutoExport.h"
#include "app/files/DatabaseTransfer.h"
#include "app/main/ModalRunner.h"
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
    const qint64 points = CountPoints(suspensions);
    const TProgressOutcome outcome = Run(kExportCaption, points,
        [&](TProgressThread& worker) { ExportArchiveToDB(suspensions, connection, table, &worker, log); });
    TellOutcome(true, outcome, points);
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
    const TProgressOutcome outcome = Run(kImportCaption, rows, [&](TProgressThread& worker) {
        ImportArchiveFromDB(suspensions, connection, table, averagePeriod, &worker);
    });
    *window_.Modified = true;
    TellOutcome(false, outcome, rows);
}

TProgressOutcome TDatabaseActions::Run(const QString& caption, qint64 maximum,
                                       const std::function<void(TProgressThread&)>& work)
{
    busy_ = true;
    struct TIdleAfter {
        bool& busy;
        ~TIdleAfter() { busy = false; }
    } idleAfter{busy_};
    TProgressOutcome outcome;
    RunUnderProgress(window_.Parent, caption, maximum, work, Log, &outcome);
    return outcome;
}

// A failed export may have lost the rows of its last transaction, so only the error is told.
void TDatabaseActions::TellOutcome(bool exported, const TProgressOutcome& outcome, qint64 maximum) const
{
    const QString what = exported ? QStringLiteral("Экспорт") : QStringLiteral("Импорт");
    const QString went = exported ? QStringLiteral("в базу данных выгружено показаний")
                                  : QStringLiteral("из базы данных загружено показаний");
    QString text;
    if (!outcome.Error.isEmpty())
        text = QStringLiteral("%1 прерван ошибкой: %2").arg(what, outcome.Error);
    else if (outcome.Completed)
        text = QStringLiteral("%1 завершён: %2: %3.").arg(what, went).arg(outcome.Rows);
    else
        text = QStringLiteral("%1 прерван: %2: %3 из %4.").arg(what, went).arg(outcome.Rows).arg(maximum);
    AskUser(window_.Parent, outcome.Completed ? QMessageBox::Information : QMessageBox::Warning, text);
}

void TDatabaseActions::acSelExportDBExecute()
{
    ShowSelectTable(Settings, window_.Placement, window_.Parent);
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
    }).Completed;
    if (completed)
        Log.Post(QStringLiteral("В базу данных выгружено показаний: %1").arg(written), kLogSent);
}
