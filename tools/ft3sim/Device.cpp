#include "tools/ft3sim/Device.h"

namespace ft3sim {

std::optional<uint16_t> Request::Channel() const
{
    const auto data = Data();
    if (Function() != kFunctionData || data.size() < 3)
        return std::nullopt;
    return static_cast<uint16_t>(data[1] | data[2] << 8);
}

DynByteArray ReplyHeader(const Request& request, uint8_t ownAddress, uint8_t control)
{
    return {control, request.Source(), ownAddress, 0x00, 0x00,
            static_cast<uint8_t>(request.Function() | 0x80)};
}

DynByteArray ErrorReply(const Request& request, uint8_t ownAddress, uint8_t errorCode)
{
    DynByteArray reply = ReplyHeader(request, ownAddress);
    reply[3] = errorCode;
    return reply;
}

} // namespace ft3sim
