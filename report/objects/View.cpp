#include "report/objects/View.h"

#include "report/file/Cp1251Text.h"
#include "report/expr/ReportVariant.h"

TrpView::TrpView()
{
    // No category, two decimals, and the decimal separator of the platform.
    const QByteArray separator = ToCp1251(QString(ReportDecimalSeparator()));
    FormatCode = 512 + uint8_t(separator.isEmpty() ? '.' : separator[0]);
}
