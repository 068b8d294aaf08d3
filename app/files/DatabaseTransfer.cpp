#include "app/files/DatabaseTransfer.h"

#include "core/DB/ReadingsQuery.h"
#include "core/DB/ReadingsTable.h"
#include "core/Device/Silos.h"
#include "core/Device/TIT.h"

#include <unordered_set>

std::vector<TSilos*> UniqueSuspensions(const std::vector<TSilos*>& suspensions)
{
    std::vector<TSilos*> unique;
    std::unordered_set<const TSilos*> seen;
    for (TSilos* silos : suspensions)
        if (silos && seen.insert(silos).second)
            unique.push_back(silos);
    return unique;
}

qint64 CountPoints(const std::vector<TSilos*>& suspensions)
{
    qint64 points = 0;
    for (const TSilos* silos : suspensions)
        for (int i = 0; i < silos->TITCount(); ++i)
            points += silos->GetTIT(i)->PointCount();
    return points;
}

void ExportArchiveToDB(const std::vector<TSilos*>& suspensions, const QString& connectionString, const QString& table,
                       IRowProgress* progress, const ExchangeLogSink& log)
{
    TReadingsTable rows(connectionString, table, progress, log);
    for (const TSilos* silos : suspensions)
        silos->SaveToTable(rows);
    rows.Commit();
}

bool ImportArchiveFromDB(const std::vector<TSilos*>& suspensions, const QString& connectionString,
                         const QString& table, int averagePeriod, IRowProgress* progress)
{
    const TReadingsQuery query(connectionString, table, progress);
    if (query.RowCount() == 0)
        return false;
    for (TSilos* silos : suspensions)
        silos->LoadFromQuery(query, averagePeriod);
    return true;
}
