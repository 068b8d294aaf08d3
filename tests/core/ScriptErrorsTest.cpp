// Failures: compile errors with the place in the user's own text, run-time errors, and the
// bounds that keep a runaway script from hanging a poll pass.
#include "ScriptTestSupport.h"

#include <gtest/gtest.h>

namespace {

std::string CompileMessage(const std::string& text)
{
    try {
        TPSExpress express(1000, 0, 100, 1300, 51);
        express.SetScript(text);
    } catch (const EPSCompilerException& e) {
        return e.Message();
    }
    return "compiled";
}

std::string RunMessage(const std::string& text, int32_t U2 = 0)
{
    try {
        TPSExpress::Evaluate(text, 51, 1000, U2, 100, 1300);
    } catch (const EScriptRuntimeError& e) {
        return e.Message();
    }
    return "ran";
}

std::string UnitError(const std::string& unit)
{
    try {
        scripttest::RunUnit(unit);
    } catch (const script::ScriptError& e) {
        return script::DescribeError(e.Reason(), e.Pos());
    }
    return "ran";
}

} // namespace

TEST(ScriptErrors, CompileErrorsNameTheLineTheColumnAndTheReason)
{
    const std::pair<std::string, std::string> cases[] = {
        {"U1 +", "Строка 1, столбец 5: ожидалось выражение, а найдено ';'"},
        {"U1 + foo", "Строка 1, столбец 6: неизвестное имя 'foo'"},
        {"\n\n   U1 + foo", "Строка 3, столбец 9: неизвестное имя 'foo'"},
        {"var a: integer;\nbegin\n  a := 'x';\n  Result := a;\nend;",
         "Строка 3, столбец 5: несовместимые типы: 'String' и 'Integer'"},
        {"begin\n  Result := 1\n  Result := 2;\nend;", "Строка 3, столбец 3: ожидалось ';', а найдено 'Result'"},
        {"begin Result := 1;", "Строка 1, столбец 19: ожидалось 'end', а найдено конец текста"},
        {"begin Result := 'abc; end;", "Строка 1, столбец 17: незакрытая строка"},
        {"{ begin Result := 1;", "Строка 1, столбец 1: незакрытый комментарий"},
        {"begin Result := 1 ? 2; end;", "Строка 1, столбец 19: недопустимый символ '?'"},
        {"begin {комментарий} Result := x; end;", "Строка 1, столбец 31: неизвестное имя 'x'"},
        {"begin Result := 'a' * 2; end;", "Строка 1, столбец 21: операция '*' неприменима к типам 'String' и 'Integer'"},
        {"begin if 1 then Result := 1; end;",
         "Строка 1, столбец 7: ожидалось логическое выражение, а найдено выражение типа 'Integer'"},
        {"begin Result := Sqr(1, 2); end;", "Строка 1, столбец 17: неверное число параметров 'Sqr': нужно 1, передано 2"},
        {"var a, A: integer; begin Result := 1; end;", "Строка 1, столбец 8: повторное объявление 'A'"},
        {"var a: word; begin Result := 1; end;", "Строка 1, столбец 8: неизвестный тип 'word'"},
        {"var i: integer; begin i := 1.5; Result := i; end;", "Строка 1, столбец 25: несовместимые типы: 'Double' и 'Integer'"},
        {"begin break; Result := 1; end;", "Строка 1, столбец 7: 'break' вне цикла"},
        {"begin case U1 of 1: Result := 1; 1: Result := 2; end; end;",
         "Строка 1, столбец 34: повторяющаяся метка варианта"},
        {"begin case U1 of 1..5: Result := 1; 3: Result := 2; end; end;",
         "Строка 1, столбец 37: повторяющаяся метка варианта"},
        {"begin case 'a' of 1: Result := 1; end; end;",
         "Строка 1, столбец 7: выражение варианта должно быть порядкового типа, а не 'String'"},
        {"begin try Result := 1; except end; end;", "Строка 1, столбец 7: слово 'try' не поддерживается"},
        {"var i: integer; begin for i := 1 to 2 do i := 5; Result := i; end;",
         "Строка 1, столбец 42: переменной цикла 'i' нельзя присвоить значение внутри цикла"},
        {"begin Result := now(1); end;", "Строка 1, столбец 17: неверное число параметров 'now': нужно 0, передано 1"},
        {"begin Result = 1; end;", "Строка 1, столбец 14: ожидалось ':=', а найдено '='"},
        {"begin U1; end; // Result", "Строка 1, столбец 9: ожидалось ':=', а найдено ';'"},
    };
    for (const auto& [text, where] : cases)
        EXPECT_EQ(CompileMessage(text), "Ошибка в выражении: (" + where + ")") << text;
}

