// The controllers dialog: its controls, the polling settings it copies and writes back, and its
// commands to the data-collecting controller over a simulated line.
#include "ScriptedModal.h"
#include "comm/ControllerLine.h"
#include "comm/FT3TestUtil.h"

#include "app/dialogs/CoefficientFraction.h"
#include "comm/FT3Exceptions.h"
#include "app/dialogs/FControllers.h"
#include "app/widgets/FlatPageControl.h"
#include "core/Parameters.h"

#include <QAction>
#include <QApplication>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTimeEdit>
#include <QToolButton>

#include <cmath>

namespace {

QStringList LabelTexts(QWidget* parent)
{
    QStringList texts;
    for (QLabel* label : parent->findChildren<QLabel*>())
        texts << label->text();
    return texts;
}

// Puts the focus into a control of the shown dialog, as a click or a tab would.
void Enter(QWidget* control)
{
    QWidget* window = control->window();
    if (!window->isVisible())
        window->show();
    window->activateWindow();
    for (int i = 0; i < 50 && QApplication::activeWindow() != window; ++i)
        QApplication::processEvents();
    control->setFocus(Qt::OtherFocusReason);
    QApplication::processEvents();
}

class ControllersSettingsTest : public ::testing::Test {
protected:
    Parameters Settings;
    TScriptedModal modal;
};

} // namespace

TEST_F(ControllersSettingsTest, ControlsCarryTheirNamesAndCaptions)
{
    TfmControllers dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Используемое оборудование"));
    ASSERT_EQ(dialog.pcInDevice->Count(), 2);
    EXPECT_EQ(dialog.pcInDevice->PageCaption(0), QStringLiteral("Контроллеры силосов"));
    EXPECT_EQ(dialog.pcInDevice->PageCaption(1), QStringLiteral("Контроллер сбора данных"));
    EXPECT_EQ(dialog.pcInDevice->Page(0), dialog.tsSilosControllers);
    EXPECT_EQ(dialog.pcInDevice->Page(1), dialog.tsDataCollector);
    EXPECT_TRUE(dialog.pcInDevice->PageButton(0)->autoRaise());   // flat buttons

    // Every named control, with its range.
    struct Spin {
        const char* name;
        int minimum, maximum;
    };
    const Spin spins[] = {{"edCount", 1, 999}, {"edPauseOn", 0, 65535}, {"edPauseOff", 0, 65535},
        {"edPauseGetData", 0, 65535}, {"edTOSelect", 0, 65535}, {"edTOGetData", 0, 65535}, {"edAddr", 0, 255},
        {"edClrTO", 0, 65535}, {"edMaxGet", 1, 5}, {"ed332_1", 0, 7}, {"ed332_2", 0, 255}, {"ed300", 0, 255},
        {"ed301", 0, 65535}, {"ed302", 0, 65535}, {"ed303", 0, 65535}, {"ed304_1", 0, 65535},
        {"ed304_2", 1, 65535}, {"ed305_1", -99, 99}, {"ed305_6", -99, 99}};
    for (const Spin& spin : spins) {
        SCOPED_TRACE(spin.name);
        auto* box = dialog.findChild<QSpinBox*>(QString::fromLatin1(spin.name));
        ASSERT_TRUE(box);
        EXPECT_EQ(box->minimum(), spin.minimum);
        EXPECT_EQ(box->maximum(), spin.maximum);
    }
    for (const char* name : {"edCount", "edPauseOn", "edTOGetData"})
        EXPECT_TRUE(dialog.tsSilosControllers->isAncestorOf(dialog.findChild<QSpinBox*>(name))) << name;
    for (const char* name : {"edAddr", "edClrTO", "edMaxGet", "ed304_1", "ed305_3"})
        EXPECT_TRUE(dialog.tsDataCollector->isAncestorOf(dialog.findChild<QSpinBox*>(name))) << name;
    EXPECT_TRUE(dialog.findChild<QDateEdit*>("edDate"));
    EXPECT_TRUE(dialog.findChild<QTimeEdit*>("edTime"));
    ASSERT_TRUE(dialog.findChild<QDoubleSpinBox*>("edK"));
    EXPECT_EQ(dialog.edK->decimals(), 4);
    EXPECT_EQ(dialog.findChild<QToolButton*>("btRead")->defaultAction(), dialog.acRead);
    EXPECT_EQ(dialog.findChild<QToolButton*>("btWrite")->defaultAction(), dialog.acWrite);

    QStringList buttons;
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
        buttons << button->text();
    buttons.sort();
    QStringList expectedButtons{"Запрос времени", "Установить время", "Запрос адреса", "Установить адрес",
        "Очистить архив", "Записать все параметры", "Считать все параметры", "Сохранить"};
    expectedButtons.sort();
    EXPECT_EQ(buttons, expectedButtons);

    QStringList groups;
    for (QGroupBox* group : dialog.findChildren<QGroupBox*>())
        groups << group->title();
    for (const char* title : {"Время в контроллере", "Адрес контроллера", "Архив измерений",
             "Параметры контроллера", "Адрес порта", "Резисторы", "Коэффициент преобразования",
             "Коэффициенты коррекции температуры"})
        EXPECT_TRUE(groups.contains(QString::fromUtf8(title))) << title;

    const QStringList silosLabels = LabelTexts(dialog.tsSilosControllers);
    for (const char* text : {"Данные запрашиваются прямо у контроллеров установленных на силосах",
             "Число опросов каждого датчика",
             "Пауза между командой включения модуля и командами запроса данных из модуля",
             "Пауза между командой отключения модуля и включения следующего модуля",
             "Пауза между командами запроса данных из выбранного модуля",
             "Максимальное время ожидания ответа на команду \"Выбор модуля\"",
             "Максимальное время ожидания ответа на команду \"Запрос данных\""})
        EXPECT_TRUE(silosLabels.contains(QString::fromUtf8(text))) << text;
    EXPECT_EQ(silosLabels.count(QStringLiteral("мс.")), 5);

    const QStringList collectorLabels = LabelTexts(dialog.tsDataCollector);
    for (const char* text : {"Архив данных считывается из контроллера сбора данных", "Адрес", "(0..249)",
             "Время выполнения очистки архива", "сек.", "Макс. число силосов в одном запросе", "Номер порта",
             "Терморезистор", "Делитель R1", "Делитель R2", "Измерительный шунт", "К=", "/", "=", "Канал №1",
             "Канал №6"})
        EXPECT_TRUE(collectorLabels.contains(QString::fromUtf8(text))) << text;
    EXPECT_EQ(collectorLabels.count(QStringLiteral("Ом")), 4);
}

