#include "report/ui/RichForm.h"

#include <cmath>

#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QFontDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QTextList>
#include <QVBoxLayout>

#include "platform/qt/KeyValueStore.h"
#include "report/file/AtomicFile.h"
#include "report/file/Cp1251Text.h"
#include "report/file/RtfReader.h"
#include "report/file/RtfWriter.h"
#include "report/objects/RichView.h"
#include "report/runtime/ReportErrors.h"
#include "report/runtime/ModalResult.h"
#include "report/runtime/RunContext.h"
#include "report/runtime/TextRoutines.h"
#include "report/ui/ContextHelp.h"
#include "report/ui/FlatComboBox.h"
#include "report/ui/FontComboBox.h"
#include "report/ui/FunctionDialogs.h"
#include "report/ui/PreviewGlyphs.h"
#include "report/ui/RichFormGlyphs.h"
#include "report/ui/RichRuler.h"
#include "report/ui/SpeedButton.h"

namespace {

constexpr int kButtonSize = 24;
constexpr int kAlignGroup = 1;
constexpr int kFontSizes[] = {5, 6, 7, 8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};

// The edit with its editing rectangle 6 pixels in from the left and the right.
class TRichEdit : public QTextEdit {
public:
    explicit TRichEdit(QWidget* parent) : QTextEdit(parent) { setViewportMargins(6, 0, 6, 0); }
};

// The paragraph format keeps indents in pixels at 96 an inch; the ruler, in whole points.
int Points(qreal pixels)
{
    return int(std::lround(pixels * 3 / 4));
}

qreal Pixels(int points)
{
    return points * 4.0 / 3;
}

TParaIndents IndentsOf(const QTextBlockFormat& format)
{
    return {Points(format.leftMargin() + format.textIndent()), Points(-format.textIndent()),
            Points(format.rightMargin())};
}

QString Filter(const TrpRunContext& context, int descriptionId, const char* mask)
{
    return LoadFrResString(context, descriptionId) + QStringLiteral(" (%1)").arg(QLatin1String(mask));
}

QString ProgramFolder()
{
    return QCoreApplication::applicationDirPath();
}

}  // namespace

TrpRichForm::TrpRichForm(const TrpRunContext& context, QWidget* parent, KeyValueStore* store)
    : QDialog(parent), context_(context)
{
    setObjectName(QStringLiteral("rpRichForm"));
    setWindowTitle(LoadFrResString(context_, 53560));
    RichEdit1 = new TRichEdit(this);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    RichEdit1->setAcceptRichText(true);
    Ruler = new TrpRichRuler(this);
    Ruler->OnIndentsChanged = [this](const TParaIndents& indents) { ApplyIndents(indents); };

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(MakeToolBar(store));
    layout->addWidget(Ruler);
    layout->addWidget(RichEdit1, 1);
    resize(560, 360);

    connect(RichEdit1, &QTextEdit::cursorPositionChanged, this, [this] { SelectionChange(); });
    connect(RichEdit1, &QTextEdit::selectionChanged, this, [this] { SelectionChange(); });
    connect(RichEdit1, &QTextEdit::currentCharFormatChanged, this, [this] { SelectionChange(); });
    SetText(*NewRichText());
}

QImage TrpRichForm::LocaleGlyph(const char* name, const QImage& drawn) const
{
    const QImage glyph = context_.Locale.LoadBitmap(QString::fromLatin1(name));
    return glyph.isNull() ? drawn : glyph;
}

TrpTBButton* TrpRichForm::Button(QWidget* bar, const char* name, int hintId, const QImage& glyph)
{
    auto* button = new TrpTBButton(bar);
    button->setObjectName(QString::fromLatin1(name));
    button->setFixedSize(kButtonSize, kButtonSize);
    button->SetGlyph(glyph);
    button->setToolTip(LoadFrResString(context_, hintId));
    button->setProperty("Tag", hintId);   // its context help is its hint
    return button;
}

