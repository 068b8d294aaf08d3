#include "core/DB/ReadingsQuery.h"

#include "base/Exception.h"
#include "core/DB/RowProgress.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

// How often the scan looks at the dialog: often enough to stop at once, rarely enough to cost
// nothing.
constexpr qint64 kRowsPerCancelCheck = 1024;

} // namespace

TReadingsQuery::TReadingsQuery(const QString& connectionString, const QString& table, IRowProgress* progress)
    : progress_(progress)
{
    CheckTableName(table);
    TDBConnection connection(connectionString);
    {
        QSqlQuery query(connection.Database());
        query.setForwardOnly(true);
        if (!query.exec(QStringLiteral("select SilosName, DevAddr, DevNo, TIT, FixTime, Val from %1").arg(table)))
            throw Exception(query.lastError().text().toStdString());
        Key key;
        std::vector<TReadingValue>* bucket = nullptr;
        while (query.next()) {
            if (++rowCount_ % kRowsPerCancelCheck == 0)
                StopIfCancelled(progress_);
            Key next{query.value(0).toString(), query.value(1).toInt(), query.value(2).toInt(), query.value(3).toInt()};
            // Rows of one sensor usually follow each other, as the export wrote them.
            if (!bucket || !(next == key)) {
                key = std::move(next);
                bucket = &rows_[key];
            }
            bucket->push_back({query.value(4).toDouble(), query.value(5).toDouble()});
        }
        if (query.lastError().isValid())
            throw Exception(query.lastError().text().toStdString());
    }
}

std::span<const TReadingValue> TReadingsQuery::Rows(const QString& silosName, int devAddr, int devNo, int tit) const
{
    const auto found = rows_.constFind(Key{silosName, devAddr, devNo, tit});
    if (found == rows_.cend())
        return {};
    return *found;
}
