#include "core/Exchange/SendTH.h"

#include "base/Exception.h"
#include "base/Format.h"
#include "base/HexText.h"
#include "comm/FT3DataReply.h"
#include "comm/FT3Exceptions.h"
#include "core/Device/Silos.h"
#include "core/Device/TIT.h"
#include "core/Exchange/CommLine.h"
#include "core/Exchange/CommutatorCommands.h"
#include "core/Exchange/PassRunner.h"
#include "core/LogFile.h"

#include <span>

namespace {

constexpr uint8_t kLocalBlockAddress = 1;
constexpr uint8_t kFunctionData = 0x14;
constexpr uint8_t kDataReplyFunction = kFunctionData | 0x80;
constexpr size_t kFunctionAt = 5;
constexpr size_t kRawReadingSize = 8;
constexpr int kChannelsPerSilos = 6;

QString Text(const std::string& text)
{
    return QString::fromStdString(text);
}

} // namespace

DynByteArray SensorRequest(uint16_t channel)
{
    return {0xDB, kLocalBlockAddress, kFT3OwnAddress, 0x00, 0x00, kFunctionData, 0x10,
            static_cast<uint8_t>(channel & 0xFF), static_cast<uint8_t>(channel >> 8), 0x02};
}

TSendTH::~TSendTH()
{
    // The pass uses this class's members: it must end before they go.
    Terminate();
    WaitFor();
}

TSilos* TSendTH::CurrentSilos() const
{
    return SiloIndex < Silos().size() ? Silos()[SiloIndex] : nullptr;
}

void TSendTH::Execute()
{
    Prepare();
    SiloIndex = 0;
    SensorIndex = 0;
    bool blockOn = false;
    int currentBlock = -1;
    pollStart_ = Now();
    InitProgress();
    // Without its port the pass asks nothing: its sensors show as not replied.
    const bool lineReady = LineReady();
    if (!lineReady) {
        for (const TSilos* silos : Silos())
            InvalidateSilos(*silos);
        SetProgressPosition(ProgressMaximum());
    }

    while (lineReady && !Terminated() && CurrentSilos()) {
        try {
            TSilos& silos = *CurrentSilos();
            const int address = silos.GetMBAddr();
            if (address != currentBlock) {
                currentBlock = address;
                SetStatus(Text(Format("Включение местного блока №%d", address + 1)));
                blockOn = SwitchMB(address, true);
            }
            if (!Terminated() && !blockOn) {
                InvalidateSilos(silos);
                StepProgress(titPerSilos_);
                ++SiloIndex;
                continue;
            }
            if (!Terminated() && silos.TITCount() > 0)
                PollTIT();
            else
                SensorIndex = 0;
            if (!Terminated() && NeedSwitchOff(blockOn)) {
                SetStatus(Text(Format("Отключение местного блока №%d", address + 1)));
                SwitchMB(address, false);
                blockOn = false;
            }
            if (SensorIndex == 0)
                ++SiloIndex;
        } catch (const std::exception& e) {
            PostLineFailure(e.what());
            RaiseCommutatorNoReply();
            break;
        }
    }

    if (blockOn)
        SwitchMB(currentBlock, false);
    emit Runner.PollingEnded();
    CheckAlarms();
    // The relay is switched through the commutator, which a port that did not open cannot reach.
    if (lineReady)
        CheckRelay();
    PostDone();
    PostLog("Опрос завершен", kLogSent);
}

bool TSendTH::JudgesSensor(const TSilos& silos, const TTIT& tit) const
{
    return !silos.IsNeverPolled() && tit.IsInstalled();
}

void TSendTH::InitProgress()
{
    // Every suspension of the tree has the same number of sensors.
    titPerSilos_ = Silos().empty() ? 0 : Silos().front()->TITCount();
    SetProgress(0, titPerSilos_ * static_cast<int>(Silos().size()) * Settings.PollRepeats);
}

void TSendTH::StepProgress(int steps)
{
    SetProgressPosition(ProgressPosition() + steps);
    emit Runner.StepDone(ProgressPosition(), ProgressMaximum());
}