TEST_F(ControllersSettingsTest, SettingsAreCopiedInAndWrittenBackOnlyOnSave)
{
    Settings.ControllerKind = 0;
    Settings.PollRepeats = 4;
    Settings.PauseMBOn = 110;
    Settings.PauseMBOff = 120;
    Settings.PauseRequest = 130;
    Settings.TimeoutMBSelect = 140;
    Settings.TimeoutData = 150;
    Settings.ArchiveAddr = 17;
    Settings.TimeoutArchiveClear = 70;
    Settings.ArchiveBlockSize = 3;
    const Parameters before = Settings;

    const auto edit = [](TfmControllers& d) {
        EXPECT_EQ(d.pcInDevice->CurrentIndex(), 0);
        EXPECT_EQ(d.edCount->value(), 4);
        EXPECT_EQ(d.edPauseOn->value(), 110);
        EXPECT_EQ(d.edPauseOff->value(), 120);
        EXPECT_EQ(d.edPauseGetData->value(), 130);
        EXPECT_EQ(d.edTOSelect->value(), 140);
        EXPECT_EQ(d.edTOGetData->value(), 150);
        EXPECT_EQ(d.edAddr->value(), 17);
        EXPECT_EQ(d.edClrTO->value(), 70);
        EXPECT_EQ(d.edMaxGet->value(), 3);
        d.edCount->setValue(999);
        d.edPauseOn->setValue(0);
        d.edPauseOff->setValue(65535);
        d.edPauseGetData->setValue(5);
        d.edTOSelect->setValue(6);
        d.edTOGetData->setValue(7);
        d.edAddr->setValue(249);
        d.edClrTO->setValue(65535);
        d.edMaxGet->setValue(1);
    };

    // Closed any other way, the dialog changes nothing.
    modal.ThenDialog([&](QDialog& shown) {
        edit(static_cast<TfmControllers&>(shown));
        return int(QDialog::Rejected);
    });
    ShowControllers(&modal.Window, Settings, nullptr);
    EXPECT_EQ(Settings.PollRepeats, 4);
    EXPECT_EQ(Settings.PauseMBOff, 120);
    EXPECT_EQ(Settings.ArchiveAddr, 17);

    modal.ThenDialog([&](QDialog& shown) {
        auto& d = static_cast<TfmControllers&>(shown);
        edit(d);
        return TScriptedModal::Press(d, d.btSave);
    });
    ShowControllers(&modal.Window, Settings, nullptr);
    EXPECT_EQ(modal.shownDialogs.back(), QStringLiteral("TfmControllers"));
    EXPECT_EQ(Settings.ControllerKind, 0);
    EXPECT_EQ(Settings.PollRepeats, 999);
    EXPECT_EQ(Settings.PauseMBOn, 0);
    EXPECT_EQ(Settings.PauseMBOff, 65535);
    EXPECT_EQ(Settings.PauseRequest, 5);
    EXPECT_EQ(Settings.TimeoutMBSelect, 6);
    EXPECT_EQ(Settings.TimeoutData, 7);
    EXPECT_EQ(Settings.ArchiveAddr, 249);
    EXPECT_EQ(Settings.TimeoutArchiveClear, 65535);
    EXPECT_EQ(Settings.ArchiveBlockSize, 1);
    // Nothing else in the settings moves.
    Parameters others = Settings;
    TfmControllers copy;
    copy.LoadSettings(before);
    copy.StoreSettings(others);
    EXPECT_EQ(others.MaxT, before.MaxT);
    EXPECT_EQ(others.CalcProc, before.CalcProc);
}

