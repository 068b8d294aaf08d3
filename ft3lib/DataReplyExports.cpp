// The time, identifier and data-reply functions of the C interface.
#include "ft3lib/Bridge.h"

#include "comm/FT3DataReply.h"
#include "comm/FT3Time.h"

namespace ft3lib {

namespace {

// Runs a C++ reader of a read-only buffer and stores what it gives in *out.
template <class T, class Read>
int ReadInto(const uint8_t* buffer, size_t length, T* out, Read&& read)
{
    if (const int status = RequirePointers({out}); status != FT3_OK)
        return status;
    if (const int status = CheckInput(buffer, length); status != FT3_OK)
        return status;
    return Guarded([&] {
        *out = static_cast<T>(read(CopyIn(buffer, length)));
        return FT3_OK;
    });
}

} // namespace

extern "C" int DecodeIDDevFT3(uint32_t identifier, char* text, size_t capacity)
{
    return TextResult(text, capacity,
                      [identifier](std::string& out) { ::DecodeIDDevFT3(identifier, out); });
}

extern "C" int DecodeTime_2a(const uint8_t* buffer, size_t length, uint16_t position, int isLong,
                             double* dateTime)
{
    return ReadInto(buffer, length, dateTime, [=](const DynByteArray& octets) {
        return ::DecodeTime_2a(octets, position, isLong != 0);
    });
}

extern "C" int Time2aToDateTime(uint32_t a, uint32_t b, double* dateTime)
{
    if (const int status = RequirePointers({dateTime}); status != FT3_OK)
        return status;
    return Guarded([=] {
        *dateTime = ::Time2aToDateTime(a, b);
        return FT3_OK;
    });
}

extern "C" int GetCountDT_14(const uint8_t* reply, size_t length, uint8_t* count)
{
    return ReadInto(reply, length, count, &::GetCountDT_14);
}

extern "C" int GetFormatDT_14(const uint8_t* reply, size_t length, uint8_t* format)
{
    return ReadInto(reply, length, format, &::GetFormatDT_14);
}

extern "C" int IsLastTrust_14(const uint8_t* reply, size_t length, int* trustworthy)
{
    return ReadInto(reply, length, trustworthy, &::IsLastTrust_14);
}

extern "C" int IsFldPresent_14(const uint8_t* reply, size_t length, int* present)
{
    return ReadInto(reply, length, present, &::IsFldPresent_14);
}

extern "C" int GetPosDT_14(const uint8_t* reply, size_t length, uint16_t* position)
{
    return ReadInto(reply, length, position, &::GetPosDT_14);
}

extern "C" int GetAddrCH_14(const uint8_t* reply, size_t length, uint16_t* address)
{
    return ReadInto(reply, length, address, &::GetAddrCH_14);
}

} // namespace ft3lib
