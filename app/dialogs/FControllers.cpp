// The controllers dialog: its controls, the settings it edits and its opener. The controller
// commands are in FControllersCommands.cpp.
#include "app/dialogs/FControllers.h"

#include "app/widgets/FlatPageControl.h"
#include "app/widgets/SpinEdit.h"
#include "app/main/ModalRunner.h"
#include "app/main/UnhandledException.h"

#include <QAction>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTimeEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <limits>

namespace {

constexpr int kWordMax = 65535;

QPushButton* Button(const char* name, const char* caption)
{
    auto* button = new QPushButton(QString::fromUtf8(caption));
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

QLabel* Label(const char* text)
{
    return new QLabel(QString::fromUtf8(text));
}

// One row of a grid: caption, control and, when given, its unit.
void AddRow(QGridLayout* grid, const char* caption, QWidget* control, const char* unit = nullptr)
{
    const int row = grid->rowCount();
    auto* label = Label(caption);
    label->setBuddy(control);
    grid->addWidget(label, row, 0);
    grid->addWidget(control, row, 1);
    if (unit)
        grid->addWidget(Label(unit), row, 2);
}

QLabel* Heading(const char* text)
{
    auto* heading = Label(text);
    QFont font = heading->font();
    font.setBold(true);
    heading->setFont(font);
    heading->setWordWrap(true);
    return heading;
}

} // namespace

TfmControllers::TfmControllers(QWidget* owner) : QDialog(owner), FActions(this)
{
    setObjectName(QStringLiteral("TfmControllers"));
    setWindowTitle(QStringLiteral("Используемое оборудование"));
    InstallActions();

    pcInDevice = new TFlatPageControl;
    pcInDevice->setObjectName(QStringLiteral("pcInDevice"));
    pcInDevice->AddPage(BuildSilosPage(), QStringLiteral("Контроллеры силосов"));
    pcInDevice->AddPage(BuildCollectorPage(), QStringLiteral("Контроллер сбора данных"));
    // Archive reading is chosen where the settings file says so, never from here.
    pcInDevice->SetPageButtonVisible(1, false);

    btSave = Button("btSave", "Сохранить");
    btSave->setDefault(true);
    connect(btSave, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pcInDevice);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btSave);
    layout->addLayout(buttons);
    UpdateActions();
}

QWidget* TfmControllers::BuildSilosPage()
{
    tsSilosControllers = new QWidget;
    tsSilosControllers->setObjectName(QStringLiteral("tsSilosControllers"));
    edCount = MakeSpinEdit("edCount", 1, 999);
    edPauseOn = MakeSpinEdit("edPauseOn", 0, kWordMax);
    edPauseOff = MakeSpinEdit("edPauseOff", 0, kWordMax);
    edPauseGetData = MakeSpinEdit("edPauseGetData", 0, kWordMax);
    edTOSelect = MakeSpinEdit("edTOSelect", 0, kWordMax);
    edTOGetData = MakeSpinEdit("edTOGetData", 0, kWordMax);

    auto* grid = new QGridLayout;
    AddRow(grid, "Число опросов каждого датчика", edCount);
    AddRow(grid, "Пауза между командой включения модуля и командами запроса данных из модуля", edPauseOn, "мс.");
    AddRow(grid, "Пауза между командой отключения модуля и включения следующего модуля", edPauseOff, "мс.");
    AddRow(grid, "Пауза между командами запроса данных из выбранного модуля", edPauseGetData, "мс.");
    AddRow(grid, "Максимальное время ожидания ответа на команду \"Выбор модуля\"", edTOSelect, "мс.");
    AddRow(grid, "Максимальное время ожидания ответа на команду \"Запрос данных\"", edTOGetData, "мс.");
    grid->setColumnStretch(0, 1);

    auto* layout = new QVBoxLayout(tsSilosControllers);
    layout->addWidget(Heading("Данные запрашиваются прямо у контроллеров установленных на силосах"));
    layout->addLayout(grid);
    layout->addStretch();
    return tsSilosControllers;
}

QWidget* TfmControllers::BuildCollectorPage()
{
    tsDataCollector = new QWidget;
    tsDataCollector->setObjectName(QStringLiteral("tsDataCollector"));
    auto* services = new QHBoxLayout;
    services->addWidget(BuildClockGroup());
    services->addWidget(BuildAddressGroup());
    services->addWidget(BuildArchiveGroup());

    auto* layout = new QVBoxLayout(tsDataCollector);
    layout->addWidget(Heading("Архив данных считывается из контроллера сбора данных"));
    layout->addLayout(services);
    layout->addWidget(BuildParamGroup());
    layout->addStretch();
    return tsDataCollector;
}

