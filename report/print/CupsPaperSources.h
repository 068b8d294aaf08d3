#pragma once
// The paper sources (trays) of CUPS printers, which Qt does not name, and the job option that
// takes paper from one. A queue with a PPD offers the choices of its InputSlot option; one
// without offers the media sources the printer reports over IPP. Each source gets the Windows
// source id that templates and prepared pages keep: that of a source of the same kind where
// Windows has one ("Manual" is 4, "Auto" 7), else 256 and on by its place in the printer's
// list, as Windows drivers number their own.
#include <vector>

#include <QByteArray>
#include <QString>

struct TrpPaperSource {
    int Id = 0;
    QString Name;        // as the printer names it to people
    QByteArray Option;   // the job option that chooses it ("InputSlot" or "media-source")
    QByteArray Value;    // and its value
};

// The InputSlot choices of a PPD file, read through libcups; none when the file cannot be read
// or has no such option.
std::vector<TrpPaperSource> PpdPaperSources(const QString& ppdFileName);

// The sources of a CUPS destination: its PPD's, else its media-source-supported; none when no
// CUPS server answers or it knows no such printer.
std::vector<TrpPaperSource> CupsPaperSources(const QString& printerName);
