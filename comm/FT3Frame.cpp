#include "comm/FT3Frame.h"

#include "base/Format.h"
#include "comm/FT3Exceptions.h"

#include <algorithm>
#include <array>
#include <cstring>

const char* const kFT3OutOfBounds = "Выход за границы массива";

namespace {

// CRC-16/EN-13757: polynomial 0x3D65, most significant bit first, initial value 0, result
// complemented. Table k gives the effect of an octet followed by k-1 zero octets, so four
// octets are folded in at once (the CRC of a 16-octet block takes four steps, not sixteen).
constexpr uint16_t kPolynomial = 0x3D65;

using CrcTable = std::array<uint16_t, 256>;

constexpr std::array<CrcTable, 4> MakeCrcTables()
{
    std::array<CrcTable, 4> tables{};
    for (unsigned index = 0; index < 256; ++index) {
        uint16_t crc = static_cast<uint16_t>(index << 8);
        for (int bit = 0; bit < 8; ++bit)
            crc = static_cast<uint16_t>((crc & 0x8000) ? (crc << 1) ^ kPolynomial : crc << 1);
        tables[0][index] = crc;
    }
    for (size_t k = 1; k < 4; ++k)
        for (unsigned index = 0; index < 256; ++index) {
            const uint16_t previous = tables[k - 1][index];
            tables[k][index] = static_cast<uint16_t>((previous << 8) ^ tables[0][previous >> 8]);
        }
    return tables;
}

constexpr std::array<CrcTable, 4> kCrc = MakeCrcTables();

// The CRC of count octets from start, written complemented behind them, high octet first
// (no bound check).
void CRC_FT3Raw(uint8_t* buffer, size_t start, size_t count)
{
    const uint8_t* octet = buffer + start;
    const uint8_t* const end = octet + count;
    uint16_t crc = 0;
    for (; end - octet >= 4; octet += 4)
        crc = kCrc[3][(crc >> 8) ^ octet[0]] ^ kCrc[2][(crc & 0xFF) ^ octet[1]]
              ^ kCrc[1][octet[2]] ^ kCrc[0][octet[3]];
    for (; octet != end; ++octet)
        crc = static_cast<uint16_t>((crc << 8) ^ kCrc[0][(crc >> 8) ^ *octet]);
    crc = static_cast<uint16_t>(~crc);
    buffer[start + count] = static_cast<uint8_t>(crc >> 8);
    buffer[start + count + 1] = static_cast<uint8_t>(crc & 0xFF);
}

} // namespace

void CRC_FT3(DynByteArray& buffer, uint16_t start, uint16_t count)
{
    if (buffer.size() < size_t{start} + count + 2)
        throw EShareFT3Exception(kFT3OutOfBounds);
    CRC_FT3Raw(buffer.data(), start, count);
}

uint16_t CalcLenPackageFT3(uint8_t L)
{
    if (L < kFT3BlockSize)
        return kFT3MinFrame;
    const unsigned n = L + 1u;
    return static_cast<uint16_t>(n + 2 + 2 * (n / kFT3BlockSize) + (n % kFT3BlockSize ? 2 : 0));
}

void NextPosFT3(DynByteArray& buffer, uint16_t& blockStart, uint16_t& position, bool writeCRC)
{
    ++position;
    if (buffer.size() <= size_t{blockStart} + position)
        throw EShareFT3Exception(kFT3OutOfBounds);
    if (position == kFT3BlockSize) {
        if (writeCRC)
            CRC_FT3(buffer, blockStart, kFT3BlockSize);
        blockStart = static_cast<uint16_t>(blockStart + kFT3BlockSize + 2);
        position = 0;
    }
}

namespace {

// The number of user-data octets, refusing what the length octet cannot say truly: a longer
// request would otherwise go out with a wrong length.
size_t CheckedUserData(const DynByteArray& buffer, uint16_t lengthIncluded)
{
    const size_t userData = lengthIncluded ? (buffer.empty() ? 0 : buffer.size() - 1) : buffer.size();
    if (userData > kFT3MaxUserData)
        throw EShareFT3Exception(Format(
            "Слишком много данных для кадра FT3: %zu (не более %d)", userData, kFT3MaxUserData));
    if (lengthIncluded && !buffer.empty() && buffer[0] != userData)
        throw EShareFT3Exception(Format(
            "Октет длины %d не совпадает с числом данных %zu", buffer[0], userData));
    return userData;
}

} // namespace

void MakePackageFT3(DynByteArray& buffer, uint16_t lengthIncluded)
{
    const size_t userData = CheckedUserData(buffer, lengthIncluded);

    // The frame is built in a buffer of exactly its final size; the padding is its zeros.
    const uint8_t L = static_cast<uint8_t>(userData);
    DynByteArray frame(CalcLenPackageFT3(L), 0);
    frame[0] = kFT3Leader0;
    frame[1] = kFT3Leader1;
    uint16_t blockStart = 2;
    uint16_t position = 0;
    if (!lengthIncluded) {
        frame[2] = L;
        position = 1;
    }
    // The data goes in a block at a time; each full block gets its CRC behind it.
    for (size_t copied = 0; copied < buffer.size();) {
        const size_t take = std::min<size_t>(kFT3BlockSize - position, buffer.size() - copied);
        std::memcpy(&frame[blockStart + position], &buffer[copied], take);
        copied += take;
        position = static_cast<uint16_t>(position + take);
        if (position == kFT3BlockSize) {
            CRC_FT3Raw(frame.data(), blockStart, kFT3BlockSize);
            blockStart = static_cast<uint16_t>(blockStart + kFT3BlockSize + 2);
            position = 0;
        }
    }
    if (blockStart + position < kFT3MinFrame)
        position = kFT3BlockSize;
    if (position > 0)
        CRC_FT3Raw(frame.data(), blockStart, position);
    buffer.swap(frame);
}

void MakePackageFT31(DynByteArray& buffer, uint16_t lengthIncluded)
{
    // The control octet is U[0]: behind the length octet when the caller includes it.
    const size_t control = lengthIncluded ? 1 : 0;
    if (buffer.size() <= control)
        throw EShareFT3Exception(kFT3OutOfBounds);
    CheckedUserData(buffer, lengthIncluded);   // a refused buffer is left as it was
    buffer[control] |= 0x80;
    MakePackageFT3(buffer, lengthIncluded);
}

void TestPackageCRC_FT3(DynByteArray& buffer, uint16_t length)
{
    const size_t total = length ? length : buffer.size();
    size_t pos = 2;
    while (pos < total) {
        // One or two octets after the last full block cannot be a block with its CRC.
        if (pos + 2 >= total)
            throw EShareFT3Exception(Format("Неверная длина кадра FT3: %zu", total));
        const size_t block = pos + kFT3BlockSize + 2 <= total ? kFT3BlockSize : total - pos - 2;
        if (buffer.size() < pos + block + 2)
            throw EShareFT3Exception(kFT3OutOfBounds);
        uint8_t* crc = buffer.data() + pos + block;
        const unsigned received = crc[0] | crc[1] << 8;
        CRC_FT3Raw(buffer.data(), pos, block);
        const unsigned computed = crc[0] | crc[1] << 8;
        if (computed != received) {
            if (buffer.size() > 7)
                buffer[7] = 0xF3;
            throw EErrCRC(Format("Ошибка CRC.\rНадо : %4.4X\rПолучили : %4.4X", computed, received));
        }
        pos += block + 2;
    }
}
