#include "core/script/Compiler.h"
#include "core/script/Ascii.h"



namespace script {

namespace {

// Deep enough for any honest formula; shallow enough that the parser's recursion stays far
// from the thread's stack limit on hostile text.
constexpr int kMaxNesting = 400;

std::string Lower(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = AsciiLower(c);
    return out;
}

bool TypeByName(const std::string& key, TypeKind& type)
{
    static const std::pair<const char*, TypeKind> kTypes[] = {
        {"integer", TypeKind::Integer},  {"longint", TypeKind::Integer},
        {"double", TypeKind::Real},      {"extended", TypeKind::Real},
        {"real", TypeKind::Real},        {"single", TypeKind::Real},
        {"string", TypeKind::String},    {"ansistring", TypeKind::String},
        {"boolean", TypeKind::Boolean},  {"variant", TypeKind::Variant},
    };
    for (const auto& [name, kind] : kTypes)
        if (key == name) {
            type = kind;
            return true;
        }
    return false;
}

} // namespace

Compiler::DepthGuard::DepthGuard(Compiler& c, SourcePos at) : c_(c)
{
    if (++c_.nesting_ > kMaxNesting)
        Fail("слишком глубокая вложенность (более " + std::to_string(kMaxNesting) + " уровней)", at);
}

Compiler::Compiler()
{
    hostFunctions_.reserve(32);
}
Compiler::~Compiler() = default;

void Compiler::AddUsesHandler(UsesHandler handler)
{
    handlers_.push_back(std::move(handler));
}

void Compiler::Fail(const std::string& reason, SourcePos pos)
{
    throw CompileError(reason, pos);
}

void Compiler::Advance()
{
    cur_ = lexer_->Next();
}

bool Compiler::Accept(Tok kind)
{
    if (cur_.kind != kind)
        return false;
    Advance();
    return true;
}

void Compiler::Unexpected(const std::string& expected) const
{
    if (cur_.kind == Tok::KwReserved)
        Fail("слово '" + cur_.text + "' не поддерживается", cur_.pos);
    Fail("ожидалось " + expected + ", а найдено " + Describe(cur_), cur_.pos);
}

Token Compiler::Expect(Tok kind, const char* what)
{
    if (cur_.kind != kind)
        Unexpected(what ? std::string(what) : Describe(kind));
    Token t = std::move(cur_);
    Advance();
    return t;
}

Token Compiler::ExpectName()
{
    return Expect(Tok::Ident, "имя");
}

Compiler::Signature Compiler::ParseDeclaration(std::string_view declaration)
{
    auto saved = std::move(lexer_);
    const Token savedCur = cur_;
    lexer_ = std::make_unique<Lexer>(declaration);
    Advance();
    Signature sig = Header();
    sig.key = Lower(sig.name);
    if (cur_.kind == Tok::Semicolon)
        Advance();
    if (cur_.kind != Tok::End)
        Unexpected("окончание объявления");
    lexer_ = std::move(saved);
    cur_ = savedCur;
    return sig;
}

void Compiler::AddFunction(std::string_view declaration)
{
    // The host declares the same headers for every compilation; parse each text once per thread.
    struct TextHash {
        using is_transparent = void;
        size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
    };
    thread_local std::unordered_map<std::string, std::shared_ptr<const Signature>, TextHash, std::equal_to<>> parsed;
    std::shared_ptr<const Signature> sig;
    if (auto it = parsed.find(declaration); it != parsed.end()) {
        sig = it->second;
    } else {
        sig = std::make_shared<const Signature>(ParseDeclaration(declaration));
        parsed.emplace(std::string(declaration), sig);
    }
    Symbol s;
    s.kind = SymKind::HostFunction;
    s.type = sig->result;
    s.index = static_cast<int>(hostFunctions_.size());
    Token name;
    name.text = sig->name;
    name.key = sig->key;
    Declare(system_, name, s);
    hostFunctions_.push_back({std::move(sig), -1});
}

void Compiler::AddVariable(std::string_view name, std::string_view typeName)
{
    TypeKind type{};
    if (!TypeByName(Lower(typeName), type))
        Fail("неизвестный тип '" + std::string(typeName) + "'", {});
    Symbol s;
    s.kind = SymKind::Global;
    s.type = type;
    s.index = static_cast<int>(systemGlobals_.size());
    Token t;
    t.text = std::string(name);
    t.key = Lower(name);
    Declare(system_, t, s);
    systemGlobals_.push_back({std::string(name), type});
}

std::shared_ptr<const Program> Compiler::Compile(std::string_view source)
{
    if (!systemDeclared_) {
        systemDeclared_ = true;
        for (auto& handler : handlers_)
            handler(*this, "SYSTEM");
    }
    program_ = std::make_shared<Program>();
    program_->code.reserve(256);
    program_->positions.reserve(256);
    program_->globals = systemGlobals_;
    for (auto& f : hostFunctions_)
        f.import = -1;
    unit_.Clear();
    local_.Clear();
    fn_ = nullptr;
    nesting_ = 0;
    lexer_ = std::make_unique<Lexer>(source);
    Advance();
    CompileUnit();
    lexer_.reset();
    std::shared_ptr<const Program> done = std::move(program_);
    return done;
}

const Compiler::Symbol* Compiler::Scope::Find(const std::string& key) const
{
    if (!index_.empty()) {
        const auto it = index_.find(key);
        return it == index_.end() ? nullptr : &entries_[it->second].second;
    }
    for (const auto& [name, symbol] : entries_)
        if (name == key)
            return &symbol;
    return nullptr;
}

bool Compiler::Scope::Add(const std::string& key, const Symbol& symbol)
{
    constexpr size_t kIndexFrom = 32;
    if (Find(key))
        return false;
    if (entries_.empty())
        entries_.reserve(16);
    entries_.emplace_back(key, symbol);
    if (!index_.empty())
        index_.emplace(key, entries_.size() - 1);
    else if (entries_.size() >= kIndexFrom)
        for (size_t i = 0; i < entries_.size(); ++i)
            index_.emplace(entries_[i].first, i);
    return true;
}

void Compiler::Scope::Clear()
{
    entries_.clear();
    index_.clear();
}

void Compiler::Declare(Scope& scope, const Token& name, Symbol symbol)
{
    if (!scope.Add(name.key, symbol))
        Fail("повторное объявление '" + name.text + "'", name.pos);
}

const Compiler::Symbol* Compiler::Lookup(const std::string& key) const
{
    if (fn_) {
        if (const Symbol* s = local_.Find(key))
            return s;
    }
    if (const Symbol* s = unit_.Find(key))
        return s;
    if (const Symbol* s = system_.Find(key))
        return s;
    static const Symbol kTrue{SymKind::Constant, TypeKind::Boolean, 1, true};
    static const Symbol kFalse{SymKind::Constant, TypeKind::Boolean, 0, true};
    if (key == "true")
        return &kTrue;
    if (key == "false")
        return &kFalse;
    return nullptr;
}

void Compiler::CompileUnit()
{
    for (;;) {
        switch (cur_.kind) {
        case Tok::KwVar: VarSection(true); break;
        case Tok::KwFunction:
        case Tok::KwProcedure: {
            const SourcePos at = cur_.pos;
            const Signature sig = Header();
            Expect(Tok::Semicolon);
            FunctionBody(sig, at);
            break;
        }
        case Tok::End: return;
        default: Unexpected("объявление функции, процедуры или переменных");
        }
    }
}

TypeKind Compiler::ParseType()
{
    const Token name = Expect(Tok::Ident, "имя типа");
    TypeKind type{};
    if (!TypeByName(name.key, type))
        Fail("неизвестный тип '" + name.text + "'", name.pos);
    return type;
}

void Compiler::VarSection(bool global)
{
    Expect(Tok::KwVar);
    do {
        std::vector<Token> names{ExpectName()};
        while (Accept(Tok::Comma))
            names.push_back(ExpectName());
        Expect(Tok::Colon);
        const TypeKind type = ParseType();
        if (cur_.kind == Tok::Eq)
            Fail("начальные значения переменных не поддерживаются", cur_.pos);
        Expect(Tok::Semicolon);
        for (const Token& name : names) {
            Symbol s;
            s.type = type;
            if (global) {
                s.kind = SymKind::Global;
                s.index = static_cast<int>(program_->globals.size());
                Declare(unit_, name, s);
                program_->globals.push_back({name.text, type});
            } else {
                s.kind = SymKind::Local;
                s.index = AddLocal(type);
                Declare(local_, name, s);
            }
        }
    } while (cur_.kind == Tok::Ident);
}

Compiler::Signature Compiler::Header()
{
    const bool isFunction = cur_.kind == Tok::KwFunction;
    if (!isFunction && cur_.kind != Tok::KwProcedure)
        Unexpected("'function' или 'procedure'");
    Advance();
    Signature sig;
    sig.name = ExpectName().text;
    if (Accept(Tok::LParen)) {
        if (cur_.kind != Tok::RParen) {
            do {
                bool isConst = false;
                if (cur_.kind == Tok::KwVar)
                    Fail("параметры 'var' не поддерживаются", cur_.pos);
                if (Accept(Tok::KwConst))
                    isConst = true;
                std::vector<Token> names{ExpectName()};
                while (Accept(Tok::Comma))
                    names.push_back(ExpectName());
                Expect(Tok::Colon);
                const TypeKind type = ParseType();
                for (const Token& n : names)
                    sig.params.push_back({n.text, type, isConst});
            } while (Accept(Tok::Semicolon));
        }
        Expect(Tok::RParen);
    }
    if (isFunction) {
        Expect(Tok::Colon);
        sig.result = ParseType();
    }
    return sig;
}

int Compiler::AddLocal(TypeKind type)
{
    fn_->locals.push_back(type);
    return static_cast<int>(fn_->locals.size()) - 1;
}

void Compiler::FunctionBody(const Signature& sig, SourcePos at)
{
    FunctionState state;
    state.index = static_cast<int>(program_->functions.size());
    state.key = Lower(sig.name);
    FunctionCode code;
    code.name = sig.name;
    code.entry = Here();
    code.paramCount = static_cast<uint32_t>(sig.params.size());
    code.result = sig.result;
    for (const Param& p : sig.params)
        code.paramTypes.push_back(p.type);
    program_->functions.push_back(code);

    Token name;
    name.text = sig.name;
    name.key = state.key;
    name.pos = at;
    Declare(unit_, name, Symbol{SymKind::UserFunction, sig.result, state.index, false});

    fn_ = &state;
    local_.Clear();
    for (const Param& p : sig.params) {
        Token pn;
        pn.text = p.name;
        pn.key = Lower(p.name);
        pn.pos = at;
        Declare(local_, pn, Symbol{SymKind::Local, p.type, AddLocal(p.type), p.isConst});
    }
    if (sig.result != TypeKind::Void) {
        state.resultSlot = AddLocal(sig.result);
        local_.Add("result", Symbol{SymKind::Local, sig.result, state.resultSlot, false});
    }
    while (cur_.kind == Tok::KwVar)
        VarSection(false);
    if (cur_.kind == Tok::KwFunction || cur_.kind == Tok::KwProcedure)
        Fail("вложенные функции не поддерживаются", cur_.pos);
    Expect(Tok::KwBegin);
    StatementList();
    const SourcePos endPos = cur_.pos;
    Expect(Tok::KwEnd);
    Expect(Tok::Semicolon);
    PatchAll(state.exits, Here());
    Emit(Op::Return, 0, endPos);

    FunctionCode& done = program_->functions[static_cast<size_t>(state.index)];
    done.localTypes = state.locals;
    done.maxOperands = static_cast<uint32_t>(state.maxDepth);
    fn_ = nullptr;
    local_.Clear();
}

uint32_t Compiler::Emit(Op op, int32_t operand, SourcePos at)
{
    if (Here() >= static_cast<uint32_t>(kMaxOperand))
        Fail("текст скрипта слишком велик", at);
    program_->code.push_back(Encode(op, operand));
    program_->positions.push_back(at);
    switch (op) {
    case Op::LoadLocal: case Op::LoadLocalStr: case Op::LoadGlobal: case Op::LoadGlobalStr:
    case Op::PushInt: case Op::PushIntConst: case Op::PushReal: case Op::PushString: case Op::PushBool:
        Adjust(+1);
        break;
    case Op::StoreLocal: case Op::StoreLocalStr: case Op::StoreGlobal: case Op::StoreGlobalStr:
    case Op::Pop: case Op::JumpIfFalse: case Op::JumpIfTrue:
    case Op::AddInt: case Op::SubInt: case Op::MulInt: case Op::DivInt: case Op::ModInt:
    case Op::AndInt: case Op::OrInt: case Op::XorInt: case Op::ShlInt: case Op::ShrInt:
    case Op::AddReal: case Op::SubReal: case Op::MulReal: case Op::DivReal: case Op::AddStr:
    case Op::XorBool: case Op::VarBinary:
    case Op::CmpInt: case Op::CmpReal: case Op::CmpStr: case Op::CmpBool: case Op::CmpVar:
        Adjust(-1);
        break;
    case Op::JumpIfFalseKeep: case Op::JumpIfTrueKeep:
        // On the path that goes on, the condition is popped.
        Adjust(-1);
        break;
    default: break;   // conversions, unary operations, jumps; calls adjust for themselves
    }
    return Here() - 1;
}

void Compiler::Adjust(int delta)
{
    if (!fn_)
        return;
    fn_->depth += delta;
    if (fn_->depth > fn_->maxDepth)
        fn_->maxDepth = fn_->depth;
}

void Compiler::PatchTo(uint32_t instruction, uint32_t target)
{
    uint32_t& word = program_->code[instruction];
    word = Encode(OpOf(word), static_cast<int32_t>(target));
}

void Compiler::PatchAll(const std::vector<uint32_t>& jumps, uint32_t target)
{
    for (uint32_t j : jumps)
        PatchTo(j, target);
}

void Compiler::PushInteger(int32_t value, SourcePos at)
{
    if (value >= -kMaxOperand && value <= kMaxOperand) {
        Emit(Op::PushInt, value, at);
        return;
    }
    program_->ints.push_back(value);
    Emit(Op::PushIntConst, static_cast<int32_t>(program_->ints.size() - 1), at);
}

int Compiler::StringConstant(const std::string& text)
{
    program_->strings.push_back(text);
    return static_cast<int>(program_->strings.size() - 1);
}

} // namespace script
