#pragma once
// The report engine's texts in Russian. The engine keeps its own string table (English, by text
// number) and asks its locale's OnLocalize handler first; the program installs one that answers
// from the table here, so that the preview, the find, print, page setup and export dialogs, the
// progress window, the file types and the engine's error boxes speak the program's language.
#include <QString>

class TrpRunContext;

// The Russian text of the engine's text number; "" for a number the table lacks (the engine then
// keeps its own).
QString RussianReportText(int id);

// Makes the context's texts Russian: its locale asks RussianReportText first, and the texts the
// context read when it was made (the report printer's name, papers and first paper source) are
// read again. Before the windows and export filters are made: they take their texts when made.
void InstallRussianReportTexts(TrpRunContext& context);
