#pragma once
// The program's line: its serial port and, for the no-port mode, the replies that stand in for
// the local block (read from "nocom.log", the search going on where the last pass left it).
// The context owns the one line; passes and the local-block dialog reach the port through it.
#include "comm/CommPort.h"
#include "comm/FT3Frame.h"
#include "core/Exchange/NoComReply.h"

#include <cstdint>
#include <exception>
#include <string>

// The text of a failed exchange with the controller at `address`, naming it before the address
// tail that the log leaves out: a failed send or a reply cut short reads "Нет ответа от
// контроллера с адресом N - " and the port's message. Other failures keep their own text.
std::string ExchangeFailureText(const std::exception& failure, uint8_t address);

// What a pass says when its port cannot be opened: the port, the system's reason, that the poll
// (a scheduled one, say: "опрос по расписанию") was not made, and what to check for that reason
// (error: the errno of the failed open, 0 for a port closed on purpose).
std::string PortUnavailableText(int port, int error, const std::string& reason, const std::string& poll = "опрос");

class TCommLine {
public:
    // One FT3 exchange on the port: sends the request frame in the buffer and leaves the reply's
    // user data there, waiting up to timeoutMs for the reply; raises what the exchange raises.
    // Every failure names the controller (ExchangeFailureText).
    void Exchange(DynByteArray& buffer, uint16_t timeoutMs);

    TCommPort Port;
    TNoComReplies NoComReplies;
};
