#pragma once
// The engine's string table: its texts by resource number (53000 to 55670). Only the numbers
// the engine uses are present; any other number reads as an empty text.
#include <QString>

QString ReportResourceString(int id);
