#pragma once
// A design page of a report: its objects, its paper and margins, and the state the page build
// keeps while it prints the page. This holds what object lookup, expressions and scripts reach;
// the page record, the paper change and the build itself belong to the same class.
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include <QString>

#include "report/engine/Band.h"
#include "report/objects/ReportObject.h"
#include "report/objects/View.h"

enum TrpPageType : uint8_t { ptReport = 0, ptDialog = 1 };

// The page geometry the report printer gives for a paper (device fields in printer pixels, the
// others in page units).
struct TPaperGeometry {
    int DevicePageWidth = 0, DevicePageHeight = 0;
    int PageWidth = 0, PageHeight = 0;
    int DeviceOffsetX = 0, DeviceOffsetY = 0;
    int OffsetX = 0, OffsetY = 0;
    int DevicePrintWidth = 0, DevicePrintHeight = 0;
    int PrintWidth = 0, PrintHeight = 0;
};

class TrpPage : public TrpObject {
public:
    QString Name;
    uint8_t Type = ptReport;
    bool Visible = true;
    // The page's objects in drawing order; the page owns them.
    std::vector<std::unique_ptr<TrpView>> Objects;

    int LeftMargin = 0, TopMargin = 0, RightMargin = 0, BottomMargin = 0;
    bool MarginsOn = false;
    TPaperGeometry PaperGeometry;

    // Places an object last on the page; it reaches the run context through the page's report.
    TrpView* AddObject(std::unique_ptr<TrpView> object);
    // The first object whose name equals name without regard to case, or none.
    TrpView* FindObject(const QString& name) const;
    // The x that printing may reach on the right (PAGEWIDTH).
    int RightLimit() const;
    // The first band (types in order, each chain in order) whose band object carries that
    // name, without regard to case, or none.
    TrpBand* FindBandByName(const QString& name) const;
    // SHOWBAND: prints that band at the current position.
    void PrintBandByName(const QString& name);
    void PrintBand(TrpBand* band);

    // Build state.
    int PosY = 0;     // the current print position
    int LimitY = 0;   // the lowest position band content may reach
    int CurrentNo = 1;   // CURRENT#: records printed on this page build
    int ColumnNo = 1;    // COLUMN#: cross column number
    // The first band of each type's chain while the page is built (the build owns them).
    std::array<TrpBand*, kBandTypeCount> Bands{};
    // The modal result a dialog page's script gives its form (MODALRESULT).
    int ModalResult = 0;
};
