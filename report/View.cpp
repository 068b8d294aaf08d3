#include "report/View.h"

#include "report/Cp1251Text.h"
#include "report/ReportVariant.h"

TrpView::TrpView()
{
    // No category, two decimals, and the decimal separator of the platform.
    const QByteArray separator = ToCp1251(QString(ReportDecimalSeparator()));
    FormatCode = 512 + uint8_t(separator.isEmpty() ? '.' : separator[0]);
}