QWidget* TrpRichForm::MakeToolBar(KeyValueStore* store)
{
    auto* bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("ToolBar"));
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(0);
    const auto separator = [bar] { new TrpTBSeparator(bar); };

    OpenB = Button(bar, "OpenB", 53561, PreviewGlyph(TPreviewGlyph::Open));
    SaveB = Button(bar, "SaveB", 53562, PreviewGlyph(TPreviewGlyph::Save));
    UndoB = Button(bar, "UndoB", 53563, RichFormGlyph(TRichGlyph::Undo));
    separator();
    FontB = Button(bar, "FontB", 53571, RichFormGlyph(TRichGlyph::Font));
    FontNameCB = new TrpFontComboBox(bar, store);
    FontNameCB->setObjectName(QStringLiteral("FontNameCB"));
    FontNameCB->setToolTip(LoadFrResString(context_, 53576));
    FontNameCB->setProperty("Tag", 53576);
    row->addWidget(FontNameCB);
    FontSizeCB = new TrpComboBox(bar);
    FontSizeCB->setObjectName(QStringLiteral("FontSizeCB"));
    FontSizeCB->setToolTip(LoadFrResString(context_, 53577));
    FontSizeCB->setProperty("Tag", 53577);
    FontSizeCB->setFixedWidth(50);
    for (const int size : kFontSizes)
        FontSizeCB->addItem(QString::number(size));
    row->addWidget(FontSizeCB);
    separator();
    BoldB = Button(bar, "BoldB", 53564, LocaleGlyph("RP_BOLD", RichFormGlyph(TRichGlyph::Bold)));
    ItalicB = Button(bar, "ItalicB", 53565, LocaleGlyph("RP_ITALIC", RichFormGlyph(TRichGlyph::Italic)));
    UnderlineB = Button(bar, "UnderlineB", 53569, LocaleGlyph("RP_UNDRLINE", RichFormGlyph(TRichGlyph::Underline)));
    separator();
    LeftAlignB = Button(bar, "LeftAlignB", 53566, RichFormGlyph(TRichGlyph::AlignLeft));
    CenterAlignB = Button(bar, "CenterAlignB", 53567, RichFormGlyph(TRichGlyph::AlignCenter));
    RightAlignB = Button(bar, "RightAlignB", 53568, RichFormGlyph(TRichGlyph::AlignRight));
    BulletsB = Button(bar, "BulletsB", 53570, RichFormGlyph(TRichGlyph::Bullets));
    separator();
    ExpressionB = Button(bar, "ExpressionB", 53575, RichFormGlyph(TRichGlyph::Expression));
    HelpB = Button(bar, "HelpB", 53032, PreviewGlyph(TPreviewGlyph::Help));
    separator();
    CancelB = Button(bar, "CancelB", 53572, PreviewGlyph(TPreviewGlyph::Exit));
    OkB = Button(bar, "OkB", 53573, RichFormGlyph(TRichGlyph::Ok));
    row->addStretch();

    // Each style button and the bullets keep their own state; the alignment buttons are one
    // group.
    int group = kAlignGroup;
    for (TrpTBButton* toggle : {BoldB, ItalicB, UnderlineB, BulletsB}) {
        toggle->SetGroupIndex(++group);
        toggle->SetAllowAllUp(true);
    }
    for (TrpTBButton* style : {BoldB, ItalicB, UnderlineB})
        style->OnClick = [this](QObject*) { ApplyStyle(); };
    BulletsB->OnClick = [this](QObject*) { ApplyBullets(); };
    const std::pair<TrpTBButton*, Qt::Alignment> alignments[] = {
        {LeftAlignB, Qt::AlignLeft}, {CenterAlignB, Qt::AlignHCenter}, {RightAlignB, Qt::AlignRight}};
    for (const auto& [button, alignment] : alignments) {
        button->SetGroupIndex(kAlignGroup);
        button->OnClick = [this, alignment = alignment](QObject*) { ApplyAlignment(alignment); };
    }
    LeftAlignB->SetDown(true);

    OpenB->OnClick = [this](QObject*) { OpenFile(); };
    SaveB->OnClick = [this](QObject*) { SaveFileAs(); };
    UndoB->OnClick = [this](QObject*) { RichEdit1->undo(); };
    FontB->OnClick = [this](QObject*) {
        bool ok = false;
        const QFont font = QFontDialog::getFont(&ok, RichEdit1->currentFont(), this);
        if (ok)
            ApplyFont(font);
    };
    FontNameCB->OnClick = [this](QObject*) {
        if (updating_)
            return;
        QTextCharFormat format;
        format.setFontFamilies(QStringList{FontNameCB->currentText()});
        MergeFormat(format);
    };
    connect(FontSizeCB, &QComboBox::textActivated, this, [this](const QString& text) {
        bool ok = false;
        const double size = text.toDouble(&ok);
        if (updating_ || !ok || size <= 0)
            return;
        QTextCharFormat format;
        format.setFontPointSize(size);
        MergeFormat(format);
    });
    ExpressionB->OnClick = [this](QObject*) { InsertExpression(); };
    help_ = new TrpContextHelp(*this, *HelpB);
    HelpB->OnClick = [this](QObject*) { help_->Start(); };
    CancelB->OnClick = [this](QObject*) { done(mrCancel); };
    OkB->OnClick = [this](QObject*) { done(mrOk); };
    return bar;
}

