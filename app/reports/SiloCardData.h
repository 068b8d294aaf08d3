#pragma once
// The rows of the silo card: every suspension of the board with its record card and the current
// value of each sensor.
#include "app/reports/BoardSuspension.h"

class TMemoryTable;

// Empties dmReportSiloBin and adds a row per suspension of the board: BinName, HardNo, SilName,
// the record card (TypeCorn, ClassCorn, Oper; TMLoad the load date as day, month and two-digit
// year separated by the time separator, empty for a suspension never loaded; Weight and Wet as
// "%.2f" of the card's moisture and weight, which TSilos keeps in Weight and Wet) and TD<k> the
// sensor's current value (-999 without one).
void FillSiloCardData(TMemoryTable& dmReportSiloBin, const TBoardSuspensions& board);
