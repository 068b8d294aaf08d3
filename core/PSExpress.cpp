#include "core/PSExpress.h"
#include "core/script/Ascii.h"

#include "core/PSExportFunctions.h"
#include "core/script/Fault.h"


namespace {

const char* const kInputNames[5] = {"Ri", "U1", "U2", "U3", "U4"};

uint32_t CharacterCount(const std::string& text)
{
    uint32_t n = 0;
    for (char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++n;
    return n;
}

std::vector<std::string> SplitLines(const std::string& text)
{
    // Lines end with CR LF, LF or CR, as a multi-line editor's text may hold any of them.
    std::vector<std::string> lines;
    if (text.empty())
        return lines;
    size_t start = 0;
    for (;;) {
        size_t stop = start;
        while (stop < text.size() && text[stop] != '\r' && text[stop] != '\n')
            ++stop;
        if (stop == text.size()) {
            lines.emplace_back(text, start);
            return lines;
        }
        lines.emplace_back(text, start, stop - start);
        start = stop + ((text[stop] == '\r' && stop + 1 < text.size() && text[stop + 1] == '\n') ? 2 : 1);
    }
}

bool ContainsNoCase(const std::string& text, const char* lowerWord)
{
    const size_t n = std::char_traits<char>::length(lowerWord);
    for (size_t i = 0; i + n <= text.size(); ++i) {
        if (script::AsciiLower(text[i]) != lowerWord[0])
            continue;
        size_t k = 1;
        while (k < n && script::AsciiLower(text[i + k]) == lowerWord[k])
            ++k;
        if (k == n)
            return true;
    }
    return false;
}

} // namespace

std::string TWrappedScript::Text() const
{
    size_t size = 0;
    for (const std::string& line : lines)
        size += line.size() + 1;
    std::string text;
    text.reserve(size);
    for (const std::string& line : lines) {
        text += line;
        text += '\n';
    }
    return text;
}

script::SourcePos TWrappedScript::ToUser(script::SourcePos pos) const
{
    if (userLineCount == 0)
        return {1 + trimmedLines, 1 + trimmedColumns};
    if (pos.line >= firstUserLine && pos.line < firstUserLine + userLineCount) {
        const uint32_t k = pos.line - firstUserLine;
        uint32_t column = pos.column;
        if (k == 0)
            column = (column > firstLinePrefix ? column - firstLinePrefix : 1) + trimmedColumns;
        return {k + 1 + trimmedLines, column};
    }
    return {trimmedLines + userLineCount, lastLineLength + 1 + (userLineCount == 1 ? trimmedColumns : 0)};
}

TWrappedScript TPSExpress::WrapScript(const std::string& text)
{
    TWrappedScript w;
    // 1. Trim the text (everything up to a blank, control characters included) and split it.
    size_t begin = 0, end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= ' ') {
        const char c = text[begin];
        if (c == '\n' || (c == '\r' && (begin + 1 >= end || text[begin + 1] != '\n'))) {
            ++w.trimmedLines;
            w.trimmedColumns = 0;
        } else if (c != '\r') {
            ++w.trimmedColumns;
        }
        ++begin;
    }
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= ' ')
        --end;
    const std::string trimmed = text.substr(begin, end - begin);
    w.lines = SplitLines(trimmed);
    w.userLineCount = static_cast<uint32_t>(w.lines.size());
    if (!w.lines.empty())
        w.lastLineLength = CharacterCount(w.lines.back());

    // 2. A text without "result" is a bare expression.
    if (!ContainsNoCase(trimmed, "result")) {
        if (w.lines.empty())
            w.lines.emplace_back("result:=");
        else
            w.lines[0] = "result:=" + w.lines[0];
        w.firstLinePrefix = 8;
        w.lines.emplace_back(";");
    }
    // 3. The header.
    w.lines.insert(w.lines.begin(), "function main : Variant;");
    w.firstUserLine = 2;
    // 4. A block around a text without "begin" (exactly this spelling).
    if (trimmed.find("begin") == std::string::npos) {
        w.lines.insert(w.lines.begin() + 1, "begin");
        w.lines.emplace_back("end;");
        w.firstUserLine = 3;
    }
    return w;
}

TPSExpress::TPSExpress(int32_t U1, int32_t U2, int32_t U3, int32_t U4, int32_t Ri)
    : u_{U1, U2, U3, U4}, ri_(Ri)
{
    RegisterScriptFunctions(executer_);
}

TPSExpress::~TPSExpress() = default;

void TPSExpress::SetScript(const std::string& text)
{
    main_ = -1;
    wrapped_ = WrapScript(text);
    script::Compiler compiler;
    compiler.AddUsesHandler([this](script::Compiler& c, const std::string& unit) {
        const bool declared = RegisterScriptDeclarations(c, unit);
        return DeclareInputs(c, unit) || declared;
    });
    std::shared_ptr<const script::Program> program;
    try {
        program = compiler.Compile(wrapped_.Text());
    } catch (const script::CompileError& e) {
        throw EPSCompilerException("Ошибка в выражении: (" + script::DescribeError(e.Reason(), wrapped_.ToUser(e.Pos()))
                                   + ")");
    }
    if (!executer_.Load(program))
        throw EPSCompilerException("Скрипт не загружен.");
    const int main = executer_.FindFunction("main");
    if (main < 0)
        throw EPSCompilerException("Нет функции main.");
    for (int i = 0; i < 5; ++i)
        inputs_[i] = executer_.FindGlobal(kInputNames[i]);
    main_ = main;
}

bool TPSExpress::DeclareInputs(script::Compiler& compiler, const std::string& unitName)
{
    if (unitName != "SYSTEM")
        return false;
    for (const char* name : kInputNames)
        compiler.AddVariable(name, "integer");
    return true;
}

void TPSExpress::SetInputs(script::Machine& executer)
{
    const int32_t values[5] = {ri_, u_[0], u_[1], u_[2], u_[3]};
    for (int i = 0; i < 5; ++i)
        if (inputs_[i] >= 0)
            executer.SetGlobalInteger(inputs_[i], values[i]);
}

void TPSExpress::SetReading(int32_t U1, int32_t U2, int32_t U3, int32_t U4)
{
    u_[0] = U1;
    u_[1] = U2;
    u_[2] = U3;
    u_[3] = U4;
}

void TPSExpress::Execute(script::Value& result)
{
    if (main_ < 0)
        throw EPSCompilerException("Скрипт не выполнен. (" + executer_.LastError() + ")");
    // Each run starts as on a freshly loaded script, so compiling once changes no result.
    executer_.ResetGlobals();
    SetInputs(executer_);
    try {
        result = executer_.Call(main_);
    } catch (const script::RuntimeError& e) {
        throw EScriptRuntimeError("Ошибка выполнения скрипта. "
                                  + script::DescribeError(e.Reason(), wrapped_.ToUser(e.Pos())));
    }
}

double TPSExpress::Calculate()
{
    script::Value result;
    Execute(result);
    try {
        return script::ToReal(result);
    } catch (const script::Fault& f) {
        throw EScriptRuntimeError(std::string("Ошибка выполнения скрипта. Результат не является числом: ") + f.what());
    }
}

double TPSExpress::Evaluate(const std::string& text, int32_t Ri, int32_t U1, int32_t U2, int32_t U3, int32_t U4)
{
    TPSExpress express(U1, U2, U3, U4, Ri);
    express.SetScript(text);
    return express.Calculate();
}
