#pragma once
// The rich-text editor window: a rich-text object's text edited with a tool bar (open an RTF
// file, save as RTF or plain text, undo, the font dialog, font name and size, bold, italic and
// underline, left, centred and right alignment, bullets, insert expression, context help, cancel
// and OK) and a ruler with the current paragraph's indents. The object's ShowEditor reaches it through the run context
// (InstallRichEditor). Every change of the selection shows its format on the tool bar and the
// ruler; while it does, the controls' own change handlers do nothing.
#include <memory>

#include <QDialog>
#include <QTextCharFormat>

class KeyValueStore;
class QTextDocument;
class QTextEdit;
class TrpComboBox;
class TrpContextHelp;
class TrpFontComboBox;
class TrpRichRuler;
class TrpRunContext;
class TrpTBButton;
struct TParaIndents;

class TrpRichForm : public QDialog {
public:
    // Its texts and the bold, italic and underline pictures come from the context's locale;
    // the recently used fonts are kept in the store, if any.
    explicit TrpRichForm(const TrpRunContext& context, QWidget* parent = nullptr, KeyValueStore* store = nullptr);

    // The text edited: a copy in, a copy out.
    void SetText(const QTextDocument& text);
    std::unique_ptr<QTextDocument> Text() const;

    // Replaces the text by the file's (RTF, or else plain text); a file that cannot be read is
    // reported in a message box and the text stays.
    void LoadFile(const QString& fileName);
    // Writes the text to the file: plain text in code page 1251 when asText, else RTF. A
    // failure is reported in a message box.
    void SaveFile(const QString& fileName, bool asText);
    // The font dialog's choice: to the selection, or to the whole text's default when nothing
    // is selected.
    void ApplyFont(const QFont& font);
    // Shows the selection's format on the tool bar and the ruler.
    void SelectionChange();
    // The paragraphs of the selection become bulleted, or plain again when the bullets button
    // is up.
    void ApplyBullets();
    // Asks for an expression (the context's input box) and puts it in brackets in place of the
    // selection; nothing when none is given.
    void InsertExpression();

    QTextEdit* RichEdit1;
    TrpRichRuler* Ruler;
    TrpTBButton* OpenB;
    TrpTBButton* SaveB;
    TrpTBButton* UndoB;
    TrpTBButton* FontB;
    TrpFontComboBox* FontNameCB;
    TrpComboBox* FontSizeCB;
    TrpTBButton* BoldB;
    TrpTBButton* ItalicB;
    TrpTBButton* UnderlineB;
    TrpTBButton* LeftAlignB;
    TrpTBButton* CenterAlignB;
    TrpTBButton* RightAlignB;
    TrpTBButton* BulletsB;
    TrpTBButton* ExpressionB;
    TrpTBButton* HelpB;
    TrpTBButton* CancelB;
    TrpTBButton* OkB;

private:
    QWidget* MakeToolBar(KeyValueStore* store);
    TrpTBButton* Button(QWidget* bar, const char* name, int hintId, const QImage& glyph);
    QImage LocaleGlyph(const char* name, const QImage& drawn) const;
    // Merges the format into the selection (or the word at the cursor) and the typing format.
    void MergeFormat(const QTextCharFormat& format);
    void ApplyStyle();
    void ApplyAlignment(Qt::Alignment alignment);
    void ApplyIndents(const TParaIndents& indents);
    void OpenFile();
    void SaveFileAs();

    const TrpRunContext& context_;
    TrpContextHelp* help_ = nullptr;
    bool updating_ = false;   // the selection's format is being shown
};

// Sets the context's RichEditor to this window, over the given parent, keeping the recently
// used fonts in the store, if any.
void InstallRichEditor(TrpRunContext& context, QWidget* parent = nullptr, std::shared_ptr<KeyValueStore> store = {});
