#pragma once
// The descriptions of the standard functions for a function list: every function of the
// standard library, the parser's own functions, the report variables and the report-info and
// system names, each with a category and a description ("call syntax/explanation") from the
// engine's string table. Only those whose category text exists are kept.
class TrpFunctionLibrary;

// Category numbers in the string table.
enum : int {
    kCategoryAggregate = 55570,
    kCategoryDateTime,
    kCategoryText,
    kCategoryNumber,
    kCategoryLogical,
    kCategoryDialog,
    kCategoryVariable,
    kCategoryReportInfo,
    kCategorySystem,
    kCategoryDatabase,
};
// The description of FIELDISNULL, after the categories.
constexpr int kFieldIsNullDescription = 55580;

// Records the descriptions with the standard library.
void DescribeStandardFunctions(TrpFunctionLibrary& library);
