// The local-block dialog: switching a block through the commutator of a simulated line, the
// retries and the result line.
#include "ScriptedModal.h"
#include "comm/ControllerLine.h"
#include "comm/FT3TestUtil.h"

#include "app/dialogs/FMBDrive.h"
#include "core/Exchange/CommutatorCommands.h"
#include "core/Monitor.h"

#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

namespace {

class MBDriveTest : public ControllerLine {
protected:
    // The dialog works in a context of its own, whose line is the simulated one and whose log
    // lines are kept with the fixture's.
    MBDriveTest()
    {
        HardConfig = std::make_unique<THardConfig>(5, 2, 6);
        // Generous for replies that come; the tests of silence shorten it.
        Settings.TimeoutData = 2000;
        QObject::connect(&monitor.Log, &TExchangeLog::Line, &monitor.Log, [this](const QString& text, TColor colour) {
            std::lock_guard hold(logMutex);
            log.push_back({text.toStdString(), colour});
        }, Qt::DirectConnection);
    }
    void SetUp() override
    {
        sim.AddDevice(collector);
        sim.Start();
        ASSERT_NO_FATAL_FAILURE(OpenOnSimulatedLine(monitor.SharedCommPort.Port, home, sim, kPortNumber, QuickTimeOuts()));
        dialog.FormShow();
    }

    void Switch(int block, QPushButton* button)
    {
        dialog.edMB->setValue(block);
        button->click();
    }
    QString Result() const { return dialog.lbResult->text(); }

    // The attempt octets of the switch commands the commutator received.
    std::vector<int> Attempts() const
    {
        std::vector<int> attempts;
        for (const DynByteArray& request : Requests())
            attempts.push_back(request.at(8));
        return attempts;
    }

    static ft3sim::FaultRule Silence(int times)
    {
        ft3sim::FaultRule rule;
        rule.address = 0;
        rule.times = times;
        rule.faults.silent = true;
        return rule;
    }

    TMonitor monitor;
    Parameters& Settings = monitor.Settings;
    std::unique_ptr<THardConfig>& HardConfig = monitor.HardConfig;
    TScriptedModal modal;
    TfmMBDrive dialog{monitor, &modal.Window};
};

} // namespace

TEST_F(MBDriveTest, ControlsAndTheBlockRange)
{
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Управление местным блоком"));
    EXPECT_EQ(dialog.findChild<QSpinBox*>("edMB"), dialog.edMB);
    EXPECT_EQ(dialog.findChild<QPushButton*>("btOn")->text(), QStringLiteral("Включить"));
    EXPECT_EQ(dialog.findChild<QPushButton*>("btOff")->text(), QStringLiteral("Отключить"));
    EXPECT_EQ(dialog.findChild<QLabel*>("lbResult"), dialog.lbResult);
    QStringList labels;
    for (QLabel* label : dialog.findChildren<QLabel*>())
        labels << label->text();
    EXPECT_TRUE(labels.contains(QStringLiteral("Местный блок")));

    EXPECT_EQ(dialog.edMB->minimum(), 1);
    EXPECT_EQ(dialog.edMB->maximum(), 5);
    // Each showing takes the range anew and empties the result line.
    HardConfig = std::make_unique<THardConfig>(1, 2, 6);
    Settings.NoCom = true;
    dialog.btOn->click();
    EXPECT_FALSE(Result().isEmpty());
    modal.ThenDialog([this](QDialog& shown) {
        EXPECT_EQ(&shown, &dialog);
        EXPECT_TRUE(Result().isEmpty());
        EXPECT_EQ(dialog.edMB->maximum(), 1);
        dialog.edMB->setValue(2);
        EXPECT_EQ(dialog.edMB->value(), 1);
        return int(QDialog::Rejected);
    });
    dialog.ShowModal();
}

TEST_F(MBDriveTest, SwitchingABlockOnAndOff)
{
    Switch(3, dialog.btOn);
    EXPECT_EQ(Requests(), std::vector<DynByteArray>{Hex("DB 00 FA 00 00 50 02 01 00")});
    EXPECT_EQ(sim.commutator().BlockOn(), 2);
    EXPECT_EQ(Result(), QStringLiteral("МБ включить - успешно"));
    // The frame sent in blue, the commutator's reply in green.
    EXPECT_EQ(Log(), (std::vector<LogLine>{Blue(BytesToHex(LastFrame())), {BytesToHex(LastReply()), kLogReply}}));

    Switch(3, dialog.btOff);
    EXPECT_EQ(Requests().back(), Hex("DB 00 FA 00 00 50 02 00 00"));
    EXPECT_EQ(sim.commutator().BlockOn(), -1);
    EXPECT_EQ(Result(), QStringLiteral("МБ отключить - успешно"));
}

TEST_F(MBDriveTest, AFailedAttemptIsTriedAgainWithTheNextNumber)
{
    Settings.TimeoutData = 300;
    sim.AddFault(Silence(2));
    Switch(1, dialog.btOn);
    EXPECT_EQ(Attempts(), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(Requests()[1], Hex("DB 00 FA 00 00 50 00 01 01"));
    EXPECT_EQ(sim.commutator().BlockOn(), 0);
    EXPECT_EQ(Result(), QStringLiteral("МБ включить - успешно"));
}

TEST_F(MBDriveTest, FifteenFailuresLeaveTheLastMessage)
{
    Settings.TimeoutData = 60;
    sim.AddFault(Silence(-1));
    Switch(2, dialog.btOff);
    std::vector<int> expected(kSwitchAttempts);
    for (int i = 0; i < kSwitchAttempts; ++i)
        expected[size_t(i)] = i;
    EXPECT_EQ(Attempts(), expected);
    EXPECT_TRUE(Result().startsWith(QStringLiteral("МБ отключить - Нет "))) << Result().toStdString();
    EXPECT_TRUE(Result().endsWith(QStringLiteral("для контроллера с адресом 0"))) << Result().toStdString();
    // No message box, no error for the program's handler: the line says it all.
    EXPECT_TRUE(modal.questions.empty());
    for (const LogLine& line : Log())
        EXPECT_NE(line.colour, kLogError) << line.text;
    // The form grows with the line.
    EXPECT_EQ(dialog.height(), dialog.lbResult->height() + 70);
}

TEST_F(MBDriveTest, WithoutAPortTheCommutatorIsTakenToAgree)
{
    Settings.NoCom = true;
    Switch(4, dialog.btOn);
    EXPECT_TRUE(Requests().empty());
    EXPECT_EQ(Result(), QStringLiteral("МБ включить - успешно"));
    DynByteArray frame = Hex("DB 00 FA 00 00 50 03 01 00");
    MakePackageFT31(frame, 0);
    EXPECT_EQ(Log(), (std::vector<LogLine>{Blue(BytesToHex(frame)), {" 80 FA 00 00 00 D0 00 01 00 00", kLogReply}}));
}
