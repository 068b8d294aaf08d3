#include "app/dialogs/FOverlay.h"

#include "app/main/ModalRunner.h"
#include "platform/qt/TaskbarList.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>


namespace {

// The captions of the conditions, by index from 0; the same on both pages.
const std::array<QString, kAlarmConditionCount> kConditionCaptions{
    QStringLiteral("Нет ответа от коммутатора КС4"),
    QStringLiteral("Нет ответа от местного блока РЗ-22К"),
    QStringLiteral("Превышена уставка \"Максимально допустимая температура\""),
    QStringLiteral("Превышена уставка \"Контроль скорости изменения температуры\""),
    QStringLiteral("Превышена уставка №1"),
    QStringLiteral("Превышена уставка №2"),
    QStringLiteral("Превышена уставка №3"),
    QStringLiteral("Состояние \"Обрыв\""),
    QStringLiteral("Состояние \"КЗ\""),
};

// The level buttons' names by condition index: the first two are swapped.
const std::array<const char*, kAlarmConditionCount> kLevelButtonNames{
    "bt3", "bt2", "bt4", "bt5", "bt6", "bt7", "bt8", "bt9", "bt10"};

// Relays are not switched for a silent commutator or local block: the line is down.
bool RelayBoxShown(size_t index)
{
    return index > 1;
}

QString Numbered(const char* prefix, size_t index)
{
    return QString::fromLatin1(prefix) + QString::number(index + 1);
}

} // namespace

TfmOverlay::TfmOverlay(Parameters& settings, QWidget* owner) : QDialog(owner), Settings(settings)
{
    setObjectName(QStringLiteral("TfmOverlay"));
    setWindowTitle(QStringLiteral("Настройка уведомлений"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);

    for (int level = 0; level < 3; ++level)
        iml1[level] = OverlayStateIcon(level);

    pm1 = new QMenu(this);
    pm1->setObjectName(QStringLiteral("pm1"));
    const char* levelCaptions[] = {"Норма", "Предупреждения", "Ошибки"};
    for (int level = 0; level < 3; ++level) {
        QAction* item = pm1->addAction(iml1[level], QString::fromUtf8(levelCaptions[level]));
        item->setData(level);
        connect(item, &QAction::triggered, this, [this, level] { N71Click(level); });
    }

    pg1 = new QTabWidget;
    pg1->setObjectName(QStringLiteral("pg1"));
    QFont pageFont(QStringLiteral("Tahoma"));
    pageFont.setPixelSize(16);
    pageFont.setBold(true);
    pg1->setFont(pageFont);
    BuildOverlayPage();
    BuildRelayPage();

    bt1 = new QPushButton(QStringLiteral("Сохранить"));
    bt1->setObjectName(QStringLiteral("bt1"));
    bt1->setDefault(true);
    connect(bt1, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pg1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(bt1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    FormCreate();
}

void TfmOverlay::BuildOverlayPage()
{
    tsOverlay = new QWidget;
    tsOverlay->setObjectName(QStringLiteral("tsOverlay"));
    auto* grid = new QGridLayout(tsOverlay);
    for (size_t i = 0; i < kAlarmConditionCount; ++i) {
        auto* box = new QCheckBox(kConditionCaptions[i]);
        box->setObjectName(Numbered("chk", i));
        connect(box, &QCheckBox::clicked, this, [this, i](bool checked) { chk1Click(i, checked); });
        auto* button = new QToolButton;
        button->setObjectName(QString::fromLatin1(kLevelButtonNames[i]));
        button->setIconSize(QSize(16, 16));
        connect(button, &QToolButton::clicked, this, [this, button] { PopUpLevelMenu(button); });
        grid->addWidget(box, int(i), 0);
        grid->addWidget(button, int(i), 1);
        EnableBoxes[i] = box;
        LevelButtons[i] = button;
    }
    pg1->addTab(tsOverlay, QStringLiteral("Уведомления"));
}

void TfmOverlay::BuildRelayPage()
{
    tsRele = new QWidget;
    tsRele->setObjectName(QStringLiteral("tsRele"));
    auto* layout = new QVBoxLayout(tsRele);
    for (size_t i = 0; i < kAlarmConditionCount; ++i) {
        auto* box = new QCheckBox(kConditionCaptions[i]);
        box->setObjectName(Numbered("ch", i));
        layout->addWidget(box);
        RelayBoxes[i] = box;
    }
    edReleDelay = new QSpinBox;
    edReleDelay->setObjectName(QStringLiteral("edReleDelay"));
    edReleDelay->setRange(1, 120);
    edReleDelay->setValue(1);
    auto* duration = new QHBoxLayout;
    duration->addWidget(new QLabel(QStringLiteral("Длительность включения реле")));
    duration->addWidget(edReleDelay);
    duration->addWidget(new QLabel(QStringLiteral("с. (1-120)")));
    duration->addStretch();
    layout->addLayout(duration);
    pg1->addTab(tsRele, QStringLiteral("Включение реле"));
}

void TfmOverlay::FormCreate()
{
    for (size_t i = 0; i < kAlarmConditionCount; ++i) {
        RelayBoxes[i]->setChecked(Settings.Relays[i + 1]);
        RelayBoxes[i]->setVisible(RelayBoxShown(i));
        FAlarms[i] = Settings.Alarms[i + 1];
        EnableBoxes[i]->setChecked(FAlarms[i].Enabled);
        SetConditionIcon(i, FAlarms[i].Level);
    }
    SetRelayDuration(Settings.RelayDuration);
    pg1->setCurrentIndex(0);
}

void TfmOverlay::chk1Click(size_t index, bool checked)
{
    FAlarms[index].Enabled = checked;
}

void TfmOverlay::PopUpLevelMenu(QToolButton* button)
{
    FPopupButton = button;
    pm1->popup(button->mapToGlobal(QPoint(button->width(), 0)));
}

void TfmOverlay::N71Click(int level)
{
    for (size_t i = 0; i < kAlarmConditionCount; ++i)
        if (LevelButtons[i] == FPopupButton)
            SetConditionIcon(i, level);
}

void TfmOverlay::SetConditionIcon(size_t index, int32_t level)
{
    FAlarms[index].Level = level;
    // A level outside 0..2 (a hand-edited settings file) is kept as it is, shown without glyph.
    LevelButtons[index]->setIcon(level >= 0 && level < 3 ? iml1[level] : QIcon());
}

void TfmOverlay::SetRelayDuration(int seconds)
{
    edReleDelay->setValue(seconds);
}

int TfmOverlay::GetRelayDuration() const
{
    return edReleDelay->value();
}

bool TfmOverlay::IsRelayChecked(size_t index) const
{
    return RelayBoxes[index]->isChecked();
}

void TfmOverlay::done(int result)
{
    if (result == QDialog::Accepted)
        FormClose();
    QDialog::done(result);
}

void TfmOverlay::FormClose()
{
    Settings.RelayDuration = static_cast<uint16_t>(GetRelayDuration());
    for (size_t i = 0; i < kAlarmConditionCount; ++i) {
        Settings.Alarms[i + 1] = FAlarms[i];
        Settings.Relays[i + 1] = IsRelayChecked(i);
    }
}

void ShowOverlaySettings(Parameters& settings, QWidget* owner)
{
    TfmOverlay dialog(settings, owner);
    ExecModal(dialog);
}
