#pragma once
// The settings record `Parameters`. The program's one record is the field `Settings` of its
// context (core/Monitor.h), edited on the main thread only; a poll pass works on a copy taken
// when it starts.
//
// A default-made record holds the values a first start without a settings file gets, so that a
// field the settings file does not fill (or a load that stops part-way) never leaves a zero where
// the program needs a sensible value (no polls per sensor, zero time-outs, ...).
#include "base/Colour.h"

#include <QString>

#include <array>
#include <cassert>
#include <cstddef>
#include <cstdint>

// Site details printed in report headers ("Район", "Город", "Элеватор", "Область").
struct ElevatorProperty {
    QString District;
    QString Town;
    QString Elevator;
    QString Region;
};

// The style of one of the chart's six series.
struct TLineStyle {
    int32_t Width = 1;
    TColor Color = clLime;
    bool ShowPoints = false;
    int32_t PointStyle = 0;
};

// One notification condition: whether it is checked and the taskbar overlay level it raises.
struct TAlarmSetting {
    bool Enabled = false;
    int32_t Level = 0;   // 0 OK, 1 warning, 2 error
};

// The notification conditions, numbered from 1 as the settings file and the dialogs number them.
enum TAlarmCondition : size_t {
    CommutatorNoReply = 1,
    BlockNoReply,
    OverMaxT,
    SpeedExceeded,
    SetPoint1,
    SetPoint2,
    SetPoint3,
    LineBreak,
    ShortCircuit,
};
inline constexpr size_t kAlarmConditionCount = 9;

// A fixed array indexed from 1 to N, for lists the program numbers from 1.
template <typename T, size_t N>
struct NumberedArray {
    std::array<T, N> items{};
    T& operator[](size_t number)
    {
        assert(number >= 1 && number <= N);
        return items[number - 1];
    }
    const T& operator[](size_t number) const
    {
        assert(number >= 1 && number <= N);
        return items[number - 1];
    }
    static constexpr size_t size() { return N; }
    auto begin() { return items.begin(); }
    auto end() { return items.end(); }
    auto begin() const { return items.begin(); }
    auto end() const { return items.end(); }
    bool operator==(const NumberedArray&) const = default;
};

// The built-in temperature-calculation procedure, used when the settings file stores none.
QString BuiltInCalcProc();

// The default path of the silo-block layout file: "SiloBins.xml" in the program's folder.
QString DefaultSiloBinsFile();

struct Parameters {
    QString DataFile;                       // the data file (.dxml); empty: none
    QString SiloBinsFile;                   // the silo-block layout file; the loader's default is
                                            // DefaultSiloBinsFile() (needs the program's folder)
    bool DBAutoExport = false;
    QString DBConnection;
    QString DBTable;
    int32_t ControllerKind = 0;             // 0 live polling, 1 archive reading
    int32_t Ri = 51;                        // the script's reference resistor (always 51, see the loader)
    double U1k = 1.0;                       // kept in the settings file only
    double U2k = 1.0;                       // kept in the settings file only
    int32_t PollRepeats = 1;                // data requests per sensor in one live pass
    uint16_t PauseMBOn = 300;               // ms after switching a local block on
    uint16_t PauseMBOff = 300;              // ms after switching a local block off
    uint16_t PauseRequest = 300;            // ms after each sensor request
    uint16_t TimeoutMBSelect = 300;         // kept in the settings file only
    uint16_t TimeoutData = 300;             // ms to wait for a reply (sensors, block switching, relay)
    uint16_t TimeoutArchiveClear = 10;      // s to wait for the archive-clearing reply
    uint8_t ArchiveBlockSize = 5;           // archive records per request
    uint8_t ArchiveAddr = 0;                // address of the data-collecting controller
    int32_t MaxT = 30;                      // maximum temperature set-point, degrees
    int32_t CheckT1 = 0;                    // set-points 1 to 3, degrees; 0: off
    int32_t CheckT2 = 0;
    int32_t CheckT3 = 0;
    bool UseCheckSpeed = false;
    double CheckSpeed = 0.5;                // degrees per day
    TColor ColorMaxT = clRed;
    TColor ColorCheckT1 = clBlack;
    TColor ColorCheckT2 = clBlack;
    TColor ColorCheckT3 = clBlack;
    TColor ColorX = clGray;                 // open line
    TColor ColorKz = clMaroon;              // short circuit
    TColor ColorSpeed = clRed;              // rate alarm
    int32_t Precision = 3;                  // decimals 0 to 3; 4 or more: half degrees
    ElevatorProperty Elevator;
    double ScaleMinT = 0;                   // chart axis; both 0: automatic
    double ScaleMaxT = 0;
    std::array<TLineStyle, 6> Lines{};
    QString CalcProc = BuiltInCalcProc();   // lines separated by CR LF
    int32_t AveragePeriod = 0;              // minutes; 0: no averaging; never kept in the file
    int32_t SiloBinCount = 0;
    bool NoCom = false;                     // command-line word "no_com": the line's replies are
                                            // emulated; never kept in the file
    QString TextBreak = QStringLiteral("X");
    QString TextShort = QStringLiteral("КЗ");
    int32_t rtMarginLeft = 0;
    int32_t rtMarginTop = 0;
    int32_t rtMarginRight = 0;
    int32_t rtMarginBottom = 0;
    int32_t PrinterOrientation = 0;
    int32_t PrinterBin = 0;
    int32_t PrinterPaperSize = 0;
    // A custom paper size's sheet as it lies, tenths of a millimetre; 0 for other papers.
    int32_t PrinterPaperWidth = 0;
    int32_t PrinterPaperHeight = 0;
    TColor PrintColorMaxT = clRed;
    TColor PrintColorCheckT1 = clBlack;
    TColor PrintColorCheckT2 = clBlack;
    TColor PrintColorCheckT3 = clBlack;
    TColor PrintColorX = clGray;
    TColor PrintColorKz = clMaroon;
    TColor PrintColorSpeed = clRed;
    bool Print2Column = false;
    NumberedArray<TAlarmSetting, kAlarmConditionCount> Alarms;
    NumberedArray<bool, kAlarmConditionCount> Relays;
    uint16_t RelayDuration = 1;             // s the alarm relay stays on
};
