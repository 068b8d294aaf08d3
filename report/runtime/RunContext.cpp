#include "report/runtime/RunContext.h"

#include <QColor>

#include "base/Rounding.h"
#include "report/runtime/LayoutDpi.h"
#include "report/runtime/NamedConstants.h"
#include "report/runtime/TextRoutines.h"

namespace {

QStringList ResourceRange(const TrpRunContext& context, int first, int last)
{
    QStringList texts;
    for (int id = first; id <= last; ++id)
        texts.append(LoadFrResString(context, id));
    return texts;
}

QImage CheckerBoard()
{
    QImage image(8, 8, QImage::Format_RGB32);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            image.setPixel(x, y, (x + y) % 2 == 0 ? qRgb(255, 255, 255) : qRgb(192, 192, 192));
    return image;
}

}  // namespace

TrpRunContext::TrpRunContext()
{
    LoadStrings();
    PatternBitmap = CheckerBoard();
    ScratchBitmap = QImage(8, 8, QImage::Format_RGB32);
    ScratchBitmap.fill(Qt::white);
    // The layout's resolution, whatever the screen's.
    const int dotsPerMeter = int(Round(kLayoutDpi / 0.0254));
    ScratchBitmap.setDotsPerMeterX(dotsPerMeter);
    ScratchBitmap.setDotsPerMeterY(dotsPerMeter);
    ScriptVariables.SetSorted(true);
    ReportConstants.SetSorted(true);
    FillReportConstants(ReportConstants);
    StartReportPrinter(*this);   // on the virtual printer until the program gives its printers
    // Last: a library describes its functions to InstalledFunctions while it is made.
    for (const TrpFunctionLibraryClass& libraryClass : StandardFunctionLibraries())
        RegisterFunctionLibrary(*this, libraryClass);
}

TrpRunContext::~TrpRunContext() = default;

void TrpRunContext::LoadStrings()
{
    bool ok = false;
    const int charset = LoadFrResString(*this, 55337).toInt(&ok);
    DefaultCharset = ok ? charset : 1;
    BandNames = ResourceRange(*this, 55077, 55099);
    BooleanFormats = ResourceRange(*this, 55170, 55173);
    DateFormats = ResourceRange(*this, 55175, 55178);
    TimeFormats = ResourceRange(*this, 55179, 55182);
}
