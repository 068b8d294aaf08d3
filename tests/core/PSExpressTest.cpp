// The runner: wrapping of the user's text, the built-in procedure, the inputs and the messages.
#include "ScriptTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>

using Lines = std::vector<std::string>;
using scripttest::BuiltIn;

TEST(PSExpress, WrapsTheTextIntoMain)
{
    struct Case {
        const char* text;
        Lines lines;
    };
    const Case cases[] = {
        {"U1*2", {"function main : Variant;", "begin", "result:=U1*2", ";", "end;"}},
        {"", {"function main : Variant;", "begin", "result:=", ";", "end;"}},
        {"  \r\n  U1 +\r\n U2  \r\n", {"function main : Variant;", "begin", "result:=U1 +", " U2", ";", "end;"}},
        {"var x: integer;\r\nbegin\r\n  Result := 1;\r\nend;",
         {"function main : Variant;", "var x: integer;", "begin", "  Result := 1;", "end;"}},
        {"Begin RESULT := 2 End", {"function main : Variant;", "begin", "Begin RESULT := 2 End", "end;"}},
        {"begin x\nend", {"function main : Variant;", "result:=begin x", "end", ";"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TPSExpress::WrapScript(c.text).lines, c.lines) << c.text;
}

TEST(PSExpress, TheWrappedTextsCompileAndRunAsTheUserMeantThem)
{
    EXPECT_EQ(scripttest::Show(scripttest::RunProcedure("U1*2")), "Integer:2000");
    EXPECT_EQ(scripttest::Show(scripttest::RunProcedure("Begin RESULT := 2 End")), "Integer:2");
    EXPECT_EQ(scripttest::Show(scripttest::RunProcedure("\n\n  U4 - U3  \n\n")), "Integer:1200");
}

TEST(PSExpress, TheBuiltInProcedureGivesTheSensorResistance)
{
    struct Case {
        int32_t U1, U2, U3, U4;
    };
    const Case cases[] = {
        {1000, 0, 100, 1300},  {2000, 0, 100, 1300},   {500, 100, 200, 900},  {1000, 1000, 100, 1300},
        {0, 0, 0, 0},          {-32768, 0, 0, -32768}, {32767, -32768, 32767, -32768},
        {4000, 3999, 10, 20},  {-1, 0, 100, 50},
    };
    const int32_t Ri = 51;
    for (const auto& c : cases) {
        const double current = static_cast<double>(c.U1 - c.U2) / Ri;
        const double expected = current != 0 ? (c.U4 - 2.0 * c.U3) / current : 65535.0;
        const double got = TPSExpress::Evaluate(BuiltIn(), Ri, c.U1, c.U2, c.U3, c.U4);
        EXPECT_DOUBLE_EQ(got, expected) << c.U1 << " " << c.U2 << " " << c.U3 << " " << c.U4;
    }
    EXPECT_NEAR(TPSExpress::Evaluate(BuiltIn(), 51, 1000, 0, 100, 1300), 56.1, 1e-12);
    // No current: the integer 65535, as the procedure assigns it.
    EXPECT_EQ(scripttest::Show(scripttest::RunProcedure(BuiltIn(), 7, 7, 1, 2)), "Integer:65535");
}

TEST(PSExpress, RawWordsFrom0x8000UpArriveNegative)
{
    // The sensor widens the signed 16-bit words; the script sees them as they are.
    const uint16_t words[] = {0x8000, 0xFFFF, 0x7FFF};
    const auto U1 = static_cast<int16_t>(words[0]);
    const auto U2 = static_cast<int16_t>(words[1]);
    const auto U3 = static_cast<int16_t>(words[2]);
    EXPECT_EQ(scripttest::Show(scripttest::RunProcedure("Str(U1) + ' ' + Str(U2) + ' ' + Str(U3)", U1, U2, U3)),
              "String:-32768 -1 32767");
}

TEST(PSExpress, CompilesOnceAndRunsPerReading)
{
    TPSExpress express(0, 0, 0, 0, 51);
    express.SetScript(BuiltIn());
    for (int32_t u1 = -300; u1 <= 300; u1 += 37) {
        express.SetReading(u1, 10, 20, 700);
        EXPECT_DOUBLE_EQ(express.Calculate(), TPSExpress::Evaluate(BuiltIn(), 51, u1, 10, 20, 700));
    }
    express.SetRi(100);   // Ri is taken at the time of the run
    express.SetReading(1000, 0, 100, 1300);
    EXPECT_DOUBLE_EQ(express.Calculate(), 1100.0 / (1000.0 / 100));
    // A script may change its inputs; the next run starts from the reading again.
    express.SetScript("begin U1 := U1 + 1; Result := U1; end;");
    EXPECT_DOUBLE_EQ(express.Calculate(), 1001);
    EXPECT_DOUBLE_EQ(express.Calculate(), 1001);
}

TEST(PSExpress, ReportsItsFailuresWithTheProgramsTexts)
{
    auto messageOf = [](auto&& action) -> std::string {
        try {
            action();
        } catch (const Exception& e) {
            return e.Message();
        }
        return "no error";
    };
    TPSExpress express(1, 2, 3, 4, 51);
    script::Value v;
    EXPECT_EQ(messageOf([&] { express.Execute(v); }), "Скрипт не выполнен. ()");
    EXPECT_EQ(messageOf([&] { express.SetScript(""); }),
              "Ошибка в выражении: (Строка 1, столбец 1: ожидалось выражение, а найдено ';')");
    EXPECT_EQ(messageOf([&] { express.Execute(v); }), "Скрипт не выполнен. ()");

    // getValue is declared, so the text compiles, but nothing implements it.
    EXPECT_EQ(messageOf([&] { express.SetScript("getValue('U1') + 1"); }), "Скрипт не загружен.");
    EXPECT_EQ(messageOf([&] { express.Execute(v); }),
              "Скрипт не выполнен. (функция 'getValue' не может быть подключена)");

    // Declared but unused, it does not stop a script from loading.
    EXPECT_EQ(messageOf([&] { express.SetScript("U1 + U2"); }), "no error");
    EXPECT_EQ(express.Calculate(), 3);

    EXPECT_EQ(messageOf([&] { express.SetScript("'abc'"); express.Calculate(); }),
              "Ошибка выполнения скрипта. Результат не является числом: не удаётся преобразовать вариант типа "
              "(String) в тип (Double)");
    EXPECT_EQ(messageOf([&] { TPSExpress::Evaluate("U1 div (U2 - 2)", 51, 1, 2, 3, 4); }),
              "Ошибка выполнения скрипта. Строка 1, столбец 4: деление на ноль");
}

TEST(PSExpress, DeclaresTheProgramsFunctionsAsRegistered)
{
    EXPECT_STREQ(kScriptFunctionDeclarations[0], "function now: double");
    EXPECT_STREQ(kScriptFunctionDeclarations[15],
                 "function PS_IF(const Expr: Variant; const Statment1, Statment2: Variant): Variant");
    EXPECT_STREQ(kScriptFunctionDeclarations[16], "function getValue(VarName: string): Variant");
    // Every declaration but getValue has an implementation: a script may call each of them.
    const char* calls[] = {"now", "Int(1)", "Frac(1)", "Exp(1)", "Cos(1)", "Sin(1)", "Ln(1)", "ArcTan(1)",
                           "Sqrt(1)", "Sqr(1)", "Pi", "Power(1, 1)", "Tan(1)", "Str(1)",
                           "FormatDateTime('yyyy', 1)", "PS_IF(1, 1, 1)"};
    for (const char* call : calls)
        EXPECT_NO_THROW(scripttest::RunProcedure(call)) << call;
}

TEST(PSExpress, RunnersInSeveralThreadsDoNotDisturbEachOther)
{
    // The poll thread compiles and runs while the main thread may do the same (the editor).
    std::vector<std::thread> threads;
    std::atomic<int> wrong{0};
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([t, &wrong] {
            for (int i = 0; i < 200; ++i) {
                const int32_t u1 = 100 + t * 1000 + i;
                const double expected = 1100.0 / (static_cast<double>(u1) / 51);
                if (TPSExpress::Evaluate(BuiltIn(), 51, u1, 0, 100, 1300) != expected)
                    ++wrong;
            }
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(wrong.load(), 0);
}
