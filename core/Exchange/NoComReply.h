#pragma once
// Replies to sensor requests in the no-port mode, taken from "nocom.log" in the program's
// folder: a copy of an earlier debug log, whose reply lines ("->:  88 FA 01 ...") stand in for
// the local block.
//
// The search for a channel's reply starts at a cursor that stays where the last reply was found
// (the same line is found first the next time), from pass to pass; a search that finds nothing
// sets it back to the first line.
#include "comm/FT3Frame.h"

#include <QString>

#include <cstdint>

#include <atomic>

class TNoComReplies {
public:
    // The reply's user data for the channel: 18 octets, those the line gives filled in from
    // octet 0; empty when no line from the cursor on holds the channel's data reply
    // ("94 10 <low> <high>"), or when the line found is no reply line. A reply line whose octets
    // are not hexadecimal raises Exception.
    DynByteArray ReadNoComReply(uint16_t channel);

    // The same from the given file.
    DynByteArray ReadNoComReply(const QString& path, uint16_t channel);

    // The line the next search starts at, counted from 0.
    int Cursor() const { return cursor_; }
    void SetCursor(int line) { cursor_ = line; }

private:
    std::atomic<int> cursor_{0};
};
