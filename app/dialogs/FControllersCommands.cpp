// The controllers dialog's work on the data-collecting controller: address, clock, archive and
// parameters, each command sent at once through the controller commands of comm/RControl.h.
#include "app/dialogs/FControllers.h"

#include "app/dialogs/CoefficientFraction.h"
#include "app/main/ModalRunner.h"
#include "base/DateTime.h"
#include "comm/ControllerCommand.h"
#include "comm/PortException.h"
#include "comm/RControl.h"

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QSpinBox>
#include <QTimeEdit>

#include <algorithm>
#include <iterator>
#include <limits>

namespace {

// The parameters in the order "Считать все параметры" and "Записать все параметры" go through.
constexpr int kAllParams[] = {332, 300, 301, 302, 303, 304, 3051, 3052, 3053, 3054, 3055, 3056};

constexpr uint8_t kWriteMark = 0x57;   // "W"
constexpr uint8_t kHighestControllerAddress = 249;

bool IsCorrection(int code)
{
    return code >= 3051 && code <= 3056;
}

bool IsKnownParam(int code)
{
    return std::find(std::begin(kAllParams), std::end(kAllParams), code) != std::end(kAllParams);
}

// The number on the wire: the channel corrections all share parameter 305.
uint16_t ParamNumber(int code)
{
    return static_cast<uint16_t>(code <= 1000 ? code : code / 10);
}

// Octets of a parameter's value.
size_t ValueSize(int code)
{
    switch (code) {
    case 301:
    case 302:
    case 303:
        return 2;
    case 304:
        return 4;
    default:
        return 1;
    }
}

// The name the single-parameter buttons show, in quotation marks.
QString ParamName(int code)
{
    QString name;
    switch (code) {
    case 300: name = QStringLiteral("Сопротивление терморезистора"); break;
    case 301: name = QStringLiteral("Сопротивление делителя R1"); break;
    case 302: name = QStringLiteral("Сопротивление делителя R2"); break;
    case 303: name = QStringLiteral("Сопротивление измерительного\nшунта"); break;
    case 304: name = QStringLiteral("Коэффициент преобразования"); break;
    case 332: name = QStringLiteral("Адрес порта"); break;
    default:
        if (!IsCorrection(code))
            return {};
        name = QStringLiteral("Коэффициент коррекции\nканал №%1").arg(code - 3050);
    }
    return QLatin1Char('"') + name + QLatin1Char('"');
}

void PutWord(DynByteArray& block, int value)
{
    block.push_back(static_cast<uint8_t>(value & 0xFF));
    block.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

QDateTime ToQDateTime(TDateTime value)
{
    const DateTimeParts parts = DecodeDateTime(value);
    return QDateTime(QDate(parts.year, parts.month, parts.day),
                     QTime(parts.hour, parts.minute, parts.second, parts.msec));
}

class TBusyCursor {
public:
    TBusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TBusyCursor() { QApplication::restoreOverrideCursor(); }
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;
};

} // namespace

void TfmControllers::InstallActions()
{
    acRead = new QAction(QStringLiteral("Cчитать параметр"), this);
    acRead->setObjectName(QStringLiteral("acRead"));
    acRead->setData(0);
    acWrite = new QAction(QStringLiteral("Записать параметр"), this);
    acWrite->setObjectName(QStringLiteral("acWrite"));
    acWrite->setData(0);

    // The caption names the parameter of the control entered last; changed only when it differs,
    // so that the buttons do not flicker on every update.
    const auto update = [this](const QString& verb) {
        return [this, verb](QAction& action) {
            const int code = ParamTag();
            action.setData(code);
            const QString name = ParamName(code);
            const QString caption = name.isEmpty() ? verb : verb + QLatin1Char('\n') + name;
            if (action.text() != caption)
                action.setText(caption);
            action.setEnabled(IsKnownParam(code));
        };
    };
    FActions.SetUpdate(acRead, update(QStringLiteral("Cчитать параметр")));
    FActions.SetUpdate(acWrite, update(QStringLiteral("Записать параметр")));
    FActions.SetWork(acRead, [this] { ReadParam(acRead->data().toInt()); });
    FActions.SetWork(acWrite, [this] { WriteParam(acWrite->data().toInt()); });
}

int TfmControllers::ParamTag() const
{
    return acRead->data().toInt();
}

void TfmControllers::UpdateActions()
{
    FActions.UpdateAll();
}

TCommPort& TfmControllers::CommandPort() const
{
    if (!Port)
        throw EPortException("Порт обмена не задан");
    return *Port;
}

uint8_t TfmControllers::Address() const
{
    return static_cast<uint8_t>(edAddr->value());
}

uint8_t TfmControllers::SubIndex(int code) const
{
    if (code == 332)
        return static_cast<uint8_t>(ed332_1->value());
    if (IsCorrection(code))
        return static_cast<uint8_t>(code - 3050);
    return 0;
}

void TfmControllers::btGetAddrClick()
{
    edAddr->setValue(ReadControllerID(CommandPort()));
}

void TfmControllers::btSetAddrClick()
{
    // Addresses above 249 are the program's own, "any controller" and other reserved ones: a
    // controller given one could no longer be told apart on the line.
    const int newAddress = edAddr->value();
    if (newAddress > kHighestControllerAddress)
        throw EPortException("Адрес контроллера должен быть от 0 до 249");
    uint8_t address = ReadControllerID(CommandPort());
    SetControllerAddress(CommandPort(), address, static_cast<uint8_t>(newAddress));
    edAddr->setValue(address);
}

void TfmControllers::btGetTimeClick()
{
    const QDateTime clock = ToQDateTime(GetControllerTime(CommandPort(), Address()));
    edDate->setDate(clock.date());
    edTime->setTime(clock.time());
}

void TfmControllers::btSetTimeClick()
{
    TDateTime value = 0;
    if (AskUser(this, QMessageBox::Question, QStringLiteral("Установить текущее время компьютера?"),
                QMessageBox::Yes | QMessageBox::No)
        == QMessageBox::Yes) {
        value = Now();
    } else {
        const QDate date = edDate->date();
        const QTime time = edTime->time();
        value = EncodeDate(date.year(), date.month(), date.day())
                + EncodeTime(time.hour(), time.minute(), time.second(), time.msec());
    }
    SetControllerTime(CommandPort(), Address(), value);
}

void TfmControllers::btClearArchiveClick()
{
    ClearMeasureArchive(CommandPort(), Address(), static_cast<uint16_t>(edClrTO->value()));
}

void TfmControllers::ReadParam(int code)
{
    if (!IsKnownParam(code))
        return;
    const uint16_t number = ParamNumber(code);
    DynByteArray block;
    PutWord(block, number);
    block.insert(block.end(), {SubIndex(code), 0, 0});
    ReadControllerParam(CommandPort(), Address(), block);
    // The value starts at octet 2; a reply too short for it changes no control.
    controller_command::RequireLength(block, 2 + ValueSize(code), Address());

    const auto word = [&block](size_t at) { return controller_command::Word(block, at); };
    switch (code) {
    case 300: ed300->setValue(block[2]); break;
    case 301: ed301->setValue(word(2)); break;
    case 302: ed302->setValue(word(2)); break;
    case 303: ed303->setValue(word(2)); break;
    case 304:
        ed304_1->setValue(word(2));
        ed304_2->setValue(word(4));   // a denominator of 0 shows as the control's least, 1
        break;
    case 332: ed332_2->setValue(block[2]); break;
    default: ed305[size_t(code - 3051)]->setValue(static_cast<int8_t>(block[2])); break;
    }
}

void TfmControllers::WriteParam(int code)
{
    if (!IsKnownParam(code))
        return;
    DynByteArray block{kWriteMark};
    PutWord(block, ParamNumber(code));
    block.insert(block.end(), {SubIndex(code), 0});
    switch (code) {
    case 300: block.push_back(static_cast<uint8_t>(ed300->value())); break;
    case 301: PutWord(block, ed301->value()); break;
    case 302: PutWord(block, ed302->value()); break;
    case 303: PutWord(block, ed303->value()); break;
    case 304:
        PutWord(block, ed304_1->value());
        PutWord(block, ed304_2->value());
        break;
    case 332: block.push_back(static_cast<uint8_t>(ed332_2->value())); break;
    default: block.push_back(static_cast<uint8_t>(static_cast<int8_t>(ed305[size_t(code - 3051)]->value()))); break;
    }
    WriteControllerParam(CommandPort(), Address(), block);
}

void TfmControllers::ReadAllParams()
{
    for (int code : kAllParams)
        ReadParam(code);
}

void TfmControllers::WriteAllParams()
{
    for (int code : kAllParams)
        WriteParam(code);
}

void TfmControllers::ed304Change()
{
    const int denominator = ed304_2->value();
    FKUpdating = true;
    edK->setValue(denominator == 0 ? double(std::numeric_limits<int32_t>::max())
                                   : double(ed304_1->value()) / denominator);
    FKUpdating = false;
}

void TfmControllers::edKExit()
{
    if (FKUpdating)
        return;
    TBusyCursor cursor;
    const TFraction found = FindCoefficientFraction(edK->value());
    if (found.Numerator != ed304_1->value() || found.Denominator != ed304_2->value()) {
        ed304_1->setValue(found.Numerator);
        ed304_2->setValue(found.Denominator);
    }
    ed304Change();
}
