#include "report/engine/Report.h"

#include "report/data/DataSetRelations.h"
#include "report/engine/EMFPages.h"
#include "report/engine/ProgressWindow.h"
#include "report/engine/PreviewHost.h"
#include "report/runtime/RunContext.h"
#include "report/runtime/TextRoutines.h"

TrpReport::TrpReport(TrpRunContext& context, QObject* owner)
    : QObject(owner), context_(context), EMFPages(std::make_unique<TrpEMFPages>(*this))
{
    FileName = LoadFrResString(context_, 55209);   // "Untitled"
    ResetReportInfo();
}

TrpReport::~TrpReport()
{
    UnbindParser();
    // A preview holding this report's pages gives them back: they are freed with the report.
    if (TrpPreviewHost* preview = Preview(); preview && preview->ShownReport() == this)
        preview->ReleasePages();
    EMFPages.reset();   // its live pages leave no run variable behind either
    TrpRunContext& c = context_;
    if (c.CurrentReport == this)
        c.CurrentReport = nullptr;
    if (c.RootReport == this)
        c.RootReport = nullptr;
    ForgetPages();
}

void TrpReport::ForgetPages()
{
    TrpRunContext& c = context_;
    if (Holds(c.CurrentPage))
        c.CurrentPage = nullptr;
    if (c.CurrentBand && Holds(c.CurrentBand->Page))
        c.CurrentBand = nullptr;
    if (Holds(c.CurrentView))
        c.CurrentView = nullptr;
}

void TrpReport::ClearPages()
{
    ForgetPages();
    Pages.clear();
}

bool TrpReport::Holds(const TrpPage* page) const
{
    for (const auto& own : Pages)
        if (own.get() == page)
            return true;
    return false;
}

bool TrpReport::Holds(const TrpView* view) const
{
    return view && view->Report == this;
}

TrpView* TrpReport::FindObject(const QString& name) const
{
    for (const auto& page : Pages)
        if (TrpView* view = page->FindObject(name))
            return view;
    return nullptr;
}

TrpPage* TrpReport::AddPage()
{
    // A new page takes the paper the report printer started with, in its default source.
    Pages.push_back(std::make_unique<TrpPage>(*this, context_.DefaultPaperSize, 0, 0, -1, poPortrait));
    return Pages.back().get();
}

void TrpReport::BeforePrintHook(QStringList& memo, TrpView* view)
{
    if (view && view->BoundDataSet)
        if (TField* field = view->BoundDataSet->FindField(view->BoundFieldName); IsBlobField(field))
            view->LoadFromBlob(field);
    if (OnBeforePrint)
        OnBeforePrint(memo, view);
}

void TrpReport::SelectPrinter(const QString& name)
{
    TrpPrinter& printer = context_.ReportPrinter;
    for (int index = 0; index < printer.Printers.size(); ++index)
        if (!PrintToDefault && printer.Printers[index].compare(name, Qt::CaseInsensitive) == 0) {
            printer.ChoosePrinter(index);
            break;
        }
    PrinterName = name;
}

void TrpReport::ShowProgressPage(int pageNo)
{
    if (OnProgress) {
        OnProgress(pageNo);
        return;
    }
    TrpRunContext& c = context_;
    if (!ShowProgress || !c.ProgressWindow)
        return;
    // The final pass of a two-pass build and an export know how many pages there are.
    const bool withTotal = CurrentFilter || (TwoPass && FinalPass);
    c.ProgressWindow->ShowPage(pageNo, withTotal ? std::optional<int>(c.TotalPages) : std::nullopt);
}

void TrpReport::BeginColumnHook(TrpBand* band)
{
    if (OnBeginColumn)
        OnBeginColumn(band);
}

void TrpReport::PrintColumnHook(int columnNo, int& width)
{
    if (OnPrintColumn)
        OnPrintColumn(columnNo, width);
}
