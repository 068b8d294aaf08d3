#include "report/ui/PrintForm.h"

#include <algorithm>
#include <functional>

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "report/engine/Report.h"
#include "report/paper/ReportPrinter.h"
#include "report/runtime/ErrorBox.h"
#include "report/runtime/ModalResult.h"
#include "report/runtime/ReportErrors.h"
#include "report/runtime/RunContext.h"
#include "report/runtime/TextRoutines.h"
#include "report/ui/FormRoutines.h"
#include "report/ui/PrinterProperties.h"
#include "report/ui/SpeedButton.h"

namespace {

constexpr int kMaxCopies = 9999;
// The pictures' transparent colour and the printer glyph's colour.
const QColor kSilver(0xC0, 0xC0, 0xC0);
const QColor kOlive(0x80, 0x80, 0x00);

QImage Transparent(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// A sheet of paper with its page number, as the collation pictures show them.
void DrawSheet(QPainter& painter, const QRect& sheet, int pageNo)
{
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    painter.drawRect(sheet.adjusted(0, 0, -1, -1));
    painter.drawText(sheet, Qt::AlignCenter, QString::number(pageNo));
}

// Stacks of sheets side by side, each stack's sheets drawn back to front with the page number
// pageNo gives.
QImage StacksPicture(QSize size, int stacks, int sheets, int stackStep, int top,
                     const std::function<int(int stack, int sheet)>& pageNo)
{
    QImage image = Transparent(size.width(), size.height());
    QPainter painter(&image);
    QFont font = painter.font();
    font.setPixelSize(10);
    painter.setFont(font);
    for (int stack = 0; stack < stacks; ++stack)
        for (int sheet = 0; sheet < sheets; ++sheet)
            DrawSheet(painter, QRect(stack * stackStep + sheet * 7, top + sheet * 8, 20, 28), pageNo(stack, sheet));
    return image;
}

// Collated: two stacks of the pages 1, 2, 3.
QImage CollatePicture()
{
    return StacksPicture(QSize(74, 53), 2, 3, 38, 4, [](int, int sheet) { return 3 - sheet; });
}

// Not collated: each page's copies together, 1 1, 2 2, 3 3.
QImage NonCollatePicture()
{
    return StacksPicture(QSize(92, 40), 3, 2, 30, 2, [](int stack, int) { return stack + 1; });
}

// The glyph before each printer's name.
QImage PrinterGlyph()
{
    QImage image = Transparent(18, 16);
    QPainter painter(&image);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    painter.drawRect(5, 1, 8, 5);     // paper going in
    painter.setBrush(kOlive);
    painter.drawRect(1, 6, 15, 6);    // the printer
    painter.setBrush(Qt::white);
    painter.drawRect(4, 10, 10, 4);   // paper coming out
    return image;
}

// The copies' arrows: a triangle on silver, which the button takes as transparent.
QImage ArrowGlyph(bool up)
{
    QImage image(9, 6, QImage::Format_RGB32);
    image.fill(kSilver);
    QPainter painter(&image);
    painter.setPen(Qt::black);
    for (int row = 0; row < 4; ++row) {
        const int y = up ? 4 - row : 1 + row;
        painter.drawLine(1 + row, y, 7 - row, y);
    }
    return image;
}

QLabel* HiddenImage(QWidget* parent, const char* name, const QImage& image)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setPixmap(QPixmap::fromImage(image));
    label->setFixedSize(image.size());
    label->hide();
    return label;
}

} // namespace

