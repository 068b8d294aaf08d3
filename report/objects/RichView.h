#pragma once
// The rich-text object: formatted (RTF) text, fixed in the template or taken from a blob field
// before it prints, whose bracketed expressions are replaced by their values when it prints.
// It grows with its text and splits across pages like the memo. An add-in class: templates and
// prepared pages store it with the add-in type byte and the class name "TrpRichView"; the
// engine registers it with its built-in classes.
//
// Two documents: RichEdit, the object's own text (what the template or the prepared page
// holds, and what drawing shows), and WorkRich, the text being printed: a copy of RichEdit
// with its expressions expanded and, for a part of a split, cut to that part.
//
// Record: the view's, then a byte (1 when there is rich text), the absolute stream position
// where the rich text ends, and the rich text as RTF (RtfWriter.h). A printed record holds
// WorkRich. Rich text from a template, a prepared page or a data field is untrusted: what is
// not RTF shows as plain text (code page 1251), RTF too large to read shows nothing and the
// reason goes to the engine's log.
//
// Measuring and drawing go through TrpRichLayout (RichLayout.h), at the object's width less
// its gaps, in page units.
#include <cstdint>
#include <memory>
#include <vector>

#include <QByteArrayView>
#include <QImage>
#include <QTextDocument>

#include "report/objects/RichLayout.h"
#include "report/objects/Stretcheable.h"

// The resource number of the object's tool bar hint.
constexpr int kRichObjectHint = 55223;

// Rich-text flag bits (bit 1 is the view's stretched bit).
enum TrpRichFlag : uint16_t {
    rfTextOnly = 0x10,   // brackets are not expanded
};

class TrpRichView : public TrpStretcheable {
public:
    TrpRichView();

    QString ClassName() const override { return QStringLiteral("TrpRichView"); }

    void SetPropertyValue(const QString& name, const QVariant& value) override;
    QVariant GetPropertyValue(const QString& name) override;
    void DeclareProperties() override;
    void LoadFromBlob(TField* field) override;
    void Draw(QPainter* canvas) override;
    void PrintToStream(QIODevice& stream) override;
    void LoadFromStream(QIODevice& stream) override;
    void SaveRecord(TrpRecordWriter& record) override;
    void SaveToXml(QIODevice& stream) override;
    int CalcHeight() override;
    int MinHeight() override { return 8; }
    int RestHeight() override;

    // Edits RichEdit in the program's rich-text editor (the context's RichEditor), taking the
    // edit on OK; without windows nothing happens.
    void ShowEditor();
    // Replaces every bracketed expression of the text by its value, formatted by the report,
    // in the character format of its "["; values are never scanned again. Nothing with
    // TextOnly.
    void ExpandRichTextExpressions(QTextDocument& text);
    // The height (page units, with the gaps) the expanded text needs from StartPos on: the
    // height of its lines, 8 when that is below 2.
    int MeasureRichHeight();

    std::unique_ptr<QTextDocument> RichEdit;
    std::unique_ptr<QTextDocument> WorkRich;
    // Printing across pages: the start of the part being measured or drawn, the end of the
    // part printed on the current page, and the end of the part printed before.
    int StartPos = 0;
    int EndPos = 0;
    int PrevEndPos = 0;
    bool SaveFromWork = false;   // the record holds WorkRich (printing) instead of RichEdit

private:
    // One bracketed expression of a text: its characters from Start to End (the "]") and its
    // value.
    struct TExpansion {
        int Start, End;
        QString Value;
        bool operator==(const TExpansion&) const = default;
    };
    // The expressions of a text (its raw text) with their values, evaluated in order; none
    // with TextOnly.
    std::vector<TExpansion> Expansions(const QString& plain);
    // Replaces each expression by its value, in the character format of its "[".
    static void Expand(QTextDocument& text, const std::vector<TExpansion>& expansions);
    // RichEdit expanded and laid out at the text width. Splitting a long text asks for it on
    // every page: it is made again only when RichEdit, the width or the values change.
    struct TPrepared {
        const QTextDocument* Source;
        int Width;
        std::vector<TExpansion> Expanded;
        std::unique_ptr<QTextDocument> Text;
        std::unique_ptr<TrpRichLayout> Layout;
    };
    const TPrepared& Prepared();
    // The size of the text rectangle in page units: the object less its gaps.
    int TextWidth() const;
    int TextHeight() const;
    // The end of the part that prints next, from PrevEndPos on, at the object's height.
    int PartEnd(const TrpRichLayout& layout) const;
    // Rich text from a template, a prepared page or a data field into RichEdit.
    void LoadRichEdit(QByteArrayView octets);

    int partsPrinted_ = 0;   // parts of the current split printed so far
    std::unique_ptr<TPrepared> prepared_;
};

// Destination := a copy of source (text, formats, default font).
void CopyRich(std::unique_ptr<QTextDocument>& destination, const QTextDocument& source);
// A new empty rich text: Arial 10 for characters without a font of their own, no undo.
std::unique_ptr<QTextDocument> NewRichText();
// Rich text from a file, a template, a prepared page or a data field: RTF, or else plain text
// in code page 1251. Throws EReadError for RTF the reader refuses (too large, too deep).
std::unique_ptr<QTextDocument> ReadRichText(QByteArrayView octets);
// The 16 x 16 picture of the rich-text object on a tool bar.
QImage RichButtonImage();
