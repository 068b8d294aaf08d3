#pragma once
// The plain-text export filter: every text line the memos of a page draw is placed on a
// character grid by its position (TextPageLayout.h), frames can be drawn with line characters,
// and each page can end with a form feed. Lines end with carriage return and line feed; the
// file has no header, trailer or byte-order mark.
//
// The file is written in UTF-8 or code page 1251, or in the DOS code page 866 with
// ConvertToOEM. Frames use the box-drawing characters with UsePseudographic where the code page
// has them (866, UTF-8), else "|", "-" and "+".
#include "report/export/ExportFilter.h"

class TrpRunContext;

// The code page of the file when it is not converted for DOS.
enum TTextCodePage : uint8_t { tcUtf8, tcCp1251 };

class TrpTextExport : public TrpExportFilter {
    Q_OBJECT
public:
    // Registers itself as "ASCII Text file (*.txt)"; the context gives the texts and the options
    // dialog.
    explicit TrpTextExport(TrpRunContext& context, QObject* owner = nullptr);
    ~TrpTextExport() override;

    TrpRunContext& Context() const { return context_; }

    // With ShowDialog, the context's options dialog (when the program has windows) edits the
    // settings and its result is returned; else mrOk.
    int ShowModal() override;
    // Starts an empty grid.
    void OnBeginPage() override;
    // Collects the line on the grid line of its position.
    void OnText(const TrpRect& drawRect, int x, int y, const QString& text, int frameTyp, TrpView* view) override;
    // Lays the page out and writes it.
    void OnEndPage() override;

    double ScaleX = 1.0;   // one character per 6.5 / ScaleX page units
    double ScaleY = 1.0;   // one line per 14 / ScaleY page units
    bool KillEmptyLines = true;
    bool ConvertToOEM = false;
    bool ExportFrames = false;
    bool UsePseudographic = false;
    bool PageBreaks = true;
    TTextCodePage CodePage = tcUtf8;

protected:
    // For subclasses, which register themselves under descriptions of their own.
    struct TUnregistered {};
    TrpTextExport(TrpRunContext& context, QObject* owner, TUnregistered);

private:
    TrpRunContext& context_;
};

// A scale as the options dialog's field holds it: "," or "." as the decimal separator, blanks
// around it ignored. A text that is no number, or a scale outside 0 (excluded) to 100, gives 1.
double ReadTextExportScale(const QString& text);
