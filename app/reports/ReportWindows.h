#pragma once
// The report engine's windows for the program's run context, over the main window: the dialogs
// of the report functions INPUT and MESSAGEBOX (and with them the engine's error box), the
// export filters' options, the virtual printer's PDF file, the rich-text editor (its recently
// used fonts in the user's store) and the progress window (owned by the main window, so it goes
// with it).
class QWidget;
class TrpRunContext;

void InstallReportWindows(TrpRunContext& context, QWidget& mainWindow);
