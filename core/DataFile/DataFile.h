#pragma once
// The data file (".dxml"): every sensor's history points as XML, written and read as a stream
// because a file holds years of readings.
#include "comm/ExchangeLog.h"

#include <QString>

class THardConfig;

// How a load ended. A partial load means the file holds readings that were not read: saving
// over it would lose them, so the caller should not do that without the operator's word.
struct TDataFileLoad {
    enum class Result { Missing, Complete, Partial };
    Result result = Result::Missing;
    QString error;   // why the reading stopped (Partial only)

    bool IsPartial() const { return result == Result::Partial; }
};

// Writes every suspension of the tree that has points, block by block. The file is replaced only
// when the whole document has been written; on any failure the old file stays as it was and
// Exception is raised with the reason.
void SaveDataFile(const THardConfig& config, const QString& path);

// Reads the file into the tree when it exists: each "device" whose "Addr" and "No" name a block
// and a suspension replaces the points of the sensors it names; others are skipped. A failure
// stops the reading, keeps what was read, posts the red log line
// «При чтении файла "<path>" ошибка: <reason>» and gives a Partial result. The sensors keep
// averaged points for `averagePeriod` minutes (Parameters::AveragePeriod).
TDataFileLoad LoadDataFile(const THardConfig& config, const QString& path, int averagePeriod = 0,
                           const ExchangeLogSink& log = {});
