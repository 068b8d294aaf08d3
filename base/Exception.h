#pragma once
// The base of the program's exceptions: each carries its finished (Russian, UTF-8) message.
#include <stdexcept>
#include <string>

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string Message() const { return what(); }
};

// A date or time that is not valid was encoded or converted.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// Arithmetic without a result: rounding a value that is not a number, or taking one beyond the
// integers as an integer.
class EInvalidOp : public Exception {
public:
    using Exception::Exception;
};

// A silent stop that the operator asked for (a cancelled long operation): whoever runs the work
// ends it without a message.
class EAbort : public Exception {
public:
    EAbort() : Exception("Прервано") {}
};
