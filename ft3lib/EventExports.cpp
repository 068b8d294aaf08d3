// The event-archive functions of the C interface.
#include "ft3lib/Bridge.h"

#include "comm/FT3Event.h"

#include <algorithm>
#include <cxxabi.h>
#include <cstdlib>
#include <typeinfo>

namespace ft3lib {

namespace {

std::string ClassName(const TEventFT3& event)
{
    const char* mangled = typeid(event).name();
    int status = 0;
    char* plain = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
    std::string name = status == 0 && plain ? plain : mangled;
    std::free(plain);
    return name;
}

void Fill(const TEventFT3& source, FT3Event& event)
{
    event = FT3Event {};
    event.isLong = source.IsLong;
    event.code = source.Code;
    event.attribute = source.Attribute;
    event.channel = source.Channel;
    event.time = source.Time;
    event.value8 = source.Value8;
    std::copy(source.Data.begin(), source.Data.end(), event.data);
    std::copy(source.Value32.begin(), source.Value32.end(), event.value32);
    event.value16 = source.Value16;
    if (const auto* restart = dynamic_cast<const TEv00*>(&source))
        event.param = restart->Param;
    if (const auto* clock = dynamic_cast<const TEv09*>(&source)) {
        event.param = clock->Param;
        event.param2 = clock->Param2;
    }
    CopyField(ClassName(source), event.className, sizeof event.className);
    if (const auto* command = dynamic_cast<const TEvTU169*>(&source)) {
        std::string text;
        command->CommandName(text);
        CopyField(text, event.command, sizeof event.command);
        command->Description(text);
        CopyField(text, event.description, sizeof event.description);
    }
}

} // namespace

extern "C" int GetEvntDT(const uint8_t* buffer, size_t* length, uint8_t position, int freeBuffer,
                         int isLong, FT3Event* event)
{
    if (const int status = RequirePointers({length, event}); status != FT3_OK)
        return status;
    if (const int status = CheckInput(buffer, *length); status != FT3_OK)
        return status;
    return Guarded([&] {
        DynByteArray record = CopyIn(buffer, *length);
        const auto decoded = ::GetEvntDT(record, position, false, isLong != 0);
        Fill(*decoded, *event);
        if (freeBuffer)
            *length = 0;
        return FT3_OK;
    });
}

extern "C" int LongEventLen(void)
{
    return ::LongEventLen();
}

extern "C" int ShortEventLen(void)
{
    return ::ShortEventLen();
}

extern "C" int GetNameEvent(uint8_t code, char* text, size_t capacity)
{
    return TextResult(text, capacity, [code](std::string& out) { ::GetNameEvent(code, out); });
}

extern "C" int DecodeDevState(uint8_t state, char* text, size_t capacity)
{
    return TextResult(text, capacity, [state](std::string& out) { ::DecodeDevState(state, out); });
}

extern "C" int GetEventName(char* text, size_t capacity, uint8_t code)
{
    return TextResult(text, capacity, [code](std::string& out) { ::GetEventName(out, code); });
}

} // namespace ft3lib