bool TSendTH::SwitchMB(int address, bool on)
{
    try {
        // The commutator reads this target as its relay module: "switching the block on" would
        // sound the alarm and leave the block off.
        if (address == kRelayModule)
            throw Exception(Format("Местный блок №%d не может быть включен: его адрес занят модулем реле", address + 1));
        // Switching on gives up when the pass is stopped; switching off must always go out.
        const bool switched =
            SwitchMBCmd(Line, Settings, Log, static_cast<uint8_t>(address), on, [this, on] { return on && Terminated(); });
        if (!switched)
            return false;
    } catch (const std::exception& e) {
        PostLineFailure(e.what());
        // The operator learns what the failure cost: the block's sensors go without readings.
        if (on && address != kRelayModule)
            PostLineFailure(Format("Местный блок №%d не включен: его термоподвески не опрошены", address + 1));
        RaiseCommutatorNoReply();
        return false;
    }
    Pause(on ? Settings.PauseMBOn : Settings.PauseMBOff);
    return true;
}

void TSendTH::InvalidateSilos(const TSilos& silos)
{
    for (int i = 0; i < silos.TITCount(); ++i)
        silos.GetTIT(i)->SetValid(false);
}

bool TSendTH::NeedSwitchOff(bool blockOn) const
{
    if (!blockOn || SensorIndex != 0)
        return false;
    const size_t next = SiloIndex + 1;
    return next >= Silos().size() || Silos()[next]->GetMBAddr() != CurrentSilos()->GetMBAddr();
}

void TSendTH::PollTIT()
{
    TSilos& silos = *CurrentSilos();
    TTIT* tit = silos.GetTIT(SensorIndex);
    const QString name = silos.GetName();
    if (tit && name != QStringLiteral("0") && tit->IsInstalled()) {
        tit->ClearValues();
        int requests = 0;
        for (int repeat = 0; repeat < Settings.PollRepeats && !Terminated(); ++repeat) {
            StatusText = Text(Format("Опрос ТД №%d в термоподвеске %s (%d:%d)", SensorIndex + 1,
                                     name.toStdString().c_str(), silos.GetMBAddr() + 1, silos.No() + 1));
            SetStatus(StatusText);
            try {
                RequestTIT(*tit);
            } catch (const std::exception& e) {
                PostLineFailure(e.what());
                tit->SetValid(false);
            }
            ++requests;
            StepProgress();
        }
        // A stop that came before the first request leaves the sensor's history alone rather
        // than record a reply that was never asked for as missing.
        if (requests > 0)
            tit->StorePoint(PollStart(), Rules);
    }
    SensorIndex = (SensorIndex + 1) % silos.TITCount();
}

void TSendTH::RequestTIT(TTIT& tit)
{
    const uint16_t channel = tit.Channel();
    DynByteArray buffer = SensorRequest(channel);
    MakePackageFT31(buffer, 0);
    PostLog("<-: " + BytesToHex(buffer), kLogSent);
    const DynByteArray request = buffer;
    try {
        if (Settings.NoCom) {
            buffer = Line.NoComReplies.ReadNoComReply(channel);
            if (buffer.empty())
                throw ENoReply(Format("Нет ответа от контроллера с адресом %d", kLocalBlockAddress));
        } else {
            Line.Exchange(buffer, Settings.TimeoutData);
        }
    } catch (const std::exception&) {
        WriteLogFile(QStringLiteral("Error"), Text("<-: " + BytesToHex(request)));
        WriteLogFile(QStringLiteral("Error"), Text("->: " + BytesToHex(buffer)));
        throw;
    }
    PostLog("->: " + BytesToHex(buffer), kLogReply);
    DecodeReply(buffer);
    Pause(Settings.PauseRequest);
}

void TSendTH::DecodeReply(const DynByteArray& reply)
{
    // The data's place follows from the reply's channel-count code, and only a data reply of
    // the full length is read: a short or foreign reply must not yield a reading.
    if (reply.size() <= kFunctionAt || reply[kFunctionAt] != kDataReplyFunction)
        throw ENoReply(Format("Ответ не на запрос данных (функция %d) от контроллера с адресом %d",
                              reply.size() > kFunctionAt ? reply[kFunctionAt] : -1, kLocalBlockAddress));
    const uint16_t channel = GetAddrCH_14(reply);
    const size_t at = GetPosDT_14(reply);
    if (reply.size() < at + kRawReadingSize)
        throw ENoReply(Format("Не совпала длина при ответе от контроллера с адресом %d", kLocalBlockAddress));
    const TSilos& silos = *CurrentSilos();
    TTIT* tit = channel / kChannelsPerSilos == silos.No() ? silos.GetTIT(channel % kChannelsPerSilos) : nullptr;
    if (tit)
        tit->AddRawReading(std::span(reply).subspan(at, kRawReadingSize), PollStart(), Rules);
}
