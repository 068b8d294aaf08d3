#pragma once
// The program's own functions for the calculation script: their declarations for the compiler
// (unit "SYSTEM") and their implementations for the machine, both by name.
#include "core/script/Compiler.h"
#include "core/script/Machine.h"

#include <string>

// The declarations in the order the script sees them, exactly as registered.
extern const char* const kScriptFunctionDeclarations[17];

// The compiler's uses-handler: declares the 17 functions for "SYSTEM"; false for other units.
bool RegisterScriptDeclarations(script::Compiler& compiler, const std::string& unitName);

// Registers the 16 implemented functions by name ("getValue" is declared only, so a script
// that calls it is refused when it is loaded).
void RegisterScriptFunctions(script::Machine& machine);
