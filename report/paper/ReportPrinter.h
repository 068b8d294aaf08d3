#pragma once
// The report printer: the one way the engine reaches a printer. It lists the platform's printers
// and, last, a virtual printer that needs no device, keeps the current paper (id, size,
// orientation, source), writes it into the current printer and gives the page geometry of it.
// When no printer is installed, or the current one gives no settings, the virtual printer with
// its own paper table takes over, so that reports are still built, shown and exported.
// The run context owns one (TrpRunContext::ReportPrinter).
#include <cstdint>
#include <vector>

#include <QString>
#include <QStringList>

#include "report/paper/PaperGeometry.h"

class TrpLocale;
class TrpPlatformPrinter;
struct TrpDeviceMode;
struct TrpDeviceSettings;
class TrpRunContext;

enum TrpOrientation : uint8_t { poPortrait = 0, poLandscape = 1 };

// A paper source whose low 16 bits are all set takes the printer's default source.
constexpr int kDefaultBin = 0xFFFF;
inline bool IsDefaultBin(int bin)
{
    return (bin & 0xFFFF) == kDefaultBin;
}

class TrpPrinter {
public:
    // Starts on A4; the printer list is empty until AttachPrinter.
    explicit TrpPrinter(const TrpLocale& locale);

    // The names of the paper table, the virtual printer and the default source, from the
    // locale's texts.
    void Localize(const TrpLocale& locale);
    // Lists the platform's printers (none: only the virtual printer) and takes the platform's
    // current printer with its settings; the platform printer stays the caller's.
    void AttachPrinter(TrpPlatformPrinter* printer);
    // Makes another entry of Printers current; EPrinter for an index outside the list.
    void ChoosePrinter(int index);
    // Reads the paper, the papers and the sources of the current platform printer; one that
    // gives none hands over to the virtual printer.
    void ReadSettings();
    // Reads the current printer's settings again (the virtual printer's paper for it).
    void Refresh();
    // Writes the current paper into the current printer and reads back what it made of it; the
    // virtual printer looks the paper up in its table instead.
    void ApplyDeviceMode();
    // The paper that SetPaper would leave unchanged (see there).
    bool IsEqualPaper(int size, int width, int height, int bin, int orientation) const;
    // The one way to change the paper: nothing while printing, nothing when the paper is the
    // current one and force is off; otherwise the paper is stored and applied. EPrinter when the
    // printer refuses it, which leaves the paper it had.
    void SetPaper(int paperSize, int paperWidth, int paperHeight, int bin, int orientation, bool force);
    // Whether the current printer has a sheet for the paper: a custom size needs its width and
    // height, any other paper must be one of the printer's papers.
    bool HasSheet(int paperSize, int paperWidth, int paperHeight) const;
    // A paper change between two sheets of a running job that writes a file (PrintsToFile),
    // which SetPaper leaves alone: the next sheet takes it.
    void SetJobPaper(int paperSize, int paperWidth, int paperHeight, int bin, int orientation);
    // The current paper as the platform printer takes it.
    TrpDeviceMode DeviceMode() const;
    // The page geometry of the current printer and paper; for the virtual printer, its own
    // unless its job runs, which prints on a file of the platform's.
    void FillPaperGeometry(TPaperGeometry& geometry) const;

    bool IsVirtual() const { return CurrentIndex == VirtualIndex; }
    // The current printer gave its settings when last asked (the virtual printer gives none).
    bool HasDeviceSettings() const { return hasDeviceSettings_; }
    // The platform printer given to AttachPrinter, or none.
    TrpPlatformPrinter* Platform() const { return platform_; }

    // The platform's printers in its order, then the virtual printer.
    QStringList Printers;
    int CurrentIndex = 0;
    int VirtualIndex = 0;

    uint8_t Orientation = poPortrait;
    int PaperSize = 9;     // the paper id; 256 a custom size
    int PaperWidth = 0;    // tenths of a millimetre, as the sheet lies
    int PaperHeight = 0;
    int PaperBin = -1;
    // The papers and sources of the current printer; the first source is the default one (-1).
    std::vector<int> PaperIds;
    QStringList PaperNames;
    std::vector<int> BinIds;
    QStringList BinNames;

private:
    void ApplyVirtualPaper();
    void StorePaper(int paperSize, int paperWidth, int paperHeight, int bin, int orientation);
    void TakeSettings(const TrpDeviceSettings& settings);

    TrpPlatformPrinter* platform_ = nullptr;
    bool hasDeviceSettings_ = false;
    QStringList tableNames_;
    QString virtualName_;
    QString defaultBinName_;
    QString invalidPrinterText_;
};

// Attaches the context's platform printer (none: only the virtual printer) to its report printer
// and sets the paper new design pages start with (-1 when no printer gives settings). Failures are
// swallowed; PrinterReady is set in any case, so that a template reader never waits for ever.
void StartReportPrinter(TrpRunContext& context);
