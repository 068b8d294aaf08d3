#pragma once
// The base of every object placed on a report page (memo, picture, band, sub-report, line,
// add-in objects): geometry and look shared by all (frame sides, width, colour and style,
// fill, text gaps, display format, alignment to the band), the text lines and script, the
// object record of templates and prepared pages, and the drawing and printing entry points.
//
// Two record forms share one layout: the design form (templates) and the printed form
// (prepared pages, PrintedForm set), which leaves out the design-only fields and carries
// WorkText, the text as printed, in place of Memo.
//
// Printing into a prepared page: PrintToStream(stream) writes the type byte, the class name of
// an add-in object, and the record in the printed form (the page set-up sets PrintedForm on
// every object before a build). Drawing a prepared page: read the
// object back with PrintedForm set, set ZoomX, ZoomY, ShiftX, ShiftY and OnPrinter, and call
// Draw(painter). Both start with BeginDraw, which makes the object the context's CurrentView.
// An object reaches its run context through its Report, so it must be held by a report's page
// (or have Report set) before it reads, prints or draws.
#include <cstdint>
#include <span>

#include <QIODevice>
#include <QLine>
#include <QPointer>
#include <QString>
#include <QStringList>

#include "report/objects/ReportColor.h"
#include "report/objects/ReportObject.h"
#include "report/objects/ReportRect.h"
#include "report/runtime/CurrentScope.h"

class QColor;
class QPainter;
class QPen;
class TDataSet;
class TField;
class TrpBand;
class TrpRecordWriter;
struct TrpBracketedText;

// Type codes of report objects in templates and prepared pages.
enum TrpObjectType : uint8_t {
    otMemo = 0,
    otPicture = 1,
    otBand = 2,
    otSubReport = 3,
    otLine = 4,
    otAddIn = 10,   // the class is named in the stream
};

// Object flag bits shared by every view; the rest belong to the subclasses.
constexpr uint16_t kFlagStretched = 0x1;
constexpr uint16_t kFlagHideZeros = 0x40;   // memos: a numeric zero expands to empty text

// Frame sides (bits of FrameTyp).
enum TrpFrameSide : uint16_t {
    frRight = 1,
    frBottom = 2,
    frLeft = 4,
    frTop = 8,
    frAllSides = 15,
};

// Frame line styles: the pen styles, and a double line.
enum TrpFrameStyle : uint16_t { psSolid, psDash, psDot, psDashDot, psDashDotDot, psDouble };

enum TrpBandAlign : uint8_t { baNone, baLeft, baRight, baCenter, baWidth, baBottom, baTop, baRest };

class TrpView : public TrpObject {
public:
    TrpView();

    // The class name written before an add-in object's record and looked up when it is read.
    virtual QString ClassName() const { return QStringLiteral("TrpView"); }
    // The width the object needs (CALCWIDTH): memos measure their text.
    virtual int CalcWidth() { return Width; }

    void SetPropertyValue(const QString& name, const QVariant& value) override;
    QVariant GetPropertyValue(const QString& name) override;
    // The list methods of "MEMO", then "HIDE" and "SHOW".
    void CallMethod(const QString& name, const QVariant& p1, const QVariant& p2, const QVariant& p3,
                    QVariant& result) override;
    void DeclareProperties() override;

    // ---- Drawing (the painter is Canvas; none while only measuring).

    // Fills the object's rectangle: nothing in a first pass, nor for an object without fill in
    // print mode; white for no fill otherwise.
    virtual void DrawBackground();
    virtual void DrawFrame();
    // Takes its content from a blob field (memos, pictures); the base has none.
    virtual void LoadFromBlob(TField* field) { Q_UNUSED(field); }
    // Called for every object once a whole template has been read.
    virtual void AfterLoad() {}
    // Saves the geometry, gaps and frame width and scales them by ZoomX, ZoomY and ShiftX,
    // ShiftY into device pixels; DrawRect becomes the rectangle inside the frame lines.
    virtual void SaveAndScaleCoords();
    virtual void RestoreCoords();
    virtual void Draw(QPainter* canvas) { Q_UNUSED(canvas); }
    // The object as printed, into a prepared page's object stream.
    virtual void PrintToStream(QIODevice& stream);
    // Hands the object to the running export's filter.
    virtual void ExportData();
    // The record in the form PrintedForm chooses; the reader follows the context's
    // TemplateVersion and raises EReadError for a record that ends early. The record is
    // written in one piece: classes add their fields in SaveRecord.
    virtual void LoadFromStream(QIODevice& stream);
    void SaveToStream(QIODevice& stream);
    virtual void SaveRecord(TrpRecordWriter& record);
    // The object's XML element text, without its closing "/>".
    virtual void SaveToXml(QIODevice& stream);
    // The object's rectangle with its frame lines, widened by 10 on every side when extended.
    virtual TrpRect GetClipRegion(bool extended);

