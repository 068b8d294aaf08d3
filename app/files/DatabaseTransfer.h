#pragma once
// The two works of the database dialog's worker: every reading of the board's suspensions
// appended to the readings table, and the table's rows read back into the sensors' histories.
// Both run on the worker's thread (each opens its own connection there) and stop with EAbort at
// the next row once the operator has cancelled.
#include "comm/ExchangeLog.h"

#include <QString>

#include <vector>

class IRowProgress;
class TSilos;

// The suspensions in their order with repeats left out: a suspension shown in two cells of the
// board is exported and imported once.
std::vector<TSilos*> UniqueSuspensions(const std::vector<TSilos*>& suspensions);
// The points of every sensor of the suspensions: the rows an export writes.
qint64 CountPoints(const std::vector<TSilos*>& suspensions);

// Appends one row per point; nothing is deleted first, so exporting twice writes the rows twice.
// Raises Exception when the table cannot be opened; a refused row is a red log line.
void ExportArchiveToDB(const std::vector<TSilos*>& suspensions, const QString& connectionString, const QString& table,
                       IRowProgress* progress, const ExchangeLogSink& log);
// Every sensor takes exactly the table's rows for it (a sensor without rows is left without
// points). A table without any row changes nothing: it holds no history to take. Returns
// whether the sensors were touched. Raises Exception when the table cannot be read, before any
// sensor has changed.
bool ImportArchiveFromDB(const std::vector<TSilos*>& suspensions, const QString& connectionString,
                         const QString& table, int averagePeriod, IRowProgress* progress);
