#include "app/schedule/FTimerParam.h"

#include "app/settings/FormPlacement.h"
#include "app/main/Interaction.h"
#include "app/main/ModalRunner.h"
#include "app/schedule/SchedulePlanFile.h"
#include "core/ExchangeLog.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimeEdit>
#include <QVBoxLayout>


namespace {

constexpr const char* kPlacement = "TfmTimerParam";
constexpr const char* kActivePageKey = "pcTime.ActivePage";

template <class Widget>
Widget* Named(Widget* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QTimeEdit* TimePicker(const char* name)
{
    auto* picker = Named(new QTimeEdit, name);
    picker->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    return picker;
}

// A page of the picker tabs: its controls in one row.
QWidget* Page(const char* name, std::initializer_list<QWidget*> controls)
{
    auto* page = Named(new QWidget, name);
    auto* row = new QHBoxLayout(page);
    for (QWidget* control : controls)
        row->addWidget(control);
    row->addStretch(1);
    return page;
}

int64_t SecondsOfDay(const QTime& time)
{
    return time.hour() * 3600 + time.minute() * 60 + time.second();
}

} // namespace

TfmTimerParam::TfmTimerParam(std::string settingsFile, QObject* mainWindow, TTimerTh::TClock clock,
                             ExchangeLogSink log)
    : QDialog(nullptr),
      FormStorage1(std::move(settingsFile)),
      FMainWindow(mainWindow),
      FClock(std::move(clock)),
      FLog(std::move(log))
{
    setObjectName(QStringLiteral("TfmTimerParam"));
    setWindowTitle(QStringLiteral("Установка расписания"));
    // A window of its own, not the main window's child, yet it runs its dialogs and reports its
    // failures as the main window does.
    if (TInteraction* interaction = InteractionOf(mainWindow))
        interaction->Serve(*this);
    BuildControls();
}

TfmTimerParam::~TfmTimerParam()
{
    StopTimer();
    // A plan never loaded (the settings were not read) must not wipe the stored one.
    if (FPlanLoaded) {
        try {
            SavePlan(FormStorage1);
        } catch (const std::exception& error) {
            PostExchangeLog(FLog, QString::fromUtf8(error.what()), kLogError);
        }
    }
    vtPlan->setModel(nullptr);
    delete FModel;   // before the plan it shows
}

void TfmTimerParam::BuildControls()
{
    FModel = new TPlanModel(FPlan);
    vtPlan = Named(new QListView, "vtPlan");
    vtPlan->setModel(FModel);
    vtPlan->setSelectionMode(QAbstractItemView::SingleSelection);
    vtPlan->setEditTriggers(QAbstractItemView::NoEditTriggers);
    vtPlan->installEventFilter(this);

    edEveryDay = TimePicker("edEveryDay");
    edPeriod = Named(new QSpinBox, "edPeriod");
    edPeriod->setRange(1, 1440);
    edDay = Named(new QDateEdit, "edDay");
    edDay->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    edDay->setCalendarPopup(true);
    edTime = TimePicker("edTime");

    pcTime = Named(new QTabWidget, "pcTime");
    // Without scroll buttons the tabs ask for their whole width, so the window opens with all
    // three in view.
    pcTime->setUsesScrollButtons(false);
    tsDateTime = Page("tsDateTime", {new QLabel(QStringLiteral("В")), edEveryDay});
    tsPeriod = Page("tsPeriod", {new QLabel(QStringLiteral("Каждые ")), edPeriod, new QLabel(QStringLiteral("мин."))});
    TabSheet1 = Page("TabSheet1", {edDay, new QLabel(QStringLiteral("В")), edTime});
    pcTime->addTab(tsDateTime, QStringLiteral("Каждый день"));
    pcTime->addTab(tsPeriod, QStringLiteral("Периодически"));
    pcTime->addTab(TabSheet1, QStringLiteral("Один раз"));

    btAdd = Named(new QPushButton(QStringLiteral("Добавить")), "btAdd");
    btAdd->setAutoDefault(false);
    GroupBox1 = Named(new QGroupBox(QStringLiteral("Полный опрос")), "GroupBox1");
    auto* group = new QVBoxLayout(GroupBox1);
    group->addWidget(pcTime);
    group->addWidget(btAdd, 0, Qt::AlignRight);

    btSave = Named(new QPushButton(QStringLiteral("Сохранить")), "btSave");
    btCancel = Named(new QPushButton(QStringLiteral("Отмена")), "btCancel");
    btSave->setAutoDefault(false);
    btCancel->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btSave);
    buttons->addWidget(btCancel);

    auto* column = new QVBoxLayout(this);
    column->addWidget(vtPlan, 1);
    column->addWidget(GroupBox1);
    column->addLayout(buttons);

