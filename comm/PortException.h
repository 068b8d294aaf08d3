#pragma once
// Every failure of the serial port raises this, carrying the finished message.
#include "base/Exception.h"

class EPortException : public Exception {
public:
    using Exception::Exception;
};
