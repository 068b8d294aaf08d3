#pragma once
// The rows of the temperature protocol for one poll: dmReport, one suspension a row, and
// dmReport2Col, the same rows two by two.
#include "app/reports/BoardSuspension.h"
#include "core/TITPoint.h"

class TMemoryTable;
struct Parameters;

// Which readings the protocol lists: only those within [Minimum, Maximum] (both 0: all), and
// with ErrorsOnly only the suspensions over the maximum temperature.
struct TProtocolFilter {
    bool ErrorsOnly = false;
    int Minimum = 0;
    int Maximum = 0;

    bool HasRange() const { return Minimum != 0 || Maximum != 0; }
};

// Empties dmReport and lists every suspension of the board that has a reading of the poll (its
// sensors' averaged points stamped with the poll's Unix second) passing the filter: BinName,
// SilName, HardAddr, TD<k> the readings that pass (a sensor without one stays null), Alarm<k>
// the rate-of-change alarm of a reading when the settings check the rate. A reading over the
// maximum temperature marks its row for ErrorsOnly, in range or not. The rows are sorted as text,
// ignoring case, by SilName (sortBySilos) or by BinName.
void FillReportData(TMemoryTable& dmReport, const TBoardSuspensions& board, const TTITPoint& poll,
                    const Parameters& settings, const TProtocolFilter& filter, bool sortBySilos);

// Empties dmReport2Col and lays the rows of dmReport into it two by two: the first of a pair in
// the left-hand fields, the second in the right-hand ones (named with "2" appended); an odd last
// row leaves its right half empty.
void CopyToTwoColumn(TMemoryTable& dmReport, TMemoryTable& dmReport2Col);
