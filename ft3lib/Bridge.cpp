#include "ft3lib/Bridge.h"

#include "base/Format.h"

#include <algorithm>
#include <cstring>

namespace ft3lib {

namespace {

thread_local std::string lastError;

} // namespace

extern "C" const char* FT3LastError(void)
{
    return lastError.c_str();
}

void SetLastError(std::string message)
{
    lastError = std::move(message);
}

int Fail(int code, std::string message)
{
    SetLastError(std::move(message));
    return code;
}

int RequirePointers(std::initializer_list<const void*> pointers)
{
    for (const void* pointer : pointers)
        if (pointer == nullptr)
            return Fail(FT3_E_ARGUMENT, "Не задан обязательный указатель");
    return FT3_OK;
}

int CheckInput(const uint8_t* buffer, size_t length)
{
    if (buffer == nullptr && length != 0)
        return Fail(FT3_E_ARGUMENT, "Не задан буфер");
    return FT3_OK;
}

int CheckBuffer(const uint8_t* buffer, const size_t* length, size_t capacity)
{
    if (length == nullptr)
        return Fail(FT3_E_ARGUMENT, "Не задана длина буфера");
    if (*length > capacity)
        return Fail(FT3_E_ARGUMENT,
                    Format("Длина данных %zu больше размера буфера %zu", *length, capacity));
    if (buffer == nullptr && capacity != 0)
        return Fail(FT3_E_ARGUMENT, "Не задан буфер");
    return FT3_OK;
}

DynByteArray CopyIn(const uint8_t* buffer, size_t length)
{
    return length ? DynByteArray(buffer, buffer + length) : DynByteArray();
}

int WriteBack(int status, const DynByteArray& work, uint8_t* buffer, size_t* length,
              size_t capacity)
{
    if (work.size() > capacity) {
        if (status != FT3_OK)
            return status;
        return Fail(FT3_E_SPACE, Format("Результат длиной %zu не помещается в буфер размером %zu",
                                        work.size(), capacity));
    }
    if (!work.empty())
        std::memcpy(buffer, work.data(), work.size());
    *length = work.size();
    return status;
}

int PutText(const std::string& text, char* out, size_t capacity)
{
    if (capacity == 0)
        return static_cast<int>(text.size());
    if (text.size() >= capacity) {
        out[0] = '\0';
        return Fail(FT3_E_SPACE, Format("Текст длиной %zu не помещается в буфер размером %zu",
                                        text.size(), capacity));
    }
    std::memcpy(out, text.c_str(), text.size() + 1);
    return static_cast<int>(text.size());
}

void CopyField(const std::string& text, char* field, size_t size)
{
    size_t count = std::min(text.size(), size - 1);
    // Never leave half of a multi-octet character behind.
    while (count < text.size() && count > 0 && (static_cast<uint8_t>(text[count]) & 0xC0) == 0x80)
        --count;
    std::memcpy(field, text.data(), count);
    field[count] = '\0';
}

} // namespace ft3lib
