#pragma once
// Errors of the script engine before they are given a source position.
#include <cstdint>
#include <stdexcept>
#include <string>

namespace script {

// A run-time failure inside the machine; the machine adds the position of the failing step.
class Fault : public std::runtime_error {
public:
    explicit Fault(const std::string& reason) : std::runtime_error(reason) {}
};

// A place in the compiled text, both counted from 1 (columns count characters).
struct SourcePos {
    uint32_t line = 0;
    uint32_t column = 0;
};

// A failure with its place: a compile error, or a run-time error of a given step.
class ScriptError : public std::runtime_error {
public:
    ScriptError(const std::string& reason, SourcePos pos)
        : std::runtime_error(reason), reason_(reason), pos_(pos)
    {
    }
    const std::string& Reason() const { return reason_; }
    SourcePos Pos() const { return pos_; }

private:
    std::string reason_;
    SourcePos pos_;
};

class CompileError : public ScriptError {
public:
    using ScriptError::ScriptError;
};

class RuntimeError : public ScriptError {
public:
    using ScriptError::ScriptError;
};

// "Строка 3, столбец 12: <reason>"
std::string DescribeError(const std::string& reason, SourcePos pos);

} // namespace script
