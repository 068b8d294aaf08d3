#pragma once
// The calculation script runner: wraps the user's procedure text into the function "main",
// compiles it with the program's script functions and the inputs Ri, U1..U4, and runs it.
//
// Typical use by a sensor, once per raw reading:
//     TPSExpress express(U1, U2, U3, U4, Ri);
//     express.SetScript(procedureText);          // EPSCompilerException on a bad text
//     const double ohms = express.Calculate();   // EScriptRuntimeError on a failing run
// or, to compile once and run many readings: SetScript once, then SetReading + Calculate.
#include "base/Exception.h"
#include "core/script/Compiler.h"
#include "core/script/Machine.h"

#include <cstdint>
#include <string>
#include <vector>

// The procedure could not be compiled, loaded or run because nothing is loaded.
class EPSCompilerException : public Exception {
public:
    using Exception::Exception;
};

// The procedure failed while running (division by zero, overflow, a wrong type, endless work).
class EScriptRuntimeError : public Exception {
public:
    using Exception::Exception;
};

// The user's text as compiled, and where its lines came from (for messages in the user's terms).
struct TWrappedScript {
    std::vector<std::string> lines;
    uint32_t firstUserLine = 0;     // 1-based line of the wrapped text holding the user's first line
    uint32_t userLineCount = 0;
    uint32_t firstLinePrefix = 0;   // characters put before the user's first line ("result:=")
    uint32_t trimmedLines = 0;      // blank lines the trimming removed before the text
    uint32_t trimmedColumns = 0;    // blanks the trimming removed before the first character
    uint32_t lastLineLength = 0;    // characters of the user's last line

    std::string Text() const;
    // A place in the wrapped text as a place in the user's own text; places in the added lines
    // point just past the user's last character.
    script::SourcePos ToUser(script::SourcePos pos) const;
};

class TPSExpress {
public:
    TPSExpress(int32_t U1, int32_t U2, int32_t U3, int32_t U4, int32_t Ri);
    virtual ~TPSExpress();
    TPSExpress(const TPSExpress&) = delete;
    TPSExpress& operator=(const TPSExpress&) = delete;

    // Builds, compiles and loads the procedure; raises EPSCompilerException on failure.
    virtual void SetScript(const std::string& text);

    // Runs "main" with the current inputs; its Result is the variant returned.
    void Execute(script::Value& result);
    // Runs "main" and converts its result to a number (the resistance in ohms).
    double Calculate();

    // New inputs for the next run of the already loaded procedure.
    void SetReading(int32_t U1, int32_t U2, int32_t U3, int32_t U4);
    void SetRi(int32_t Ri) { ri_ = Ri; }

    // The whole per-reading sequence: compile the text, run it once, return the number.
    static double Evaluate(const std::string& text, int32_t Ri, int32_t U1, int32_t U2, int32_t U3, int32_t U4);

    // The wrapping of a procedure text into the function "main".
    static TWrappedScript WrapScript(const std::string& text);

protected:
    // Sets the script variables Ri and U1..U4.
    virtual void SetInputs(script::Machine& executer);
    // Declares Ri and U1..U4 as integers of the unit "SYSTEM".
    virtual bool DeclareInputs(script::Compiler& compiler, const std::string& unitName);

private:
    int32_t u_[4];
    int32_t ri_;
    script::Machine executer_;
    TWrappedScript wrapped_;
    int main_ = -1;
    int inputs_[5] = {-1, -1, -1, -1, -1};   // global indices of Ri, U1..U4
};
