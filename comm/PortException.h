#pragma once
// Every failure of the serial port raises this, carrying the finished message.
#include "base/Exception.h"

class EPortException : public Exception {
public:
    using Exception::Exception;
};

// The system refused an operation on the port's device (it vanished, an I/O error, no right to
// it): the message names the port and the system's reason; SystemError() is the errno value.
class EPortSystemError : public EPortException {
public:
    EPortSystemError(const std::string& message, int error) : EPortException(message), error_(error) {}
    int SystemError() const { return error_; }

private:
    int error_;
};