TEST(ScriptErrors, DeclarationErrorsOfWholeUnits)
{
    const std::pair<const char*, const char*> cases[] = {
        {"procedure p; begin end; function main: Variant; begin Result := p; end;",
         "Строка 1, столбец 65: процедура 'p' не возвращает значения"},
        {"function f(const a: integer): integer; begin a := 1; Result := a; end;",
         "Строка 1, столбец 46: константному параметру 'a' нельзя присвоить значение"},
        {"function main: Variant; begin end; function MAIN: Variant; begin end;",
         "Строка 1, столбец 36: повторное объявление 'MAIN'"},
        {"function f(var a: integer): integer; begin end;", "Строка 1, столбец 12: параметры 'var' не поддерживаются"},
        {"function main: Variant; function g: integer; begin end; begin end;",
         "Строка 1, столбец 25: вложенные функции не поддерживаются"},
        {"function main: Variant; begin Result := later(1); end; function later(x: integer): integer; begin end;",
         "Строка 1, столбец 41: неизвестное имя 'later'"},
        {"function f(x: integer): integer; begin Result := x; end; function main: Variant; begin Result := f('a'); end;",
         "Строка 1, столбец 100: несовместимые типы: 'String' и 'Integer'"},
        {"begin end.", "Строка 1, столбец 1: ожидалось объявление функции, процедуры или переменных, а найдено 'begin'"},
    };
    for (const auto& [unit, expected] : cases)
        EXPECT_EQ(UnitError(unit), expected) << unit;
}

TEST(ScriptErrors, DeepNestingIsACompileErrorNotACrash)
{
    const std::string deep = std::string(5000, '(') + "1" + std::string(5000, ')');
    EXPECT_NE(CompileMessage(deep).find("слишком глубокая вложенность"), std::string::npos);
    std::string blocks;
    for (int i = 0; i < 5000; ++i)
        blocks += "begin ";
    EXPECT_NE(CompileMessage("// Result\n" + blocks).find("слишком глубокая вложенность"), std::string::npos);
}

TEST(ScriptErrors, RunTimeErrorsRaiseWithThePlaceOfTheFailingStep)
{
    const std::pair<std::string, std::string> cases[] = {
        {"U1 div U2", "Строка 1, столбец 4: деление на ноль"},
        {"U1 mod U2", "Строка 1, столбец 4: деление на ноль"},
        {"U1 / U2", "Строка 1, столбец 4: деление на ноль"},
        {"Ln(U2)", "Строка 1, столбец 1: деление на ноль"},
        {"U1 * U1 * U1 * U1", "Строка 1, столбец 14: целочисленное переполнение"},
        {"1e300 * 1e300", "Строка 1, столбец 7: переполнение при вычислении с плавающей точкой"},
        {"Exp(1000)", "Строка 1, столбец 1: переполнение при вычислении с плавающей точкой"},
        {"Sqrt(-1)", "Строка 1, столбец 1: недопустимая операция с плавающей точкой"},
        {"FormatDateTime('yyyy', 1e9)", "Строка 1, столбец 1: недопустимое значение даты и времени: 1000000000"},
        {"var v: variant; i: integer; begin v := 'abc'; i := v; Result := i; end;",
         "Строка 1, столбец 49: не удаётся преобразовать вариант типа (String) в тип (Integer)"},
        {"var v: variant; begin v := true; Result := v * 2; end;",
         "Строка 1, столбец 46: недопустимая операция с вариантом"},
        {"var v: variant; i: integer; begin v := 1e10; i := v; Result := i; end;",
         "Строка 1, столбец 48: целочисленное переполнение"},
        {"\n  begin\n    Result := U1 div (U2 * 2);\n  end;  ", "Строка 3, столбец 18: деление на ноль"},
    };
    for (const auto& [text, where] : cases)
        EXPECT_EQ(RunMessage(text), "Ошибка выполнения скрипта. " + where) << text;
}

