#include "tools/ft3sim/LocalBlock.h"

#include <cmath>

namespace ft3sim {

namespace {
constexpr uint8_t kCountCode = 0x10;
constexpr uint8_t kFormat = 0x02;
} // namespace

RawWords WordsForTemperature(double celsius)
{
    // Resistance = (U4 - 2*U3) / ((U1 - U2) / Ri); with U1 = 1000, U2 = U3 = 0 that is U4 * Ri / 1000.
    constexpr double kRi = 51.0;
    const double ohms = 50.0 + celsius / 4.6729;
    const double u4 = std::lround(ohms * 1000.0 / kRi);
    return {1000, 0, 0, static_cast<uint16_t>(u4)};
}

std::optional<DynByteArray> LocalBlock::Answer(const Request& request)
{
    const int block = commutator_.BlockOn();
    if (block < 0)
        return std::nullopt;
    if (request.Function() != kFunctionData)
        return ErrorReply(request, kAddress, kErrorUnknownObject);
    const auto channel = request.Channel();
    if (!channel)
        return ErrorReply(request, kAddress, kErrorBadFormat);

    std::optional<RawWords> words;
    {
        std::lock_guard lock(mutex_);
        const auto found = readings_.find({block, *channel});
        words = found != readings_.end() ? std::optional(found->second) : defaultReadings_;
        ++served_[block];
    }
    const uint8_t low = static_cast<uint8_t>(*channel & 0xFF);
    const uint8_t high = static_cast<uint8_t>(*channel >> 8);
    if (!words) {
        DynByteArray reply = ErrorReply(request, kAddress, kErrorNoChannel);
        reply.insert(reply.end(), {kCountCode, low, high});
        return reply;
    }
    DynByteArray reply = ReplyHeader(request, kAddress);
    reply.insert(reply.end(), {kCountCode, low, high, kFormat});
    for (uint16_t word : *words) {
        reply.push_back(static_cast<uint8_t>(word & 0xFF));
        reply.push_back(static_cast<uint8_t>(word >> 8));
    }
    return reply;
}

void LocalBlock::SetReadings(int block, uint16_t channel, const RawWords& words)
{
    std::lock_guard lock(mutex_);
    readings_[{block, channel}] = words;
}

void LocalBlock::SetDefaultReadings(std::optional<RawWords> words)
{
    std::lock_guard lock(mutex_);
    defaultReadings_ = words;
}

void LocalBlock::ClearReadings()
{
    std::lock_guard lock(mutex_);
    readings_.clear();
    defaultReadings_.reset();
    served_.clear();
}

int LocalBlock::RequestsServed(int block) const
{
    std::lock_guard lock(mutex_);
    const auto found = served_.find(block);
    return found == served_.end() ? 0 : found->second;
}

} // namespace ft3sim
