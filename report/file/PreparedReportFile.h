#pragma once
// The prepared-report file (.rpp): the printer name, then one record per prepared page (its paper,
// margins and object stream) and the report's generator byte. Every page record starts with the
// absolute position of the next one, so that a reader can pass over a page without parsing it.
//
// Three layouts are read: the current one (version byte 24 to 31 first), the same without the
// version byte (no bin and no margins in the page records), and the oldest one (a string list
// with the printer name, and an enhanced metafile for each page). Reading checks every count,
// length and position against the file's size before it takes anything, and refuses a damaged
// file as a whole ("not a prepared report", "damaged at page N").
#include <cstdint>
#include <vector>

#include <QByteArray>
#include <QIODevice>
#include <QString>

class TrpCompressor;
class TrpRunContext;

constexpr uint8_t kPreparedFileVersion = 25;

// A prepared page's paper as the file keeps it (and the page record in memory).
struct TrpPreparedPaper {
    int Size = 0;            // paper id (16 bits in the file)
    int PaperWidth = 0;      // tenths of a millimetre
    int PaperHeight = 0;
    uint8_t Orientation = 0;
    int PaperBin = 0;
    bool MarginsOn = false;
    int LeftMargin = 0, TopMargin = 0, RightMargin = 0, BottomMargin = 0;   // page units
};

enum class TrpPreparedLayout : uint8_t { Current, WithoutVersion, Oldest };

struct TrpPreparedFilePage {
    TrpPreparedPaper Paper;
    // The page's object stream (decompressed); in the oldest layout an enhanced metafile.
    QByteArray Data;
};

struct TrpPreparedFile {
    TrpPreparedLayout Layout = TrpPreparedLayout::Current;
    QString PrinterName;
    std::vector<TrpPreparedFilePage> Pages;
    uint8_t Generator = 0;   // not in the oldest layout
};

// Reads a whole file from the start of the stream, which must allow seeking. A damaged, truncated
// or foreign file raises EReadError with the engine's text for it; nothing is half read.
TrpPreparedFile ReadPreparedFile(TrpRunContext& context, QIODevice& stream);

// Writing, in this order: the header, every page, the end. Object streams pass through the
// compressor when it is enabled; the header says so.
void WritePreparedFileHeader(QIODevice& stream, const TrpCompressor& compressor, const QString& printerName,
                             int pageCount);
void WritePreparedFilePage(QIODevice& stream, TrpCompressor& compressor, const TrpPreparedPaper& paper,
                           const QByteArray& objectStream);
void WritePreparedFileEnd(QIODevice& stream, uint8_t generator);