void TrpRichForm::SetText(const QTextDocument& text)
{
    QTextDocument* copy = text.clone(RichEdit1);
    copy->setUndoRedoEnabled(true);
    RichEdit1->setDocument(copy);
    RichEdit1->moveCursor(QTextCursor::Start);
    SelectionChange();
}

std::unique_ptr<QTextDocument> TrpRichForm::Text() const
{
    std::unique_ptr<QTextDocument> text;
    CopyRich(text, *RichEdit1->document());
    return text;
}

void TrpRichForm::MergeFormat(const QTextCharFormat& format)
{
    QTextCursor cursor = RichEdit1->textCursor();
    if (!cursor.hasSelection())
        cursor.select(QTextCursor::WordUnderCursor);
    cursor.mergeCharFormat(format);
    RichEdit1->mergeCurrentCharFormat(format);
}

void TrpRichForm::ApplyStyle()
{
    if (updating_)
        return;
    // The three buttons make one style, as the editor applies it.
    QTextCharFormat format;
    format.setFontWeight(BoldB->Down() ? QFont::Bold : QFont::Normal);
    format.setFontItalic(ItalicB->Down());
    format.setFontUnderline(UnderlineB->Down());
    MergeFormat(format);
}

void TrpRichForm::ApplyAlignment(Qt::Alignment alignment)
{
    if (updating_)
        return;
    RichEdit1->setAlignment(alignment);
}

void TrpRichForm::ApplyBullets()
{
    if (updating_)
        return;
    QTextCursor cursor = RichEdit1->textCursor();
    cursor.beginEditBlock();
    if (BulletsB->Down()) {
        QTextListFormat bullets;
        bullets.setStyle(QTextListFormat::ListDisc);
        cursor.createList(bullets);
    } else {
        const QTextDocument& text = *RichEdit1->document();
        const QTextBlock last = text.findBlock(cursor.selectionEnd());
        for (QTextBlock block = text.findBlock(cursor.selectionStart()); block.isValid(); block = block.next()) {
            if (QTextList* list = block.textList()) {
                list->remove(block);
                QTextBlockFormat plain = block.blockFormat();
                plain.setIndent(0);
                QTextCursor(block).setBlockFormat(plain);
            }
            if (block == last)
                break;
        }
    }
    cursor.endEditBlock();
}

void TrpRichForm::InsertExpression()
{
    const QString prompt = LoadFrResString(context_, 53575);
    const QString expression = context_.InputBox ? context_.InputBox(prompt, QString()) : ShowInputBox(this, prompt, QString());
    if (expression.isEmpty())
        return;
    RichEdit1->textCursor().insertText(QLatin1Char('[') + expression + QLatin1Char(']'));
    RichEdit1->setFocus();
}

void TrpRichForm::ApplyIndents(const TParaIndents& indents)
{
    QTextBlockFormat format;
    format.setLeftMargin(Pixels(indents.First + indents.Left));
    format.setTextIndent(-Pixels(indents.Left));
    format.setRightMargin(Pixels(indents.Right));
    RichEdit1->textCursor().mergeBlockFormat(format);
}

