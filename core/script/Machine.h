#pragma once
// The stack machine that runs a compiled Program: one value stack holding every frame's locals
// and operands, host functions resolved by name at loading, and bounds on the work of a run
// (steps and call depth) so that a runaway script fails with a clear error instead of hanging.
#include "core/script/Program.h"
#include "core/script/Value.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace script {

// A host function: reads its arguments (already of the declared types) and writes its result.
// It may throw Fault for a failure that the script should see as a run-time error.
using HostFunctionPtr = void (*)(Value* args, Value& result);

struct Limits {
    // Backward jumps and calls allowed in one run (string copies count one per 64 characters).
    uint64_t steps = 1'000'000;
    // Nested calls allowed at once.
    uint32_t callDepth = 1000;
    // Values (locals and operands of all frames) the stack may hold: a bound on memory.
    size_t stackSlots = size_t(1) << 20;
};

class Machine {
public:
    explicit Machine(Limits limits = {});

    // Host functions the loaded program may import, by exact name.
    void RegisterFunction(std::string name, HostFunctionPtr fn);

    // Accepts a compiled program when every function it imports is registered; otherwise
    // refuses it, keeps nothing loaded, and says why in LastError.
    bool Load(std::shared_ptr<const Program> program);
    bool Loaded() const { return program_ != nullptr; }

    // Case-insensitive lookups in the loaded program; -1 when absent (or nothing is loaded).
    int FindFunction(std::string_view name) const;
    int FindGlobal(std::string_view name) const;

    // Gives every global the zero value of its type, as after loading.
    void ResetGlobals();
    // Sets a global, converting the value to the global's declared type.
    void SetGlobal(int index, const Value& value);
    void SetGlobalInteger(int index, int32_t value) { globals_[static_cast<size_t>(index)].i = value; }
    const Value& Global(int index) const { return globals_[static_cast<size_t>(index)]; }

    // Runs a function with arguments (converted to its parameter types) and returns its result
    // (an empty value for a procedure). Raises RuntimeError with the failing step's place.
    Value Call(int function, std::span<const Value> args = {});

    // The text of the last failure to load or to run; empty when there was none.
    const std::string& LastError() const { return lastError_; }

private:
    struct Frame {
        uint32_t returnPc;
        uint32_t base;
        uint32_t function;
    };
    Value Run(uint32_t function);
    void Prepare(const FunctionCode& f, Value* base) const;

    Limits limits_;
    std::vector<std::pair<std::string, HostFunctionPtr>> registry_;
    std::shared_ptr<const Program> program_;
    std::vector<HostFunctionPtr> imports_;
    std::vector<Value> globals_;
    std::vector<Value> stack_;
    std::vector<Frame> frames_;
    std::string lastError_;
};

// Converts a value to a static type as an assignment would (a variant keeps it as it is).
Value ConvertTo(const Value& value, TypeKind type);

} // namespace script