QWidget* TfmControllers::BuildClockGroup()
{
    auto* group = new QGroupBox(QStringLiteral("Время в контроллере"));
    edDate = new QDateEdit;
    edDate->setObjectName(QStringLiteral("edDate"));
    edDate->setCalendarPopup(true);
    edDate->setMinimumDate(QDate(1899, 12, 30));   // a controller that lost its time reads so
    edDate->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    edTime = new QTimeEdit;
    edTime->setObjectName(QStringLiteral("edTime"));
    edTime->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    btGetTime = Button("btGetTime", "Запрос времени");
    btSetTime = Button("btSetTime", "Установить время");
    connect(btGetTime, &QPushButton::clicked, this, [this] { RunGuarded(this, [this] { btGetTimeClick(); }); });
    connect(btSetTime, &QPushButton::clicked, this, [this] { RunGuarded(this, [this] { btSetTimeClick(); }); });

    auto* layout = new QGridLayout(group);
    layout->addWidget(edDate, 0, 0);
    layout->addWidget(edTime, 0, 1);
    layout->addWidget(btGetTime, 1, 0);
    layout->addWidget(btSetTime, 1, 1);
    return group;
}

QWidget* TfmControllers::BuildAddressGroup()
{
    auto* group = new QGroupBox(QStringLiteral("Адрес контроллера"));
    // The whole octet, so that an address kept in the settings file is never changed by
    // opening the dialog; only addresses a controller may take can be given to one.
    edAddr = MakeSpinEdit("edAddr", 0, 255);
    btGetAddr = Button("btGetAddr", "Запрос адреса");
    btSetAddr = Button("btSetAddr", "Установить адрес");
    connect(btGetAddr, &QPushButton::clicked, this, [this] { RunGuarded(this, [this] { btGetAddrClick(); }); });
    connect(btSetAddr, &QPushButton::clicked, this, [this] { RunGuarded(this, [this] { btSetAddrClick(); }); });

    auto* layout = new QGridLayout(group);
    layout->addWidget(Label("Адрес"), 0, 0);
    layout->addWidget(edAddr, 0, 1);
    layout->addWidget(Label("(0..249)"), 0, 2);
    layout->addWidget(btGetAddr, 1, 0, 1, 3);
    layout->addWidget(btSetAddr, 2, 0, 1, 3);
    return group;
}

QWidget* TfmControllers::BuildArchiveGroup()
{
    auto* group = new QGroupBox(QStringLiteral("Архив измерений"));
    btClearArchive = Button("btClearArchive", "Очистить архив");
    connect(btClearArchive, &QPushButton::clicked, this, [this] { RunGuarded(this, [this] { btClearArchiveClick(); }); });
    edClrTO = MakeSpinEdit("edClrTO", 0, kWordMax);
    edMaxGet = MakeSpinEdit("edMaxGet", 1, 5);

    auto* layout = new QGridLayout(group);
    layout->addWidget(btClearArchive, 0, 0, 1, 3);
    AddRow(layout, "Время выполнения очистки архива", edClrTO, "сек.");
    AddRow(layout, "Макс. число силосов в одном запросе", edMaxGet);
    return group;
}

QWidget* TfmControllers::BuildParamGroup()
{
    auto* group = new QGroupBox(QStringLiteral("Параметры контроллера"));

    auto* port = new QGroupBox(QStringLiteral("Адрес порта"));
    ed332_1 = MakeSpinEdit("ed332_1", 0, 7);
    ed332_2 = MakeSpinEdit("ed332_2", 0, 255);
    auto* portGrid = new QGridLayout(port);
    AddRow(portGrid, "Номер порта", ed332_1);
    AddRow(portGrid, "Адрес", ed332_2);

    auto* resistors = new QGroupBox(QStringLiteral("Резисторы"));
    ed300 = MakeSpinEdit("ed300", 0, 255);
    ed301 = MakeSpinEdit("ed301", 0, kWordMax);
    ed302 = MakeSpinEdit("ed302", 0, kWordMax);
    ed303 = MakeSpinEdit("ed303", 0, kWordMax);
    auto* resistorGrid = new QGridLayout(resistors);
    AddRow(resistorGrid, "Терморезистор", ed300, "Ом");
    AddRow(resistorGrid, "Делитель R1", ed301, "Ом");
    AddRow(resistorGrid, "Делитель R2", ed302, "Ом");
    AddRow(resistorGrid, "Измерительный шунт", ed303, "Ом");

    auto* corrections = new QGroupBox(QStringLiteral("Коэффициенты коррекции температуры"));
    auto* correctionGrid = new QGridLayout(corrections);
    for (int channel = 1; channel <= 6; ++channel) {
        QSpinBox*& box = ed305[channel - 1];
        box = MakeSpinEdit("", -99, 99);
        box->setObjectName(QStringLiteral("ed305_%1").arg(channel));
        const QByteArray caption = QStringLiteral("Канал №%1").arg(channel).toUtf8();
        AddRow(correctionGrid, caption.constData(), box);
    }

    btRead = new QToolButton;
    btRead->setObjectName(QStringLiteral("btRead"));
    btRead->setDefaultAction(acRead);
    btWrite = new QToolButton;
    btWrite->setObjectName(QStringLiteral("btWrite"));
    btWrite->setDefaultAction(acWrite);
    for (QToolButton* button : {btRead, btWrite}) {
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    }
    btWriteAll = Button("btWriteAll", "Записать все параметры");
    btReadAll = Button("btReadAll", "Считать все параметры");
    connect(btWriteAll, &QPushButton::clicked, this, [this] { RunGuarded(this, [this] { WriteAllParams(); }); });
    connect(btReadAll, &QPushButton::clicked, this, [this] { RunGuarded(this, [this] { ReadAllParams(); }); });

    auto* left = new QVBoxLayout;
    left->addWidget(port);
    left->addWidget(resistors);
    left->addWidget(BuildCoefficientGroup());
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(btWrite);
    buttons->addWidget(btRead);
    buttons->addWidget(btWriteAll);
    buttons->addWidget(btReadAll);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(group);
    layout->addLayout(left);
    layout->addWidget(corrections);
    layout->addLayout(buttons);

    WatchEntering(ed332_1, 332);
    WatchEntering(ed332_2, 332);
    WatchEntering(ed300, 300);
    WatchEntering(ed301, 301);
    WatchEntering(ed302, 302);
    WatchEntering(ed303, 303);
    WatchEntering(ed304_1, 304);
    WatchEntering(ed304_2, 304);
    WatchEntering(edK, -1);
    for (int channel = 1; channel <= 6; ++channel)
        WatchEntering(ed305[channel - 1], 3050 + channel);
    return group;
}

