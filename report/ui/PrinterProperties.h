#pragma once
// The current printer's own settings (paper, orientation, margins) in Qt's page set-up dialog.
// OK leaves them in the printer; Cancel changes nothing. The report printer's paper is not read
// back: the next paper change writes its own paper over the printer's again.
class QWidget;
class TrpPrinter;

// False, and no dialog, when the current printer is the virtual one; else whether it was
// closed with OK.
bool PrinterPropertiesDialog(TrpPrinter& printer, QWidget* parent);
