#include "report/engine/Report.h"

#include "report/runtime/ReportContext.h"

TrpReport::TrpReport(QObject* owner) : QObject(owner) {}

TrpReport::~TrpReport()
{
    UnbindParser();
    if (CurrentReport == this)
        CurrentReport = nullptr;
    if (RootReport == this)
        RootReport = nullptr;
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
    Pages.push_back(std::make_unique<TrpPage>());
    return Pages.back().get();
}
