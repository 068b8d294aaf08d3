#include "app/dialogs/FSilosParam.h"

#include "app/widgets/DialogButtons.h"
#include "app/widgets/QtDateTime.h"
#include "core/Device/Silos.h"

#include <QDateEdit>
#include <QDateTime>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimeEdit>
#include <QVBoxLayout>

#include <cmath>


namespace {

QLineEdit* TextEdit(const char* name, const QString& text, bool readOnly = false)
{
    auto* edit = new QLineEdit(text);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setReadOnly(readOnly);
    return edit;
}

QDoubleSpinBox* NumberEdit(const char* name, double high, double value)
{
    auto* edit = new QDoubleSpinBox;
    edit->setObjectName(QString::fromLatin1(name));
    edit->setDecimals(2);
    edit->setRange(0, high);
    edit->setValue(value);
    return edit;
}

// The weight row has no real upper bound; this one only keeps the edit a sensible width.
constexpr double kMaxWeight = 1e9;

// What the card stores back from a number edit: the edit shows two decimals, so an untouched
// value keeps its own digits rather than the rounded ones.
double EditedValue(const QDoubleSpinBox& edit, double original)
{
    return edit.value() == QString::number(original, 'f', edit.decimals()).toDouble() ? original : edit.value();
}

QWidget* WithUnit(QWidget* edit, const char* unit)
{
    auto* box = new QWidget;
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(edit, 1);
    row->addWidget(new QLabel(QString::fromUtf8(unit)));
    return box;
}

} // namespace

TfmSilosParam::TfmSilosParam(TSilos* silos, int binNo, QWidget* owner) : QDialog(owner), FSilos(silos)
{
    setObjectName(QStringLiteral("TfmSilosParam"));
    setWindowTitle(QStringLiteral("Парамеры силоса"));

    edBinNo = TextEdit("edBinNo", QString::number(binNo), true);
    edMBAddr = TextEdit("edMBAddr", QString::number(silos->GetMBAddr() + 1), true);
    edTURNo = TextEdit("edTURNo", QString::number(silos->No() + 1), true);
    edSilosName = TextEdit("edSilosName", silos->GetName());
    edCornName = TextEdit("edCornName", silos->TypeCorn);
    edCornClass = TextEdit("edCornClass", silos->ClassCorn);
    const QDateTime loaded = silos->LoadData != 0 ? ToQDateTime(silos->LoadData) : QDateTime::currentDateTime();
    edDate = new QDateEdit(loaded.date());
    edDate->setObjectName(QStringLiteral("edDate"));
    edDate->setCalendarPopup(true);
    edTime = new QTimeEdit(loaded.time());
    edTime->setObjectName(QStringLiteral("edTime"));
    edTime->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    edWeight = NumberEdit("edWeight", 100, silos->Weight);
    edWet = NumberEdit("edWet", kMaxWeight, silos->Wet);
    edOperName = TextEdit("edOperName", silos->OperName);

    auto* address = new QHBoxLayout;
    address->addWidget(new QLabel(QStringLiteral("СК")));
    address->addWidget(edBinNo);
    address->addWidget(new QLabel(QStringLiteral("МБ №")));
    address->addWidget(edMBAddr);
    address->addWidget(new QLabel(QStringLiteral("ТП №")));
    address->addWidget(edTURNo);
    auto* loadedAt = new QHBoxLayout;
    loadedAt->addWidget(edDate, 1);
    loadedAt->addWidget(edTime, 1);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Технологический адрес"), address);
    form->addRow(QStringLiteral("Название силоса"), edSilosName);
    form->addRow(QStringLiteral("Наименование культуры"), edCornName);
    form->addRow(QStringLiteral("Класс культуры"), edCornClass);
    form->addRow(QStringLiteral("Дата поступления"), loadedAt);
    form->addRow(QStringLiteral("Влажность"), WithUnit(edWeight, "%"));
    form->addRow(QStringLiteral("Вес"), WithUnit(edWet, "тон"));
    form->addRow(QStringLiteral("Оператор"), edOperName);

    const TDialogButtons buttons = MakeDialogButtons(*this, QStringLiteral("Сохранить"), "btnOk", QStringLiteral("Отмена"));
    btnOk = buttons.Accept;
    btnCancel = buttons.Cancel;

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons.Box);
}

void TfmSilosParam::done(int result)
{
    if (result == QDialog::Accepted)
        FormClose();
    QDialog::done(result);
}

void TfmSilosParam::FormClose()
{
    FSilos->SetSilosName(edSilosName->text());
    FSilos->TypeCorn = edCornName->text();
    FSilos->ClassCorn = edCornClass->text();
    FSilos->OperName = edOperName->text();
    FSilos->LoadData = FromQDateTime(edDate->date(), edTime->time());
    FSilos->Weight = EditedValue(*edWeight, FSilos->Weight);
    FSilos->Wet = EditedValue(*edWet, FSilos->Wet);
}
