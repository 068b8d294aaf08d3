#pragma once
// The RTF export filter: every memo and rich-text object of a page becomes a one-cell table
// row at its absolute position (a rich text as its plain text), so that the report's layout
// survives in a word processor; other objects can go in as pictures. The document declares
// code page 1251; texts go through the shared RTF escaping.
//
// Word places such rows by their position words; readers that do not (LibreOffice Writer lays
// them out one under the other) place the text box each row stands in, a box of the row's size
// at the same place on the page. Readers without text boxes read the row from the box's result.
//
// The file is: the head (paper of the first page, fixed margins), the font table, the colour
// table, the pages, "\par}". Each page is written as it ends into a temporary file while the
// tables fill; at the end the tables go out, then the pages: memory holds one page at a time.
#include <memory>
#include <vector>

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "report/export/ExportFilter.h"
#include "report/export/PageRange.h"

class QTemporaryFile;
class TrpRunContext;

class TrpRtfAdvExport : public TrpExportFilter {
    Q_OBJECT
public:
    // Registers itself as "Rich text file advanced (*.rtf)"; the context gives the texts and
    // the options dialog.
    explicit TrpRtfAdvExport(TrpRunContext& context, QObject* owner = nullptr);
    ~TrpRtfAdvExport() override;

    TrpRunContext& Context() const { return context_; }

    // With ShowDialog, the context's options dialog (when the program has windows) edits the
    // settings and the page range; without it every page is taken. The range is read whatever
    // closed the dialog: one that is not a list of pages and ranges raises EConvertError, and
    // the export does not start.
    int ShowModal() override;
    void OnBeginDoc() override;
    void OnBeginPage() override;
    void OnData(int x, int y, TrpView* view) override;
    void OnEndPage() override;
    void OnEndDoc() override;
    // Cells take a memo's lines as they stand.
    bool TakesTextLines() const override { return false; }

    bool PageBreaks = true;      // a page break between exported pages
    bool ExportPictures = true;  // other objects go in as pictures
    double TopMargin = 0;        // kept from the dialog; the document's margins are fixed
    double LeftMargin = 0;
    double ScaleX = 1.0;         // 1.0 = 100 %
    double ScaleY = 1.0;
    // The pages to export, "1,3,5-12"; the options dialog sets it, empty takes every page.
    QString PageRange;

    // One memo or rich-text object of the page being exported.
    struct TCell {
        int Left = 0, Top = 0, Width = 0, Height = 0;
        QStringList Lines;
        TrpFont Font;
        TColor FillColor = clTransparent;
        int FrameTyp = 0;
        int32_t Alignment = 0;
        bool Rich = false;   // a rich-text object's plain text: no font, fill or alignment
    };
    // One other object of the page, drawn into a bitmap.
    struct TPicture {
        int X = 0, Y = 0, Width = 0, Height = 0;   // page units
        int BitmapWidth = 0, BitmapHeight = 0;
        QByteArray Bmp;   // a complete BMP file
    };

private:
    void WritePage();
    void SpoolPage();
    void WritePicture(const TPicture& picture);
    void WriteCell(const TCell& cell);
    void AppendRow(const TCell& cell, int left, int top, int width, int height);
    int FontIndex(const QString& name);
    int ColourIndex(TColor colour);

    TrpRunContext& context_;
    TrpPageRange range_;
    int pageNo_ = 0;   // pages seen, from 1
    bool pageWritten_ = false;
    std::vector<TCell> cells_;
    std::vector<TPicture> pictures_;
    QStringList fonts_;
    std::vector<uint32_t> colours_;   // 0x00BBGGRR
    QByteArray page_;   // the page being written
    std::unique_ptr<QTemporaryFile> spool_;   // the pages written, during an export
};
