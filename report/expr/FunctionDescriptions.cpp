#include "report/expr/FunctionDescriptions.h"

#include "report/expr/FunctionLibrary.h"
#include "report/runtime/TextRoutines.h"

namespace {

struct TFunctionText {
    const char* name;
    int category;
};

// In string-table order: each description's number follows the one before, from 55581.
constexpr int kFirstDescription = 55581;
constexpr TFunctionText kFunctions[] = {
    // The standard library.
    {"AVG", kCategoryAggregate}, {"COUNT", kCategoryAggregate}, {"DAYOF", kCategoryDateTime},
    {"FORMATDATETIME", kCategoryText}, {"FORMATFLOAT", kCategoryText}, {"FORMATTEXT", kCategoryText},
    {"INPUT", kCategoryDialog}, {"LENGTH", kCategoryText}, {"LOWERCASE", kCategoryText},
    {"MAX", kCategoryAggregate}, {"MAXNUM", kCategoryNumber}, {"MESSAGEBOX", kCategoryDialog},
    {"MIN", kCategoryAggregate}, {"MINNUM", kCategoryNumber}, {"MONTHOF", kCategoryDateTime},
    {"NAMECASE", kCategoryText}, {"POS", kCategoryText}, {"SUM", kCategoryAggregate}, {"TRIM", kCategoryText},
    {"UPPERCASE", kCategoryText}, {"YEAROF", kCategoryDateTime},
    // The parser's own functions and operators.
    {"IF", kCategoryLogical}, {"COPY", kCategoryText}, {"MOD", kCategoryNumber}, {"STR", kCategoryText},
    {"NOT", kCategoryLogical}, {"AND", kCategoryLogical}, {"OR", kCategoryLogical}, {"ROUND", kCategoryNumber},
    {"FRAC", kCategoryNumber}, {"INT", kCategoryNumber}, {"TRUE", kCategoryLogical}, {"FALSE", kCategoryLogical},
    {"STRTODATE", kCategoryDateTime}, {"STRTOTIME", kCategoryDateTime},
    // The report variables.
    {"PAGE#", kCategoryVariable}, {"DATE", kCategoryVariable}, {"TIME", kCategoryVariable},
    {"LINE#", kCategoryVariable}, {"LINETHROUGH#", kCategoryVariable}, {"COLUMN#", kCategoryVariable},
    {"TOTALPAGES", kCategoryVariable},
    // The report information.
    {"REPORTCOMMENT", kCategoryReportInfo}, {"REPORTNAME", kCategoryReportInfo}, {"REPORTAUTOR", kCategoryReportInfo},
    {"VMAJOR", kCategoryReportInfo}, {"VMINOR", kCategoryReportInfo}, {"VRELEASE", kCategoryReportInfo},
    {"VBUILD", kCategoryReportInfo}, {"REPORTDATE", kCategoryReportInfo}, {"REPORTLASTCHANGE", kCategoryReportInfo},
    // The system names.
    {"MROK", kCategorySystem}, {"MRCANCEL", kCategorySystem}, {"CURY", kCategorySystem},
    {"FREESPACE", kCategorySystem}, {"FINALPASS", kCategorySystem}, {"PAGEHEIGHT", kCategorySystem},
    {"PAGEWIDTH", kCategorySystem}, {"PROGRESS", kCategorySystem}, {"MODALRESULT", kCategorySystem},
    {"STOPREPORT", kCategorySystem}, {"NEWPAGE", kCategorySystem}, {"NEWCOLUMN", kCategorySystem},
    {"SHOWBAND", kCategorySystem}, {"INC", kCategorySystem}, {"DEC", kCategorySystem},
};

}  // namespace

void DescribeStandardFunctions(TrpFunctionLibrary& library)
{
    const TrpRunContext& context = library.Context();
    int description = kFirstDescription;
    for (const TFunctionText& function : kFunctions)
        library.AddFunctionDesc(QString::fromLatin1(function.name), LoadFrResString(context, function.category),
                                LoadFrResString(context, description++));
}
