#pragma once
// The report engine's exception classes. Each carries its finished message (UTF-8), so a failed
// build can show it as it stands.
#include "base/Exception.h"

#include <QString>

// A binary stream ended early or announced a length past its end.
class EReadError : public Exception {
public:
    using Exception::Exception;
    explicit EReadError(const QString& message) : Exception(message.toStdString()) {}
};

// A value cannot be stored in a binary stream (a text longer than its length field allows) or
// the stream refused the octets.
class EWriteError : public Exception {
public:
    using Exception::Exception;
    explicit EWriteError(const QString& message) : Exception(message.toStdString()) {}
};

// A component named in a template is missing ("Missing " + name).
class EClassNotFound : public Exception {
public:
    using Exception::Exception;
    explicit EClassNotFound(const QString& message) : Exception(message.toStdString()) {}
};

// A data set operation failed (an unknown field name, a closed data set).
class EDatabaseError : public Exception {
public:
    using Exception::Exception;
    explicit EDatabaseError(const QString& message) : Exception(message.toStdString()) {}
};

// Two values of an expression cannot be combined or converted.
class EVariantError : public Exception {
public:
    using Exception::Exception;
    explicit EVariantError(const QString& message) : Exception(message.toStdString()) {}
};

// An expression cannot be evaluated (an operator without its operand, too deep nesting).
class EParserError : public Exception {
public:
    using Exception::Exception;
    explicit EParserError(const QString& message) : Exception(message.toStdString()) {}
};

// A script cannot be compiled (its text or its labels exceed the compiler's limits).
class EScriptError : public Exception {
public:
    using Exception::Exception;
    explicit EScriptError(const QString& message) : Exception(message.toStdString()) {}
};

// Text conversion errors of the engine (a number that is no number) use the program's
// EConvertError; this builds one from a QString.
inline EConvertError ConvertError(const QString& message)
{
    return EConvertError(message.toStdString());
}

// A component was found by name but is of another class than the caller needs.
class EInvalidCast : public Exception {
public:
    using Exception::Exception;
    explicit EInvalidCast(const QString& message) : Exception(message.toStdString()) {}
};

// A line number outside a string list.
class EListError : public Exception {
public:
    using Exception::Exception;
    explicit EListError(const QString& message) : Exception(message.toStdString()) {}
};

// The printer cannot do what was asked: a printer that is not in the list, a paper it refuses,
// a print job it cannot start.
class EPrinter : public Exception {
public:
    using Exception::Exception;
    explicit EPrinter(const QString& message) : Exception(message.toStdString()) {}
};

// A position, size, count or spacing outside what the engine can lay out (LayoutLimits.h). Read
// from a template or a prepared page it is a read error of that file, which is refused whole; set
// by a report's script it stops the build.
class EOutOfRange : public EReadError {
public:
    using EReadError::EReadError;
};
