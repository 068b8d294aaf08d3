#pragma once
// The report's text object. Its lines may hold bracketed expressions, replaced by their values
// when it prints; the text is wrapped to the memo's width with its font, placed by its
// alignment inside its frame and drawn, or handed line by line to an export filter. It
// stretches with its text, can print the lines that fit and keep the rest for the next page,
// highlight itself by a condition, and suppress a value that repeats the previous one.
//
// Wrapping is measured at zoom 1 on the run context's 96-DPI measuring image, so lines break
// alike in the preview at any zoom and on the printer; only the final layout is scaled.
// Wrapped lines that end a paragraph carry kParagraphEnd (LineBreaking.h); a lone line of that
// character after the lines marks text that was wrapped already.
//
// In a build the band engine measures a memo with CalcHeight (which expands and wraps it,
// PassMode 1) and prints it with PrintToStream. To split it across pages it sets Height to the
// room left and PassMode 2: the lines that fit print, and WorkText keeps the rest for the next
// part.
#include <cstdint>
#include <vector>

#include <QString>
#include <QStringList>

#include "report/objects/BracketedText.h"
#include "report/objects/LineBreaking.h"
#include "report/objects/ReportFont.h"
#include "report/objects/Stretcheable.h"
#include "report/objects/TextMeasure.h"

// Memo flag bits (bit 1 is the view's stretched bit, bit 64 its hide-zeros bit).
enum TrpMemoFlag : uint16_t {
    mfWordWrap = 2,
    mfWordBreak = 4,     // words too long for a line break with a hyphen (Russian syllables)
    mfAutoWidth = 8,     // the width follows the widest line
    mfTextOnly = 16,     // brackets are not expanded
    mfSuppress = 32,     // a text equal to the last printed one is not printed again
    mfUnderlines = 128,  // a rule under every text line
    mfRtlReading = 256,
};

// Alignment: the low two bits the horizontal alignment; the others below. Middle and down
// together mean top.
enum TrpMemoAlignment : int32_t {
    taLeft = 0,
    taRight = 1,
    taCenter = 2,
    taJustify = 3,
    taVertical = 4,   // turned 90 degrees counter-clockwise, lines running from left to right
    taMiddle = 8,
    taDown = 16,
};

class TrpMemoView : public TrpStretcheable {
public:
    TrpMemoView();

    QString ClassName() const override { return QStringLiteral("TrpMemoView"); }
    // The width the expanded text needs; the memo's text and state are left as they were.
    int CalcWidth() override;

    void SetPropertyValue(const QString& name, const QVariant& value) override;
    QVariant GetPropertyValue(const QString& name) override;
    // The stretchable's methods, then the list methods of "LINES".
    void CallMethod(const QString& name, const QVariant& p1, const QVariant& p2, const QVariant& p3,
                    QVariant& result) override;
    void DeclareProperties() override;
    void LoadFromBlob(TField* field) override;
    void Draw(QPainter* canvas) override;
    void PrintToStream(QIODevice& stream) override;
    void ExportData() override;
    void LoadFromStream(QIODevice& stream) override;
    void SaveRecord(TrpRecordWriter& record) override;
    void SaveToXml(QIODevice& stream) override;
    int CalcHeight() override;
    int MinHeight() override;
    int RestHeight() override;

    // WorkText := Memo with every line expanded (unless "TextOnly"); a value holding line
    // breaks becomes several lines.
    void ExpandMemo();
    // Wraps WorkText into the returned lines and sets TextHeight and LineHeight.
    QStringList WrapMemo();
    // Lays the lines of WorkText out in DrawRect and draws them on Canvas (when there is one)
    // or hands them to the export filter; LinesShown counts the lines output.
    void ShowMemo();
    // The width (page units) the lines need, with gaps and frame.
    int CalcWidth(const QStringList& lines);
    void DrawUnderlines();

    TrpFont Font;
    QString LastValue;   // the text last printed, for suppressing repeats
    std::vector<TrpBracketedText> MemoSplits;   // of the lines of Memo, kept between records
    bool AlreadyWrapped = false;
    int TextHeight = 0;
    bool StopAtBottom = false;   // output stops at the first line that would cross the bottom
    int LineHeight = 0;
    int LinesShown = 0;
    bool Exporting = false;
    int32_t Alignment = taLeft;
    uint16_t HighlightFontStyle = 2;   // stored style bits (bold)
    TColor HighlightFontColor = clBlack;
    TColor HighlightFillColor = clWhite;
    // The condition; the page set-up turns it into the parser's postfix form before a build,
    // and printing evaluates that form.
    QString HighlightCondition;
    int LineSpacing = 2;
    int CharSpacing = 0;

private:
    // The font height the canvas gets (SetCanvasFont), and the text measure of the canvas (the
    // measuring image when there is none) at that height and the zoomed character extra.
    int CanvasFontPixels() const;
    TrpTextMeasure CanvasMeasure(int pixels) const;
    void ApplyHighlight();
    void ShowHorizontal(const TrpTextMeasure& measure);
    void ShowTurned(const TrpTextMeasure& measure);
    // Draws the line at (x, y), or hands it to the export filter; extra pixels widen its blanks.
    void OutputLine(const TrpTextMeasure& measure, const QString& text, int x, int y, int extra, bool turned,
                    int frameSides);

    // Set while the text expands: a width asked for meanwhile measures the text as written
    // rather than expanding it again without end.
    bool expanding_ = false;
    // While the text is drawn: the rectangle it is clipped to, which goes on the canvas only
    // once a line would reach out of it (a clip costs a printer's page a path of its own).
    TrpRect textClip_;
    bool textClipped_ = false;
};