    // ---- Operations.

    // Writes the type byte, for an add-in object its class name, and the record, in one piece:
    // the object's entry in a prepared page.
    void WriteEntry(QIODevice& stream);
    // Copies Name, TypeCode, Selected and, through a design-form record, everything else.
    void Assign(TrpView& source);
    void SetBounds(int left, int top, int width, int height);
    // Canvas := canvas, in print mode the band alignment places the object on the current page,
    // and the object is CurrentView while the scope given back lives.
    TrpViewScope BeginDraw(QPainter* canvas);
    // Replaces every bracketed expression by its value, formatted by the object's format (or
    // the one given after " #" inside the brackets). Inserted text is never scanned again.
    void ExpandText(QString& text);
    // The same, with the text's split kept in split for the next time.
    void ExpandText(QString& text, TrpBracketedText& split);
    // Name := BaseName and the smallest number from 1 that no object of the report carries;
    // empty after 10000 tries.
    void CreateUniqueName();
    // Runs the object's compiled script, if any.
    void RunScript();

    uint16_t BandType() const { return FrameTyp & 0xFF; }
    bool HasFill() const { return FillColor != clTransparent; }

    // ---- Fields.

    QString BaseName = QStringLiteral("View");
    QPainter* Canvas = nullptr;
    TrpRect DrawRect;
    QStringList WorkText;   // the text as printed
    // The blob field the object shows, bound by the page set-up before a build.
    QPointer<TDataSet> BoundDataSet;
    QString BoundFieldName;
    bool PrintedForm = false;
    QString Name;
    uint8_t TypeCode = otAddIn;
    uint8_t RecordMajor = 2;
    uint8_t RecordMinor = 0;
    int ObjectNumber = 0;
    bool Selected = false;
    double ZoomX = 1.0;
    double ZoomY = 1.0;
    int ShiftX = 0;
    int ShiftY = 0;
    bool OnPrinter = false;   // fonts keep their point size on a printer's canvas
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    uint16_t Flags = kFlagStretched;
    uint16_t FrameTyp = 0;   // frame sides; a band view's band type
    float FrameWidth = 1.0f;
    TColor FrameColor = 0;
    uint16_t FrameStyle = psSolid;
    TColor FillColor = clTransparent;
    // Display format word: category in bits 24-27, index 16-23, decimals 8-15, decimal
    // separator character 0-7; see ValueFormat.h.
    uint32_t FormatCode = 0;
    QString FormatText;
    bool Visible = true;
    int GapX = 2;
    int GapY = 1;
    uint16_t Restrictions = 0;
    QString Tag;
    QStringList Memo;
    QStringList ScriptLines;   // compiled in place when a page is set up
    uint8_t BandAlign = baNone;
    TrpBand* OwnerBand = nullptr;   // the run-time band that prints the object

protected:
    // The scaled far edges, computed from the unscaled ones so that neighbouring cells meet.
    int ScaledRight() const;
    int ScaledBottom() const;
    // The band-alignment changes of printing: "baBottom" at the band's bottom, "baTop" at its
    // top, "baWidth" across a cross band; true when the object was placed across a cross band.
    bool AlignToCurrentBand(bool bottom);

    struct TSavedCoords {
        int Left = 0, Top = 0, Width = 0, Height = 0, GapX = 0, GapY = 0;
        float FrameWidth = 0;
    } saved_;

private:
    void PlaceInBand();
    const TrpView* Neighbour(bool leftSide) const;
};

// The pen of report lines of that width in pixels: flat ends for one pixel (Qt inks the pixels
// past a line's start point up to its end point), round ones for a wider line.
QPen ReportLinePen(const QColor& colour, int width);
// Upright or level lines from pixel to pixel, through the pixels' centres, with the pen, cut down
// to the area (ClipReportLine, dashes repeating every period pixels), in one call: a printer's
// page takes them as one path. The pen stays on the canvas; nothing is set when no line shows.
void DrawReportLines(QPainter& painter, const QPen& pen, std::span<const QLine> lines, const QRect& area,
                     int period = 0);
// The part of the canvas that can show anything, in the painter's logical pixels: the device
// (a sheet with its margins) within the clip; empty when the canvas is scaled to nothing, and
// without bound on a picture, which grows with what is drawn.
QRect VisibleCanvasArea(const QPainter& painter);
// Cuts an upright or level line from (x1, y1) to (x2, y2) down to the area; a dashed line, whose
// pattern repeats every period pixels, starts a whole number of periods later, so that its
// dashes stay in place. False when nothing of it lies in the area.
bool ClipReportLine(const QRect& area, int period, int& x1, int& y1, int& x2, int& y2);

// Frame width codes of records: a whole width up to 10 is stored as itself, any other width in
// thousandths; a code of at most 10 reads as whole units, a larger one as thousandths.
int32_t FrameWidthToCode(float width);
float FrameWidthFromCode(int32_t code);
