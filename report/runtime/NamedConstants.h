#pragma once
// The named constants that report expressions and scripts know: colours, modal results, font
// styles, frame sides, alignments, line styles, message box flags, CRLF and Null.
class TrpVariables;

void FillReportConstants(TrpVariables& constants);
