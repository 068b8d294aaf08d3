#pragma once
// The script interpreter: compiles an object's script into coded lines (see ScriptCompiler.h)
// whose expressions are postfix strings, and runs them. What a name or a function means is
// left to the three virtual operations that the report's interpreter overrides; the
// interpreter's own parser hands every name and call of a script's expressions to them.
#include <cstdint>

#include <QString>
#include <QStringList>
#include <QVariant>

#include "report/expr/Parser.h"

class TrpVariables;

class TrpInterpretator {
public:
    TrpInterpretator();
    virtual ~TrpInterpretator() = default;
    TrpInterpretator(const TrpInterpretator&) = delete;
    TrpInterpretator& operator=(const TrpInterpretator&) = delete;

    virtual void GetVariable(const QString& name, QVariant& value);
    virtual void SetVariable(const QString& name, const QVariant& value);
    virtual void CallFunction(const QString& name, const QVariant& p1, const QVariant& p2, const QVariant& p3,
                              QVariant& value);
    // Empties the compiled and the error list and compiles the source into the compiled list
    // (the two may be one list). A failure leaves one line "Line L/C: message" in the error
    // list and nothing in the compiled list, so a broken script never runs in part.
    virtual void CompileScript(const QStringList& source, QStringList& compiled, QStringList& errors);
    // Runs compiled lines; evaluation errors pass to the caller. Every kStepsPerCheck lines the
    // run asks KeepRunning and ends quietly when it says no; a run of more than MaxSteps lines
    // (a loop that never ends) raises EScriptError.
    virtual void RunScript(const QStringList& compiled);
    // Asked as a script runs: false stops it (the report's work was cancelled).
    virtual bool KeepRunning() { return true; }

    static constexpr int kStepsPerCheck = 4096;
    // Generous: a script that loops a hundred thousand times over ten lines stays far below.
    int64_t MaxSteps = 20'000'000;

    // Runs the function splitter over every expression of a compiled script.
    void SplitExpressions(const QStringList& compiled, const QStringList& functionNames, QStringList& foundCalls,
                          const TrpVariables* variables);

    TrpParser& Parser() { return parser_; }

protected:
    TrpParser parser_;
};

// The text from position (0-based) to its end.
QString CopyFrom(const QString& text, int position);
// Skips characters up to code 32 and returns the characters above 32 that follow; the
// position is left after them.
QString SkipWord(const QString& text, int& position);
