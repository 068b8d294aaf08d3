#include "report/expr/Interpreter.h"

#include <algorithm>

#include "report/expr/FunctionSplitter.h"
#include "report/runtime/ReportErrors.h"
#include "report/expr/ReportVariant.h"
#include "report/expr/ScriptCompiler.h"
#include "report/expr/VariantOps.h"

namespace {

constexpr char16_t kConditionalJump = 1;
constexpr char16_t kJump = 2;
constexpr char16_t kCall = 3;
constexpr int kConditionStart = 3;   // after the code and the two target characters

char16_t Code(const QString& line)
{
    return line.isEmpty() ? 0 : line[0].unicode();
}

// The expression of a compiled line, and where it starts.
int ExpressionStart(const QString& line)
{
    switch (Code(line)) {
    case kConditionalJump:
        return kConditionStart;
    case kCall:
        return 1;
    default: {   // an assignment: the name, a blank, the expression
        int position = 0;
        SkipWord(line, position);
        return std::min(position + 1, int(line.size()));
    }
    }
}

}  // namespace

QString CopyFrom(const QString& text, int position)
{
    return text.mid(position);
}

QString SkipWord(const QString& text, int& position)
{
    const int n = int(text.size());
    while (position < n && text[position].unicode() <= ' ')
        ++position;
    const int start = position;
    while (position < n && text[position].unicode() > ' ')
        ++position;
    return text.mid(start, position - start);
}

TrpInterpretator::TrpInterpretator()
{
    parser_.OnGetValue = [this](const QString& name, QVariant& value) { GetVariable(name, value); };
    parser_.OnFunction = [this](const QString& name, const QVariant& p1, const QVariant& p2, const QVariant& p3,
                                QVariant& value) { CallFunction(name, p1, p2, p3, value); };
}

void TrpInterpretator::GetVariable(const QString&, QVariant&) {}

void TrpInterpretator::SetVariable(const QString&, const QVariant&) {}

void TrpInterpretator::CallFunction(const QString&, const QVariant&, const QVariant&, const QVariant&, QVariant&) {}

void TrpInterpretator::CompileScript(const QStringList& source, QStringList& compiled, QStringList& errors)
{
    const QStringList text = source;   // the source may be the compiled list itself
    compiled.clear();
    errors.clear();
    QStringList lines;
    QString error;
    if (!TScriptCompiler(text).Compile(lines, error)) {
        errors.append(error);
        return;
    }
    for (QString& line : lines) {
        if (Code(line) == kJump)
            continue;
        const int start = ExpressionStart(line);
        const QString expression = line.mid(start);
        try {
            line = line.left(start) + parser_.ToPostfix(expression);
        } catch (const Exception&) {
            errors.append(QStringLiteral("Cannot compile the expression \"%1\"").arg(expression.trimmed()));
            return;
        }
    }
    compiled = lines;
}

void TrpInterpretator::RunScript(const QStringList& compiled)
{
    const int count = int(compiled.size());
    int index = 0;
    int64_t steps = 0;
    while (index < count) {
        if (++steps % kStepsPerCheck == 0) {
            if (!KeepRunning())
                return;
            if (steps > MaxSteps)
                throw EScriptError(QStringLiteral("Сценарий остановлен: выполнено более %1 шагов, он, похоже, "
                                                  "зациклился")
                                       .arg(MaxSteps));
        }
        const QString& line = compiled[index];
        switch (Code(line)) {
        case kConditionalJump:
            if (VarEqualsZero(parser_.EvaluatePostfix(line.mid(kConditionStart))))
                index = TScriptCompiler::JumpTarget(line);
            else
                ++index;
            break;
        case kJump:
            index = TScriptCompiler::JumpTarget(line);
            break;
        case kCall: {
            const QString expression = line.mid(1);
            if (expression.compare(QLatin1String("EXIT(0)"), Qt::CaseInsensitive) == 0)
                return;
            parser_.EvaluatePostfix(expression);
            ++index;
            break;
        }
        default: {
            int position = 0;
            const QString name = SkipWord(line, position);
            SetVariable(name, parser_.EvaluatePostfix(line.mid(position)));
            ++index;
            break;
        }
        }
    }
}

void TrpInterpretator::SplitExpressions(const QStringList& compiled, const QStringList& functionNames,
                                        QStringList& foundCalls, const TrpVariables* variables)
{
    TrpFunctionSplitter splitter(functionNames, foundCalls, variables);
    for (const QString& line : compiled)
        if (Code(line) != kJump && !line.isEmpty())
            splitter.Split(line.mid(ExpressionStart(line)));
}
