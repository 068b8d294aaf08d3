// A report page before and after its build: the run-time bands made from the band objects, the
// objects each band prints, the links between levels, headers, footers and groups, and the
// aggregate calls registered with their data bands.
#include <algorithm>

#include "report/data/DataAccess.h"
#include "report/data/Dataset.h"
#include "report/engine/Page.h"
#include "report/engine/Report.h"
#include "report/expr/AggregateFunctionsSplitter.h"
#include "report/objects/BandView.h"
#include "report/objects/MemoView.h"
#include "report/objects/SubReportView.h"
#include "report/runtime/ComponentLookup.h"
#include "report/runtime/CurrentScope.h"
#include "report/runtime/EngineRoutines.h"
#include "report/runtime/RunContext.h"

namespace {

constexpr uint16_t kFlagCrossPass = 0x8000;

bool SecondPass(const TrpRunContext& c)
{
    return c.RootReport && c.RootReport->TwoPass && c.RootReport->FinalPass;
}

TrpBandView* BandObject(TrpView* view)
{
    return view->TypeCode == otBand ? dynamic_cast<TrpBandView*>(view) : nullptr;
}

// The types of the three levels: header, data, footer.
struct TLevel {
    int Header, Data, Footer;
};
constexpr TLevel kLevels[] = {{btMasterHeader, btMasterData, btMasterFooter},
                              {btDetailHeader, btDetailData, btDetailFooter},
                              {btSubDetailHeader, btSubDetailData, btSubDetailFooter}};

void CompileInPlace(TrpRunContext& c, QStringList& script)
{
    if (script.isEmpty())
        return;
    QStringList errors;
    c.ReportInterpreter.CompileScript(script, script, errors);
}

}  // namespace

TrpBand* TrpPage::AddBand(int bandType)
{
    ownedBands_.push_back(std::make_unique<TrpBand>(bandType, this));
    return ownedBands_.back().get();
}

void TrpPage::StartReport()
{
    TrpRunContext& c = Context();
    if (SecondPass(c) && BandsReady) {
        for (const auto& object : Objects)
            if (auto* memo = dynamic_cast<TrpMemoView*>(object.get()))
                memo->LastValue.clear();
        for (TrpBand* band : Bands)
            if (band && band->DataSet)
                band->DataSet->First();
        // The groups begin again: none has begun before the data loop reaches it.
        for (TrpBand* header = Bands[btGroupHeader]; header; header = header->Next)
            header->GroupValue = QVariant();
        return;
    }
    if (Type == ptDialog) {
        StartDialogPage();
    } else {
        for (int type = 0; type < kBandTypeCount; ++type)
            Bands[size_t(type)] = AddBand(type);
        SetupBands();
        CurrentNo = 1;
        ColumnNo = 1;
        widestCrossRow_ = 0;
    }
    BandsReady = true;
}

void TrpPage::StartDialogPage()
{
    // Dialog forms need a display; headless, a dialog page only runs its script, which may
    // still cancel the build through MODALRESULT.
    TrpRunContext& c = Context();
    const TrpCurrentScope<TrpPage> currentPage(c.CurrentPage, this);
    ModalResult = 0;
    try {
        RunScript(Script);
    } catch (const std::exception& error) {
        SetCalculationError(c, error);
    }
    if (ModalResult == 2)
        c.DialogCancelled = true;
}

void TrpPage::EndReport()
{
    TrpRunContext& c = Context();
    if (c.RootReport && c.RootReport->TwoPass && !c.RootReport->FinalPass)
        return;   // between the passes the bands stay
    if (!BandsReady)
        return;
    for (const auto& band : ownedBands_)
        band->ReleaseDataSource();
    for (const auto& object : Objects) {
        object->OwnerBand = nullptr;
        std::erase(c.CrossPassList, object.get());
    }
    if (c.CurrentBand && c.CurrentBand->Page == this)
        c.CurrentBand = nullptr;
    Bands.fill(nullptr);
    ownedBands_.clear();
    queue_.clear();
    DeferredList.clear();
    PendingBand = PrevBand = nullptr;
    AggregateSource = nullptr;
    BandsReady = false;
}