TEST_F(ControllersSettingsTest, AnAddressOutsideTheControllersRangeIsKeptAsItIs)
{
    // "Any controller" may be kept on purpose for a line with one controller.
    Settings.ArchiveAddr = 254;
    modal.ThenDialog([](QDialog& shown) {
        auto& d = static_cast<TfmControllers&>(shown);
        EXPECT_EQ(d.edAddr->value(), 254);
        return TScriptedModal::Press(d, d.btSave);
    });
    ShowControllers(&modal.Window, Settings, nullptr);
    EXPECT_EQ(Settings.ArchiveAddr, 254);
}

TEST_F(ControllersSettingsTest, ArchiveReadingIsReachedOnlyFromTheSettings)
{
    Settings.ControllerKind = 1;
    modal.ThenDialog([](QDialog& shown) {
        auto& d = static_cast<TfmControllers&>(shown);
        d.show();
        EXPECT_EQ(d.pcInDevice->CurrentIndex(), 1);
        EXPECT_TRUE(d.tsDataCollector->isVisible());
        // Only the live-polling page has a button; pressing it leaves the archive page for good.
        QToolButton* silosButton = d.pcInDevice->PageButton(0);
        EXPECT_TRUE(silosButton->isVisible());
        EXPECT_FALSE(silosButton->isChecked());
        EXPECT_FALSE(d.pcInDevice->PageButton(1)->isVisible());
        silosButton->click();
        EXPECT_EQ(d.pcInDevice->CurrentIndex(), 0);
        EXPECT_TRUE(silosButton->isChecked());
        EXPECT_TRUE(d.tsSilosControllers->isVisible());
        EXPECT_FALSE(d.tsDataCollector->isVisible());
        return TScriptedModal::Press(d, d.btSave);
    });
    ShowControllers(&modal.Window, Settings, nullptr);
    EXPECT_EQ(Settings.ControllerKind, 0);

    // Opened on live polling (or on a kind it does not know), it stays there.
    for (int kind : {0, 7}) {
        Settings.ControllerKind = kind;
        modal.ThenDialog([](QDialog& shown) {
            auto& d = static_cast<TfmControllers&>(shown);
            d.show();
            EXPECT_EQ(d.pcInDevice->CurrentIndex(), 0);
            EXPECT_FALSE(d.pcInDevice->PageButton(1)->isVisible());
            EXPECT_FALSE(d.tsDataCollector->isVisible());
            return TScriptedModal::Press(d, d.btSave);
        });
        ShowControllers(&modal.Window, Settings, nullptr);
        EXPECT_EQ(Settings.ControllerKind, 0);
    }
}

