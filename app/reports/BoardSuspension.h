#pragma once
// The board's suspensions as the state reports list them: each with the caption and the number
// of the silo block whose frame holds it.
#include <QString>

#include <vector>

class TfrSiLoBin;
class TSilos;

struct TBoardSuspension {
    QString BinName;   // the frame's caption
    int BinNo = 0;     // the silo block's number
    TSilos* Silos = nullptr;
};
using TBoardSuspensions = std::vector<TBoardSuspension>;

// The technological address "silo block-local block-suspension": the silo block's number, the
// local block's address + 1 and the suspension's number + 1, as the record card shows it.
QString TechAddress(int binNo, const TSilos& silos);

// The suspensions of the frames, frame by frame, row by row, column by column, empty cells
// skipped.
TBoardSuspensions BoardSuspensionsOf(const std::vector<TfrSiLoBin*>& frames);