void TrpPage::SetupBands()
{
    TrpRunContext& c = Context();
    for (const auto& object : Objects) {
        TrpView* view = object.get();
        view->PrintedForm = true;
        if (auto* memo = dynamic_cast<TrpMemoView*>(view); memo && !memo->HighlightCondition.isEmpty())
            memo->HighlightCondition = c.ReportParser.ToPostfix(memo->HighlightCondition);
        if (view->Flags & kFlagCrossPass)
            c.CrossPassList.push_back(view);
        view->Selected = view->TypeCode != otBand;
        view->OwnerBand = nullptr;
        CompileInPlace(c, view->ScriptLines);
        if (auto* sub = dynamic_cast<TrpSubReportView*>(view))
            if (TrpPage* target = sub->SubPage())
                target->IsSubTarget = true;
    }
    SetupCrossBands();
    for (int type = 0; type < btNone; ++type) {
        if (IsCrossBand(type))
            continue;
        std::vector<TrpBand*> chain;
        for (const auto& object : Objects) {
            TrpBandView* bandObject = BandObject(object.get());
            if (!bandObject || bandObject->BandType() != type)
                continue;
            TrpBand* band = chain.empty() ? Bands[size_t(type)] : AddBand(type);
            FillBand(*band, *bandObject);
            chain.push_back(band);
        }
        // Equal tops keep their object order.
        std::stable_sort(chain.begin(), chain.end(), [](const TrpBand* a, const TrpBand* b) { return a->Top < b->Top; });
        for (size_t i = 0; i < chain.size(); ++i) {
            chain[i]->Prev = i > 0 ? chain[i - 1] : nullptr;
            chain[i]->Next = i + 1 < chain.size() ? chain[i + 1] : nullptr;
        }
        if (!chain.empty()) {
            Bands[size_t(type)] = chain.front();
            chain.front()->Last = chain.back();
        }
    }
    TrpBand* none = Bands[btNone];
    for (const auto& object : Objects)
        if (object->Selected) {
            object->Selected = false;
            object->OwnerBand = none;
            none->Objects.push_back(object.get());
        }
    LinkLevels();
    LinkGroups();
    if (Columns <= 0)
        Columns = 1;
    ColumnWidth = (RightLimit() - LeftLimit() - (Columns - 1) * ColumnGap) / Columns;
}

void TrpPage::FillBand(TrpBand& band, TrpView& bandObject)
{
    TrpRunContext& c = Context();
    band.Memo = bandObject.Memo;
    band.Script = bandObject.ScriptLines;
    band.Left = bandObject.Left;
    band.Top = bandObject.Top;
    band.Width = bandObject.Width;
    band.Height = bandObject.Height;
    band.View = &bandObject;
    band.Flags = bandObject.Flags;
    band.Visible = bandObject.Visible;
    band.Name = bandObject.Name;
    band.BandColumn = 1;
    bandObject.OwnerBand = &band;
    band.SetupDataSource(c, bandObject.FormatText);
    band.Stretched = band.Flags & kFlagStretched;
    band.PrintIfSubsetEmpty = band.Flags & bfPrintIfSubsetEmpty;
    band.PrintChildIfInvisible = band.Flags & bfPrintChildIfInvisible;
    band.FormNewPage = !IsSubTarget && (band.Flags & bfFormNewPage);
    band.Breaked = !IsSubTarget && (band.Flags & bfBreaked);
    if (IsCrossBand(band.BandType))
        return;
    const auto inBand = [&band](const TrpView* view) {
        return view->Top >= band.Top && view->Top <= band.Top + band.Height;
    };
    const auto take = [&band](TrpView* view, bool own) {
        view->Top -= band.Top;
        view->Selected = false;
        if (own)
            view->OwnerBand = &band;
        band.Objects.push_back(view);
    };
    for (const auto& object : Objects)
        if (object->Selected && !object->OwnerBand && object->TypeCode != otSubReport && inBand(object.get()))
            take(object.get(), true);
    for (const auto& object : Objects)
        if (object->Selected && object->OwnerBand && inBand(object.get())) {
            take(object.get(), false);
            band.crossObjects_ = true;
        }
    for (const auto& object : Objects)
        if (object->Selected && object->TypeCode == otSubReport && inBand(object.get())) {
            if (band.FirstSubReport < 0)
                band.FirstSubReport = int(band.Objects.size());
            take(object.get(), true);
        }
    // The cells of a cross table print whole with their row: such a band moves to the next
    // page rather than split.
    if (band.crossObjects_)
        band.Breaked = false;
}

