// The language itself: expressions and their precedence, statements, functions, variants.
#include "ScriptTestSupport.h"

#include <gtest/gtest.h>

using scripttest::RunProcedure;
using scripttest::RunUnit;
using scripttest::Outcome;

TEST(ScriptLanguage, ExpressionsFollowThePrecedenceAndTypesOfTheLanguage)
{
    // Inputs: U1..U4 = 1000, 0, 100, 1300 and Ri = 51.
    const std::pair<const char*, const char*> cases[] = {
        {"1+2*3", "Integer:7"},
        {"(1+2)*3", "Integer:9"},
        {"2*3+4*5", "Integer:26"},
        {"10-2-3", "Integer:5"},
        {"100/10/2", "Double:5"},
        {"7/2", "Double:3.5"},
        {"8/2", "Double:4"},
        {"7 div 2", "Integer:3"},
        {"-7 div 2", "Integer:-3"},
        {"7 mod 3", "Integer:1"},
        {"-7 mod 3", "Integer:-1"},
        {"2+3 shl 2", "Integer:14"},          // shl binds like *
        {"1 shl 4 shr 2", "Integer:4"},
        {"-1 shr 28", "Integer:15"},          // a logical shift
        {"5 and 3", "Integer:1"},
        {"5 or 3 xor 1", "Integer:6"},        // (5 or 3) xor 1
        {"not 0", "Integer:-1"},
        {"not (1 > 2)", "Boolean:True"},
        {"1 + 2 = 3", "Boolean:True"},        // comparisons bind loosest
        {"(1 < 2) and (3 > 4)", "Boolean:False"},
        {"(1 < 2) or (3 > 4)", "Boolean:True"},
        {"true xor true", "Boolean:False"},
        {"2.5 >= 2", "Boolean:True"},
        {"'abc' < 'abd'", "Boolean:True"},
        {"'ab' + 'cd'", "String:abcd"},
        {"'it''s'", "String:it's"},
        {"'a'#65'b'", "String:aAb"},
        {"1.5e1 + 1", "Double:16"},
        {"2E-1", "Double:0.2"},
        {"$FF + $10", "Integer:271"},
        {"3000000000", "Double:3000000000"},   // beyond the integer range: a real constant
        {"2*-3", "Integer:-6"},
        {"-U1", "Integer:-1000"},
        {"U4 - 2*U3", "Integer:1100"},
        {"(U1 - U2)/Ri", "Double:19.6078431372549"},
        {"u1 + U1 + Ri", "Integer:2051"},      // names compare without case
        {"SQR(2) + sqr(2.5)", "Double:10.25"},
        {"Sqrt(16)", "Double:4"},
        {"Int(-2.7)", "Double:-2"},
        {"Frac(-2.5)", "Double:-0.5"},
        {"Power(2, 10)", "Double:1024"},
        {"Exp(0) + Ln(1)", "Double:1"},
        {"Cos(0) + Sin(0) + Tan(0)", "Double:1"},
        {"ArcTan(1)*4 = Pi", "Boolean:True"},
        {"Pi", "Double:3.14159265358979"},
        {"Str(12) + Str(1.5) + Str(1 = 1)", "String:121.5True"},
        {"PS_IF(U1 > 0, 'yes', 'no')", "String:yes"},
        {"PS_IF(0, 1, 2)", "Integer:2"},
        {"PS_IF(3, 1, 2.5)", "Integer:1"},
        {"FormatDateTime('dd.mm.yyyy hh:nn', 45000.5)", "String:15.03.2023 12:00"},
        {"now > 45000", "Boolean:True"},
        {"// a comment\n{ another }(* and a third *) 1", "Integer:1"},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(Outcome([&] { return RunProcedure(text); }), expected) << text;
}

TEST(ScriptLanguage, StatementsRunAsWritten)
{
    const std::pair<const char*, const char*> cases[] = {
        {"var i, s: integer; begin s := 0; i := 1; while i <= 10 do begin s := s + i; i := i + 1 end; Result := s; end;",
         "Integer:55"},
        {"var i, s: integer; begin s := 0; i := 1; repeat s := s + i; i := i + 1 until i > 10; Result := s; end;",
         "Integer:55"},
        {"var i, s: integer; begin s := 0; for i := 1 to 10 do s := s + i; Result := s; end;", "Integer:55"},
        {"var i: integer; s: string; begin s := ''; for i := 3 downto 1 do s := s + Str(i); Result := s; end;",
         "String:321"},
        {"var i, n: integer; begin n := 0; for i := 5 to 4 do n := n + 1; Result := n; end;", "Integer:0"},
        {"var i, n: integer; begin n := 0; for i := 2147483646 to 2147483647 do n := n + 1; Result := n; end;",
         "Integer:2"},
        {"var i, n: integer; begin n := 0; for i := 1 to 3 do begin n := n * 10 + i; end; Result := i; end;",
         "Integer:3"},
        {"var i, s: integer; begin s := 0; for i := 1 to 100 do begin if i > 4 then break; s := s + i; end; Result := s; end;",
         "Integer:10"},
        {"var i, s: integer; begin s := 0; for i := 1 to 6 do begin if i mod 2 = 0 then continue; s := s + i; end; Result := s; end;",
         "Integer:9"},
        {"var i: integer; begin i := 0; while true do begin i := i + 1; if i = 7 then break; end; Result := i; end;",
         "Integer:7"},
        {"var i, s: integer; begin i := 0; s := 0; repeat i := i + 1; if i = 2 then continue; s := s + i; until i >= 4; Result := s; end;",
         "Integer:8"},
        {"begin Result := 1; if U1 > 0 then exit; Result := 2; end;", "Integer:1"},
        {"begin if U1 > 5000 then Result := 'big' else if U1 > 500 then Result := 'mid' else Result := 'small'; end;",
         "String:mid"},
        {"begin if U1 > 0 then if U2 > 0 then Result := 1 else Result := 2; end;", "Integer:2"},   // else binds to the nearer if
        {"begin case U1 div 500 of 0: Result := 'zero'; 1, 3: Result := 'odd'; 2: Result := 'two'; else Result := 'other' end; end;",
         "String:two"},
        {"begin case U3 of -5..-1: Result := 'neg'; 0..99: Result := 'low'; 100..199: Result := 'mid'; end; end;",
         "String:mid"},
        {"begin Result := 'none'; case U2 + 7 of 1: Result := 'one'; end; end;", "String:none"},
        {"begin case U1 > 10 of true: Result := 'yes'; false: Result := 'no'; end; end;", "String:yes"},
        {"begin case 42 of 1: Result := 1 else Result := 2; Result := Result * 10 end; end;", "Integer:20"},
        {"begin begin end; ; Result := 3; end;", "Integer:3"},
        {"// the name, not Result:\nbegin main := 5; end;", "Integer:5"},   // assignment to the function's name
        {"var v: variant; begin v := 5; v := v + 1.5; Result := v; end;", "Double:6.5"},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(Outcome([&] { return RunProcedure(text); }), expected) << text;
}

TEST(ScriptLanguage, FunctionsAndProceduresTakeValueAndConstParameters)
{
    const std::pair<const char*, const char*> cases[] = {
        {"function sq(x: integer): integer; begin sq := x * x; end;"
         "function main: Variant; begin Result := sq(7); end;",
         "Integer:49"},
        {"function Fact(n: integer): integer; begin if n <= 1 then Result := 1 else Result := n * fact(n - 1); end;"
         "function main: Variant; begin Result := FACT(10); end;",
         "Integer:3628800"},
        {"function scale(const a: double; b: integer): double; begin Result := a * b; end;"
         "function main: Variant; begin Result := scale(1.5, 4); end;",
         "Double:6"},
        {"var g: integer;"
         "procedure add(n: integer); begin g := g + n; end;"
         "function main: Variant; begin g := 1; add(5); add(10); Result := g; end;",
         "Integer:16"},
        {"function twice(s: string): string; begin Result := s + s; end;"
         "function main: Variant; begin Result := twice('ab'); end;",
         "String:abab"},
        {"function first(n: integer): integer; begin Result := n; if n > 0 then exit; Result := -1; end;"
         "function main: Variant; begin Result := first(3) + first(0); end;",
         "Integer:2"},
        {"function bump(n: integer): integer; begin n := n + 1; Result := n; end;"   // value parameters are copies
         "function main: Variant; var k: integer; begin k := 1; Result := bump(k) * 10 + k; end;",
         "Integer:21"},
        {"function none: integer; begin end;"
         "function main: Variant; begin Result := none; end;",
         "Integer:0"},
        {"function v(x: variant): variant; begin Result := x; end;"
         "function main: Variant; begin Result := v(2) + v('3'); end;",
         "Double:5"},
        {"function f(a, b: integer): integer; begin Result := a - b; end;"
         "function main: Variant; begin Result := f(f(10, 3), f(2, 1)); end;",
         "Integer:6"},
        {"function main: Variant; begin end;", "Empty:"},
        {"function main: Boolean; begin Result := (1 < 2) xor (3 > 4); end;", "Boolean:True"},
        {"function main: Integer; begin Result := 7 div 2; end;", "Integer:3"},
        {"function main: Double; begin Result := 7; end;", "Double:7"},
        {"function main: String; begin Result := 'x' + 'y'; end;", "String:xy"},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(Outcome([&] { return RunUnit(text); }), expected) << text;
}

TEST(ScriptLanguage, VariantsConvertWhereTheValueNeedsIt)
{
    const std::pair<const char*, const char*> cases[] = {
        {"var v: variant; begin v := '12'; Result := v + 1; end;", "Double:13"},
        {"var v: variant; begin v := 'a'; Result := v + 'b'; end;", "String:ab"},
        {"var v: variant; i: integer; begin v := '42'; i := v; Result := i * 2; end;", "Integer:84"},
        {"var v: variant; i: integer; begin v := 2.5; i := v; Result := i; end;", "Integer:2"},   // halves to even
        {"var v: variant; i: integer; begin v := 3.5; i := v; Result := i; end;", "Integer:4"},
        {"var v: variant; d: double; begin v := '1,5'; d := v; Result := d; end;", "Double:1.5"},
        {"var v: variant; s: string; begin v := 0.1; s := v; Result := s; end;", "String:0.1"},
        {"var v: variant; begin Result := v + 1; end;", "Integer:1"},                // empty counts as 0
        {"var v: variant; begin v := 2147483647; Result := v + 1; end;", "Double:2147483648"},   // widens
        {"var v: variant; begin v := 7; Result := v / 2; end;", "Double:3.5"},
        {"var v: variant; begin v := 7; Result := v div 2; end;", "Integer:3"},
        {"var v: variant; begin v := 10; Result := v > 9.5; end;", "Boolean:True"},
        {"var v: variant; begin v := '10'; Result := v = 10; end;", "Boolean:True"},
        {"var v: variant; begin v := true; if v then Result := 'yes' else Result := 'no'; end;", "String:yes"},
        {"var v: variant; b: boolean; begin v := 'True'; b := v; Result := not b; end;", "Boolean:False"},
        {"var v: variant; begin v := 5; Result := -v; end;", "Integer:-5"},
        {"var v, w: variant; begin v := 6; w := 3; Result := (v and w) + (v xor w); end;", "Integer:7"},
        {"var d: double; begin d := 7; Result := d / 2; end;", "Double:3.5"},
        {"begin Result := 65535; end;", "Integer:65535"},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(Outcome([&] { return RunProcedure(text); }), expected) << text;
}

TEST(ScriptValue, TextsOfNumbersReadAndWriteBack)
{
    const std::pair<double, const char*> texts[] = {
        {56.1, "56.1"}, {0.1, "0.1"}, {1e20, "1E20"}, {1e-5, "1E-5"}, {0.0001, "0.0001"},
        {-2.5, "-2.5"}, {123456789012345.0, "123456789012345"}, {1e15, "1E15"}, {0.0, "0"},
    };
    for (const auto& [value, text] : texts)
        EXPECT_EQ(script::FloatToStr(value), text) << text;

    double r = 0;
    EXPECT_TRUE(script::TextToReal(" 12.5 ", r));
    EXPECT_DOUBLE_EQ(r, 12.5);
    EXPECT_TRUE(script::TextToReal("-3,25", r));
    EXPECT_DOUBLE_EQ(r, -3.25);
    for (const char* bad : {"", "abc", "1.2.3x", "inf", "nan", "0x10", "1e999"})
        EXPECT_FALSE(script::TextToReal(bad, r)) << bad;
    EXPECT_EQ(script::ToInteger(script::Value::String("$1F")), 31);
    EXPECT_THROW(script::ToInteger(script::Value::Real(3e9)), script::Fault);
}
