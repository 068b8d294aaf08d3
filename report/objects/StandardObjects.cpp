// The engine's built-in classes: the report object classes by type code and the rich-text
// add-in, registered once before the first object is made, and the function libraries every run context installs when it is
// made. They are listed here (not registered from their own units) so that the linker keeps them.
#include "report/expr/DatabaseFunctionLibrary.h"
#include "report/expr/FunctionLibrary.h"
#include "report/expr/StdFunctionLibrary.h"
#include "report/objects/BandView.h"
#include "report/objects/LineView.h"
#include "report/objects/MemoView.h"
#include "report/objects/ObjectRegistry.h"
#include "report/objects/PictureView.h"
#include "report/objects/RichView.h"
#include "report/objects/SubReportView.h"

namespace {

template <class T>
TrpViewClass ClassOf()
{
    return TrpViewClass{T().ClassName(), [] { return std::make_unique<T>(); }};
}

}  // namespace

void RegisterStandardObjectClasses()
{
    // Type codes: 0 memo, 1 picture, 2 band, 3 sub-report, 4 line.
    RegisterStandardObjectClass(otMemo, ClassOf<TrpMemoView>());
    RegisterStandardObjectClass(otBand, ClassOf<TrpBandView>());
    RegisterStandardObjectClass(otPicture, ClassOf<TrpPictureView>());
    RegisterStandardObjectClass(otSubReport, ClassOf<TrpSubReportView>());
    RegisterStandardObjectClass(otLine, ClassOf<TrpLineView>());
    // The engine's own add-in: its hint is the number of its hint text.
    RegisterReportObject(ClassOf<TrpRichView>(), RichButtonImage(), QString::number(kRichObjectHint));
}

std::vector<TrpFunctionLibraryClass> StandardFunctionLibraries()
{
    return {
        {QStringLiteral("TrpStdFunctionLibrary"),
         [](TrpRunContext& context) { return std::make_unique<TrpStdFunctionLibrary>(context); }},
        {QStringLiteral("TDatabaseFunctionLibrary"),
         [](TrpRunContext& context) { return std::make_unique<TDatabaseFunctionLibrary>(context); }},
    };
}
