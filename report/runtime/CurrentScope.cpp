#include "report/runtime/CurrentScope.h"

#include "report/objects/View.h"
#include "report/runtime/RunContext.h"

TrpViewScope::TrpViewScope(TrpRunContext& context, TrpView* view)
    : context_(context), view_(view), saved_(context.CurrentView)
{
    context_.CurrentView = view;
    context_.FailedView.Noted = false;
}

TrpViewScope::~TrpViewScope()
{
    TrpRunContext::TFailedView& failed = context_.FailedView;
    if (std::uncaught_exceptions() > exceptions_ && view_ && !failed.Noted) {
        failed.Noted = true;
        failed.Name = view_->Name;
        failed.Memo = view_->Memo;
    }
    context_.CurrentView = saved_;
}
