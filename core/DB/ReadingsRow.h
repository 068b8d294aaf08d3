#pragma once
// One row of the readings table: one history point of one sensor.
#include <QString>

struct TReadingRow {
    QString SilosName;   // the suspension's display name
    int DevAddr = 0;     // block address + 1
    int DevNo = 0;       // suspension number + 1
    int TIT = 0;         // sensor index + 1
    double FixTime = 0;  // days since 1899-12-30
    double Val = 0;      // degrees
};
