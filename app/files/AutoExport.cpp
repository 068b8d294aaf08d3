#include "app/files/AutoExport.h"

#include "app/files/DatabaseTransfer.h"
#include "base/Exception.h"
#include "core/DB/DBConnection.h"
#include "core/DB/ReadingsTable.h"
#include "core/Device/Silos.h"
#include "core/ExchangeLog.h"

#include <map>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <tuple>

namespace {

using TSensorKey = std::tuple<QString, int, int, int>;   // display name, block + 1, suspension + 1, sensor + 1

// The newest FixTime of every sensor the table holds rows of.
std::map<TSensorKey, double> NewestExported(const QString& connectionString, const QString& table)
{
    CheckTableName(table);
    TDBConnection connection(connectionString);
    QSqlQuery query(connection.Database());
    if (!query.exec(QStringLiteral("SELECT SilosName, DevAddr, DevNo, TIT, MAX(FixTime) FROM %1 "
                                   "GROUP BY SilosName, DevAddr, DevNo, TIT")
                        .arg(table)))
        throw Exception(query.lastError().text().toStdString());
    std::map<TSensorKey, double> newest;
    while (query.next())
        newest[{query.value(0).toString(), query.value(1).toInt(), query.value(2).toInt(), query.value(3).toInt()}] =
            query.value(4).toDouble();
    return newest;
}

} // namespace

long long ExportNewReadings(const std::vector<TSilos*>& suspensions, const QString& connectionString,
    const QString& table, IRowProgress* progress, const std::function<void(qint64)>& onMaximum,
    const ExchangeLogSink& log)
{
    const std::map<TSensorKey, double> newest = NewestExported(connectionString, table);
    // Each sensor's rows still to write, gathered first so that the progress knows their number.
    std::vector<TReadingRow> pending;
    for (const TSilos* silos : UniqueSuspensions(suspensions)) {
        TReadingRow row;
        row.SilosName = silos->GetName();
        row.DevAddr = silos->GetMBAddr() + 1;
        row.DevNo = silos->No() + 1;
        for (int i = 0; i < silos->TITCount(); ++i) {
            row.TIT = i + 1;
            const auto found = newest.find({row.SilosName, row.DevAddr, row.DevNo, row.TIT});
            for (const TTITPoint& point : silos->GetTIT(i)->Points()) {
                if (found != newest.end() && point.Time <= found->second)
                    continue;
                row.FixTime = point.Time;
                row.Val = point.Value;
                pending.push_back(row);
            }
        }
    }
    if (onMaximum)
        onMaximum(qint64(pending.size()));
    TReadingsTable rows(connectionString, table, progress, log);
    for (const TReadingRow& row : pending) {
        try {
            rows.Append(row);
        } catch (const EAbort&) {
            throw;
        } catch (const Exception& e) {
            PostExchangeLog(log, e.what(), kLogError);
        }
    }
    rows.Commit();
    return rows.RowsWritten();
}
