#include "report/ui/FormatForm.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTimer>

#include "report/expr/ValueFormat.h"
#include "report/runtime/ModalResult.h"
#include "report/runtime/TextRoutines.h"
#include "report/ui/FormRoutines.h"

namespace {

constexpr int kCategories = 5;
constexpr int kTypesPerCategory = 5;

QLabel* LabelFor(const TrpRunContext& context, QWidget* parent, const char* name, int textId, QWidget* buddy)
{
    auto* label = new QLabel(LoadFrResString(context, textId), parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setBuddy(buddy);
    return label;
}

QLineEdit* Edit(QWidget* parent, const char* name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

QPushButton* Button(const TrpRunContext& context, QWidget* parent, const char* name, int textId)
{
    auto* button = new QPushButton(LoadFrResString(context, textId), parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

} // namespace

TrpFmtForm::TrpFmtForm(const TrpRunContext& context, QWidget* parent) : QDialog(parent), context_(context)
{
    setObjectName(QStringLiteral("rpFmtForm"));
    setWindowTitle(LoadFrResString(context_, 53420));
    CatLB = new QListWidget(this);
    CatLB->setObjectName(QStringLiteral("CatLB"));
    TypeLB = new QListWidget(this);
    TypeLB->setObjectName(QStringLiteral("TypeLB"));
    DecEdit = Edit(this, "DecEdit");
    // The digits and the separator each have eight bits of the word: larger values would
    // spill into the type and the digits.
    DecEdit->setValidator(new QIntValidator(0, 255, DecEdit));
    SplEdit = Edit(this, "SplEdit");
    SplEdit->setMaxLength(1);
    SplEdit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[\\x{20}-\\x{FF}]?")), SplEdit));
    SplEdit->installEventFilter(this);
    FormatEdit = Edit(this, "FormatEdit");
    DecLabel = LabelFor(context_, this, "DecLabel", 53422, DecEdit);
    SplLabel = LabelFor(context_, this, "SplLabel", 53423, SplEdit);
    FormatLabel = LabelFor(context_, this, "FormatLabel", 53424, FormatEdit);
    OK = Button(context_, this, "OK", 55000);
    OK->setDefault(true);
    Cancel = Button(context_, this, "Cancel", 55001);

    auto* grid = new QGridLayout(this);
    grid->addWidget(CatLB, 0, 0);
    grid->addWidget(TypeLB, 0, 1, 1, 2);
    grid->addWidget(DecLabel, 1, 0);
    grid->addWidget(DecEdit, 1, 1, 1, 2);
    grid->addWidget(SplLabel, 2, 0);
    grid->addWidget(SplEdit, 2, 1, 1, 2);
    grid->addWidget(FormatLabel, 3, 0);
    grid->addWidget(FormatEdit, 3, 1, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OK);
    buttons->addWidget(Cancel);
    grid->addLayout(buttons, 4, 0, 1, 3);

    connect(CatLB, &QListWidget::itemClicked, this, [this] {
        FillTypes(CatLB->currentRow());
        UpdateControls();
    });
    connect(TypeLB, &QListWidget::itemClicked, this, [this] { UpdateControls(); });
    connect(OK, &QPushButton::clicked, this, [this] { done(mrOk); });
    connect(Cancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
}

void TrpFmtForm::FormActivate()
{
    CatLB->clear();
    for (int category = 0; category < kCategories; ++category)
        CatLB->addItem(LoadFrResString(context_, 55130 + category));
    const int category = static_cast<int>(FormatCategory(Format));
    CatLB->setCurrentRow(category < kCategories ? category : -1);
    FillTypes(CatLB->currentRow());
    const int type = static_cast<int>(FormatIndex(Format));
    if (type < TypeLB->count())
        TypeLB->setCurrentRow(type);
    UpdateControls();
}

void TrpFmtForm::FillTypes(int category)
{
    TypeLB->clear();
    if (category < 0)
        return;
    for (int index = 0; index < kTypesPerCategory; ++index) {
        const QString name = LoadFrResString(context_, 55150 + kTypesPerCategory * category + index);
        if (!name.isEmpty())
            TypeLB->addItem(name);
    }
    TypeLB->setCurrentRow(0);
}

void TrpFmtForm::UpdateControls()
{
    const bool number = CatLB->currentRow() == static_cast<int>(fcNumber);
    SetControlsEnabled({DecEdit, SplEdit, DecLabel, SplLabel}, number);
    const QChar separator(static_cast<char16_t>(FormatSeparator(Format)));
    DecEdit->setText(number ? QString::number(FormatDecimals(Format)) : QString());
    SplEdit->setText(number && !separator.isNull() ? QString(separator) : QString());

    const bool custom = TypeLB->currentRow() == static_cast<int>(kCustomFormatIndex);
    SetControlsEnabled({FormatEdit, FormatLabel}, custom);
    FormatEdit->setText(custom ? FormatText : QString());
}

uint32_t TrpFmtForm::EditedFormat() const
{
    // A list left without a choice (a word of an unknown category) keeps the word's own part.
    const uint32_t category = CatLB->currentRow() >= 0 ? static_cast<uint32_t>(CatLB->currentRow()) : FormatCategory(Format);
    const uint32_t type = TypeLB->currentRow() >= 0 ? static_cast<uint32_t>(TypeLB->currentRow()) : FormatIndex(Format);
    bool ok = false;
    const int digits = DecEdit->text().toInt(&ok);
    const QString separator = SplEdit->text();
    const char16_t first = separator.isEmpty() ? u',' : separator.at(0).unicode();
    return MakeFormat(category, type, ok ? static_cast<uint32_t>(qBound(0, digits, 255)) : 0,
                      first <= 0xFF ? first : u',');
}

void TrpFmtForm::showEvent(QShowEvent* event)
{
    FormActivate();
    QDialog::showEvent(event);
}

bool TrpFmtForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == SplEdit && event->type() == QEvent::FocusIn)
        QTimer::singleShot(0, SplEdit, &QLineEdit::selectAll);   // after the click places the cursor
    return QDialog::eventFilter(watched, event);
}

void TrpFmtForm::done(int result)
{
    if (result == mrOk) {
        Format = EditedFormat();
        if (FormatEdit->isEnabled())
            FormatText = FormatEdit->text();
    }
    QDialog::done(result);
}

void TrpFmtForm::reject()
{
    done(mrCancel);
}
