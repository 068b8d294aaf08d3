#pragma once
// The in-memory tables the state reports print from: dmReport (the protocol, one suspension a
// row), dmReport2Col (two suspensions a row, the right-hand fields named as the left-hand ones
// with "2" appended) and dmReportSiloBin (the silo card). The temperature fields TD1 .. TD6 carry
// their sensor's number as their tag (TD12 .. TD62: 12 .. 62).
//
// Texts the operator types (names of silos and silo blocks, the record card) are kept whole: a
// report never cuts them to a field size.
class TMemoryTable;

void DefineReportTable(TMemoryTable& table);
void DefineReport2ColTable(TMemoryTable& table);
void DefineSiloBinTable(TMemoryTable& table);

// Opens the table when it is closed and empties it, for a new filling.
void OpenEmpty(TMemoryTable& table);

// The suffix of the right-hand half's fields in dmReport2Col.
inline constexpr char kRightHalf[] = "2";
