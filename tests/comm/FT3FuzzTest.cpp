// Random and mutated replies fed to both extractors and the data-reply helpers: each call either
// succeeds or raises one of the protocol's own exceptions, and never reads past the buffer.
#include "comm/FT3Share.h"
#include "base/HexText.h"
#include "comm/FT3TestUtil.h"

#include <gtest/gtest.h>

#include <random>

namespace {

class Fuzzer {
public:
    explicit Fuzzer(uint32_t seed) : random_(seed) {}

    DynByteArray NextReply()
    {
        switch (Below(4)) {
        case 0: return RandomOctets(Below(300));
        case 1: return Mutated(ValidReply());
        case 2: return WithCrcsFixed(Mutated(ValidReply()));
        default: return WithCrcsFixed(ValidReply());
        }
    }

    size_t Below(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random_); }
    uint8_t Octet() { return static_cast<uint8_t>(Below(256)); }

private:
    DynByteArray RandomOctets(size_t n)
    {
        DynByteArray octets(n);
        for (auto& octet : octets)
            octet = Octet();
        return octets;
    }

    // A well-formed reply in either format with random fields and data.
    DynByteArray ValidReply()
    {
        DynByteArray userData = RandomOctets(Below(256));
        if (userData.size() > 5 && Below(2) == 0) {
            userData[3] = 0;   // often a clean state so extraction gets as far as de-blocking
            userData[4] = 0;
        }
        MakePackageFT3(userData, 0);
        return userData;
    }

    DynByteArray Mutated(DynByteArray frame)
    {
        const size_t changes = 1 + Below(4);
        for (size_t i = 0; i < changes && !frame.empty(); ++i) {
            switch (Below(4)) {
            case 0: frame[Below(frame.size())] ^= static_cast<uint8_t>(1 << Below(8)); break;
            case 1: frame.resize(Below(frame.size() + 1)); break;
            case 2: frame.push_back(Octet()); break;
            default:   // the length octet lies
                if (frame.size() > 2)
                    frame[2] = Octet();
                break;
            }
        }
        return frame;
    }

    // The CRC check writes the computed CRCs in place, so running it until it passes leaves a
    // frame whose CRCs are right for whatever its octets now are.
    static DynByteArray WithCrcsFixed(DynByteArray frame)
    {
        for (int pass = 0; pass < 20; ++pass) {
            try {
                TestPackageCRC_FT3(frame, 0);
                break;
            } catch (const EErrCRC&) {
            } catch (const EShareFT3Exception&) {
                break;
            }
        }
        return frame;
    }

    std::mt19937 random_;
};

enum class Outcome { Ok, Protocol, Other };

template <typename F>
Outcome Attempt(F&& call)
{
    try {
        call();
        return Outcome::Ok;
    } catch (const EShareFT3Exception&) {
    } catch (const ENoReply&) {
    } catch (const EErrCRC&) {
    } catch (const EDevState&) {
    } catch (const EConvertError&) {
    } catch (...) {
        return Outcome::Other;
    }
    return Outcome::Protocol;
}

void CheckExtracted(const DynByteArray& input, const DynByteArray& output, Fuzzer& fuzzer)
{
    ASSERT_LE(output.size(), input.size());
    ASSERT_LE(output.size(), size_t{input.at(2)});
    // Whatever came out can be read by the data-reply and time helpers without harm.
    ASSERT_NE(Attempt([&] { GetCountDT_14(output); }), Outcome::Other);
    ASSERT_NE(Attempt([&] { GetAddrCH_14(output); }), Outcome::Other);
    ASSERT_NE(Attempt([&] { GetFormatDT_14(output); }), Outcome::Other);
    ASSERT_NE(Attempt([&] { GetPosDT_14(output); }), Outcome::Other);
    const auto position = static_cast<uint16_t>(fuzzer.Below(output.size() + 8));
    ASSERT_NE(Attempt([&] { DecodeTime_2a(output, position, fuzzer.Below(2) == 0); }), Outcome::Other);
}

} // namespace

TEST(FT3Fuzz, RepliesEitherExtractOrRaiseAProtocolError)
{
    Fuzzer fuzzer(20240611);
    int extracted = 0;
    for (int i = 0; i < 40000; ++i) {
        const DynByteArray reply = fuzzer.NextReply();
        for (auto extract : {&ExtractPackageFT31, &ExtractPackageFT3}) {
            DynByteArray buffer = reply;
            const Outcome outcome = Attempt([&] { extract(buffer); });
            ASSERT_NE(outcome, Outcome::Other) << BytesToHex(reply);
            if (outcome == Outcome::Ok) {
                ++extracted;
                CheckExtracted(reply, buffer, fuzzer);
            }
        }
    }
    EXPECT_GT(extracted, 10000) << "the mutations should leave many replies intact";
}
