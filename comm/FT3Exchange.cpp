#include "comm/FT3Exchange.h"

#include "base/Format.h"
#include "comm/FT3Exceptions.h"
#include "comm/FT3Reply.h"
#include "comm/PortLock.h"

#include <chrono>
#include <mutex>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

enum class LeaderSearch { Once, UntilTimeOut };

std::string ForController(const Exception& e, uint8_t address)
{
    return Format("%s для контроллера с адресом %d\r", e.what(), address);
}

uint8_t RequestAddress(const DynByteArray& buffer)
{
    // A request frame is never shorter than its leader, length, control and destination.
    if (buffer.size() < 5)
        throw EShareFT3Exception(kFT3OutOfBounds);
    return buffer[4];
}

// A clock handed in through the exported interface may be a small number standing for none.
bool HasClock(TFT3Clock clock)
{
    return reinterpret_cast<uintptr_t>(clock) > 0xFFFF;
}

int64_t Exchange(TCommPort& port, DynByteArray& buffer, LeaderSearch search, uint32_t timeoutMs,
                 TFT3Clock clock, intptr_t userValue)
{
    const uint8_t address = RequestAddress(buffer);
    const bool timed = HasClock(clock);
    int64_t started = 0;
    int64_t result = -1;
    {
        std::lock_guard hold(PortLock());
        try {
            port.Send(buffer.data(), buffer.size());
        } catch (const Exception& e) {
            throw ENoReply(ForController(e, address));
        }
        const auto sent = Clock::now();
        if (timed)
            started = clock(userValue);

        for (;;) {
            try {
                FindMessageFT3(port, address, buffer, 255);
                break;
            } catch (const Exception& e) {
                if (search == LeaderSearch::Once)
                    throw;
                if (Clock::now() - sent >= std::chrono::milliseconds(timeoutMs))
                    throw ENoReply(ForController(e, address));
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        }

        const uint16_t length = CalcLenPackageFT3(buffer[2]);
        buffer.resize(length);
        const uint16_t wanted = static_cast<uint16_t>(length - 3);
        const uint16_t got = port.ReadData(buffer.data() + 3, wanted);
        if (timed)
            result = clock(userValue) - started;
        if (got < wanted)
            throw ENoReply(Format("Не совпала длина при ответе от контроллера с адресом %d", address));
    }
    ExtractPackageFT31(buffer);
    return result;
}

} // namespace

void FindMessageFT3(TCommPort& port, uint8_t address, DynByteArray& buffer, uint8_t maxSkip)
{
    buffer.assign({kFT3Leader0, kFT3Leader1, 0});
    std::lock_guard hold(PortLock());
    int state = 0;
    // What has come is taken in one read and scanned; octets past the length octet are given
    // back to the port for the body's read. Never more than the octets allowed are taken.
    uint8_t chunk[256];
    for (int left = maxSkip + 1; left > 0;) {
        uint16_t got = 0;
        try {
            got = port.ReadSome(chunk, static_cast<uint16_t>(left));
        } catch (const EPortSystemError& e) {
            // A failing device is no silent controller: its reason goes with the text.
            throw ENoReply(Format("Нет ответа от контроллера с адресом %d - %s", address, e.what()));
        } catch (const Exception&) {
            throw ENoReply(Format("Нет ответа от контроллера с адресом %d", address));
        }
        left -= got;
        for (uint16_t i = 0; i < got; ++i) {
            const uint8_t octet = chunk[i];
            switch (state) {
            case 0:
                state = octet == kFT3Leader0 ? 1 : 0;
                break;
            case 1:
                // Another A0 here starts the search over rather than counting as a first leader octet.
                state = octet == kFT3Leader1 ? 2 : 0;
                break;
            default:
                buffer[2] = octet;
                port.Unread(chunk + i + 1, got - i - 1u);
                return;
            }
        }
    }
    throw ENoReply(Format("Нет лидера в ответе от контроллера с адресом %d", address));
}

void ExchangeFT3Timed(TCommPort& port, DynByteArray& buffer, uint32_t timeoutMs)
{
    Exchange(port, buffer, LeaderSearch::UntilTimeOut, timeoutMs, nullptr, 0);
}

void ExchangeFT3(TCommPort& port, DynByteArray& buffer)
{
    Exchange(port, buffer, LeaderSearch::Once, 0, nullptr, 0);
}

int64_t ExchangeFT3Ex(TCommPort& port, DynByteArray& buffer, uint16_t timeoutMs, TFT3Clock clock,
                      intptr_t userValue)
{
    return Exchange(port, buffer, LeaderSearch::UntilTimeOut, timeoutMs, clock, userValue);
}
