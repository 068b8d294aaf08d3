// The framing and reply-check functions of the C interface.
#include "ft3lib/Bridge.h"

#include "comm/FT3Frame.h"
#include "comm/FT3Reply.h"

namespace ft3lib {

extern "C" int TestInputCod(char* text, size_t capacity, uint8_t errorCode)
{
    return TextResult(text, capacity,
                      [errorCode](std::string& out) { ::TestInputCod(out, errorCode); });
}

extern "C" int TestStateDev(char* text, size_t capacity, uint8_t stateFlags)
{
    return TextResult(text, capacity,
                      [stateFlags](std::string& out) { ::TestStateDev(out, stateFlags); });
}

extern "C" int CRC_FT3(uint8_t* buffer, size_t length, uint16_t start, uint16_t count)
{
    return OnCopy(buffer, &length, length,
                  [=](DynByteArray& frame) { ::CRC_FT3(frame, start, count); });
}

extern "C" int NextPosFT3(uint8_t* buffer, size_t length, uint16_t* blockStart, uint16_t* position,
                          int writeCRC)
{
    if (const int status = RequirePointers({blockStart, position}); status != FT3_OK)
        return status;
    return OnCopy(buffer, &length, length, [=](DynByteArray& frame) {
        ::NextPosFT3(frame, *blockStart, *position, writeCRC != 0);
    });
}

extern "C" int MakePackageFT3(uint8_t* buffer, size_t* length, size_t capacity,
                              uint16_t lengthIncluded)
{
    return OnCopy(buffer, length, capacity, [=](DynByteArray& frame) {
        ::MakePackageFT3(frame, lengthIncluded);
    });
}

extern "C" int MakePackageFT31(uint8_t* buffer, size_t* length, size_t capacity,
                               uint16_t lengthIncluded)
{
    return OnCopy(buffer, length, capacity, [=](DynByteArray& frame) {
        ::MakePackageFT31(frame, lengthIncluded);
    });
}

extern "C" int TestPackageCRC_FT3(uint8_t* buffer, size_t length, uint16_t checkLength)
{
    return OnCopy(buffer, &length, length, [=](DynByteArray& frame) {
        ::TestPackageCRC_FT3(frame, checkLength);
    });
}

extern "C" uint16_t CalcLenPackageFT3(uint8_t L)
{
    return ::CalcLenPackageFT3(L);
}

extern "C" int ExtractPackageFT3(uint8_t* buffer, size_t* length)
{
    if (const int status = RequirePointers({length}); status != FT3_OK)
        return status;
    return OnCopy(buffer, length, *length,
                  [](DynByteArray& frame) { ::ExtractPackageFT3(frame); });
}

extern "C" int ExtractPackageFT31(uint8_t* buffer, size_t* length)
{
    if (const int status = RequirePointers({length}); status != FT3_OK)
        return status;
    return OnCopy(buffer, length, *length,
                  [](DynByteArray& frame) { ::ExtractPackageFT31(frame); });
}

extern "C" int TestNew(uint8_t control)
{
    return ::TestNew(control) ? 1 : 0;
}

} // namespace ft3lib
