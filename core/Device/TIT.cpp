#include "core/Device/TIT.h"

#include "base/Exception.h"
#include "base/Format.h"
#include "core/Device/ReadingRules.h"
#include "core/Device/RobustMean.h"
#include "core/Device/SensorLimits.h"
#include "core/Device/Silos.h"
#include "comm/ExchangeLog.h"
#include "core/LogFile.h"
#include "core/Parameters.h"
#include "core/TemperatureText.h"

#include <cmath>

namespace {

constexpr TColor kColorNotInstalled = 0xC0C0C0;   // silver
constexpr TColor kColorNotReplied = clBlack;
constexpr TColor kColorNoData = clGreen;
constexpr TColor kColorNormal = clLime;
constexpr size_t kRawReadingSize = 8;
constexpr int kChannelsPerSilos = 6;

// A signed 16-bit word, low octet first, widened.
int32_t Word(std::span<const uint8_t> raw, size_t at)
{
    return static_cast<int16_t>(static_cast<uint16_t>(raw[at] | (raw[at + 1] << 8)));
}

int64_t DayOf(TDateTime time)
{
    return static_cast<int64_t>(std::trunc(time));
}

} // namespace

TTIT::TTIT(TSilos* owner, int no) : owner_(owner), no_(no) {}

uint16_t TTIT::Channel() const
{
    const int silos = owner_ ? owner_->No() : 0;
    return static_cast<uint16_t>(silos * kChannelsPerSilos + no_);
}

TSensorPlace TTIT::Place() const
{
    TSensorPlace place;
    if (owner_) {
        place.block = owner_->GetMBAddr() + 1;
        place.silos = owner_->No() + 1;
    }
    place.sensor = no_ + 1;
    return place;
}

double TTIT::Mult() const
{
    std::lock_guard guard(lock_);
    return mult_;
}

void TTIT::SetMult(double mult)
{
    std::lock_guard guard(lock_);
    mult_ = mult;
}

double TTIT::Off() const
{
    std::lock_guard guard(lock_);
    return off_;
}

void TTIT::SetOff(double off)
{
    std::lock_guard guard(lock_);
    off_ = off;
}

double TTIT::Tk() const
{
    std::lock_guard guard(lock_);
    return tk_;
}

void TTIT::SetTk(double tk)
{
    std::lock_guard guard(lock_);
    tk_ = tk;
}

void TTIT::AddRawReading(std::span<const uint8_t> raw, TDateTime time, const TReadingRules& rules)
{
    if (raw.size() < kRawReadingSize)
        throw Exception("нет данных");
    const TRawWords words{Word(raw, 0), Word(raw, 2), Word(raw, 4), Word(raw, 6)};
    // The procedure runs outside the lock: it is the slow part and touches nothing of ours.
    const double resistance =
        rules.Calc ? rules.Calc(words) : CalcResistance(rules.Settings.CalcProc, rules.Settings.Ri, words);
    const TSensorPlace place = Place();
    PostExchangeLog(rules.Log, Format("%d.%d.%d : U1=%d U2=%d U3=%d U4=%d T=%5.3f", place.block, place.silos, place.sensor,
                           words.U1, words.U2, words.U3, words.U4, resistance),
                    kLogRawTrace);

    std::lock_guard guard(lock_);
    values_.push_back((resistance - off_) * mult_ + tk_);
    lastTime_ = time != 0 ? time : Now();
    flags_ &= static_cast<uint8_t>(~kTITNoReply);
    speedAlarm_ = false;
    pending_ = PendingCheck::None;
    if (!rules.Settings.UseCheckSpeed)
        return;
    // The day's rate is judged once, at its first pass. That pass's own point is the last day
    // of the series, so the judgement waits until StorePoint has stored it.
    const auto& points = history_.Points();
    if (!points.empty() && points.back().Days() == DayOf(lastTime_))
        return;
    pending_ = PendingCheck::Reading;
}

void TTIT::AddValue(bool valid, TDateTime time, double value, const Parameters& settings)
{
    std::optional<TSpeedSeries> series;
    {
        std::lock_guard guard(lock_);
        values_.push_back(value);
        lastTime_ = time;
        if (valid)
            flags_ &= static_cast<uint8_t>(~kTITNoReply);
        else
            flags_ |= kTITNoReply;
        pending_ = PendingCheck::None;
        speedAlarm_ = false;
        if (settings.UseCheckSpeed) {
            double speed = 0;
            series = CheckSpeedLocked(time, settings.CheckSpeed, speed);
            // A value shown again from the history finds its day's point already stored; a new
            // archive value completes its series only once StorePoint has stored it.
            if (!series)
                pending_ = PendingCheck::Value;
        }
    }
    if (series)
        WriteSpeedLog(Place(), time, *series);
}

std::optional<TSpeedSeries> TTIT::CheckSpeedLocked(TDateTime time, double checkSpeed, double& speed)
{
    auto series = FindSpeedSeries(history_, time);
    speed = series ? SeriesSpeed(*series) : 0.0;
    speedAlarm_ = std::abs(speed) > checkSpeed;
    return series;
}

void TTIT::ClearValues()
{
    std::lock_guard guard(lock_);
    values_.clear();
    pending_ = PendingCheck::None;
}

std::vector<double> TTIT::Values() const
{
    std::lock_guard guard(lock_);
    return values_;
}

double TTIT::ValueLocked() const
{
    return RobustMean(values_);
}

double TTIT::GetValue() const
{
    std::lock_guard guard(lock_);
    return ValueLocked();
}

TDateTime TTIT::LastTime() const
{
    std::lock_guard guard(lock_);
    return lastTime_;
}