TrpPrintForm::TrpPrintForm(TrpRunContext& context, QWidget* parent)
    : QDialog(parent), context_(context), printer_(context.ReportPrinter), startPrinter_(printer_.CurrentIndex)
{
    setObjectName(QStringLiteral("rpPrintForm"));
    setWindowTitle(LoadFrResString(context_, 53040));   // "Print"
    setWindowFlag(Qt::WindowContextHelpButtonHint, true);
    MakePrinterBox();
    MakePageRangeBox();
    MakeCopiesBox();

    Label5 = Named(new QLabel(LoadFrResString(context_, 53052), this), "Label5");
    CB2 = Named(new QComboBox(this), "CB2");
    CB2->addItems({LoadFrResString(context_, 53053), LoadFrResString(context_, 53054), LoadFrResString(context_, 53055)});
    CB2->setCurrentIndex(ppAll);
    Label5->setBuddy(CB2);
    QHBoxLayout* bottom = MakeOkCancel(*this, context_, Button1, Button2);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2->setObjectName(QStringLiteral("Button2"));
    auto* pages = new QHBoxLayout;
    pages->setSpacing(11);
    pages->addWidget(Label5);
    pages->addWidget(CB2);
    bottom->insertLayout(0, pages);

    auto* ranges = new QHBoxLayout;
    ranges->addWidget(GroupBox2, 1);
    ranges->addWidget(GroupBox3, 1);
    auto* column = new QVBoxLayout(this);
    column->addWidget(GroupBox1);
    column->addLayout(ranges);
    column->addLayout(bottom);
    // 485 x 226, taller where the hint's lines need it.
    resize(485, std::max(226, heightForWidth(485)));
}

void TrpPrintForm::MakePrinterBox()
{
    GroupBox1 = Named(new QGroupBox(LoadFrResString(context_, 53041), this), "GroupBox1");   // "Printer"
    Label4 = Named(new QLabel(LoadFrResString(context_, 53049), GroupBox1), "Label4");      // "&Name:"
    CB1 = Named(new QComboBox(GroupBox1), "CB1");
    Image1 = HiddenImage(GroupBox1, "Image1", PrinterGlyph());
    PropButton = Named(new QPushButton(LoadFrResString(context_, 53042), GroupBox1), "PropButton");
    Label4->setBuddy(CB1);
    CB1->setIconSize(QSize(18, 16));
    const QIcon glyph(Image1->pixmap());
    for (const QString& name : printer_.Printers)
        CB1->addItem(glyph, name);
    ShowCurrentPrinter();
    connect(CB1, &QComboBox::activated, this, [this](int index) { CB1Change(index); });
    connect(PropButton, &QPushButton::clicked, this, [this] { PrinterPropertiesDialog(printer_, this); });
    auto* row = new QHBoxLayout(GroupBox1);
    row->addWidget(Label4);
    row->addWidget(CB1, 1);
    row->addWidget(PropButton);
}

void TrpPrintForm::MakePageRangeBox()
{
    GroupBox2 = Named(new QGroupBox(LoadFrResString(context_, 53044), this), "GroupBox2");   // "Page range"
    RB1 = Named(new QRadioButton(LoadFrResString(context_, 53045), GroupBox2), "RB1");
    RB2 = Named(new QRadioButton(LoadFrResString(context_, 53046), GroupBox2), "RB2");
    RB3 = Named(new QRadioButton(LoadFrResString(context_, 53047), GroupBox2), "RB3");
    E2 = Named(new QLineEdit(GroupBox2), "E2");
    Label2 = Named(new QLabel(LoadFrResString(context_, 53048), GroupBox2), "Label2");
    Label2->setWordWrap(true);
    RB1->setChecked(true);
    E2->installEventFilter(this);
    connect(RB3, &QRadioButton::clicked, E2, [this] { E2->setFocus(); });
    auto* grid = new QGridLayout(GroupBox2);
    grid->addWidget(RB1, 0, 0, 1, 2);
    grid->addWidget(RB2, 1, 0, 1, 2);
    grid->addWidget(RB3, 2, 0);
    grid->addWidget(E2, 2, 1);
    grid->addWidget(Label2, 3, 0, 1, 2);
}