namespace {

// The dialog on the archive page, its port on the simulated line, the collector at its address.
class ControllersLineTest : public ControllerLine {
protected:
    // What a command raises inside the dialog is logged in red, as the main window has it.
    ControllersLineTest()
    {
        modal.Interaction.SetExceptionSink([this](const std::string& message) {
            std::lock_guard hold(logMutex);
            log.push_back({message, kLogError});
        });
        modal.Serve(dialog);
    }

    void SetUp() override
    {
        ControllerLine::SetUp();
        Settings.ControllerKind = 1;
        Settings.ArchiveAddr = kCollectorAddress;
        dialog.LoadSettings(Settings);
        dialog.Port = &port;
    }

    std::vector<std::string> Errors() const
    {
        std::vector<std::string> errors;
        for (const LogLine& line : Log())
            if (line.colour == kLogError)
                errors.push_back(line.text);
        return errors;
    }

    // The parameter blocks the line received, after the request's fixed part and 00 01.
    std::vector<DynByteArray> ParamBlocks() const
    {
        std::vector<DynByteArray> blocks;
        for (const DynByteArray& request : Requests())
            if (request.size() > 8 && (request[5] == 7 || request[5] == 37))
                blocks.emplace_back(request.begin() + 8, request.end());
        return blocks;
    }

    Parameters Settings;
    TScriptedModal modal;
    TfmControllers dialog;
};

// One day's difference in whole seconds.
int SecondsApart(TDateTime a, TDateTime b)
{
    return int(std::lround(std::fabs(a - b) * kSecsPerDay));
}

TDateTime ShownClock(const TfmControllers& dialog)
{
    const QDate date = dialog.edDate->date();
    const QTime time = dialog.edTime->time();
    return EncodeDate(date.year(), date.month(), date.day())
           + EncodeTime(time.hour(), time.minute(), time.second(), time.msec());
}

} // namespace

TEST_F(ControllersLineTest, AddressIsAskedOfAnyControllerAndGivenToIt)
{
    dialog.edAddr->setValue(0);
    dialog.btGetAddr->click();
    EXPECT_EQ(dialog.edAddr->value(), kCollectorAddress);
    EXPECT_EQ(Requests().back(), Hex("D3 FE FA 00 00 01"));

    // Setting it asks for the present address first and shows where the reply came from.
    sim.ClearExchanges();
    dialog.edAddr->setValue(42);
    dialog.btSetAddr->click();
    EXPECT_EQ(Requests(), (std::vector<DynByteArray>{Hex("D3 FE FA 00 00 01"), Hex("D3 07 FA 00 00 03 2A")}));
    EXPECT_EQ(collector->Address(), 42);
    EXPECT_EQ(dialog.edAddr->value(), 42);
    EXPECT_TRUE(Errors().empty());
}

TEST_F(ControllersLineTest, NoControllerIsGivenAnAddressItMayNotTake)
{
    dialog.edAddr->setValue(254);
    dialog.btSetAddr->click();
    EXPECT_TRUE(Requests().empty());
    EXPECT_EQ(Errors(), std::vector<std::string>{"Адрес контроллера должен быть от 0 до 249"});
    EXPECT_EQ(collector->Address(), kCollectorAddress);
}

