// Scripts: their coded lines, their runs, and the compiler's messages.
#include <gtest/gtest.h>

#include <QMap>

#include "QtPrinters.h"
#include "report/expr/Interpreter.h"
#include "report/runtime/ReportErrors.h"
#include "report/expr/ReportVariant.h"
#include "report/expr/ScriptCompiler.h"
#include "report/expr/VariantOps.h"

namespace {

// An interpreter that keeps its variables and knows INC and SHOW (which records a text).
class KeepingInterpreter : public TrpInterpretator {
public:
    void GetVariable(const QString& name, QVariant& value) override
    {
        if (vars.contains(name.toUpper()))
            value = vars[name.toUpper()];
    }
    void SetVariable(const QString& name, const QVariant& value) override { vars[name.toUpper()] = value; }
    void CallFunction(const QString& name, const QVariant& p1, const QVariant&, const QVariant&, QVariant& value) override
    {
        if (name == QLatin1String("INC"))
            SetVariable(p1.toString(), VarAdd(parser_.Evaluate(p1.toString()), 1));
        else if (name == QLatin1String("SHOW"))
            shown << VarToStr(parser_.Evaluate(p1.toString()));
        else
            calls << name;
        value = 0;
    }

    QStringList Compile(const QString& script)
    {
        QStringList lines = script.split(QLatin1Char('\n'));
        QStringList errors;
        CompileScript(lines, lines, errors);   // in place, as pages compile their objects' scripts
        error = errors.value(0);
        EXPECT_LE(errors.size(), 1);
        return lines;
    }
    void Run(const QString& script)
    {
        const QStringList lines = Compile(script);
        ASSERT_TRUE(error.isEmpty()) << error.toStdString();
        RunScript(lines);
    }
    double Number(const char* name) { return VarToReal(vars.value(QString::fromLatin1(name).toUpper(), VarNull())); }

