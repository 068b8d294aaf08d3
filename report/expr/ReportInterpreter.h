#pragma once
// The report's script interpreter: scripts read names and call functions through the run
// context's parser (so they see what expressions see), and their assignments go, in this
// order, to a script variable, a dictionary variable, MODALRESULT, CURY, PROGRESS, an object's
// script property, or else a new script variable.
#include "report/expr/Interpreter.h"

class TrpRunContext;

class TInterpretator : public TrpInterpretator {
public:
    explicit TInterpretator(TrpRunContext& context) : context_(context) {}

    void GetVariable(const QString& name, QVariant& value) override;
    void SetVariable(const QString& name, const QVariant& value) override;
    void CallFunction(const QString& name, const QVariant& p1, const QVariant& p2, const QVariant& p3,
                      QVariant& value) override;
    // Lets the progress window repaint and see Cancel; false once the root report is to stop.
    bool KeepRunning() override;

private:
    TrpRunContext& context_;
};