TEST_F(ControllersLineTest, ClockIsReadAndSet)
{
    const TDateTime clock = EncodeDateTime(2024, 2, 29, 23, 59, 40, 0);
    collector->SetClock(clock);
    dialog.btGetTime->click();
    EXPECT_LE(SecondsApart(ShownClock(dialog), clock), 1);
    EXPECT_EQ(Requests().back(), Hex("DB 07 FA 00 00 3B"));

    // No: the date and time of the controls.
    dialog.edDate->setDate(QDate(2023, 7, 1));
    dialog.edTime->setTime(QTime(6, 5, 4));
    modal.ThenAnswer(QMessageBox::No);
    dialog.btSetTime->click();
    ASSERT_EQ(modal.questions.size(), 1u);
    EXPECT_EQ(modal.questions[0], QStringLiteral("Установить текущее время компьютера?"));
    EXPECT_LE(SecondsApart(collector->Clock(), EncodeDateTime(2023, 7, 1, 6, 5, 4, 0)), 1);

    // Yes: the computer's time now.
    modal.ThenAnswer(QMessageBox::Yes);
    dialog.btSetTime->click();
    EXPECT_LE(SecondsApart(collector->Clock(), Now()), 1);
    EXPECT_TRUE(Errors().empty());
}

TEST_F(ControllersLineTest, ArchiveIsClearedWithTheDialogsTimeOut)
{
    collector->SetArchive({ft3sim::EncodeArchiveRecord(1, {1, 2, 3, 4, 5, 6}, EncodeDate(2024, 1, 1))});
    // Clearing takes longer than any ordinary reply but less than the time-out given.
    collector->SetClearDuration(std::chrono::milliseconds(1200));
    dialog.edClrTO->setValue(3);
    dialog.btClearArchive->click();
    EXPECT_EQ(collector->ArchiveClears(), 1);
    EXPECT_TRUE(collector->Archive().empty());
    EXPECT_TRUE(Errors().empty());
    EXPECT_EQ(Log().back(), Plain("Ok"));
}

TEST_F(ControllersLineTest, EveryParameterIsReadIntoItsControls)
{
    collector->SetParameter(332, 5, {0xC8});
    collector->SetParameter(300, 0, {0xFF});
    collector->SetParameter(301, 0, {0x34, 0x12});
    collector->SetParameter(302, 0, {0xFF, 0xFF});
    collector->SetParameter(303, 0, {0x00, 0x01});
    collector->SetParameter(304, 0, {0x07, 0x00, 0x03, 0x00});
    for (uint8_t channel = 1; channel <= 6; ++channel)
        collector->SetParameter(305, channel, {static_cast<uint8_t>(channel % 2 ? 0xF6 : channel * 10)});
    dialog.ed332_1->setValue(5);

    dialog.btReadAll->click();
    EXPECT_TRUE(Errors().empty());
    EXPECT_EQ(dialog.ed332_2->value(), 200);
    EXPECT_EQ(dialog.ed300->value(), 255);
    EXPECT_EQ(dialog.ed301->value(), 0x1234);
    EXPECT_EQ(dialog.ed302->value(), 65535);
    EXPECT_EQ(dialog.ed303->value(), 256);
    EXPECT_EQ(dialog.ed304_1->value(), 7);
    EXPECT_EQ(dialog.ed304_2->value(), 3);
    EXPECT_EQ(dialog.edK->value(), 2.3333);
    for (int channel = 1; channel <= 6; ++channel)
        EXPECT_EQ(dialog.ed305[channel - 1]->value(), channel % 2 ? -10 : channel * 10) << channel;

    // In the order of the table, each with its number and sub-index.
    EXPECT_EQ(ParamBlocks(), (std::vector<DynByteArray>{Hex("4C 01 05 00 00"), Hex("2C 01 00 00 00"),
        Hex("2D 01 00 00 00"), Hex("2E 01 00 00 00"), Hex("2F 01 00 00 00"), Hex("30 01 00 00 00"),
        Hex("31 01 01 00 00"), Hex("31 01 02 00 00"), Hex("31 01 03 00 00"), Hex("31 01 04 00 00"),
        Hex("31 01 05 00 00"), Hex("31 01 06 00 00")}));
}