    QMap<QString, QVariant> vars;
    QStringList shown;
    QStringList calls;
    QString error;
};

QString Jump(char16_t code, int target)
{
    return QString(QChar(code)) + QChar(char16_t(target & 0xFF)) + QChar(char16_t(target >> 8));
}

QString Op(char16_t code)
{
    return QString(QChar(code));
}

struct CompileCase {
    const char* script;
    QStringList lines;
};

TEST(ScriptCompiler, CodedLines)
{
    const QString call = Op(3);
    const CompileCase cases[] = {
        {"begin a := 1; end", {QStringLiteral("a 1 ")}},
        {"a := 1; b := 2", {QStringLiteral("a 1 ")}},   // one statement without begin ... end
        {"if x then y := 1 else y := 2",
         {Jump(1, 3) + QStringLiteral("x "), QStringLiteral("y 1 "), Jump(2, 4), QStringLiteral("y 2 ")}},
        {"IF (a > 1) and (b < 2) THEN\n  Memo1.Visible := False",
         {Jump(1, 2) + QStringLiteral("a 1 >b 2 <") + Op(5), QStringLiteral("Memo1.Visible False ")}},
        {"while i < 3 do i := i + 1",
         {Jump(1, 3) + QStringLiteral("i 3 <"), QStringLiteral("i i 1 +"), Jump(2, 0)}},
        {"repeat i := i + 1; s := s * 2 until i >= 3",
         {QStringLiteral("i i 1 +"), QStringLiteral("s s 2 *"), Jump(1, 0) + QStringLiteral("i 3 ") + Op(1)}},
        {"for i:=1 to n do s := s + i",
         {QStringLiteral("i 1 "), Jump(1, 5) + QStringLiteral("i n ") + Op(2), QStringLiteral("s s i +"),
          QStringLiteral("i i 1 +"), Jump(2, 1)}},
        {"begin\n10: i := i + 1;\nif i < 3 then goto 10\nend",
         {QStringLiteral("i i 1 +"), Jump(1, 3) + QStringLiteral("i 3 <"), Jump(2, 0)}},
        {"a[2] := 5", {call + QStringLiteral("SETARRAY(a, 2, 5)")}},
        {"begin inc(i); exit; exit(0) end",
         {call + QStringLiteral("inc(i)"), call + QStringLiteral("exit(0)"), call + QStringLiteral("exit(0)")}},
        {"if x then exit else y := [dm.\"a b\"] + 'it''s'",
         {Jump(1, 3) + QStringLiteral("x "), call + QStringLiteral("exit(0)"), Jump(2, 4),
          QStringLiteral("y [dm.\"a b\"] 'it''s' +")}},
        {"begin { a comment } a := 1 // another\n ; b := 2 end", {QStringLiteral("a 1 "), QStringLiteral("b 2 ")}},
        {"", {}},
    };
    for (const CompileCase& c : cases) {
        KeepingInterpreter interpreter;
        EXPECT_EQ(interpreter.Compile(QString::fromUtf8(c.script)), c.lines) << c.script;
        EXPECT_EQ(interpreter.error, QString()) << c.script;
    }
}

TEST(ScriptInterpreter, RunsLoopsBranchesAndJumps)
{
    KeepingInterpreter s;
    s.Run(QStringLiteral("begin n := 0; for i := 1 to 3 do inc(n) end"));
    EXPECT_EQ(s.Number("n"), 3);
    EXPECT_EQ(s.Number("i"), 4);

    s.Run(QStringLiteral("begin\n  k := 0;\n  while k < 5 do k := k + 2;\n  repeat k := k - 1 until k <= 2\nend"));
    EXPECT_EQ(s.Number("k"), 2);

    s.Run(QStringLiteral("begin j := 0;\n1: j := j + 1;\nif j < 4 then goto 1 else show('done')\nend"));
    EXPECT_EQ(s.Number("j"), 4);
    EXPECT_EQ(s.shown, QStringList{QStringLiteral("done")});

    s.Run(QStringLiteral("begin arr[1 + 1] := 7; Memo1.Visible := False end"));
    EXPECT_EQ(s.calls, QStringList{QStringLiteral("SETARRAY")});
    EXPECT_EQ(s.vars.value(QStringLiteral("MEMO1.VISIBLE")), QVariant(false));
}

TEST(ScriptInterpreter, ExitEndsTheRun)
{
    for (const char* script : {"begin show(1); exit; show(2) end", "begin show(1); exit(0); show(2) end",
                               "begin show(1); if 1 then exit end; show(2) end",
                               "begin show(1); Exit end", "begin show(1); EXIT(0) end"}) {
        KeepingInterpreter s;
        s.Run(QString::fromLatin1(script));
        EXPECT_EQ(s.shown, QStringList{QStringLiteral("1")}) << script;
    }
}

TEST(ScriptInterpreter, EmptyListDoesNothing)
{
    KeepingInterpreter s;
    s.RunScript({});
    EXPECT_TRUE(s.vars.isEmpty());
}

struct ErrorCase {
    const char* script;
    const char* error;
};

TEST(ScriptCompiler, MessagesWithLineAndColumn)
{
    const ErrorCase cases[] = {
        {"if x\n   y := 1", "Line 2/4: Need \"then\" here"},
        {"if {note\n} x\n   y := 1", "Line 3/4: Need \"then\" here"},
        {"begin a := 1 // why\n  b := 2 end", "Line 2/3: Need \";\" or \"end\" here"},
        {"begin a := 1", "Line 1/13: Need \";\" or \"end\" here"},
        {"repeat a := 1 b", "Line 1/15: Need \";\" or \"until\" here"},
        {"while x y := 1", "Line 1/9: Need \"do\" here"},
        {"for i := 1 upto 3 do x := 1", "Line 1/12: Need \"to\" here"},
        {"for i := 1 to 3 x := 1", "Line 1/17: Need \"do\" here"},
        {"goto x", "Line 1/6: \"goto\" label must be a number"},
        {"a = 1", "Line 1/3: Need \":=\" here"},
        {"a := (1 + 2", "Line 1/12: Need \")\" here"},
        {"a := [x", "Line 1/6: Need \"]\" here"},
        {"a := f(1; 2)", "Line 1/9: Need \",\" or \")\" here"},
        {"a := 1 + ;", "Line 1/10: Need an operand here"},
        {"begin goto 7 end", "Line 1/12: Label \"7\" is not defined"},
    };
    for (const ErrorCase& c : cases) {
        KeepingInterpreter s;
        const QStringList lines = s.Compile(QString::fromUtf8(c.script));
        EXPECT_EQ(s.error, QString::fromUtf8(c.error)) << c.script;
        EXPECT_TRUE(lines.isEmpty()) << c.script;   // nothing of a broken script can run
    }
}

TEST(ScriptCompiler, LimitsOfBufferLabelsAndNesting)
{
    KeepingInterpreter s;
    QString labels = QStringLiteral("begin ");
    for (int i = 0; i <= TScriptCompiler::kMaxLabels; ++i)
        labels += QStringLiteral("%1: a := %1;\n").arg(i);
    s.Compile(labels + QStringLiteral("end"));
    EXPECT_TRUE(s.error.endsWith(QStringLiteral("Too many labels: at most 101"))) << s.error.toStdString();
    EXPECT_TRUE(s.error.startsWith(QStringLiteral("Line 102/1: "))) << s.error.toStdString();

    s.Compile(QStringLiteral("a := '%1'").arg(QString(TScriptCompiler::kBufferSize, QLatin1Char('x'))));
    EXPECT_TRUE(s.error.startsWith(QStringLiteral("Script is too long"))) << s.error.toStdString();

    s.Compile(QStringLiteral("a := ") + QString(5000, QLatin1Char('(')) + QStringLiteral("1") +
              QString(5000, QLatin1Char(')')));
    EXPECT_TRUE(s.error.endsWith(QStringLiteral("Script nesting is too deep"))) << s.error.toStdString();
}

TEST(ScriptInterpreter, SplitExpressionsFindsAggregates)
{
    KeepingInterpreter s;
    const QStringList lines = s.Compile(
        QStringLiteral("begin if sum([x]) > 1 then show(max([y])); t := min([z]) end"));
    QStringList found;
    s.SplitExpressions(lines, {QStringLiteral("SUM"), QStringLiteral("MAX"), QStringLiteral("MIN")}, found, nullptr);
    EXPECT_EQ(found, (QStringList{QStringLiteral("sum([x])"), QStringLiteral("max([y])"), QStringLiteral("min([z])")}));
}

TEST(ScriptInterpreter, RunErrorsPassToTheCaller)
{
    KeepingInterpreter s;
    const QStringList lines = s.Compile(QStringLiteral("a := 'x' * 2"));
    EXPECT_THROW(s.RunScript(lines), EVariantError);
}

}  // namespace