void TrpRichForm::ApplyFont(const QFont& font)
{
    QTextCursor cursor = RichEdit1->textCursor();
    if (!cursor.hasSelection()) {
        RichEdit1->document()->setDefaultFont(font);
        RichEdit1->setCurrentFont(font);
    } else {
        QTextCharFormat format;
        format.setFont(font);
        cursor.mergeCharFormat(format);
    }
    SelectionChange();
}

void TrpRichForm::SelectionChange()
{
    updating_ = true;
    const QTextCharFormat format = RichEdit1->currentCharFormat();
    const QFont font = format.font().resolve(RichEdit1->document()->defaultFont());
    BoldB->SetDown(font.bold());
    ItalicB->SetDown(font.italic());
    UnderlineB->SetDown(font.underline());
    FontNameCB->setCurrentText(font.family());
    FontSizeCB->setCurrentText(QString::number(font.pointSizeF()));
    const Qt::Alignment alignment = RichEdit1->alignment() & Qt::AlignHorizontal_Mask;
    TrpTBButton* aligned = alignment & Qt::AlignHCenter ? CenterAlignB
                           : alignment & Qt::AlignRight ? RightAlignB
                                                        : LeftAlignB;
    aligned->SetDown(true);
    BulletsB->SetDown(RichEdit1->textCursor().currentList() != nullptr);
    Ruler->SetIndents(IndentsOf(RichEdit1->textCursor().blockFormat()));
    updating_ = false;
}

void TrpRichForm::LoadFile(const QString& fileName)
{
    try {
        QFile file(fileName);
        if (!file.open(QIODevice::ReadOnly))
            throw EReadError(QStringLiteral("Не удалось открыть файл \"%1\": %2").arg(fileName, file.errorString()));
        if (file.size() > kMaxRtfSize)
            throw EReadError(QStringLiteral("Файл \"%1\" слишком велик: %2 байт, допустимо не более %3")
                                 .arg(fileName)
                                 .arg(file.size())
                                 .arg(kMaxRtfSize));
        SetText(*ReadRichText(file.readAll()));
    } catch (const Exception& error) {
        QMessageBox::warning(this, windowTitle(), QString::fromUtf8(error.what()));
    }
}

void TrpRichForm::SaveFile(const QString& fileName, bool asText)
{
    const QTextDocument& text = *RichEdit1->document();
    const QByteArray octets =
        asText ? ToCp1251(text.toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n"))) : WriteRtf(text);
    try {
        WriteFileAtomically(fileName, [&octets](QIODevice& file) {
            if (file.write(octets) != octets.size())
                throw EWriteError(file.errorString());
        });
    } catch (const Exception& error) {
        QMessageBox::warning(this, windowTitle(), QString::fromUtf8(error.what()));
    }
}

void TrpRichForm::OpenFile()
{
    const QString fileName =
        QFileDialog::getOpenFileName(this, QString(), ProgramFolder(), Filter(context_, 55218, "*.rtf"));
    if (!fileName.isEmpty())
        LoadFile(fileName);
}

void TrpRichForm::SaveFileAs()
{
    const QString rtf = Filter(context_, 55218, "*.rtf");
    const QString txt = Filter(context_, 55212, "*.txt");
    QString chosen;
    const QString fileName =
        QFileDialog::getSaveFileName(this, QString(), ProgramFolder(), rtf + QStringLiteral(";;") + txt, &chosen);
    if (!fileName.isEmpty())
        SaveFile(fileName, chosen == txt);
}

void InstallRichEditor(TrpRunContext& context, QWidget* parent, std::shared_ptr<KeyValueStore> store)
{
    const QPointer<QWidget> window(parent);
    context.RichEditor = [&context, window, store](const QTextDocument& text) -> std::unique_ptr<QTextDocument> {
        TrpRichForm form(context, window, store.get());
        form.SetText(text);
        if (form.exec() != mrOk)
            return nullptr;
        return form.Text();
    };
}
