#pragma once
// Shared helpers of the script tests: run a whole unit, or a procedure text through the runner.
#include "core/PSExportFunctions.h"
#include "core/PSExpress.h"
#include "core/Parameters.h"
#include "core/script/Compiler.h"
#include "core/script/Machine.h"

#include <string>

namespace scripttest {

// The procedure the program uses while none is stored.
inline std::string BuiltIn()
{
    return BuiltInCalcProc().toStdString();
}

// Compiles a whole unit with the program's functions and runs its function "main".
inline script::Value RunUnit(const std::string& unit, script::Limits limits = {})
{
    script::Compiler compiler;
    compiler.AddUsesHandler(RegisterScriptDeclarations);
    const auto program = compiler.Compile(unit);
    script::Machine machine(limits);
    RegisterScriptFunctions(machine);
    if (!machine.Load(program))
        throw std::runtime_error(machine.LastError());
    return machine.Call(machine.FindFunction("main"));
}

// Runs a procedure text as the program does, with U1..U4 = 1000, 0, 100, 1300 and Ri = 51.
inline script::Value RunProcedure(const std::string& text, int32_t U1 = 1000, int32_t U2 = 0,
                                  int32_t U3 = 100, int32_t U4 = 1300, int32_t Ri = 51)
{
    TPSExpress express(U1, U2, U3, U4, Ri);
    express.SetScript(text);
    script::Value result;
    express.Execute(result);
    return result;
}

// A value as "<tag>:<text>", so one string compares both kind and contents.
inline std::string Show(const script::Value& v)
{
    return std::string(script::TagName(v.tag)) + ":" + script::ToString(v);
}

// Show of what a call gives, or "error: <message>" when it raises: one failing case of a table
// must not hide the others.
template <typename F>
std::string Outcome(F&& run)
{
    try {
        return Show(run());
    } catch (const std::exception& e) {
        return std::string("error: ") + e.what();
    }
}

} // namespace scripttest
