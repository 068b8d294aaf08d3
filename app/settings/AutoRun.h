#pragma once
// Start at logon for this program: an autostart entry named after the program that runs this
// executable. The check mark of the menu action always shows whether the entry exists.
#include <QString>

class QAction;

bool AutoRunEnabled();
// Removes the entry when it exists, else writes it for executable; then the check shows the
// state. A failure to write or remove throws once the check shows what is.
void ToggleAutoRun(QAction& check, const QString& executable);
