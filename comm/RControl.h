#pragma once
// Commands that service a controller, chiefly the data-collecting controller that measures on
// its own and keeps an archive: its identifier and address, its clock, its parameters, clearing
// its measurement archive, and reading the archive block by block.
//
// Each command builds its request, exchanges it on the given port (ExchangeFT3Timed, so it holds
// PortLock() only for the exchange) and logs its progress to the port's log sink: its name in
// black, "<- " and the request frame in blue, "-> " and the reply's user data in blue, what it
// decoded in black, then "Ok" in black. Every failure raises out of the command, its log then
// ending without "Ok": exchange failures (ENoReply, EErrCRC, EDevState, EPortException) as the
// exchange raised them, a parameter refused as EPortException, and a reply too short for what
// the command reads from it as ENoReply "Не совпала длина при ответе от контроллера с адресом N".
#include "base/DateTime.h"
#include "comm/CommPort.h"
#include "comm/FT3Frame.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

// The address every controller answers, whatever its own.
constexpr uint8_t kAnyController = 0xFE;

// One record of the measurement archive as the program keeps it.
struct TArchiveRec {
    uint32_t Id = 0;                 // low 28 bits: the local block address; top 4 bits: the suspension number
    std::array<int8_t, 6> Temps{};   // sensors 0 to 5, whole degrees
    TDateTime Time = 0;              // of the measurement; 0 when the record's time is not valid
};
using DynArrayRec = std::vector<TArchiveRec>;

// Size of an archive record on the wire: six temperatures, the 32-bit number, the octet with the
// id's top four bits, and the CP56Time2a time.
constexpr size_t kArchiveRecordSize = 18;

// Asks any controller on the line (address 254) for its identifier and returns the address it
// answers from. Logs "Контроллер: " and the identifier text, and the firmware date. A firmware
// date that is not a valid date raises EConvertError.
uint8_t ReadControllerID(TCommPort& port);

// Gives the controller at `address` the new address; `address` becomes the address the reply
// came from.
void SetControllerAddress(TCommPort& port, uint8_t& address, uint8_t newAddress);

// Sets the controller's clock.
void SetControllerTime(TCommPort& port, uint8_t address, TDateTime value);

// Reads the controller's clock; 0 when the time it reports is not a valid date.
TDateTime GetControllerTime(TCommPort& port, uint8_t address);

// Writes a parameter. The block is what follows the request's fixed part: octet 0 the write
// mark, octets 1-2 the parameter number (low first), octet 3 the sub-index, octet 4 zero, then
// the value. A refused parameter raises EPortException "Данные не приняты"; a reply naming
// another parameter raises EPortException. A block too short to name a parameter raises
// Exception before anything is logged or sent.
void WriteControllerParam(TCommPort& port, uint8_t address, DynByteArray& block);

// Reads a parameter. The block going in: octets 0-1 the parameter number (low first), octet 2
// the sub-index, then zeros. Coming out it is the reply's parameter block from the sub-index on
// (the value from octet 2); the caller checks it is long enough for the value it reads. Failures
// as for WriteControllerParam; a reply too short to name its parameter raises ENoReply.
void ReadControllerParam(TCommPort& port, uint8_t address, DynByteArray& block);

// Clears the controller's measurement archive, waiting up to `seconds` for the reply (clearing
// takes the controller a while). Shows the busy cursor while it runs.
void ClearMeasureArchive(TCommPort& port, uint8_t address, uint16_t seconds);

// The reply time-out of ClearMeasureArchive in milliseconds.
uint32_t ClearArchiveTimeoutMs(uint16_t seconds);

// Reads up to `count` archive records from record `start` on and appends them to `records`
// (which is not emptied first); fewer records than asked for mean the archive ends there. A
// rest shorter than a whole record is ignored. In the no-port mode (noCom) nothing is sent:
// starts 0, 5 and 10 get the built-in sample blocks of 5, 5 and 4 records, any other start none.
// Returns true; failures raise.
bool ReadArchiveData(TCommPort& port, uint16_t start, uint8_t address, DynArrayRec& records,
                     uint8_t count, bool noCom = false);

// One archive record from its 18 octets on the wire.
TArchiveRec DecodeArchiveRec(std::span<const uint8_t, kArchiveRecordSize> octets);

// The reply user data the no-port mode gives an archive request from `start` on.
DynByteArray NoComArchiveReply(uint16_t start);
