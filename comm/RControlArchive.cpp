// Reading the data-collecting controller's measurement archive, and the sample blocks that
// stand in for it in the no-port mode.
#include "comm/RControl.h"

#include "comm/ControllerCommand.h"
#include "comm/ExchangeLog.h"
#include "comm/FT3Time.h"

#include <algorithm>
#include <iterator>
#include <sstream>

using namespace controller_command;

namespace {

constexpr uint8_t kControlArchive = 0x53;
constexpr size_t kRecordsAt = 6;

// The header every sample reply starts with.
constexpr uint8_t kSampleHeader[] = {0x88, 0x00, 0x01, 0x00, 0x00, 0x8C};

// Fourteen sample records, 20 seconds apart on 2006-11-23 from 13:15:20, for the suspensions 0 to
// 11 of local block 0 and 0 and 1 of block 1. The archive pass files a record under the block
// address of its id's low 28 bits and the suspension number of its top 4 bits, so each sample
// lands on a suspension of the default configuration.
constexpr const char* kSampleRecords[] = {
    "1A 28 1E 0F 0E 0E 00 00 00 00 00 20 4E 0F 0D 17 0B 06",
    "12 13 15 16 14 13 00 00 00 00 01 40 9C 0F 0D 17 0B 06",
    "0C 0D 0D 0E 0F 0F 00 00 00 00 02 00 00 10 0D 17 0B 06",
    "FD FE 00 01 02 02 00 00 00 00 03 20 4E 10 0D 17 0B 06",
    "19 1B 1F 21 1E 1C 00 00 00 00 04 40 9C 10 0D 17 0B 06",
    "10 10 11 11 12 12 00 00 00 00 05 00 00 11 0D 17 0B 06",
    "15 16 18 17 16 15 00 00 00 00 06 20 4E 11 0D 17 0B 06",
    "09 0A 0B 0B 0C 0C 00 00 00 00 07 40 9C 11 0D 17 0B 06",
    "23 26 29 2C 27 24 00 00 00 00 08 00 00 12 0D 17 0B 06",
    "0E 0F 0F 10 10 11 00 00 00 00 09 20 4E 12 0D 17 0B 06",
    "FB FC FC FD FE FF 00 00 00 00 0A 40 9C 12 0D 17 0B 06",
    "13 14 14 15 15 16 00 00 00 00 0B 00 00 13 0D 17 0B 06",
    "17 18 1A 1C 1B 19 01 00 00 00 00 20 4E 13 0D 17 0B 06",
    "0B 0B 0C 0D 0D 0E 01 00 00 00 01 40 9C 13 0D 17 0B 06",
};
constexpr size_t kSampleCount = std::size(kSampleRecords);
constexpr uint16_t kSampleBlock = 5;

void AppendHex(DynByteArray& octets, const char* text)
{
    std::istringstream in(text);
    unsigned value = 0;
    while (in >> std::hex >> value)
        octets.push_back(static_cast<uint8_t>(value));
}

} // namespace

TArchiveRec DecodeArchiveRec(std::span<const uint8_t, kArchiveRecordSize> octets)
{
    TArchiveRec record;
    for (size_t i = 0; i < record.Temps.size(); ++i)
        record.Temps[i] = static_cast<int8_t>(octets[i]);
    const uint32_t number = octets[6] | octets[7] << 8 | octets[8] << 16
                            | static_cast<uint32_t>(octets[9]) << 24;
    record.Id = (number & 0x0FFFFFFF) | static_cast<uint32_t>(octets[10] & 0x0F) << 28;
    const DynByteArray time(octets.begin() + 11, octets.end());
    try {
        record.Time = DecodeTime_2a(time, 0, true);
    } catch (const EConvertError&) {
        record.Time = 0;   // the record's temperatures still count
    }
    return record;
}

DynByteArray NoComArchiveReply(uint16_t start)
{
    if (start != 0 && start != kSampleBlock && start != 2 * kSampleBlock)
        return {};
    DynByteArray reply(std::begin(kSampleHeader), std::end(kSampleHeader));
    const size_t end = std::min<size_t>(start + kSampleBlock, kSampleCount);
    for (size_t i = start; i < end; ++i)
        AppendHex(reply, kSampleRecords[i]);
    return reply;
}

bool ReadArchiveData(TCommPort& port, uint16_t start, uint8_t address, DynArrayRec& records,
                     uint8_t count, bool noCom)
{
    LogName(port, "Запрос данных архива");
    DynByteArray request = Request(kControlArchive, address, kReadArchive);
    request.insert(request.end(), {count, static_cast<uint8_t>(start & 0xFF), static_cast<uint8_t>(start >> 8)});
    const DynByteArray reply = noCom ? NoComArchiveReply(start) : Exchange(port, std::move(request));
    for (size_t at = kRecordsAt; at + kArchiveRecordSize <= reply.size(); at += kArchiveRecordSize)
        records.push_back(DecodeArchiveRec(std::span<const uint8_t, kArchiveRecordSize>(reply.data() + at, kArchiveRecordSize)));
    LogOk(port);
    return true;
}