void TrpPage::SetupCrossBands()
{
    for (const auto& object : Objects) {
        TrpBandView* bandObject = BandObject(object.get());
        if (!bandObject || !IsCrossBand(bandObject->BandType()))
            continue;
        TrpBand& band = *Bands[bandObject->BandType()];
        if (band.View)
            continue;   // one band of each cross type
        FillBand(band, *bandObject);
        if (bandObject->BandType() == btCrossData && bandObject->FormatText.contains(QLatin1Char(';')))
            band.DataSet = nullptr;
        for (const auto& placed : Objects) {
            TrpView* view = placed.get();
            if (view->Selected && !view->OwnerBand && view->Left >= band.Left &&
                view->Left + view->Width <= band.Left + band.Width) {
                view->Left -= band.Left;
                view->OwnerBand = &band;
                band.Objects.push_back(view);
            }
        }
    }
}

void TrpPage::LinkLevels()
{
    for (const TLevel& level : kLevels) {
        for (TrpBand* header = Bands[size_t(level.Header)]; header && header->View; header = header->Next)
            for (TrpBand* data = Bands[size_t(level.Data)]; data && data->View; data = data->Next)
                if (data->Top > header->Top + header->Height) {
                    if (!data->HeaderBand) {
                        data->HeaderBand = header;
                        header->DataBand = data;
                    }
                    break;
                }
        for (TrpBand* footer = Bands[size_t(level.Footer)]; footer && footer->View; footer = footer->Next) {
            TrpBand* last = nullptr;
            for (TrpBand* data = Bands[size_t(level.Data)]; data && data->View; data = data->Next)
                if (data->Top + data->Height <= footer->Top)
                    last = data;
            if (last && !last->FooterBand) {
                last->FooterBand = footer;
                footer->DataBand = last;
            }
        }
    }
    // Cross sources by band name: "name=source;" pairs in the Cross data band's source text.
    const TrpBand* crossData = Bands[btCrossData];
    if (crossData->View && crossData->View->FormatText.contains(QLatin1Char(';'))) {
        for (const QString& pair : crossData->View->FormatText.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const qsizetype equals = pair.indexOf(QLatin1Char('='));
            if (equals < 0)
                continue;
            const QString name = pair.left(equals).trimmed();
            for (int type = btMasterHeader; type <= btChild; ++type)
                for (TrpBand* band = Bands[size_t(type)]; band && band->View; band = band->Next)
                    if (band->View->Name.compare(name, Qt::CaseInsensitive) == 0)
                        band->SetupCrossDataSource(Context(), pair.mid(equals + 1).trimmed());
        }
    }
    for (const auto& owned : ownedBands_)
        if (const auto* bandObject = owned->View ? BandObject(owned->View) : nullptr;
            bandObject && !bandObject->ChildBand.isEmpty())
            if (const TrpView* child = FindObject(bandObject->ChildBand); child && child->TypeCode == otBand)
                owned->Child = child->OwnerBand;
}

void TrpPage::LinkGroups()
{
    std::vector<TrpBand*> headers, footers;
    for (TrpBand* band = Bands[btGroupHeader]; band && band->View; band = band->Next)
        headers.push_back(band);
    for (TrpBand* band = Bands[btGroupFooter]; band && band->View; band = band->Next)
        footers.push_back(band);
    // Inside out: the last header takes the first footer.
    for (size_t i = 0; i < headers.size() && i < footers.size(); ++i)
        headers[headers.size() - 1 - i]->GroupFooter = footers[i];
    TrpBand* master = Bands[btMasterData];
    if (!master->View)
        return;
    for (TrpBand* header : headers) {
        TrpBand* data = master;
        const auto* bandObject = BandObject(header->View);
        if (!bandObject->Master.isEmpty())
            if (const TrpView* named = FindObject(bandObject->Master); named && named->OwnerBand)
                data = named->OwnerBand;
        header->DataBand = data;
        if (header->GroupFooter)
            header->GroupFooter->DataBand = data;
        header->PrevGroup = data->LastGroup;
        if (data->LastGroup)
            data->LastGroup->NextGroup = header;
        else
            data->FirstGroup = header;
        data->LastGroup = header;
    }
}

