#pragma once
// The import's source: every row of the readings table, read once and grouped by the sensor
// that a row names (display name, block address + 1, suspension number + 1, sensor index + 1),
// so that each sensor takes exactly its own rows, compared as values and never pasted into a
// statement. The table has no key and no index; one pass over it serves every sensor.
#include "core/DB/ReadingsTable.h"

#include <QHash>
#include <QString>

#include <span>
#include <vector>

class IRowProgress;

struct TReadingValue {
    double FixTime = 0;
    double Val = 0;
};

class TReadingsQuery {
public:
    // Opens the connection on this thread and reads the table; raises Exception when that fails
    // and EAbort when the operator cancels while the rows are read (nothing has changed then).
    TReadingsQuery(const QString& connectionString, const QString& table, IRowProgress* progress = nullptr);

    // The rows of one sensor in the table's order (empty when it has none).
    std::span<const TReadingValue> Rows(const QString& silosName, int devAddr, int devNo, int tit) const;
    qint64 RowCount() const { return rowCount_; }

    IRowProgress* Progress() const { return progress_; }

private:
    struct Key {
        QString SilosName;
        int DevAddr = 0;
        int DevNo = 0;
        int TIT = 0;
        bool operator==(const Key&) const = default;
    };
    friend size_t qHash(const Key& key, size_t seed)
    {
        return qHashMulti(seed, key.SilosName, key.DevAddr, key.DevNo, key.TIT);
    }

    QHash<Key, std::vector<TReadingValue>> rows_;
    qint64 rowCount_ = 0;
    IRowProgress* progress_;
};