QWidget* TfmControllers::BuildCoefficientGroup()
{
    auto* group = new QGroupBox(QStringLiteral("Коэффициент преобразования"));
    ed304_1 = MakeSpinEdit("ed304_1", 0, kWordMax);
    ed304_2 = MakeSpinEdit("ed304_2", 1, kWordMax);
    edK = new QDoubleSpinBox;
    edK->setObjectName(QStringLiteral("edK"));
    edK->setDecimals(4);
    edK->setRange(-double(std::numeric_limits<int32_t>::max()), double(std::numeric_limits<int32_t>::max()));
    edK->setButtonSymbols(QAbstractSpinBox::NoButtons);
    ed304_1->setValue(1);
    ed304_2->setValue(1);
    edK->setValue(1);
    connect(ed304_1, &QSpinBox::valueChanged, this, [this] { ed304Change(); });
    connect(ed304_2, &QSpinBox::valueChanged, this, [this] { ed304Change(); });

    auto* layout = new QHBoxLayout(group);
    layout->addWidget(Label("К="));
    layout->addWidget(ed304_1);
    layout->addWidget(Label("/"));
    layout->addWidget(ed304_2);
    layout->addWidget(Label("="));
    layout->addWidget(edK);
    return group;
}

void TfmControllers::LoadSettings(const Parameters& settings)
{
    pcInDevice->SetCurrentIndex(settings.ControllerKind == 1 ? 1 : 0);
    edCount->setValue(settings.PollRepeats);
    edPauseOn->setValue(settings.PauseMBOn);
    edPauseOff->setValue(settings.PauseMBOff);
    edPauseGetData->setValue(settings.PauseRequest);
    edTOSelect->setValue(settings.TimeoutMBSelect);
    edTOGetData->setValue(settings.TimeoutData);
    edAddr->setValue(settings.ArchiveAddr);
    edClrTO->setValue(settings.TimeoutArchiveClear);
    edMaxGet->setValue(settings.ArchiveBlockSize);
}

void TfmControllers::StoreSettings(Parameters& settings) const
{
    settings.ControllerKind = pcInDevice->CurrentIndex();
    settings.PollRepeats = edCount->value();
    settings.PauseMBOn = static_cast<uint16_t>(edPauseOn->value());
    settings.PauseMBOff = static_cast<uint16_t>(edPauseOff->value());
    settings.PauseRequest = static_cast<uint16_t>(edPauseGetData->value());
    settings.TimeoutMBSelect = static_cast<uint16_t>(edTOSelect->value());
    settings.TimeoutData = static_cast<uint16_t>(edTOGetData->value());
    settings.ArchiveAddr = static_cast<uint8_t>(edAddr->value());
    settings.TimeoutArchiveClear = static_cast<uint16_t>(edClrTO->value());
    settings.ArchiveBlockSize = static_cast<uint8_t>(edMaxGet->value());
}

void TfmControllers::WatchEntering(QWidget* control, int code)
{
    control->setProperty("paramCode", code);
    control->installEventFilter(this);
}

bool TfmControllers::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        const QVariant code = watched->property("paramCode");
        if (code.isValid()) {
            acRead->setData(code);
            UpdateActions();
        }
    } else if (event->type() == QEvent::FocusOut && watched == edK) {
        // Leaving the control, not the window: another window coming up (a message box, another
        // program) leaves the fraction alone.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            RunGuarded(this, [this] { edKExit(); });
    }
    return QDialog::eventFilter(watched, event);
}

void ShowControllers(QWidget* owner, Parameters& settings, TCommPort* port)
{
    TfmControllers dialog(owner);
    dialog.LoadSettings(settings);
    dialog.Port = port;
    if (ExecModal(dialog) == QDialog::Accepted)
        dialog.StoreSettings(settings);
}
