// Expressions with the language's precedence: not and signs; * / div mod and shl shr;
// + - or xor; comparisons. Each level checks its operand types and emits typed code.
#include "core/script/Compiler.h"
#include "core/script/Operators.h"

namespace script {

namespace {

bool IsNumeric(TypeKind t) { return t == TypeKind::Integer || t == TypeKind::Real; }

BinOp BinOpOf(Tok op)
{
    switch (op) {
    case Tok::Plus: return BinOp::Add;
    case Tok::Minus: return BinOp::Sub;
    case Tok::Star: return BinOp::Mul;
    case Tok::Slash: return BinOp::Divide;
    case Tok::KwDiv: return BinOp::IntDiv;
    case Tok::KwMod: return BinOp::Mod;
    case Tok::KwAnd: return BinOp::And;
    case Tok::KwOr: return BinOp::Or;
    case Tok::KwXor: return BinOp::Xor;
    case Tok::KwShl: return BinOp::Shl;
    default: return BinOp::Shr;
    }
}

Relation RelationOf(Tok op)
{
    switch (op) {
    case Tok::Eq: return Relation::Eq;
    case Tok::Ne: return Relation::Ne;
    case Tok::Lt: return Relation::Lt;
    case Tok::Gt: return Relation::Gt;
    case Tok::Le: return Relation::Le;
    default: return Relation::Ge;
    }
}

bool IsRelation(Tok t)
{
    return t == Tok::Eq || t == Tok::Ne || t == Tok::Lt || t == Tok::Gt || t == Tok::Le || t == Tok::Ge;
}

bool IsAdding(Tok t) { return t == Tok::Plus || t == Tok::Minus || t == Tok::KwOr || t == Tok::KwXor; }

bool IsMultiplying(Tok t)
{
    return t == Tok::Star || t == Tok::Slash || t == Tok::KwDiv || t == Tok::KwMod || t == Tok::KwAnd
        || t == Tok::KwShl || t == Tok::KwShr;
}

Tag TagOf(TypeKind t)
{
    switch (t) {
    case TypeKind::Integer: return Tag::Integer;
    case TypeKind::Real: return Tag::Real;
    case TypeKind::String: return Tag::String;
    case TypeKind::Boolean: return Tag::Boolean;
    default: return Tag::Empty;
    }
}

[[noreturn]] void BadOperands(Tok op, TypeKind left, TypeKind right, SourcePos at)
{
    const char* spelling = Spelling(op);
    throw CompileError(std::string("операция '") + (spelling ? spelling : "?") + "' неприменима к типам '" + TypeName(left)
                           + "' и '" + TypeName(right) + "'",
                       at);
}

} // namespace

void Compiler::Coerce(TypeKind from, TypeKind to, SourcePos at, int depth)
{
    if (from == to)
        return;
    if (from == TypeKind::Void)
        Fail("процедура не возвращает значения", at);
    if (to == TypeKind::Variant) {
        Emit(Op::TagAs, (static_cast<int32_t>(TagOf(from)) << 1) | depth, at);
        return;
    }
    if (from == TypeKind::Variant && depth == 0) {
        switch (to) {
        case TypeKind::Integer: Emit(Op::VarToInt, 0, at); return;
        case TypeKind::Real: Emit(Op::VarToReal, 0, at); return;
        case TypeKind::String: Emit(Op::VarToStr, 0, at); return;
        case TypeKind::Boolean: Emit(Op::VarToBool, 0, at); return;
        default: break;
        }
    }
    if (from == TypeKind::Integer && to == TypeKind::Real) {
        Emit(Op::IntToReal, depth, at);
        return;
    }
    Fail(std::string("несовместимые типы: '") + TypeName(from) + "' и '" + TypeName(to) + "'", at);
}

TypeKind Compiler::Expression()
{
    DepthGuard guard(*this, cur_.pos);
    const TypeKind left = SimpleExpression();
    if (!IsRelation(cur_.kind))
        return left;
    const Tok op = cur_.kind;
    const SourcePos at = cur_.pos;
    Advance();
    const TypeKind right = SimpleExpression();
    return Comparison(op, left, right, at);
}

TypeKind Compiler::SimpleExpression()
{
    TypeKind left = Term();
    while (IsAdding(cur_.kind)) {
        const Tok op = cur_.kind;
        const SourcePos at = cur_.pos;
        Advance();
        if (op == Tok::KwOr && left == TypeKind::Boolean) {
            left = Logical(op, left, at);
            continue;
        }
        const TypeKind right = Term();
        left = Arithmetic(op, left, right, at);
    }
    return left;
}

TypeKind Compiler::Term()
{
    TypeKind left = Factor();
    while (IsMultiplying(cur_.kind)) {
        const Tok op = cur_.kind;
        const SourcePos at = cur_.pos;
        Advance();
        if (op == Tok::KwAnd && left == TypeKind::Boolean) {
            left = Logical(op, left, at);
            continue;
        }
        const TypeKind right = Factor();
        left = Arithmetic(op, left, right, at);
    }
    return left;
}

TypeKind Compiler::Logical(Tok op, TypeKind left, SourcePos at)
{
    // Boolean "and" and "or" stop as soon as the left side decides the result.
    (void)left;
    const uint32_t skip = Emit(op == Tok::KwAnd ? Op::JumpIfFalseKeep : Op::JumpIfTrueKeep, 0, at);
    const TypeKind right = op == Tok::KwAnd ? Factor() : Term();
    if (right == TypeKind::Variant)
        Emit(Op::VarToBool, 0, at);
    else if (right != TypeKind::Boolean)
        BadOperands(op, TypeKind::Boolean, right, at);
    PatchTo(skip, Here());
    return TypeKind::Boolean;
}

TypeKind Compiler::Arithmetic(Tok op, TypeKind left, TypeKind right, SourcePos at)
{
    if (left == TypeKind::Void || right == TypeKind::Void)
        Fail("процедура не возвращает значения", at);
    if (left == TypeKind::Variant || right == TypeKind::Variant) {
        Coerce(left, TypeKind::Variant, at, 1);
        Coerce(right, TypeKind::Variant, at, 0);
        Emit(Op::VarBinary, static_cast<int32_t>(BinOpOf(op)), at);
        return TypeKind::Variant;
    }
    switch (op) {
    case Tok::Plus:
        if (left == TypeKind::String && right == TypeKind::String) {
            Emit(Op::AddStr, 0, at);
            return TypeKind::String;
        }
        [[fallthrough]];
    case Tok::Minus:
    case Tok::Star:
        if (!IsNumeric(left) || !IsNumeric(right))
            BadOperands(op, left, right, at);
        if (left == TypeKind::Integer && right == TypeKind::Integer) {
            Emit(op == Tok::Plus ? Op::AddInt : op == Tok::Minus ? Op::SubInt : Op::MulInt, 0, at);
            return TypeKind::Integer;
        }
        Coerce(left, TypeKind::Real, at, 1);
        Coerce(right, TypeKind::Real, at, 0);
        Emit(op == Tok::Plus ? Op::AddReal : op == Tok::Minus ? Op::SubReal : Op::MulReal, 0, at);
        return TypeKind::Real;
    case Tok::Slash:
        if (!IsNumeric(left) || !IsNumeric(right))
            BadOperands(op, left, right, at);
        Coerce(left, TypeKind::Real, at, 1);
        Coerce(right, TypeKind::Real, at, 0);
        Emit(Op::DivReal, 0, at);
        return TypeKind::Real;
    case Tok::KwDiv:
    case Tok::KwMod:
    case Tok::KwShl:
    case Tok::KwShr:
        if (left != TypeKind::Integer || right != TypeKind::Integer)
            BadOperands(op, left, right, at);
        Emit(op == Tok::KwDiv ? Op::DivInt : op == Tok::KwMod ? Op::ModInt : op == Tok::KwShl ? Op::ShlInt : Op::ShrInt,
             0, at);
        return TypeKind::Integer;
    case Tok::KwAnd:
    case Tok::KwOr:
    case Tok::KwXor:
        if (left == TypeKind::Boolean && right == TypeKind::Boolean && op == Tok::KwXor) {
            Emit(Op::XorBool, 0, at);
            return TypeKind::Boolean;
        }
        if (left != TypeKind::Integer || right != TypeKind::Integer)
            BadOperands(op, left, right, at);
        Emit(op == Tok::KwAnd ? Op::AndInt : op == Tok::KwOr ? Op::OrInt : Op::XorInt, 0, at);
        return TypeKind::Integer;
    default: BadOperands(op, left, right, at);
    }
}

TypeKind Compiler::Comparison(Tok op, TypeKind left, TypeKind right, SourcePos at)
{
    const auto rel = static_cast<int32_t>(RelationOf(op));
    if (left == TypeKind::Void || right == TypeKind::Void)
        Fail("процедура не возвращает значения", at);
    if (left == TypeKind::Variant || right == TypeKind::Variant) {
        Coerce(left, TypeKind::Variant, at, 1);
        Coerce(right, TypeKind::Variant, at, 0);
        Emit(Op::CmpVar, rel, at);
    } else if (left == TypeKind::Integer && right == TypeKind::Integer) {
        Emit(Op::CmpInt, rel, at);
    } else if (IsNumeric(left) && IsNumeric(right)) {
        Coerce(left, TypeKind::Real, at, 1);
        Coerce(right, TypeKind::Real, at, 0);
        Emit(Op::CmpReal, rel, at);
    } else if (left == TypeKind::String && right == TypeKind::String) {
        Emit(Op::CmpStr, rel, at);
    } else if (left == TypeKind::Boolean && right == TypeKind::Boolean) {
        Emit(Op::CmpBool, rel, at);
    } else {
        BadOperands(op, left, right, at);
    }
    return TypeKind::Boolean;
}

TypeKind Compiler::Factor()
{
    DepthGuard guard(*this, cur_.pos);
    const SourcePos at = cur_.pos;
    switch (cur_.kind) {
    case Tok::IntLit: {
        const auto v = static_cast<int32_t>(cur_.intValue);
        Advance();
        PushInteger(v, at);
        return TypeKind::Integer;
    }
    case Tok::RealLit:
        program_->reals.push_back(cur_.realValue);
        Advance();
        Emit(Op::PushReal, static_cast<int32_t>(program_->reals.size() - 1), at);
        return TypeKind::Real;
    case Tok::StrLit: {
        const int index = StringConstant(cur_.text);
        Advance();
        Emit(Op::PushString, index, at);
        return TypeKind::String;
    }
    case Tok::LParen: {
        Advance();
        const TypeKind t = Expression();
        Expect(Tok::RParen);
        return t;
    }
    case Tok::KwNot: {
        Advance();
        const TypeKind t = Factor();
        if (t == TypeKind::Boolean)
            Emit(Op::NotBool, 0, at);
        else if (t == TypeKind::Integer)
            Emit(Op::NotInt, 0, at);
        else if (t == TypeKind::Variant)
            Emit(Op::VarNot, 0, at);
        else
            Fail(std::string("операция 'not' неприменима к типу '") + TypeName(t) + "'", at);
        return t;
    }
    case Tok::Minus:
    case Tok::Plus: {
        const bool minus = cur_.kind == Tok::Minus;
        Advance();
        const TypeKind t = Factor();
        if (!IsNumeric(t) && t != TypeKind::Variant)
            Fail(std::string("знак '") + (minus ? "-" : "+") + "' неприменим к типу '" + TypeName(t) + "'", at);
        if (minus)
            Emit(t == TypeKind::Integer ? Op::NegInt : t == TypeKind::Real ? Op::NegReal : Op::VarNeg, 0, at);
        return t;
    }
    case Tok::Ident: {
        const Token name = std::move(cur_);
        Advance();
        return NameFactor(name);
    }
    default: Unexpected("выражение");
    }
}

TypeKind Compiler::NameFactor(const Token& name)
{
    const Symbol* symbol = Lookup(name.key);
    if (!symbol)
        Fail("неизвестное имя '" + name.text + "'", name.pos);
    switch (symbol->kind) {
    case SymKind::Constant: Emit(Op::PushBool, symbol->index, name.pos); return TypeKind::Boolean;
    case SymKind::Local:
    case SymKind::Global: Load(*symbol, name.pos); return symbol->type;
    default: break;
    }
    const Symbol callee = *symbol;
    const TypeKind result = CallOf(callee, name, false);
    if (result == TypeKind::Void)
        Fail("процедура '" + name.text + "' не возвращает значения", name.pos);
    return result;
}

void Compiler::Load(const Symbol& symbol, SourcePos at)
{
    const bool whole = symbol.type == TypeKind::String || symbol.type == TypeKind::Variant;
    if (symbol.kind == SymKind::Local)
        Emit(whole ? Op::LoadLocalStr : Op::LoadLocal, symbol.index, at);
    else
        Emit(whole ? Op::LoadGlobalStr : Op::LoadGlobal, symbol.index, at);
}

TypeKind Compiler::CallOf(const Symbol& symbol, const Token& name, bool asStatement)
{
    const bool host = symbol.kind == SymKind::HostFunction;
    std::vector<TypeKind> expected;
    TypeKind result = TypeKind::Void;
    if (host) {
        const Signature& sig = *hostFunctions_[static_cast<size_t>(symbol.index)].signature;
        for (const Param& p : sig.params)
            expected.push_back(p.type);
        result = sig.result;
    } else {
        const FunctionCode& f = program_->functions[static_cast<size_t>(symbol.index)];
        expected = f.paramTypes;
        result = f.result;
    }
    size_t count = 0;
    if (Accept(Tok::LParen)) {
        if (cur_.kind != Tok::RParen) {
            do {
                const SourcePos argPos = cur_.pos;
                const TypeKind t = Expression();
                if (count < expected.size())
                    Coerce(t, expected[count], argPos);
                ++count;
            } while (Accept(Tok::Comma));
        }
        Expect(Tok::RParen);
    }
    if (count != expected.size())
        Fail("неверное число параметров '" + name.text + "': нужно " + std::to_string(expected.size())
                 + ", передано " + std::to_string(count),
             name.pos);
    int32_t target = symbol.index;
    if (host) {
        HostFunction& hf = hostFunctions_[static_cast<size_t>(symbol.index)];
        if (hf.import < 0) {
            hf.import = static_cast<int>(program_->imports.size());
            Import imp;
            imp.name = hf.signature->name;
            for (const Param& p : hf.signature->params)
                imp.paramTypes.push_back(p.type);
            imp.result = hf.signature->result;
            program_->imports.push_back(std::move(imp));
        }
        target = hf.import;
    }
    Emit(host ? Op::CallHost : Op::Call, target, name.pos);
    Adjust(-static_cast<int>(count) + (result != TypeKind::Void ? 1 : 0));
    if (asStatement && result != TypeKind::Void)
        Emit(Op::Pop, 0, name.pos);
    return result;
}

} // namespace script
