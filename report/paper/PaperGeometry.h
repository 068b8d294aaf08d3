#pragma once
// Page units and the page geometry the report printer gives for a paper. Paper sizes are kept in
// tenths of a millimetre, positions on a page in page units: 93/1.015 to the inch, so that 5 mm
// are about 18 units and an A4 sheet is 758 units wide.

constexpr double kPageUnitsPerInch = 91.6256157635468;
constexpr int kTenthsMmPerInch = 254;

// Device fields in printer pixels, the others in page units.
struct TPaperGeometry {
    int DevicePageWidth = 0, DevicePageHeight = 0;   // the whole sheet
    int PageWidth = 0, PageHeight = 0;
    int DeviceOffsetX = 0, DeviceOffsetY = 0;   // the border the printer cannot print on
    int OffsetX = 0, OffsetY = 0;
    int DevicePrintWidth = 0, DevicePrintHeight = 0;   // the printable area
    int PrintWidth = 0, PrintHeight = 0;
};
