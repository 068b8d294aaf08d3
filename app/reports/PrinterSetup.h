#pragma once
// The page setup of the one-column protocol, kept in the settings: the paper, source and
// orientation of the report printer and the margins of the report's pages.
class TrpReport;
struct Parameters;

// Puts the stored orientation, and the stored source and paper where set (> 0; else the source
// the printer has and the template's paper), into the report printer, then gives every report
// page of the report that paper and the stored margins that are set (a margin stored as 0 leaves
// the template's). A stored paper the printer has no sheet for (a custom size without its size),
// or one too small for the report's bands, gives way to the printer's default paper, told in the
// engine's log. A paper the printer refuses is told there too and the printer's own stays.
void ApplyPrinterSettings(TrpReport& report, const Parameters& settings);

// Keeps the report printer's orientation, source and paper (a custom size with its sheet), and
// the margins of the report's first page when it is a report page, in the settings.
void StorePrinterSettings(const TrpReport& report, Parameters& settings);