    connect(btAdd, &QPushButton::clicked, this, [this] { btAddClick(); });
    connect(btSave, &QPushButton::clicked, this, [this] { btSaveClick(); });
    connect(btCancel, &QPushButton::clicked, this, [this] { reject(); });
}

void TfmTimerParam::LoadPlan(const IniFile& ini)
{
    FModel->Assign(ReadPlanSection(ini));
    FPlanLoaded = true;
    StartTimer();
}

void TfmTimerParam::SavePlan(IniFile& ini)
{
    WritePlanSection(ini, FPlan.Items());
}

void TfmTimerParam::StopTimer()
{
    if (!FTimerTh)
        return;
    FTimerTh->Terminate();
    FTimerTh->WaitFor();
    FTimerTh.reset();
}

void TfmTimerParam::StartTimer()
{
    StopTimer();
    FTimerTh = std::make_unique<TTimerTh>(FPlan, FMainWindow, FClock, std::chrono::milliseconds(100), FLog);
}

QString TfmTimerParam::GetNextPollText() const
{
    const QString next = FTimerTh ? FTimerTh->NextPollText() : QString();
    if (FPlan.Count() == 0 || next.isEmpty())
        return QStringLiteral("Автоматический опрос отключен");
    return QStringLiteral("Очередной автоматический опрос: ") + next;
}

int TfmTimerParam::ShowModal()
{
    FormShow();
    const int result = ExecModal(*this);
    SavePlacement();
    if (result == QDialog::Accepted)
        StartTimer();
    else
        LoadPlan();
    return result;
}

void TfmTimerParam::FormShow()
{
    RestorePlacement();
    const QDateTime now = [this] {
        const DateTimeParts parts = DecodeDateTime(FClock());
        return QDateTime(QDate(parts.year, parts.month, parts.day), QTime(parts.hour, parts.minute, parts.second));
    }();
    edEveryDay->setTime(now.time());
    edDay->setDate(now.date());
    edTime->setTime(now.time());
    StopTimer();
    // Entries the thread removed just before it stopped are gone from the list too.
    FModel->Refresh();
}

// The window's size and position and the page last chosen come back at every showing.
void TfmTimerParam::RestorePlacement()
{
    RestoreFormPlacement(FormStorage1, *this, kPlacement);
    const std::string page = FormStorage1.ReadString(kPlacement, kActivePageKey, "");
    if (auto* chosen = pcTime->findChild<QWidget*>(QString::fromStdString(page)); chosen && pcTime->indexOf(chosen) >= 0)
        pcTime->setCurrentWidget(chosen);
}

void TfmTimerParam::SavePlacement()
{
    try {
        FormStorage1.BeginUpdate();
        SaveFormPlacement(FormStorage1, *this, kPlacement);
        FormStorage1.WriteString(kPlacement, kActivePageKey, pcTime->currentWidget()->objectName().toStdString());
        FormStorage1.EndUpdate();
    } catch (const std::exception& error) {
        PostExchangeLog(FLog, QString::fromUtf8(error.what()), kLogError);
    }
}

TPlanItem TfmTimerParam::ChosenItem() const
{
    if (pcTime->currentWidget() == tsDateTime)
        return {DateTimeToUnix(SecondsOfDay(edEveryDay->time()) / kSecsPerDay), pkEveryDay};
    if (pcTime->currentWidget() == tsPeriod)
        return {int64_t{edPeriod->value()} * 60, pkPeriod};
    const QDate day = edDay->date();
    const TDateTime date = EncodeDate(day.year(), day.month(), day.day());
    return {DateTimeToUnix(date + SecondsOfDay(edTime->time()) / kSecsPerDay), pkOnce};
}

void TfmTimerParam::btAddClick()
{
    FModel->Add(ChosenItem());
}

// A plan that cannot be written stays in the window, so that nothing the operator entered
// is lost; he may try again or cancel.
void TfmTimerParam::btSaveClick()
{
    try {
        SavePlan(FormStorage1);
    } catch (const std::exception& error) {
        AskUser(this, QMessageBox::Critical, QString::fromUtf8(error.what()));
        return;
    }
    accept();
}

bool TfmTimerParam::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == vtPlan && event->type() == QEvent::KeyRelease)
        vtPlanKeyUp(static_cast<QKeyEvent*>(event)->key());
    return QDialog::eventFilter(watched, event);
}

// Delete removes the focused entry; the focus goes to the entry after it, else the one before.
void TfmTimerParam::vtPlanKeyUp(int key)
{
    const QModelIndex focused = vtPlan->currentIndex();
    if (key != Qt::Key_Delete || !focused.isValid())
        return;
    const int row = focused.row();
    FModel->Delete(row);
    const int count = FModel->rowCount();
    if (count == 0)
        return;
    const QModelIndex next = FModel->index(row < count ? row : count - 1);
    vtPlan->setCurrentIndex(next);
    vtPlan->selectionModel()->select(next, QItemSelectionModel::ClearAndSelect);
}
