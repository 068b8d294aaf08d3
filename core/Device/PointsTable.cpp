// The sensors' and suspensions' rows of the readings table.
#include "core/DB/ReadingsQuery.h"
#include "core/DB/ReadingsTable.h"
#include "core/DB/RowProgress.h"
#include "core/Device/Silos.h"
#include "core/Device/TIT.h"
#include "comm/ExchangeLog.h"

void TTIT::SaveToTable(TReadingsTable& table) const
{
    TReadingRow row;
    if (owner_) {
        row.SilosName = owner_->GetName();
        row.DevAddr = owner_->GetMBAddr() + 1;
        row.DevNo = owner_->No() + 1;
    }
    row.TIT = no_ + 1;
    for (const TTITPoint& point : Points()) {
        row.FixTime = point.Time;
        row.Val = point.Value;
        // The table counts the rows it writes, reports those it refuses and sees a cancellation.
        try {
            table.Append(row);
        } catch (const EAbort&) {
            throw;
        } catch (const Exception& e) {
            PostExchangeLog(table.Log(), e.what(), kLogError);
        }
    }
}

void TTIT::LoadFromQuery(const TReadingsQuery& query, int averagePeriod)
{
    ClearPoints();
    const auto rows = owner_ ? query.Rows(owner_->GetName(), owner_->GetMBAddr() + 1, owner_->No() + 1, no_ + 1)
                             : std::span<const TReadingValue>();
    std::vector<TTITPoint> points;
    points.reserve(rows.size());
    for (const TReadingValue& row : rows) {
        TTITPoint point;
        point.SetTime(row.FixTime);
        point.Value = row.Val;
        points.push_back(point);
        if (query.Progress() && query.Progress()->IsCancelled()) {
            // The rows read so far stay, as after every cancelled import.
            AssignPoints(std::move(points), averagePeriod);
            throw EAbort();
        }
        AdvanceRow(query.Progress());
    }
    AssignPoints(std::move(points), averagePeriod);
}

void TSilos::SaveToTable(TReadingsTable& table) const
{
    for (const auto& tit : tits_)
        tit->SaveToTable(table);
}

void TSilos::LoadFromQuery(const TReadingsQuery& query, int averagePeriod)
{
    for (const auto& tit : tits_)
        tit->LoadFromQuery(query, averagePeriod);
}
