#pragma once
// The failures of the FT3 protocol, each carrying its finished message.
#include "base/Exception.h"

// A bound of a frame buffer crossed while framing, an unsupported channel-count code,
// a broken event record.
class EShareFT3Exception : public Exception {
public:
    using Exception::Exception;
};

// No reply, no leader, a reply of the wrong length or cut short, a failed send.
class ENoReply : public Exception {
public:
    using Exception::Exception;
};

// A block CRC of a reply does not match.
class EErrCRC : public Exception {
public:
    using Exception::Exception;
};

// The controller reports an error code or a fault state, or cannot deliver the data asked for.
class EDevState : public Exception {
public:
    using Exception::Exception;
};