void TrpPage::PrepareObjects()
{
    TrpRunContext& c = Context();
    if (Type != ptReport || SecondPass(c))
        return;
    TrpReport& report = *Report;
    for (const auto& object : Objects) {
        TrpView* view = object.get();
        view->BoundDataSet = nullptr;
        view->BoundFieldName.clear();
        if (view->Memo.isEmpty() || (dynamic_cast<TrpMemoView*>(view) && (view->Flags & mfTextOnly)))
            continue;
        const QString text = view->Memo.join(QStringLiteral("\r\n"));
        if (text.size() <= 2 || text[0] != QLatin1Char('[') || text.lastIndexOf(QLatin1Char(']')) < 1)
            continue;
        const QString name = text.mid(1, text.lastIndexOf(QLatin1Char(']')) - 1);
        TDataSet* dataSet = nullptr;
        QString field;
        if (!report.Dictionary.FieldOf(name, dataSet, field)) {
            dataSet = report.UseDefaultDataSetName ? DefaultFieldDataSet(c) : nullptr;
            ResolveFieldReference(c, name, dataSet, field);
        }
        if (dataSet && !field.isEmpty()) {
            view->BoundDataSet = dataSet;
            view->BoundFieldName = field;
        }
    }
    CollectAggregates();
}

void TrpPage::CollectAggregates()
{
    TrpRunContext& c = Context();
    static constexpr int kLevelFooters[3][7] = {
        {btPageFooter, btColumnFooter, btMasterFooter, btGroupFooter, btReportSummary, -1, -1},
        {btPageFooter, btColumnFooter, btMasterFooter, btGroupFooter, btReportSummary, btDetailFooter, -1},
        {btPageFooter, btColumnFooter, btMasterFooter, btGroupFooter, btReportSummary, btDetailFooter,
         btSubDetailFooter}};
    const bool scanning = c.PrepareScanFlag;
    const TrpCurrentScope<TrpBand> currentBand(c.CurrentBand);
    c.PrepareScanFlag = true;
    const TrpCurrentScope<TrpPage> currentPage(c.CurrentPage, this);
    TrpBand* crossData = Bands[btCrossData];
    const auto collect = [&](TrpBand& source, const int* footerTypes, int count) {
        AggregateSource = &source;
        for (int i = 0; i < count && footerTypes[i] >= 0; ++i)
            for (TrpBand* footer = Bands[size_t(footerTypes[i])]; footer; footer = footer->Next) {
                QStringList calls, cellCalls, cornerCalls;
                TAggregateFunctionsSplitter splitter(calls, &Report->Dictionary.Variables);
                TAggregateFunctionsSplitter cellSplitter(cellCalls, &Report->Dictionary.Variables);
                TAggregateFunctionsSplitter cornerSplitter(cornerCalls, &Report->Dictionary.Variables);
                splitter.SplitScript(footer->Script);
                for (TrpView* view : footer->Objects) {
                    const bool corner = view->OwnerBand && view->OwnerBand != footer &&
                                        (view->OwnerBand->BandType == btCrossHeader ||
                                         view->OwnerBand->BandType == btCrossFooter);
                    TAggregateFunctionsSplitter& into = view->OwnerBand == crossData ? cellSplitter
                                                        : corner                     ? cornerSplitter
                                                                                     : splitter;
                    if (view->TypeCode == otMemo)
                        into.SplitText(view->Memo);
                    into.SplitScript(view->ScriptLines);
                }
                c.CurrentBand = footer;
                for (const QString& call : calls)
                    c.ReportParser.Evaluate(call);
                // The footer's Cross data cells total their columns, as they will when drawn.
                const TrpCurrentScope<TrpBand> crossed(crossData->AggregateBand, footer);
                c.CurrentBand = crossData;
                for (const QString& call : cellCalls)
                    c.ReportParser.Evaluate(call);
                // Its corners total every cell, as they will when drawn.
                TrpBand* crossFooter = Bands[btCrossFooter];
                const TrpCurrentScope<TrpBand> corner(crossFooter->CornerOf, footer);
                c.CurrentBand = crossFooter;
                for (const QString& call : cornerCalls)
                    c.ReportParser.Evaluate(call);
            }
    };
    try {
        for (int level = 0; level < 3; ++level)
            for (TrpBand* data = Bands[size_t(kLevels[level].Data)]; data && data->DataSet; data = data->Next)
                collect(*data, kLevelFooters[level], 7);
        const int crossFooter[] = {btCrossFooter};
        if (Bands[btCrossData]->View)
            collect(*Bands[btCrossData], crossFooter, 1);
    } catch (const std::exception& error) {
        SetCalculationError(c, error);
    }
    AggregateSource = nullptr;
    c.PrepareScanFlag = scanning;
}
