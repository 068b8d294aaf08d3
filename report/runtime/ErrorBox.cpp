#include "report/runtime/ErrorBox.h"

#include "report/runtime/RunContext.h"
#include "report/runtime/TextRoutines.h"

namespace {

constexpr int kIconError = 16;   // the message box flag of the error icon

}  // namespace

void ShowErrorBox(const TrpRunContext& context, const QString& text)
{
    QString lines = text;
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (context.MessageBox)
        context.MessageBox(lines, LoadFrResString(context, 55206), kIconError);   // "Error"
    else
        context.Log(lines);
}
