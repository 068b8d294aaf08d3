#pragma once
// One FT3 exchange on the serial port: send the request frame, find the reply's leader among
// the incoming octets, read the rest of the reply, then check it and leave its user data in the
// buffer (index 0 control, 1 destination, 2 source, 3 error, 4 state, 5 function, 6.. data).
//
// PortLock() is held from the send to the end of the reply's read, so exchanges of different
// threads never interleave on the line. Messages name the request's destination address
// (frame octet 4). After a failed leader search the buffer holds the three leader octets.
#include "comm/CommPort.h"
#include "comm/FT3Frame.h"

#include <cstdint>

// Reads the reply's leader A0 26 and its length octet L, skipping at most maxSkip octets before
// them; what it read past L the port returns to the next read. On return the buffer is A0 26 L.
// Raises ENoReply when a read fails ("Нет ответа ...", followed by the port's message when the
// device itself failed) or no leader comes ("Нет лидера ...").
void FindMessageFT3(TCommPort& port, uint8_t address, DynByteArray& buffer, uint8_t maxSkip);

// The exchange the program uses: the leader search is tried again until timeoutMs have passed
// since the send. The time-out is wider than 16 bits for commands that take the controller
// longer than a minute (clearing its archive).
void ExchangeFT3Timed(TCommPort& port, DynByteArray& buffer, uint32_t timeoutMs);

// The exchange with a single leader search.
void ExchangeFT3(TCommPort& port, DynByteArray& buffer);

// The caller's clock for ExchangeFT3Ex: any count that grows with time.
using TFT3Clock = int64_t (*)(intptr_t userValue);

// As ExchangeFT3Timed, returning the time from the send to the end of the reply's read in the
// caller's clock counts, or -1 without a clock.
int64_t ExchangeFT3Ex(TCommPort& port, DynByteArray& buffer, uint16_t timeoutMs, TFT3Clock clock,
                      intptr_t userValue);
