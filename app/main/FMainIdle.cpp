// What the main window refreshes whenever the program has nothing else to do, and what it
// does when the program is activated.
#include "app/main/FMain.h"

#include "app/exchange/PortControl.h"
#include "app/widgets/StatusPanelText.h"
#include "app/widgets/VSBPro.h"
#include "core/Parameters.h"

#include "core/Device/HardConfig.h"
#include "core/Device/TIT.h"

#include <QListWidget>

namespace {

QString AirTemperatureText(const THardConfig* config)
{
    const TTIT* air = config ? config->GetAirTIT() : nullptr;
    if (!air)
        return QStringLiteral("не контроллируется");
    return QString::asprintf("%.2f°C", air->GetValue());
}

} // namespace

void TfmMain::AppEvents1Idle()
{
    // A hint shows across the whole bar until it is gone.
    sBar->SetSimplePanel(!sBar->SimpleText().isEmpty());
    const bool errorsPresent = lbErr->count() > 0;
    if (lbErr->isVisibleTo(this) != errorsPresent)
        lbErr->setVisible(errorsPresent);
    RefreshAirTempPanels();
    PortControl->RefreshPortStatus();
}

void TfmMain::RefreshAirTempPanels()
{
    SetStatusPanelText(*sbAirTempPanels[1], AirTemperatureText(HardConfig.get()));
    SetStatusPanelText(*sbAirTempPanels[3], QStringLiteral("%1°C").arg(Settings.MaxT));
    SetStatusPanelText(*sbAirTempPanels[4], NextScheduledPollText());
}

void TfmMain::AppEvents1Hint(const QString& hint)
{
    sBar->SetSimplePanel(true);
    sBar->SetSimpleText(hint);
}

// Coming back to the foreground, the program takes its port back if another instance took it.
void TfmMain::AppEvents1Activate()
{
    SetPortEnabled(true);
}
