#pragma once
// What the program sets in a state report's template before each build: the header texts and
// where the columns stand. The template keeps them until the next build sets them again.
#include "base/DateTime.h"

#include <QString>

class TrpReport;
class TrpMemoView;
class TTIT;
struct ElevatorProperty;
struct Parameters;
struct TProtocolFilter;

// The memo of that name in the report, or none.
TrpMemoView* ReportMemo(const TrpReport& report, const QString& name);

// meRegion, meArea, meCity and meElevator: the site details with their captions; meAirTemp: the
// air sensor's value text, empty when there is no air sensor.
void SetSiteTexts(TrpReport& report, const ElevatorProperty& site, const TTIT* airSensor, const Parameters& settings);

// meTime: the poll time (or the time the operator gave); meTemp: the temperature range, shown
// only with one; meError: shown only for the protocol of errors.
void SetProtocolHeader(TrpReport& report, TDateTime reportTime, const TProtocolFilter& filter);
// "Протокол температур на dd.mm.yy hh:mm:ss".
QString ProtocolTimeText(TDateTime reportTime);

// The protocol's columns side by side from x 16, each label over its data memo, centred, each the
// data memo's width + 2 after the one before; in the two-column protocol each right after the one
// before, its right half 4 further on.
void PlaceReportColumns(TrpReport& report, bool twoColumns);
// The silo card's columns side by side from x 16 with their widths and the labels' text gaps.
void PlaceSilBinColumns(TrpReport& report);
