#pragma once
// Whether a sheet has room for a report's bands as its template lays them out. A page needs,
// above its Page footer, the taller of its first page's furniture (Report title, the Page header
// when it prints on the first page, Column header) and a later page's (Page header and Column
// header) with the tallest band that flows under it and the Column footer's room. A sheet with
// less room than that is refused before it is applied, since a page header or a band that does
// not fit on an empty page stops every build.
#include <optional>

#include <QMargins>
#include <QString>

class TrpPage;
class TrpReport;
struct TPaperGeometry;

// The least height between the top and the bottom limit that holds the page's bands (page units).
int BandsHeight(const TrpPage& page);

// Empty when every visible report page of the report has room for its bands on the sheet; else
// the reason, in millimetres, for the first that has not. The margins (page units) are those the
// pages would take; without them each page keeps its own.
QString BandsRoomRefusal(const TrpReport& report, const TPaperGeometry& sheet,
                         const std::optional<QMargins>& margins = std::nullopt);
