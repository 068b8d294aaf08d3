#pragma once
// The silo-block layout file (XML, root "silobins"): one "silobin" element per frame of the
// board, in board order, holding the frame's table and the record card and calibration of each
// placed suspension.
//
// Writing replaces the file atomically: a failed write leaves the old file whole. Reading
// gives the elements to the frames in order; frames left without one get one row of eight
// empty cells. A file that exists but cannot be read whole is reported, so that the caller
// can keep it rather than overwrite it with what little was read.
#include <QString>

#include <vector>

class TfrSiLoBin;

struct TLayoutLoadResult {
    enum TState {
        Missing,   // no file: every frame got the default table
        Loaded,    // read whole
        Failed,    // unreadable, not XML, or a conversion error part-way (frames read before it keep it)
    };
    TState State = Missing;
    QString Error;   // for Failed: why
};

TLayoutLoadResult LoadSiloBinLayout(const std::vector<TfrSiLoBin*>& frames, const QString& path);

// The file's text for the frames.
QByteArray SiloBinLayoutText(const std::vector<TfrSiLoBin*>& frames);
// Writes the file; raises Exception with the reason when it cannot.
void SaveSiloBinLayout(const std::vector<TfrSiLoBin*>& frames, const QString& path);

// The rows and columns of the table a frame gets when the file gives it none.
inline constexpr int kDefaultGridRows = 1;
inline constexpr int kDefaultGridCols = 8;
