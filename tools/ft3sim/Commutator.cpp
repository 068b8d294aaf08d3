#include "tools/ft3sim/Commutator.h"

namespace ft3sim {

std::optional<DynByteArray> Commutator::Answer(const Request& request)
{
    if (request.Function() != kFunctionSwitch)
        return ErrorReply(request, kAddress, kErrorUnknownObject);
    const auto data = request.Data();
    if (data.size() < 2 || data[1] > 1)
        return ErrorReply(request, kAddress, kErrorBadFormat);

    const Switch command{data[0], data[1] == 1, data.size() > 2 ? data[2] : uint8_t{0}};
    {
        std::lock_guard lock(mutex_);
        if (command.target == kRelayModule)
            relayOn_ = command.on;
        else if (command.on)
            blockOn_ = command.target;   // switching one block on switches any other off
        else if (blockOn_ == command.target)
            blockOn_ = -1;
        switches_.push_back(command);
    }
    DynByteArray reply = ReplyHeader(request, kAddress, 0x80);
    reply.insert(reply.end(), {command.target, static_cast<uint8_t>(command.on), command.attempt, 0x00});
    return reply;
}

int Commutator::BlockOn() const
{
    std::lock_guard lock(mutex_);
    return blockOn_;
}

bool Commutator::RelayOn() const
{
    std::lock_guard lock(mutex_);
    return relayOn_;
}

std::vector<Commutator::Switch> Commutator::Switches() const
{
    std::lock_guard lock(mutex_);
    return switches_;
}

void Commutator::Reset()
{
    std::lock_guard lock(mutex_);
    blockOn_ = -1;
    relayOn_ = false;
    switches_.clear();
}

} // namespace ft3sim
