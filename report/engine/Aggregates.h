#pragma once
// Aggregate values: what an aggregate call (SUM, MIN, MAX, AVG, COUNT) in a band's text
// registers with the data band that accumulates it. A value's name holds the fields the band
// engine accumulates and resets by, separated by the character 1: the name of the band that
// prints the value, the operation code as one character, the expression, and the flag ("1":
// the value counts also while the data band is invisible).
//
// A call in a Cross data cell totals its own cross column: its value is registered with the
// column number 0 as an extra first field, and the data band keeps a copy per column, made
// when that column's cell of a record is first drawn. A call in a corner of the table (the
// Cross header's or footer's cell in a footer's row) totals every cell of every record the
// footer covers: its extra first field is "*", and every column's cell adds to it.
#include <QString>
#include <QVariant>

class TrpBand;

enum TAggregateOperation : int { aoSum = 11, aoMin = 12, aoMax = 13, aoAvg = 14, aoCount = 15 };

struct TAggregateName {
    static constexpr int kNoColumn = -1;
    static constexpr int kAllColumns = -2;

    QString BandName;
    int Operation = aoSum;
    QString Expression;   // empty for COUNT
    QString Flag;
    // 0 for the value every column copies, else the column (from 1), or all columns
    int Column = kNoColumn;

    QString Text() const;
    // False for a text that is no aggregate name.
    static bool Parse(const QString& text, TAggregateName& name);
    bool CountsWhileInvisible() const { return Flag == QLatin1String("1"); }
};

// The value an aggregate starts from and is reset to: above every value for the minimum, below
// every value for the maximum (readings below zero are common), else 0.
QVariant AggregateStartValue(int operation);

// The data band whose aggregates a call without a band name means: the band's own data band
// when it has one, else the page's first data band of the band's level (master for the report,
// page, column, group and master bands, then detail, sub-detail and cross).
TrpBand* ClosedDataBand(const TrpBand& band);

// For a call in a Cross data cell, the band whose row the cell belongs to (the Cross data band's
// aggregate band: the band drawing its cells, or the footer being scanned); else none.
TrpBand* CrossedBand(const TrpBand& band);

// For a call in a corner of the table, the footer whose row the corner is in; else none.
TrpBand* CornerRow(const TrpBand& band);
