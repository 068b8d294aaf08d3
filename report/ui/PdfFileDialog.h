#pragma once
// Where the virtual printer's PDF file goes, asked in a save dialog.
class QWidget;
class TrpRunContext;

// Sets the context's PdfFileDialog: a save dialog over the given window offering the suggested
// name with ".pdf" in the current folder; the name chosen gets ".pdf" when it has no extension.
void InstallPdfFileDialog(TrpRunContext& context, QWidget* parent = nullptr);
