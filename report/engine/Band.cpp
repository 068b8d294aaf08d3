#include "report/engine/Band.h"

#include "report/data/Dataset.h"
#include "report/engine/Report.h"
#include "report/objects/MemoView.h"
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

void TrpBand::SetupCrossDataSource(TrpRunContext& context, const QString& text)
{
    TFoundDataSet found = FindDataSetByName(context, text);
    CrossDataSet = found.DataSet;
    ownedCrossDataSet_ = std::move(found.Owned);
}

void TrpBand::ReleaseDataSource()
{
    if (DataSet)
        DataSet->Exit();
    DataSet = nullptr;
    ownedDataSet_.reset();
    if (CrossDataSet)
        CrossDataSet->Exit();
    CrossDataSet = nullptr;
    ownedCrossDataSet_.reset();
}

bool TrpBand::Exists() const
{
    return View || (BandType == btNone && !Objects.empty());
}

void TrpBand::SetLineNo(int lineNo)
{
    LineNo = lineNo;
    for (TrpView* view : Objects)
        if (auto* memo = dynamic_cast<TrpMemoView*>(view))
            memo->LastValue.clear();
}