TEST_F(ControllersLineTest, EveryParameterIsWrittenFromItsControls)
{
    dialog.ed332_1->setValue(7);
    dialog.ed332_2->setValue(201);
    dialog.ed300->setValue(51);
    dialog.ed301->setValue(1000);
    dialog.ed302->setValue(65535);
    dialog.ed303->setValue(100);
    dialog.ed304_1->setValue(7);
    dialog.ed304_2->setValue(3);
    for (int channel = 1; channel <= 6; ++channel)
        dialog.ed305[channel - 1]->setValue(channel % 2 ? -99 : 99);

    dialog.btWriteAll->click();
    EXPECT_TRUE(Errors().empty());
    EXPECT_EQ(ParamBlocks(), (std::vector<DynByteArray>{Hex("57 4C 01 07 00 C9"), Hex("57 2C 01 00 00 33"),
        Hex("57 2D 01 00 00 E8 03"), Hex("57 2E 01 00 00 FF FF"), Hex("57 2F 01 00 00 64 00"),
        Hex("57 30 01 00 00 07 00 03 00"), Hex("57 31 01 01 00 9D"), Hex("57 31 01 02 00 63"),
        Hex("57 31 01 03 00 9D"), Hex("57 31 01 04 00 63"), Hex("57 31 01 05 00 9D"), Hex("57 31 01 06 00 63")}));
    EXPECT_EQ(collector->Parameter(332, 7), DynByteArray{201});
    EXPECT_EQ(collector->Parameter(304, 0), Hex("07 00 03 00"));
    EXPECT_EQ(collector->Parameter(305, 1), DynByteArray{0x9D});
}

TEST_F(ControllersLineTest, AFailureStopsTheSequenceAndKeepsTheControls)
{
    // A controller that names another parameter in its replies: the first write fails.
    collector->SetReportedParameterNumber(999);
    dialog.btWriteAll->click();
    EXPECT_EQ(ParamBlocks().size(), 1u);
    EXPECT_EQ(Errors(), std::vector<std::string>{"При выполнении команды \"Записать параметр 332\", принят код параметра 999"});
    collector->SetReportedParameterNumber(std::nullopt);

    // A value shorter than the parameter's: reading stops there, its control unchanged.
    ClearLog();
    sim.ClearExchanges();
    collector->SetParameter(302, 0, {0x05});
    dialog.ed302->setValue(77);
    dialog.ed303->setValue(88);
    dialog.btReadAll->click();
    EXPECT_EQ(ParamBlocks().size(), 4u);
    EXPECT_EQ(dialog.ed301->value(), 1000);
    EXPECT_EQ(dialog.ed302->value(), 77);
    EXPECT_EQ(dialog.ed303->value(), 88);
    EXPECT_EQ(Errors(), std::vector<std::string>{"Не совпала длина при ответе от контроллера с адресом 7"});

    // The same for the two words of the coefficient when only one comes.
    collector->SetParameter(304, 0, {0x09, 0x00});
    dialog.ed304_1->setValue(5);
    dialog.ed304_2->setValue(4);
    EXPECT_THROW(dialog.ReadParam(304), ENoReply);
    EXPECT_EQ(dialog.ed304_1->value(), 5);
    EXPECT_EQ(dialog.ed304_2->value(), 4);
}

