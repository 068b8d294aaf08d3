#pragma once
// FT3 framing: a frame is the leader A0 26, then the length octet L and L octets of user data
// cut into blocks of 16 octets, each block followed by its CRC (high octet first). A frame is
// never shorter than 20 octets: a short first block is padded with zeros to 16.
#include <cstdint>
#include <vector>

// The buffer of every frame: the request is built in it, the reply is read into it, and after
// extraction it holds the reply's user data.
using DynByteArray = std::vector<uint8_t>;

constexpr uint8_t kFT3Leader0 = 0xA0;
constexpr uint8_t kFT3Leader1 = 0x26;
constexpr uint8_t kFT3OwnAddress = 0xFA;   // the program's own station address (250)
constexpr int kFT3BlockSize = 16;
constexpr int kFT3MinFrame = 20;           // leader + one padded block + its CRC
constexpr int kFT3MaxUserData = 255;

// Text of a bound of a frame buffer crossed.
extern const char* const kFT3OutOfBounds;

// CRC of the block buffer[start .. start+count-1], stored complemented at buffer[start+count]
// (high octet) and buffer[start+count+1] (low octet).
void CRC_FT3(DynByteArray& buffer, uint16_t start, uint16_t count);

// Total length of a frame carrying L octets of user data.
uint16_t CalcLenPackageFT3(uint8_t L);

// Moves the block cursor one octet on; at the end of a block writes the block's CRC when asked
// and skips over it to the next block.
void NextPosFT3(DynByteArray& buffer, uint16_t& blockStart, uint16_t& position, bool writeCRC);

// Replaces the user data in the buffer by the complete frame. With lengthIncluded non-zero the
// buffer already begins with its own length octet.
void MakePackageFT3(DynByteArray& buffer, uint16_t lengthIncluded);

// As MakePackageFT3, after marking the control octet as the new user-data format (bit 7).
void MakePackageFT31(DynByteArray& buffer, uint16_t lengthIncluded);

// Checks every block CRC of the first `length` octets (0: the whole buffer) in place: afterwards
// the buffer holds the computed CRCs, and on a mismatch octet 7 is set to 0xF3.
void TestPackageCRC_FT3(DynByteArray& buffer, uint16_t length);
