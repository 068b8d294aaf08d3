#pragma once
// The data-collecting controller: measures on its own and keeps an archive of records, one per
// suspension and measurement, which the program reads block by block. It answers its own address
// and 254 (any controller), and serves:
//
//   1  identifier     reply data: 00 00, the 24-bit identifier (low first), firmware date in the
//                     five-octet short form (minute, hour, day, month, year - 2000)
//   3  new address    data: the new address (0..249); the reply comes from the new address
//   4  clear archive  empties the archive; the reply comes after the clearing time
//   5  set clock      data: seven CP56Time2a octets
//   59 read clock     reply data: seven CP56Time2a octets
//   7  write param    data: 00 01 57 number(2) sub-index 00 value; the reply echoes the data
//   37 read param     data: 00 01 number(2) sub-index 00 00; reply data: number(2) sub-index 00
//                     value
//   12 archive block  data: count, start (2); reply data: the records from start on, at most
//                     count of them, 18 octets each; a count above 13 (more than a frame holds)
//                     is refused with error 56
//
// A parameter it does not know, with a wrong sub-index, size or value, is refused: the reply's
// control octet carries the link function 1 and no data. Parameters: 300 thermoresistor (1 octet),
// 301, 302, 303 divider R1, R2 and shunt (2 octets), 304 conversion coefficient (numerator and
// denominator, 2 octets each, denominator not 0), 305 temperature correction of channel 1..6
// (sub-index, one signed octet -99..99), 332 port address (sub-index the port 0..7, 1 octet).
#include "base/DateTime.h"
#include "tools/ft3sim/Device.h"

#include <array>
#include <map>
#include <mutex>
#include <vector>

namespace ft3sim {

// One archive record as it goes on the wire.
using ArchiveRecordOctets = std::array<uint8_t, 18>;

// The octets of a record: temperatures of sensors 0..5, the id's low 28 bits (four octets, low
// first), the id's top 4 bits (one octet), the CP56Time2a time.
ArchiveRecordOctets EncodeArchiveRecord(uint32_t id, const std::array<int8_t, 6>& temps, TDateTime time);

class DataCollector : public Device {
public:
    static constexpr uint8_t kFunctionReadId = 1;
    static constexpr uint8_t kFunctionSetAddress = 3;
    static constexpr uint8_t kFunctionClearArchive = 4;
    static constexpr uint8_t kFunctionSetClock = 5;
    static constexpr uint8_t kFunctionWriteParam = 7;
    static constexpr uint8_t kFunctionReadArchive = 12;
    static constexpr uint8_t kFunctionReadParam = 37;
    static constexpr uint8_t kFunctionReadClock = 59;
    static constexpr uint8_t kMaxRecordsPerReply = 13;
    // "KV312C", firmware of 2007-03-15 10:30.
    static constexpr uint32_t kDefaultIdentifier = 0x0C554C;
    static constexpr std::array<uint8_t, 5> kDefaultFirmwareDate{0x1E, 0x0A, 0x0F, 0x03, 0x07};

    explicit DataCollector(uint8_t address);

    bool Accepts(uint8_t address) const override;
    std::optional<DynByteArray> Answer(const Request& request) override;
    std::chrono::milliseconds ReplyDelay(const Request& request) const override;

    uint8_t Address() const;
    void SetIdentity(uint32_t identifier, const std::array<uint8_t, 5>& firmwareDate);

    // The clock runs on from the value set (by a test or by the program's request).
    void SetClock(TDateTime value);
    TDateTime Clock() const;
    // Report these octets as the time instead of the clock (a clock that has lost its time).
    void SetReportedClock(std::optional<std::array<uint8_t, 7>> octets);

    // A parameter's value octets, or nothing when it has none.
    std::optional<DynByteArray> Parameter(uint16_t number, uint8_t subIndex) const;
    void SetParameter(uint16_t number, uint8_t subIndex, const DynByteArray& value);
    // Name this parameter number in the parameter replies instead of the one asked for.
    void SetReportedParameterNumber(std::optional<uint16_t> number);

    void SetArchive(std::vector<ArchiveRecordOctets> records);
    std::vector<ArchiveRecordOctets> Archive() const;
    // How long clearing the archive takes before the reply goes out.
    void SetClearDuration(std::chrono::milliseconds duration);
    int ArchiveClears() const;

private:
    DynByteArray AnswerLocked(const Request& request);
    DynByteArray WriteParam(const Request& request);
    DynByteArray ReadParam(const Request& request);
    DynByteArray ArchiveBlock(const Request& request);
    TDateTime ClockLocked() const;

    mutable std::mutex mutex_;
    uint8_t address_;
    uint32_t identifier_ = kDefaultIdentifier;
    std::array<uint8_t, 5> firmwareDate_ = kDefaultFirmwareDate;
    TDateTime clockBase_;
    std::chrono::steady_clock::time_point clockSetAt_;
    std::optional<std::array<uint8_t, 7>> reportedClock_;
    std::map<std::pair<uint16_t, uint8_t>, DynByteArray> parameters_;
    std::optional<uint16_t> reportedParameter_;
    std::vector<ArchiveRecordOctets> archive_;
    std::chrono::milliseconds clearDuration_{0};
    int clears_ = 0;
};

} // namespace ft3sim