TEST_F(ControllersLineTest, EnteringAControlChoosesTheSingleParameter)
{
    dialog.UpdateActions();
    EXPECT_FALSE(dialog.acRead->isEnabled());
    EXPECT_FALSE(dialog.acWrite->isEnabled());

    struct Case {
        QWidget* control;
        int code;
        const char* name;
    };
    const Case cases[] = {
        {dialog.ed332_1, 332, "\"Адрес порта\""},
        {dialog.ed332_2, 332, "\"Адрес порта\""},
        {dialog.ed300, 300, "\"Сопротивление терморезистора\""},
        {dialog.ed301, 301, "\"Сопротивление делителя R1\""},
        {dialog.ed302, 302, "\"Сопротивление делителя R2\""},
        {dialog.ed303, 303, "\"Сопротивление измерительного\nшунта\""},
        {dialog.ed304_1, 304, "\"Коэффициент преобразования\""},
        {dialog.ed304_2, 304, "\"Коэффициент преобразования\""},
        {dialog.ed305[0], 3051, "\"Коэффициент коррекции\nканал №1\""},
        {dialog.ed305[5], 3056, "\"Коэффициент коррекции\nканал №6\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.control->objectName().toStdString());
        Enter(c.control);
        EXPECT_EQ(dialog.ParamTag(), c.code);
        EXPECT_TRUE(dialog.acRead->isEnabled());
        EXPECT_TRUE(dialog.acWrite->isEnabled());
        // "Cчитать" begins with the Latin C, as the operators have always seen it.
        EXPECT_EQ(dialog.acRead->text(), QStringLiteral("Cчитать параметр\n") + QString::fromUtf8(c.name));
        EXPECT_EQ(dialog.acWrite->text(), QStringLiteral("Записать параметр\n") + QString::fromUtf8(c.name));
        EXPECT_EQ(dialog.btRead->text(), dialog.acRead->text());
    }

    // The coefficient itself is no parameter.
    Enter(dialog.edK);
    EXPECT_EQ(dialog.ParamTag(), -1);
    EXPECT_FALSE(dialog.acRead->isEnabled());
    EXPECT_FALSE(dialog.acWrite->isEnabled());
    EXPECT_FALSE(dialog.btRead->isEnabled());
    EXPECT_FALSE(dialog.btWrite->isEnabled());
}

TEST_F(ControllersLineTest, TheSingleParameterButtonsReadAndWriteTheEnteredOne)
{
    collector->SetParameter(305, 3, {0xF6});
    Enter(dialog.ed305[2]);
    dialog.btRead->click();
    EXPECT_EQ(dialog.ed305[2]->value(), -10);
    EXPECT_EQ(ParamBlocks(), std::vector<DynByteArray>{Hex("31 01 03 00 00")});

    Enter(dialog.ed304_2);
    dialog.ed304_1->setValue(7);
    dialog.ed304_2->setValue(3);
    dialog.btWrite->click();
    EXPECT_EQ(ParamBlocks().back(), Hex("57 30 01 00 00 07 00 03 00"));
    EXPECT_TRUE(Errors().empty());
    EXPECT_EQ(ParamBlocks().size(), 2u);
}

TEST_F(ControllersLineTest, CoefficientFollowsItsFractionAndTheFractionItsValue)
{
    dialog.ed304_1->setValue(10);
    dialog.ed304_2->setValue(4);
    EXPECT_EQ(dialog.edK->value(), 2.5);

    // Typed and left: the first fraction close enough takes the two words.
    Enter(dialog.edK);
    dialog.edK->setValue(4.6729);
    Enter(dialog.ed300);
    const TFraction expected = FindCoefficientFraction(4.6729);
    EXPECT_LE(std::fabs(double(expected.Numerator) / expected.Denominator - 4.6729), kFractionTolerance);
    EXPECT_EQ(dialog.ed304_1->value(), expected.Numerator);
    EXPECT_EQ(dialog.ed304_2->value(), expected.Denominator);
    EXPECT_EQ(dialog.edK->value(), std::round(double(expected.Numerator) / expected.Denominator * 1e4) / 1e4);

    // Left unchanged, an unreduced fraction gives way to the first equal one.
    dialog.ed304_1->setValue(10);
    dialog.ed304_2->setValue(4);
    Enter(dialog.edK);
    Enter(dialog.ed300);
    EXPECT_EQ(dialog.ed304_1->value(), 5);
    EXPECT_EQ(dialog.ed304_2->value(), 2);
    EXPECT_EQ(dialog.edK->value(), 2.5);

    // Another window coming up is no leaving of the control.
    dialog.ed304_1->setValue(10);
    dialog.ed304_2->setValue(4);
    Enter(dialog.edK);
    QWidget other;
    other.show();
    other.activateWindow();
    for (int i = 0; i < 50 && QApplication::activeWindow() != &other; ++i)
        QApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), &other);
    EXPECT_EQ(dialog.ed304_1->value(), 10);
    EXPECT_EQ(dialog.ed304_2->value(), 4);

    // Setting the words from a read does not search, whatever has the focus.
    Enter(dialog.edK);
    collector->SetParameter(304, 0, {0x0A, 0x00, 0x04, 0x00});
    dialog.ReadParam(304);
    EXPECT_EQ(dialog.ed304_1->value(), 10);
    EXPECT_EQ(dialog.ed304_2->value(), 4);
    EXPECT_EQ(dialog.edK->value(), 2.5);
}
