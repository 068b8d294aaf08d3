#pragma once
// The platform's printers as the report printer sees them. The engine lays out without any
// printer; the program's print library gives it the installed printers through this interface.
#include <cstdint>
#include <optional>
#include <vector>

#include <QString>
#include <QStringList>

class QPainter;

// A paper or a paper source a printer offers: its id and its name.
struct TrpDeviceItem {
    int Id = 0;
    QString Name;
};

// What the current printer is set to and what it offers. Paper ids are Windows paper ids
// (PaperTable.h; 256 a custom size); source ids are Windows source ids.
struct TrpDeviceSettings {
    int PaperSize = 0;
    int PaperWidth = 0;    // tenths of a millimetre, as the sheet lies (landscape: the long side)
    int PaperHeight = 0;
    uint8_t Orientation = 0;   // 0 portrait, 1 landscape
    int PaperBin = 0;          // the source it takes paper from by default
    std::vector<TrpDeviceItem> Papers;
    std::vector<TrpDeviceItem> Bins;
};

// The paper the report printer asks for. A custom size gives its width and height as the sheet
// lies; a printer knows other sizes by their id alone, a file takes the width and height. A bin
// whose low 16 bits are 0xFFFF leaves the printer's source alone. One copy.
struct TrpDeviceMode {
    int PaperSize = 0;
    int PaperWidth = 0;
    int PaperHeight = 0;
    uint8_t Orientation = 0;
    int PaperBin = -1;
};

// The current paper in printer pixels.
struct TrpDeviceMetrics {
    int DpiX = 0, DpiY = 0;
    int PhysicalWidth = 0, PhysicalHeight = 0;   // the sheet
    int OffsetX = 0, OffsetY = 0;                // where the printable area starts
    int PrintWidth = 0, PrintHeight = 0;         // the printable area
};

class TrpPlatformPrinter {
public:
    virtual ~TrpPlatformPrinter() = default;

    // The installed printers in the platform's order, and the one in use ("" when none is).
    virtual QStringList PrinterNames() = 0;
    virtual QString CurrentPrinter() = 0;
    virtual void SelectPrinter(const QString& name) = 0;

    // None when the current printer gives no settings (it is gone, or none is in use).
    virtual std::optional<TrpDeviceSettings> ReadSettings() = 0;
    // EPrinter when the printer refuses the paper; a printer that is gone takes nothing.
    virtual void WriteSettings(const TrpDeviceMode& mode) = 0;
    virtual TrpDeviceMetrics Metrics() = 0;

    // The print job: pages are drawn on the painter between BeginDoc and EndDoc (EPrinter when
    // the job cannot start, a sheet cannot begin or the output cannot be completed).
    virtual bool Printing() = 0;
    // How many copies of each sheet the next job is to make; gives how many the printer makes
    // itself (1 when it makes none, as a file does).
    virtual int SetCopies(int copies) = 0;
    virtual QPainter& BeginDoc(const QString& title) = 0;
    // The virtual printer's job: a PDF file on that paper with a 5 mm border unprinted, written
    // beside the file and put in its place by EndDoc once whole; Abort, or a failure, leaves the
    // file as it was. While the job runs, WriteSettings, Metrics and NewPage act on the file.
    virtual QPainter& BeginFileDoc(const QString& title, const QString& fileName, const TrpDeviceMode& paper) = 0;
    // The job writes a file (the virtual printer's, or a printer that prints into one): its
    // sheets may change paper between them, as a file cannot be split into jobs.
    virtual bool PrintsToFile() = 0;
    virtual void NewPage() = 0;
    virtual void EndDoc() = 0;
    virtual void Abort() = 0;
};
