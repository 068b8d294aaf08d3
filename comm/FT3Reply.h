#pragma once
// Checking a received FT3 frame and turning it into its user data, and the texts of the error
// codes and state flags that controllers report.
//
// User data, new format (bit 7 of the control octet set): U[0] control, U[1] destination,
// U[2] source, U[3] error code, U[4] state flags, U[5] function, U[6..] the function's data.
// Old format: U[0] control, U[1] source, U[2] destination, U[3] function, U[4] error, U[5] state.
#include "comm/FT3Frame.h"

#include <cstdint>
#include <string>

// True when the control octet marks the new user-data format.
bool TestNew(uint8_t control);

// The text for a controller error code; empty for no error (0 and 240..255).
void TestInputCod(std::string& text, uint8_t errorCode);

// The text for a set of state flags: one line (ended by CR) per flag that has a text.
void TestStateDev(std::string& text, uint8_t stateFlags);

// Raises EDevState when the error code or the fault flags (mask 0xE9) report a fault, or, when
// strict, when the control octet's function is 9 (the data asked for cannot be delivered).
void CheckReplyState(uint8_t source, uint8_t control, uint8_t errorCode, uint8_t stateFlags,
                     bool strict);

// Checks a received frame, brings an old-format reply into the new format, checks the reported
// state when the function octet asks for it, and leaves only the user data in the buffer.
void ExtractPackageFT31(DynByteArray& buffer);

// The same for a reply read as old format throughout: no conversion, the state always checked.
void ExtractPackageFT3(DynByteArray& buffer);