void TrpPrintForm::MakeCopiesBox()
{
    GroupBox3 = Named(new QGroupBox(LoadFrResString(context_, 53043), this), "GroupBox3");   // "Copies"
    Label1 = Named(new QLabel(LoadFrResString(context_, 53050), GroupBox3), "Label1");
    E1 = Named(new QLineEdit(QStringLiteral("1"), GroupBox3), "E1");
    E1->setValidator(new QIntValidator(0, kMaxCopies, E1));
    Label1->setBuddy(E1);
    rpSpeedButton1 = Named(new TrpSpeedButton(GroupBox3), "rpSpeedButton1");
    rpSpeedButton2 = Named(new TrpSpeedButton(GroupBox3), "rpSpeedButton2");
    rpSpeedButton1->SetGlyph(ArrowGlyph(true));
    rpSpeedButton2->SetGlyph(ArrowGlyph(false));
    for (TrpSpeedButton* arrow : {rpSpeedButton1, rpSpeedButton2})
        arrow->setFixedSize(17, 8);
    rpSpeedButton1->OnClick = [this](QObject*) { StepCopies(+1); };
    rpSpeedButton2->OnClick = [this](QObject*) { StepCopies(-1); };
    CollateCB = Named(new QCheckBox(GroupBox3), "CollateCB");
    CollateCB->setChecked(true);
    Label3 = Named(new QLabel(LoadFrResString(context_, 53051), GroupBox3), "Label3");   // "Co&llate"
    Label3->setWordWrap(true);
    Label3->setBuddy(CollateCB);
    Label3->installEventFilter(this);
    PB1 = Named(new QWidget(GroupBox3), "PB1");
    PB1->setFixedSize(92, 53);
    PB1->installEventFilter(this);
    CollateImg = HiddenImage(GroupBox3, "CollateImg", CollatePicture());
    NonCollateImg = HiddenImage(GroupBox3, "NonCollateImg", NonCollatePicture());
    connect(CollateCB, &QCheckBox::toggled, PB1, [this] { PB1->update(); });

    auto* arrows = new QVBoxLayout;
    arrows->setSpacing(0);
    arrows->addWidget(rpSpeedButton1);
    arrows->addWidget(rpSpeedButton2);
    auto* copies = new QHBoxLayout;
    copies->addWidget(E1);
    copies->addLayout(arrows);
    auto* collate = new QHBoxLayout;
    collate->addWidget(CollateCB);
    collate->addWidget(Label3, 1);
    auto* grid = new QGridLayout(GroupBox3);
    grid->addWidget(Label1, 0, 0);
    grid->addLayout(copies, 0, 1);
    grid->addLayout(collate, 1, 0);
    grid->addWidget(PB1, 1, 1);
}

QString TrpPrintForm::PageNumbers(int currentPage) const
{
    if (RB2->isChecked())
        return QString::number(currentPage);
    if (RB3->isChecked())
        return E2->text();
    return {};
}

int TrpPrintForm::Copies() const
{
    return std::max(E1->text().toInt(), 1);
}

bool TrpPrintForm::Collate() const
{
    return CollateCB->isChecked();
}

uint8_t TrpPrintForm::PrintPages() const
{
    return uint8_t(std::max(CB2->currentIndex(), 0));
}

void TrpPrintForm::done(int result)
{
    if (result != mrOk && printer_.CurrentIndex != startPrinter_)
        CB1Change(startPrinter_);
    QDialog::done(result);
}

bool TrpPrintForm::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (watched == E2 && type == QEvent::FocusIn)
        RB3->setChecked(true);
    else if (watched == Label3 && (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick))
        CollateCB->toggle();
    else if (watched == PB1 && type == QEvent::Paint)
        PaintCollation();
    return QDialog::eventFilter(watched, event);
}

void TrpPrintForm::CB1Change(int index)
{
    try {
        printer_.ChoosePrinter(index);
    } catch (const EPrinter& error) {
        ShowErrorBox(context_, QString::fromUtf8(error.what()));
    }
    // A printer that gives no settings hands over to the virtual one: the list shows which.
    ShowCurrentPrinter();
}

void TrpPrintForm::ShowCurrentPrinter()
{
    CB1->setCurrentIndex(printer_.CurrentIndex);
    PropButton->setEnabled(!printer_.IsVirtual());
}

void TrpPrintForm::StepCopies(int step)
{
    const int copies = E1->text().toInt() + step;
    E1->setText(QString::number(std::clamp(copies, 1, kMaxCopies)));
}

void TrpPrintForm::PaintCollation()
{
    QPainter painter(PB1);
    painter.fillRect(PB1->rect(), palette().color(QPalette::Button));
    if (CollateCB->isChecked())
        painter.drawPixmap(8, 0, CollateImg->pixmap());
    else
        painter.drawPixmap(0, 8, NonCollateImg->pixmap());
}
