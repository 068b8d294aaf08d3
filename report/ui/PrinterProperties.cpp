#include "report/ui/PrinterProperties.h"

#include <QPageSetupDialog>

#include "report/paper/ReportPrinter.h"
#include "report/print/QtPrinter.h"

bool PrinterPropertiesDialog(TrpPrinter& printer, QWidget* parent)
{
    auto* device = dynamic_cast<TrpQtPrinter*>(printer.Platform());
    if (printer.IsVirtual() || !device)
        return false;
    QPageSetupDialog dialog(&device->Device(), parent);
    return dialog.exec() == QDialog::Accepted;
}
