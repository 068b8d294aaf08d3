#pragma once
// The options dialogs of the export filters, for a run context whose program has windows.
class TrpRunContext;

// Sets the context's ExportOptionsDialog: the text and RTF filters (and their subclasses) get
// their dialogs; other filters export with the options they hold.
void InstallExportDialogs(TrpRunContext& context);
