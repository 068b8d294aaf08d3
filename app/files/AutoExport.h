#pragma once
// The database export that follows every save of the data file when "БД автоэкспорт" is set.
// Appending every reading at each save would write the whole history into the table again and
// again; this export appends only each sensor's points newer than the newest row the table
// already holds for that sensor (one grouped query finds them all). Points deleted or edited
// after they were exported are left as the table has them. A suspension shown in two cells is
// exported once.
#include "comm/ExchangeLog.h"

#include <QString>

#include <functional>
#include <vector>

class IRowProgress;
class TSilos;

// Appends the new points of the suspensions' sensors; returns how many rows were appended.
// onMaximum is told their number before the first is written; the progress is advanced for
// each, and a cancellation stops the export at the next row (EAbort). Raises Exception when the
// table cannot be read or opened; a row that fails is reported in red to the log and the export
// goes on.
long long ExportNewReadings(const std::vector<TSilos*>& suspensions, const QString& connectionString,
    const QString& table, IRowProgress* progress = nullptr, const std::function<void(qint64)>& onMaximum = {},
    const ExchangeLogSink& log = {});
