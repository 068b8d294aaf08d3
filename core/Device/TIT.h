#pragma once
// One temperature sensor of a thermometric suspension: its calibration, the readings of the
// current pass, its history and averaged history, the rate-of-change check, and the colour and
// text in which the board, the detail list and the reports show it.
//
// The poll thread writes a sensor while the main thread paints it, so every operation takes the
// sensor's own lock and readers get copies: a painter never sees a half-written history or a
// values array being grown. Log lines and log files are written after the lock is released.
#include "base/Colour.h"
#include "core/Device/PointHistory.h"
#include "core/Device/RateOfChange.h"

#include <QString>

#include <cstdint>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

class QXmlStreamReader;
class QXmlStreamWriter;
class TReadingsQuery;
class TReadingsTable;
class TSilos;
struct Parameters;
struct TReadingRules;

// Bit 0 of TTIT::Flags(): the sensor did not reply in the last pass.
inline constexpr uint8_t kTITNoReply = 0x01;

// The sensor types the calibration dialog offers: R0 in ohms and degrees per ohm.
inline constexpr double kR0Ohm50 = 50.0;
inline constexpr double kMultOhm50 = 4.6729;
inline constexpr double kR0Ohm53 = 53.0;
inline constexpr double kMultOhm53 = 4.4084;

class TTIT {
public:
    TTIT(TSilos* owner, int no);
    TTIT(const TTIT&) = delete;
    TTIT& operator=(const TTIT&) = delete;

    TSilos* Owner() const { return owner_; }
    int No() const { return no_; }
    // The channel the local block answers for: suspension number × 6 + sensor index.
    uint16_t Channel() const;

    // Calibration: temperature = (R − Off) × Mult + Tk, R in ohms. Off 0: not installed.
    double Mult() const;
    void SetMult(double mult);
    double Off() const;
    void SetOff(double off);
    double Tk() const;
    void SetTk(double tk);
    bool IsInstalled() const { return Off() != 0; }

    // One raw reading of a live poll (the reply's eight data octets), turned into ohms by the
    // rules' calculation. Fewer than 8 octets raise "нет данных"; a failing calculation passes
    // to the caller. A time of 0 means now.
    void AddRawReading(std::span<const uint8_t> raw, TDateTime time, const TReadingRules& rules);
    // One finished temperature (archive record, or a stored poll shown again), kept as it is;
    // the rate check follows the settings.
    void AddValue(bool valid, TDateTime time, double value, const Parameters& settings);
    void ClearValues();
    std::vector<double> Values() const;
    // The robust mean of the pass's values; kNoData when there is none.
    double GetValue() const;
    TDateTime LastTime() const;

    uint8_t Flags() const;
    // False when the sensor did not reply and its value lies within -36..70, or it has no value
    // at all: a sensor asked and never answering shows as not replied, not as one without data.
    bool IsValid() const;
    void SetValid(bool valid);
    bool SpeedAlarm() const;
    // MaxT < value < 70.
    bool IsOverMaxT(const Parameters& settings) const;
    // The colour and text the settings give the sensor's value.
    TColor GetColor(const Parameters& settings) const;
    // Empty for no data, the short-circuit or open-line text beyond the range, else the
    // temperature with the configured precision.
    QString GetValueText(const Parameters& settings) const;

    // Stores the pass's value as the history point at the time (a point within 1e-6 day takes
    // the new value), keeps the history in time order and updates the averaged points.
    void StorePoint(TDateTime time, const TReadingRules& rules);
    // The averaged points are kept for `averagePeriod` minutes (Parameters::AveragePeriod; 0, the
    // default, keeps none).
    void DeletePoint(int index, int averagePeriod);
    // Clears the points, the averaged points and the pass's values.
    void ClearPoints();
    void ClearAverages();
    void RebuildAverages(int averagePeriod);
    // Replaces the history by these points (any order), as read from a file or a table, and
    // rebuilds the averaged points. The pass's values stay.
    void AssignPoints(std::vector<TTITPoint> points, int averagePeriod = 0);

    // The data file: writes a "tit" element with a "point" per history point (nothing when the
    // history is empty); reads one, the reader standing on its start, replacing the history by its
    // points. A reading failure raises Exception and leaves the points read before it.
    void SavePoints(QXmlStreamWriter& xml) const;
    void LoadPoints(QXmlStreamReader& xml, int averagePeriod = 0);
    // The readings table: appends a row per point, reporting a failing row in red to the table's
    // log and going on; replaces the history by the sensor's rows. Both stop with EAbort when the
    // operator cancels, an import keeping the rows read so far.
    void SaveToTable(TReadingsTable& table) const;
    void LoadFromQuery(const TReadingsQuery& query, int averagePeriod = 0);

    // Mean daily change over the five days ending on the time's day; 0 when one of them lacks
    // a valid point. A found series is traced to the "speed" log.
    double CalcSpeed(TDateTime time) const;

    int PointCount() const;
    int AverageCount() const;
    std::optional<TTITPoint> GetPoint(int index) const;
    std::optional<TTITPoint> GetAverage(int index) const;
    std::vector<TTITPoint> Points() const;
    std::vector<TTITPoint> Averages() const;

private:
    // Which rate check a store still owes: the point of the pass's day was missing when the
    // reading came, so the check can only be made once the pass's point is in the history.
    enum class PendingCheck { None, Reading, Value };

    TSensorPlace Place() const;
    double ValueLocked() const;
    bool IsValidLocked() const;
    std::optional<TSpeedSeries> CheckSpeedLocked(TDateTime time, double checkSpeed, double& speed);
    static void WriteSpeedLog(const TSensorPlace& place, TDateTime time, const TSpeedSeries& series);

    mutable std::mutex lock_;
    TSilos* const owner_;
    const int no_;
    bool speedAlarm_ = false;
    double mult_ = 1.0;
    double off_ = 0.0;
    uint8_t flags_ = 0;
    double tk_ = 0.0;
    TDateTime lastTime_ = 0;
    std::vector<double> values_;
    TPointHistory history_;
    PendingCheck pending_ = PendingCheck::None;
};
