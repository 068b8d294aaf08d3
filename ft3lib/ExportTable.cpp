// The ordinal table: what other programs find by number rather than by name.
#include "ft3lib/Bridge.h"

namespace ft3lib {

namespace {

template <class Function>
FT3Proc Proc(Function* function)
{
    return reinterpret_cast<FT3Proc>(function);
}

} // namespace

extern "C" const FT3Export FT3ExportTable[FT3_EXPORT_COUNT] = {
    {1, "GetEvntDT", Proc(&GetEvntDT)},
    {2, "LongEventLen", Proc(&LongEventLen)},
    {3, "ShortEventLen", Proc(&ShortEventLen)},
    {4, "GetNameEvent", Proc(&GetNameEvent)},
    {5, "DecodeDevState", Proc(&DecodeDevState)},
    {6, "TestInputCod", Proc(&TestInputCod)},
    {7, "TestStateDev", Proc(&TestStateDev)},
    {8, "GetEventName", Proc(&GetEventName)},
    {9, "CRC_FT3", Proc(&CRC_FT3)},
    {10, "NextPosFT3", Proc(&NextPosFT3)},
    {11, "MakePackageFT3", Proc(&MakePackageFT3)},
    {12, "MakePackageFT31", Proc(&MakePackageFT31)},
    {13, "TestPackageCRC_FT3", Proc(&TestPackageCRC_FT3)},
    {14, "CalcLenPackageFT3", Proc(&CalcLenPackageFT3)},
    {15, "ExchangeFT3", Proc(&ExchangeFT3)},
    {16, "ExtractPackageFT3", Proc(&ExtractPackageFT3)},
    {17, "ExtractPackageFT31", Proc(&ExtractPackageFT31)},
    {18, "DecodeIDDevFT3", Proc(&DecodeIDDevFT3)},
    {19, "DecodeTime_2a", Proc(&DecodeTime_2a)},
    {20, "TestNew", Proc(&TestNew)},
    {21, "FindMessageFT3", Proc(&FindMessageFT3)},
    {22, "GetCountDT_14", Proc(&GetCountDT_14)},
    {23, "GetFormatDT_14", Proc(&GetFormatDT_14)},
    // One function under two ordinals, as the controllers' other programs expect.
    {24, "IsLastTrust_14", Proc(&IsLastTrust_14)},
    {25, "IsLastTrust_14", Proc(&IsLastTrust_14)},
    {26, "IsFldPresent_14", Proc(&IsFldPresent_14)},
    {27, "GetPosDT_14", Proc(&GetPosDT_14)},
    {28, "GetAddrCH_14", Proc(&GetAddrCH_14)},
    {29, "Time2aToDateTime", Proc(&Time2aToDateTime)},
    {30, "ExchangeFT3Ex", Proc(&ExchangeFT3Ex)},
};

} // namespace ft3lib
