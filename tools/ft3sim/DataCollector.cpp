#include "tools/ft3sim/DataCollector.h"

#include "base/Exception.h"
#include "comm/FT3Time.h"

#include <algorithm>

namespace ft3sim {

namespace {

constexpr uint8_t kWriteMark = 0x57;
constexpr uint8_t kRefused = 0x81;   // control octet of a reply refusing a parameter
constexpr uint8_t kParamHead[] = {0x00, 0x01};
constexpr uint8_t kHighestAddress = 249;

uint16_t Word(std::span<const uint8_t> octets, size_t at)
{
    return static_cast<uint16_t>(octets[at] | octets[at + 1] << 8);
}

void AppendWord(DynByteArray& octets, uint16_t value)
{
    octets.push_back(static_cast<uint8_t>(value & 0xFF));
    octets.push_back(static_cast<uint8_t>(value >> 8));
}

// The size of a parameter's value, or nothing when the controller has no such parameter.
std::optional<size_t> ValueSize(uint16_t number, uint8_t subIndex)
{
    switch (number) {
    case 300: return subIndex == 0 ? std::optional<size_t>(1) : std::nullopt;
    case 301:
    case 302:
    case 303: return subIndex == 0 ? std::optional<size_t>(2) : std::nullopt;
    case 304: return subIndex == 0 ? std::optional<size_t>(4) : std::nullopt;
    case 305: return subIndex >= 1 && subIndex <= 6 ? std::optional<size_t>(1) : std::nullopt;
    case 332: return subIndex <= 7 ? std::optional<size_t>(1) : std::nullopt;
    default: return std::nullopt;
    }
}

bool ValueAllowed(uint16_t number, std::span<const uint8_t> value)
{
    if (number == 304)
        return Word(value, 2) != 0;
    if (number == 305) {
        const auto correction = static_cast<int8_t>(value[0]);
        return correction >= -99 && correction <= 99;
    }
    return true;
}

} // namespace

ArchiveRecordOctets EncodeArchiveRecord(uint32_t id, const std::array<int8_t, 6>& temps, TDateTime time)
{
    ArchiveRecordOctets octets{};
    std::transform(temps.begin(), temps.end(), octets.begin(), [](int8_t t) { return static_cast<uint8_t>(t); });
    const uint32_t low = id & 0x0FFFFFFF;
    for (int i = 0; i < 4; ++i)
        octets[6 + i] = static_cast<uint8_t>(low >> (8 * i));
    octets[10] = static_cast<uint8_t>(id >> 28);
    const auto encoded = EncodeTime_2a(time);
    std::copy(encoded.begin(), encoded.end(), octets.begin() + 11);
    return octets;
}

DataCollector::DataCollector(uint8_t address)
    : address_(address), clockBase_(Now()), clockSetAt_(std::chrono::steady_clock::now())
{
    parameters_[{300, 0}] = {50};
    parameters_[{301, 0}] = {0xE8, 0x03};
    parameters_[{302, 0}] = {0xE8, 0x03};
    parameters_[{303, 0}] = {0x64, 0x00};
    parameters_[{304, 0}] = {0x07, 0x00, 0x03, 0x00};
    for (uint8_t channel = 1; channel <= 6; ++channel)
        parameters_[{305, channel}] = {0};
    for (uint8_t port = 0; port <= 7; ++port)
        parameters_[{332, port}] = {0};
}

bool DataCollector::Accepts(uint8_t address) const
{
    std::lock_guard lock(mutex_);
    return address == address_ || address == kBroadcastAddress;
}

std::optional<DynByteArray> DataCollector::Answer(const Request& request)
{
    std::lock_guard lock(mutex_);
    return AnswerLocked(request);
}

std::chrono::milliseconds DataCollector::ReplyDelay(const Request& request) const
{
    std::lock_guard lock(mutex_);
    return request.Function() == kFunctionClearArchive ? clearDuration_ : std::chrono::milliseconds{0};
}

DynByteArray DataCollector::AnswerLocked(const Request& request)
{
    const auto data = request.Data();
    switch (request.Function()) {
    case kFunctionReadId: {
        DynByteArray reply = ReplyHeader(request, address_);
        reply.insert(reply.end(), {0x00, 0x00, static_cast<uint8_t>(identifier_ & 0xFF),
                                   static_cast<uint8_t>(identifier_ >> 8), static_cast<uint8_t>(identifier_ >> 16)});
        reply.insert(reply.end(), firmwareDate_.begin(), firmwareDate_.end());
        return reply;
    }
    case kFunctionSetAddress:
        if (data.size() != 1 || data[0] > kHighestAddress)
            return ErrorReply(request, address_, kErrorBadFormat);
        address_ = data[0];
        return ReplyHeader(request, address_);
    case kFunctionClearArchive:
        archive_.clear();
        ++clears_;
        return ReplyHeader(request, address_);
    case kFunctionSetClock: {
        const DynByteArray time(data.begin(), data.end());
        try {
            if (time.size() != 7)
                return ErrorReply(request, address_, kErrorBadFormat);
            clockBase_ = DecodeTime_2a(time, 0, true);
        } catch (const Exception&) {
            return ErrorReply(request, address_, kErrorBadFormat);
        }
        clockSetAt_ = std::chrono::steady_clock::now();
        reportedClock_.reset();
        return ReplyHeader(request, address_);
    }
    case kFunctionReadClock: {
        DynByteArray reply = ReplyHeader(request, address_);
        const auto time = reportedClock_.value_or(EncodeTime_2a(ClockLocked()));
        reply.insert(reply.end(), time.begin(), time.end());
        return reply;
    }
    case kFunctionWriteParam:
        return WriteParam(request);
    case kFunctionReadParam:
        return ReadParam(request);
    case kFunctionReadArchive:
        return ArchiveBlock(request);
    default:
        return ErrorReply(request, address_, kErrorUnknownObject);
    }
}

DynByteArray DataCollector::WriteParam(const Request& request)
{
    const auto data = request.Data();
    if (data.size() < 7 || data[0] != kParamHead[0] || data[1] != kParamHead[1] || data[2] != kWriteMark)
        return ErrorReply(request, address_, kErrorBadFormat);
    const uint16_t number = Word(data, 3);
    const uint8_t subIndex = data[5];
    const auto value = data.subspan(7);
    const auto size = ValueSize(number, subIndex);
    if (!size || value.size() != *size || !ValueAllowed(number, value))
        return ReplyHeader(request, address_, kRefused);
    parameters_[{number, subIndex}] = DynByteArray(value.begin(), value.end());

    DynByteArray reply = ReplyHeader(request, address_);
    reply.insert(reply.end(), data.begin(), data.end());
    if (reportedParameter_) {
        reply[9] = static_cast<uint8_t>(*reportedParameter_ & 0xFF);
        reply[10] = static_cast<uint8_t>(*reportedParameter_ >> 8);
    }
    return reply;
}

DynByteArray DataCollector::ReadParam(const Request& request)
{
    const auto data = request.Data();
    if (data.size() < 5 || data[0] != kParamHead[0] || data[1] != kParamHead[1])
        return ErrorReply(request, address_, kErrorBadFormat);
    const uint16_t number = Word(data, 2);
    const uint8_t subIndex = data[4];
    const auto found = parameters_.find({number, subIndex});
    if (found == parameters_.end())
        return ReplyHeader(request, address_, kRefused);

    DynByteArray reply = ReplyHeader(request, address_);
    AppendWord(reply, reportedParameter_.value_or(number));
    reply.insert(reply.end(), {subIndex, 0x00});
    reply.insert(reply.end(), found->second.begin(), found->second.end());
    return reply;
}

DynByteArray DataCollector::ArchiveBlock(const Request& request)
{
    const auto data = request.Data();
    if (data.size() < 3 || data[0] > kMaxRecordsPerReply)
        return ErrorReply(request, address_, kErrorBadFormat);
    const size_t count = data[0];
    const size_t start = Word(data, 1);
    DynByteArray reply = ReplyHeader(request, address_);
    for (size_t i = start; i < archive_.size() && i < start + count; ++i)
        reply.insert(reply.end(), archive_[i].begin(), archive_[i].end());
    return reply;
}

TDateTime DataCollector::ClockLocked() const
{
    const auto elapsed = std::chrono::steady_clock::now() - clockSetAt_;
    return clockBase_ + std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count() / kMSecsPerDay;
}

uint8_t DataCollector::Address() const
{
    std::lock_guard lock(mutex_);
    return address_;
}

void DataCollector::SetIdentity(uint32_t identifier, const std::array<uint8_t, 5>& firmwareDate)
{
    std::lock_guard lock(mutex_);
    identifier_ = identifier;
    firmwareDate_ = firmwareDate;
}

void DataCollector::SetClock(TDateTime value)
{
    std::lock_guard lock(mutex_);
    clockBase_ = value;
    clockSetAt_ = std::chrono::steady_clock::now();
}

TDateTime DataCollector::Clock() const
{
    std::lock_guard lock(mutex_);
    return ClockLocked();
}

void DataCollector::SetReportedClock(std::optional<std::array<uint8_t, 7>> octets)
{
    std::lock_guard lock(mutex_);
    reportedClock_ = octets;
}

std::optional<DynByteArray> DataCollector::Parameter(uint16_t number, uint8_t subIndex) const
{
    std::lock_guard lock(mutex_);
    const auto found = parameters_.find({number, subIndex});
    if (found == parameters_.end())
        return std::nullopt;
    return found->second;
}

void DataCollector::SetParameter(uint16_t number, uint8_t subIndex, const DynByteArray& value)
{
    std::lock_guard lock(mutex_);
    parameters_[{number, subIndex}] = value;
}

void DataCollector::SetReportedParameterNumber(std::optional<uint16_t> number)
{
    std::lock_guard lock(mutex_);
    reportedParameter_ = number;
}

void DataCollector::SetArchive(std::vector<ArchiveRecordOctets> records)
{
    std::lock_guard lock(mutex_);
    archive_ = std::move(records);
}

std::vector<ArchiveRecordOctets> DataCollector::Archive() const
{
    std::lock_guard lock(mutex_);
    return archive_;
}

void DataCollector::SetClearDuration(std::chrono::milliseconds duration)
{
    std::lock_guard lock(mutex_);
    clearDuration_ = duration;
}

int DataCollector::ArchiveClears() const
{
    std::lock_guard lock(mutex_);
    return clears_;
}

} // namespace ft3sim