TEST(ScriptErrors, EndlessWorkIsStoppedWithAClearError)
{
    const std::string tooMuch = "превышен предел работы скрипта (1000000 шагов): вероятно, бесконечный цикл или рекурсия";
    EXPECT_EQ(RunMessage("begin while true do ; Result := 1; end;"), "Ошибка выполнения скрипта. Строка 1, столбец 7: " + tooMuch);
    EXPECT_EQ(RunMessage("begin repeat until false; Result := 1; end;"),
              "Ошибка выполнения скрипта. Строка 1, столбец 7: " + tooMuch);
    const std::string fib = UnitError("function fib(n: integer): integer; begin if n < 2 then Result := n"
                                      " else Result := fib(n - 1) + fib(n - 2); end;"
                                      "function main: Variant; begin Result := fib(40); end;");
    EXPECT_NE(fib.find(tooMuch), std::string::npos) << fib;
    EXPECT_EQ(UnitError("function f(n: integer): integer; begin Result := f(n + 1); end;"
                        "function main: Variant; begin Result := f(0); end;"),
              "Строка 1, столбец 50: слишком глубокая рекурсия (более 1000 вложенных вызовов)");
    EXPECT_EQ(RunMessage("var s: string; i: integer; begin s := 'x'; for i := 1 to 30 do s := s + s; Result := s; end;"),
              "Ошибка выполнения скрипта. Строка 1, столбец 71: строка длиннее 1048576 символов");
    // Long string copies count as work too: 900 steps of 60 KB each stop long before a second.
    const std::string copies = RunMessage(
        "var s, t: string; i: integer; begin s := 'x'; for i := 1 to 16 do s := s + s;"
        " for i := 1 to 1000000 do t := s; Result := 1; end;");
    EXPECT_NE(copies.find(tooMuch), std::string::npos) << copies;
}

TEST(ScriptErrors, HugeTextsStayBoundedInTimeAndMemory)
{
    // Many case labels and string constants compile in linear time.
    std::string labels = "begin case U1 of ";
    for (int i = 0; i < 20000; ++i)
        labels += std::to_string(i) + ": Result := 'v" + std::to_string(i) + "'; ";
    labels += "end; end;";
    EXPECT_EQ(CompileMessage(labels), "compiled");
    // Many locals times deep recursion would need gigabytes: the stack bound stops it.
    std::string locals = "function f(n: integer): integer; var ";
    for (int i = 0; i < 5000; ++i)
        locals += "a" + std::to_string(i) + ", ";
    locals += "b: double; begin Result := f(n + 1); end; function main: Variant; begin Result := f(0); end;";
    EXPECT_NE(UnitError(locals).find("переполнение стека скрипта"), std::string::npos);
}

TEST(ScriptErrors, TheRunnerWorksAgainAfterAFailedRun)
{
    TPSExpress express(10, 0, 0, 0, 51);
    express.SetScript("U1 div U2");
    EXPECT_THROW(express.Calculate(), EScriptRuntimeError);
    express.SetReading(10, 3, 0, 0);
    EXPECT_DOUBLE_EQ(express.Calculate(), 3);
    script::Limits small;
    small.steps = 10;
    EXPECT_THROW(scripttest::RunUnit("function main: Variant; var i: integer; begin for i := 1 to 12 do ; end;", small),
                 script::RuntimeError);
    // Eleven passes jump back ten times: just within the bound.
    EXPECT_NO_THROW(scripttest::RunUnit("function main: Variant; var i: integer; begin for i := 1 to 11 do ; end;", small));
}
