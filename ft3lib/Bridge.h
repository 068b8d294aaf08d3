#pragma once
// The passage from the C interface to the C++ protocol code: failures become status codes with
// the thread's last-error text, buffers are copied in and written back within the caller's
// capacity, texts go into the caller's memory.
#define FT3_NAMESPACE ft3lib
#include "ft3lib/ft3.h"

#include "base/Exception.h"
#include "comm/FT3Exceptions.h"
#include "comm/FT3Frame.h"
#include "comm/PortException.h"

#include <exception>
#include <initializer_list>
#include <new>
#include <string>

namespace ft3lib {

void SetLastError(std::string message);

// Sets the last error and gives back the code.
int Fail(int code, std::string message);

// Runs body (which returns a status or a text length) and turns any failure into its code.
template <class Body>
int Guarded(Body&& body) noexcept
{
    try {
        SetLastError({});
        return body();
    } catch (const EShareFT3Exception& e) {
        return Fail(FT3_E_DATA, e.Message());
    } catch (const ENoReply& e) {
        return Fail(FT3_E_NO_REPLY, e.Message());
    } catch (const EErrCRC& e) {
        return Fail(FT3_E_CRC, e.Message());
    } catch (const EDevState& e) {
        return Fail(FT3_E_DEVICE, e.Message());
    } catch (const EPortException& e) {
        return Fail(FT3_E_PORT, e.Message());
    } catch (const EConvertError& e) {
        return Fail(FT3_E_DATE, e.Message());
    } catch (const std::bad_alloc&) {
        return Fail(FT3_E_FAILURE, "Недостаточно памяти");
    } catch (const std::exception& e) {
        return Fail(FT3_E_FAILURE, e.what());
    } catch (...) {
        return Fail(FT3_E_FAILURE, "Неизвестная ошибка");
    }
}

// FT3_E_ARGUMENT unless every pointer is given.
int RequirePointers(std::initializer_list<const void*> pointers);

// FT3_E_ARGUMENT unless a read-only buffer of the length is given (none is needed for 0).
int CheckInput(const uint8_t* buffer, size_t length);
// FT3_E_ARGUMENT unless (buffer, *length, capacity) describe usable memory.
int CheckBuffer(const uint8_t* buffer, const size_t* length, size_t capacity);
// A copy of the caller's octets (none for a null buffer of length 0).
DynByteArray CopyIn(const uint8_t* buffer, size_t length);

// Hands the work buffer back as the interface promises: written back when it fits (a result
// that does not fit turns a success into FT3_E_SPACE); returns the status to report.
int WriteBack(int status, const DynByteArray& work, uint8_t* buffer, size_t* length,
              size_t capacity);

// Runs change (which may throw) on a copy of the caller's buffer and writes the copy back, so
// that a failure leaves the caller's memory as it was unless the change got that far.
template <class Change>
int OnCopy(uint8_t* buffer, size_t* length, size_t capacity, Change&& change)
{
    if (const int status = CheckBuffer(buffer, length, capacity); status != FT3_OK)
        return status;
    DynByteArray work;
    bool copied = false;
    const int status = Guarded([&] {
        work = CopyIn(buffer, *length);
        copied = true;
        change(work);
        return FT3_OK;
    });
    return copied ? WriteBack(status, work, buffer, length, capacity) : status;
}

// Puts a text into the caller's memory; returns its length or FT3_E_SPACE.
int PutText(const std::string& text, char* out, size_t capacity);

// Runs a C++ function that sets a text by reference, and puts the text out.
template <class Produce>
int TextResult(char* out, size_t capacity, Produce&& produce) noexcept
{
    if (out == nullptr && capacity != 0)
        return Fail(FT3_E_ARGUMENT, "Не задан буфер для текста");
    return Guarded([&] {
        std::string text;
        produce(text);
        return PutText(text, out, capacity);
    });
}

// Copies the text into a fixed field, cut to fit at a whole UTF-8 character.
void CopyField(const std::string& text, char* field, size_t size);

} // namespace ft3lib
