#include "report/engine/Band.h"

#include "report/data/Dataset.h"
#include "report/engine/Report.h"
#include "report/runtime/EngineRoutines.h"
#include "report/runtime/RunContext.h"

TrpBand::TrpBand(int bandType, TrpPage* page) : BandType(bandType), Page(page) {}

TrpBand::~TrpBand() = default;

void TrpBand::SetupDataSource(TrpRunContext& context, const QString& text)
{
    if (BandType == btGroupHeader) {
        Condition = context.ReportParser.ToPostfix(text);
        return;
    }
    if (!text.isEmpty() && !text.contains(QLatin1Char(';'))) {
        TFoundDataSet found = FindDataSetByName(context, text);
        DataSet = found.DataSet;
        ownedDataSet_ = std::move(found.Owned);
    }
    const TrpReport* report = Page ? Page->Report : nullptr;
    if (!DataSet && BandType == btMasterData && report && report->ReportType == rtSimple)
        DataSet = report->Dataset;
}

void TrpBand::ReleaseDataSource()
{
    if (DataSet)
        DataSet->Exit();
    DataSet = nullptr;
    ownedDataSet_.reset();
}
