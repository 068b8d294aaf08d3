#pragma once
// Compiles a unit of the Pascal-like script language (variable sections, functions and
// procedures) into a Program: one pass of recursive descent that checks types and emits code.
#include "core/script/Lexer.h"
#include "core/script/Program.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace script {

class Compiler {
public:
    // Called with "SYSTEM" when compilation starts, to declare the host's functions and
    // variables; returns whether it knew the unit.
    using UsesHandler = std::function<bool(Compiler&, const std::string& unitName)>;

    Compiler();
    ~Compiler();
    Compiler(const Compiler&) = delete;
    Compiler& operator=(const Compiler&) = delete;

    void AddUsesHandler(UsesHandler handler);

    // Declares a host function by its header, e.g. "function Sqr(const X: Extended): Extended".
    // A bad header raises CompileError.
    void AddFunction(std::string_view declaration);
    // Declares a global variable that the host sets before a run.
    void AddVariable(std::string_view name, std::string_view typeName);

    // Compiles a whole text; raises CompileError with the place of the first error.
    std::shared_ptr<const Program> Compile(std::string_view source);

private:
    enum class SymKind : uint8_t { Global, Local, UserFunction, HostFunction, Constant };
    struct Symbol {
        SymKind kind = SymKind::Global;
        TypeKind type = TypeKind::Void;
        int index = 0;          // slot, global, function, host function, or constant value
        bool readOnly = false;  // a const parameter
    };
    struct Param {
        std::string name;
        TypeKind type = TypeKind::Integer;
        bool isConst = false;
    };
    struct Signature {
        std::string name;
        std::string key;        // the name in lower case
        std::vector<Param> params;
        TypeKind result = TypeKind::Void;
    };
    struct HostFunction {
        std::shared_ptr<const Signature> signature;
        int import = -1;        // import index once the text calls it
    };
    struct Loop {
        std::vector<uint32_t> breaks;
        std::vector<uint32_t> continues;
    };
    struct FunctionState {
        int index = -1;
        std::string key;
        int resultSlot = -1;
        std::vector<TypeKind> locals;
        std::vector<uint32_t> exits;
        std::vector<Loop> loops;
        std::vector<std::pair<SymKind, int>> counters;   // variables of the enclosing for loops
        int depth = 0;
        int maxDepth = 0;
    };
    // Names of one scope: a short list searched in order (cheap to build for every compilation),
    // indexed by a hash table once it grows, so that long texts stay linear.
    class Scope {
    public:
        const Symbol* Find(const std::string& key) const;
        bool Add(const std::string& key, const Symbol& symbol);
        void Clear();

    private:
        std::vector<std::pair<std::string, Symbol>> entries_;
        std::unordered_map<std::string, size_t> index_;
    };

    // --- tokens
    void Advance();
    bool Accept(Tok kind);
    Token Expect(Tok kind, const char* what = nullptr);
    Token ExpectName();
    [[noreturn]] void Unexpected(const std::string& expected) const;
    [[noreturn]] static void Fail(const std::string& reason, SourcePos pos);

    // --- declarations
    void CompileUnit();
    void VarSection(bool global);
    TypeKind ParseType();
    Signature Header();
    Signature ParseDeclaration(std::string_view declaration);
    void FunctionBody(const Signature& sig, SourcePos at);
    void Declare(Scope& scope, const Token& name, Symbol symbol);
    const Symbol* Lookup(const std::string& key) const;
    int AddLocal(TypeKind type);

    // --- statements
    void StatementList();
    void Statement();
    void NameStatement();
    void IfStatement();
    void WhileStatement();
    void RepeatStatement();
    void ForStatement();
    void CaseStatement();
    void ExitStatement();
    void LoopJump(bool isBreak);
    void Condition(SourcePos at);
    void StoreTo(const Symbol& target, SourcePos at);

    // --- expressions (each returns the static type of the value it leaves)
    TypeKind Expression();
    TypeKind SimpleExpression();
    TypeKind Term();
    TypeKind Factor();
    TypeKind NameFactor(const Token& name);
    TypeKind CallOf(const Symbol& symbol, const Token& name, bool asStatement);
    TypeKind Arithmetic(Tok op, TypeKind left, TypeKind right, SourcePos at);
    TypeKind Logical(Tok op, TypeKind left, SourcePos at);
    TypeKind Comparison(Tok op, TypeKind left, TypeKind right, SourcePos at);
    void Coerce(TypeKind from, TypeKind to, SourcePos at, int depth = 0);
    void Load(const Symbol& symbol, SourcePos at);
    struct CaseLabel { int32_t value; TypeKind type; };
    CaseLabel ConstantLabel();

    // --- code
    uint32_t Emit(Op op, int32_t operand, SourcePos at);
    uint32_t Here() const { return static_cast<uint32_t>(program_->code.size()); }
    void PatchTo(uint32_t instruction, uint32_t target);
    void PatchAll(const std::vector<uint32_t>& jumps, uint32_t target);
    void PushInteger(int32_t value, SourcePos at);
    int StringConstant(const std::string& text);
    void Adjust(int delta);

    // Bounds the parser's recursion: hostile text must not exhaust the thread's stack.
    class DepthGuard {
    public:
        DepthGuard(Compiler& c, SourcePos at);
        ~DepthGuard() { --c_.nesting_; }
        DepthGuard(const DepthGuard&) = delete;
        DepthGuard& operator=(const DepthGuard&) = delete;

    private:
        Compiler& c_;
    };

    std::vector<UsesHandler> handlers_;
    bool systemDeclared_ = false;
    Scope system_;
    std::vector<HostFunction> hostFunctions_;
    std::vector<GlobalVar> systemGlobals_;

    std::unique_ptr<Lexer> lexer_;
    Token cur_;
    std::shared_ptr<Program> program_;
    Scope unit_;
    Scope local_;
    FunctionState* fn_ = nullptr;
    int nesting_ = 0;
};

} // namespace script