uint8_t TTIT::Flags() const
{
    std::lock_guard guard(lock_);
    return flags_;
}

// A sensor that was asked and never answered has no value: it shows as not replied rather than
// as one without data. A line fault read in an earlier repeat still shows as the fault.
bool TTIT::IsValidLocked() const
{
    const double value = ValueLocked();
    return !((flags_ & kTITNoReply) && (IsInRange(value) || value == kNoData));
}

bool TTIT::IsValid() const
{
    std::lock_guard guard(lock_);
    return IsValidLocked();
}

void TTIT::SetValid(bool valid)
{
    std::lock_guard guard(lock_);
    if (valid)
        flags_ &= static_cast<uint8_t>(~kTITNoReply);
    else
        flags_ |= kTITNoReply;
}

bool TTIT::SpeedAlarm() const
{
    std::lock_guard guard(lock_);
    return speedAlarm_;
}

bool TTIT::IsOverMaxT(const Parameters& settings) const
{
    const double value = GetValue();
    return settings.MaxT < value && value < kOpenLineAbove;
}

TColor TTIT::GetColor(const Parameters& settings) const
{
    std::lock_guard guard(lock_);
    if (off_ == 0)
        return kColorNotInstalled;
    if (!IsValidLocked())
        return kColorNotReplied;
    const double value = ValueLocked();
    if (value == kNoData)
        return kColorNoData;
    if (IsShortCircuit(value))
        return settings.ColorKz;
    if (IsOpenLine(value))
        return settings.ColorX;
    TColor colour = kColorNormal;
    if (settings.CheckT1 > 0 && value > settings.CheckT1)
        colour = settings.ColorCheckT1;
    if (settings.CheckT2 > 0 && value > settings.CheckT2)
        colour = settings.ColorCheckT2;
    if (settings.CheckT3 > 0 && value > settings.CheckT3)
        colour = settings.ColorCheckT3;
    if (settings.MaxT < value && value < kOpenLineAbove)
        colour = settings.ColorMaxT;
    if (speedAlarm_)
        colour = settings.ColorSpeed;
    return colour;
}

QString TTIT::GetValueText(const Parameters& settings) const
{
    return SensorValueText(GetValue(), settings);
}

void TTIT::StorePoint(TDateTime time, const TReadingRules& rules)
{
    std::optional<TSpeedSeries> series;
    bool note = false;
    double speed = 0;
    {
        std::lock_guard guard(lock_);
        history_.Store(time, ValueLocked(), rules.Settings.AveragePeriod);
        const PendingCheck pending = pending_;
        pending_ = PendingCheck::None;
        if (pending != PendingCheck::None && time != 0 && rules.Settings.UseCheckSpeed) {
            series = CheckSpeedLocked(time, rules.Settings.CheckSpeed, speed);
            note = pending == PendingCheck::Reading && speedAlarm_;
        }
    }
    if (!series)
        return;
    const TSensorPlace place = Place();
    WriteSpeedLog(place, time, *series);
    if (note)
        PostExchangeLog(rules.Log, SpeedAlarmNote(place, time, speed), kLogSpeedNote);
}

void TTIT::DeletePoint(int index, int averagePeriod)
{
    std::lock_guard guard(lock_);
    if (index >= 0)
        history_.Delete(static_cast<size_t>(index), averagePeriod);
}

void TTIT::ClearPoints()
{
    std::lock_guard guard(lock_);
    history_.Clear();
    values_.clear();
    pending_ = PendingCheck::None;
}

void TTIT::ClearAverages()
{
    std::lock_guard guard(lock_);
    history_.ClearAverages();
}

void TTIT::RebuildAverages(int averagePeriod)
{
    std::lock_guard guard(lock_);
    history_.RebuildAverages(averagePeriod);
}

void TTIT::AssignPoints(std::vector<TTITPoint> points, int averagePeriod)
{
    std::lock_guard guard(lock_);
    history_.Assign(std::move(points), averagePeriod);
}

double TTIT::CalcSpeed(TDateTime time) const
{
    std::optional<TSpeedSeries> series;
    {
        std::lock_guard guard(lock_);
        series = FindSpeedSeries(history_, time);
    }
    if (!series)
        return 0;
    WriteSpeedLog(Place(), time, *series);
    return SeriesSpeed(*series);
}

void TTIT::WriteSpeedLog(const TSensorPlace& place, TDateTime time, const TSpeedSeries& series)
{
    for (const std::string& line : SpeedLogLines(place, time, series))
        WriteLogFile(QStringLiteral("speed"), QString::fromStdString(line));
}

int TTIT::PointCount() const
{
    std::lock_guard guard(lock_);
    return static_cast<int>(history_.PointCount());
}

int TTIT::AverageCount() const
{
    std::lock_guard guard(lock_);
    return static_cast<int>(history_.AverageCount());
}

std::optional<TTITPoint> TTIT::GetPoint(int index) const
{
    std::lock_guard guard(lock_);
    if (index < 0 || static_cast<size_t>(index) >= history_.PointCount())
        return std::nullopt;
    return history_.Point(static_cast<size_t>(index));
}

std::optional<TTITPoint> TTIT::GetAverage(int index) const
{
    std::lock_guard guard(lock_);
    if (index < 0 || static_cast<size_t>(index) >= history_.AverageCount())
        return std::nullopt;
    return history_.Average(static_cast<size_t>(index));
}

std::vector<TTITPoint> TTIT::Points() const
{
    std::lock_guard guard(lock_);
    return history_.Points();
}

std::vector<TTITPoint> TTIT::Averages() const
{
    std::lock_guard guard(lock_);
    return history_.Averages();
}
