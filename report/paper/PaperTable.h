#pragma once
// The papers the virtual printer offers: the Windows paper ids 1 to 47 and 50 to 68 with their
// sizes, and the custom size. Printers, templates and prepared reports name papers by these ids.
#include <span>

constexpr int kPaperA4 = 9;
constexpr int kCustomPaper = 256;

struct TPaperInfo {
    int Id;
    const char* Name;   // used when the engine's texts give the row no name
    int Width;          // tenths of a millimetre, portrait
    int Height;
};

// The rows in id order; the custom size (0 x 0) last.
std::span<const TPaperInfo> PaperTable();
// The row of that id, or none.
const TPaperInfo* FindPaper(int id);

// The engine's text numbers of the row names: row i (from 0) is named by kFirstPaperNameText + i.
constexpr int kFirstPaperNameText = 55008;
