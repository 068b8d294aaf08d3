#include "report/engine/ProgressWindow.h"

#include "report/runtime/RunContext.h"
#include "report/runtime/TextRoutines.h"

namespace {

int FirstCaptionId(TProgressWork work)
{
    switch (work) {
    case TProgressWork::FirstPass:
        return 55204;   // "Performing 1st pass:"
    case TProgressWork::Print:
        return 55208;   // "Printing page:"
    case TProgressWork::Build:
    case TProgressWork::Export:
        break;
    }
    return 55205;       // "Processing page:"
}

} // namespace

TrpProgressWindow::TrpProgressWindow(TrpRunContext& context) : context_(context)
{
    context_.ProgressWindow = this;
}

TrpProgressWindow::~TrpProgressWindow()
{
    if (context_.ProgressWindow == this)
        context_.ProgressWindow = nullptr;
}

void TrpProgressWindow::BeginWork(TProgressWork work, const QString& title)
{
    QString caption = LoadFrResString(context_, 55203);   // "Preparing report"
    if (!title.isEmpty())
        caption += QStringLiteral(" - ") + title;
    SetCaption(caption);
    FirstCaption = LoadFrResString(context_, FirstCaptionId(work));
    SetFirstLine(work == TProgressWork::Print ? FirstCaption : FirstCaption + QStringLiteral("  1"));
}

void TrpProgressWindow::ShowPage(int page, std::optional<int> total)
{
    QString line = FirstCaption + QStringLiteral("  ") + QString::number(page);
    if (total)
        line += QLatin1Char(' ') + LoadFrResString(context_, 55199) + QLatin1Char(' ') + QString::number(*total);
    SetFirstLine(line);
    ProcessEvents();
}
