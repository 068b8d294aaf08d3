#pragma once
// A small report over an in-memory table that holds an object of every kind the engine stores
// (memos with frames, expressions and a script, a line, a picture, a rich text, a subreport):
// the seed of the template and prepared-report targets. Its data is what the template target
// builds over.
#include <memory>

#include <QObject>

#include "report/data/DBDataSet.h"
#include "report/data/MemoryTable.h"

class TrpReport;
class TrpRunContext;

// The report's owner: the table "tbSilo" (Silo, Temp) of a few rows and the data source
// "dsSilo" over it, found by name by the templates the report writes.
class TSampleData : public QObject {
public:
    TSampleData();

    TMemoryTable Table;
    TrpDBDataSet Source;
};

// The sample report, owned by data, ready to build.
std::unique_ptr<TrpReport> MakeSampleReport(TrpRunContext& context, TSampleData& data);
