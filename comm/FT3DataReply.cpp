#include "comm/FT3DataReply.h"

#include "base/Format.h"
#include "comm/FT3Exceptions.h"

namespace {

constexpr size_t kCountCode = 6;
constexpr uint8_t kCountInNextOctet = 15;

uint8_t OctetAt(const DynByteArray& reply, size_t index)
{
    if (index >= reply.size())
        throw EShareFT3Exception(Format("Недостаточно данных в ответе (длина %zu, нужно %zu)",
                                        reply.size(), index + 1));
    return reply[index];
}

// 1 when the count code moves the later fields one octet on.
size_t Shift(const DynByteArray& reply)
{
    return (OctetAt(reply, kCountCode) & 0x0F) == kCountInNextOctet ? 1 : 0;
}

uint8_t FormatOctet(const DynByteArray& reply)
{
    return OctetAt(reply, 9 + Shift(reply));
}

} // namespace

uint8_t GetCountDT_14(const DynByteArray& reply)
{
    const uint8_t code = OctetAt(reply, kCountCode) & 0x0F;
    switch (code) {
    case 1: return 1;
    case 2: return 8;
    case 3: return 16;
    case 4: return 32;
    case 5: return 64;
    case kCountInNextOctet: return OctetAt(reply, kCountCode + 1);
    default: throw EShareFT3Exception(Format("Код числа каналов %d не поддерживается", code));
    }
}

uint16_t GetAddrCH_14(const DynByteArray& reply)
{
    const size_t at = 7 + Shift(reply);
    return static_cast<uint16_t>(OctetAt(reply, at) | OctetAt(reply, at + 1) << 8);
}

uint8_t GetFormatDT_14(const DynByteArray& reply)
{
    return FormatOctet(reply) & 0x0F;
}

bool IsLastTrust_14(const DynByteArray& reply)
{
    return (FormatOctet(reply) & 0x20) != 0;
}

bool IsFldPresent_14(const DynByteArray& reply)
{
    return (FormatOctet(reply) & 0x80) != 0;
}

uint16_t GetPosDT_14(const DynByteArray& reply)
{
    return static_cast<uint16_t>(10 + Shift(reply));
}
