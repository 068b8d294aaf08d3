// Statements: assignment, calls, compound, if, while, repeat, for, case, exit, break, continue.
#include "core/script/Compiler.h"
#include "core/script/Operators.h"

#include <iterator>
#include <map>

namespace script {

namespace {

bool EndsStatementList(Tok kind)
{
    return kind == Tok::KwEnd || kind == Tok::KwUntil || kind == Tok::End;
}

} // namespace

void Compiler::StatementList()
{
    Statement();
    while (Accept(Tok::Semicolon))
        Statement();
    if (!EndsStatementList(cur_.kind) && cur_.kind != Tok::KwElse)
        Unexpected("';'");
}

void Compiler::Statement()
{
    DepthGuard guard(*this, cur_.pos);
    switch (cur_.kind) {
    case Tok::Ident: NameStatement(); break;
    case Tok::KwBegin:
        Advance();
        StatementList();
        Expect(Tok::KwEnd);
        break;
    case Tok::KwIf: IfStatement(); break;
    case Tok::KwWhile: WhileStatement(); break;
    case Tok::KwRepeat: RepeatStatement(); break;
    case Tok::KwFor: ForStatement(); break;
    case Tok::KwCase: CaseStatement(); break;
    case Tok::KwExit: ExitStatement(); break;
    case Tok::KwBreak: LoopJump(true); break;
    case Tok::KwContinue: LoopJump(false); break;
    case Tok::Semicolon:
    case Tok::End:
    case Tok::KwEnd:
    case Tok::KwUntil:
    case Tok::KwElse:
        break;   // the empty statement
    default: Unexpected("начало оператора");
    }
}

void Compiler::NameStatement()
{
    const Token name = ExpectName();
    const Symbol* symbol = Lookup(name.key);
    if (!symbol)
        Fail("неизвестное имя '" + name.text + "'", name.pos);
    if (cur_.kind == Tok::Assign) {
        const SourcePos at = cur_.pos;
        Advance();
        Symbol target = *symbol;
        if (target.kind == SymKind::UserFunction && fn_ && fn_->resultSlot >= 0 && target.index == fn_->index)
            target = Symbol{SymKind::Local, target.type, fn_->resultSlot, false};   // "f := ..." in f
        if (target.kind != SymKind::Local && target.kind != SymKind::Global)
            Fail("'" + name.text + "' нельзя присвоить значение", name.pos);
        if (target.readOnly)
            Fail("константному параметру '" + name.text + "' нельзя присвоить значение", name.pos);
        for (const auto& [kind, index] : fn_->counters)
            if (kind == target.kind && index == target.index)
                Fail("переменной цикла '" + name.text + "' нельзя присвоить значение внутри цикла", name.pos);
        const TypeKind type = Expression();
        Coerce(type, target.type, at);
        StoreTo(target, at);
        return;
    }
    if (symbol->kind == SymKind::UserFunction || symbol->kind == SymKind::HostFunction) {
        CallOf(*symbol, name, true);
        return;
    }
    if (cur_.kind == Tok::Eq)
        Fail("ожидалось ':=', а найдено '='", cur_.pos);
    Unexpected("':='");
}

void Compiler::StoreTo(const Symbol& target, SourcePos at)
{
    const bool whole = target.type == TypeKind::String || target.type == TypeKind::Variant;
    if (target.kind == SymKind::Local)
        Emit(whole ? Op::StoreLocalStr : Op::StoreLocal, target.index, at);
    else
        Emit(whole ? Op::StoreGlobalStr : Op::StoreGlobal, target.index, at);
}

void Compiler::Condition(SourcePos at)
{
    const TypeKind type = Expression();
    if (type == TypeKind::Variant)
        Emit(Op::VarToBool, 0, at);
    else if (type != TypeKind::Boolean)
        Fail(std::string("ожидалось логическое выражение, а найдено выражение типа '") + TypeName(type) + "'", at);
}

void Compiler::IfStatement()
{
    const SourcePos at = Expect(Tok::KwIf).pos;
    Condition(at);
    const uint32_t toElse = Emit(Op::JumpIfFalse, 0, at);
    Expect(Tok::KwThen);
    Statement();
    if (Accept(Tok::KwElse)) {
        const uint32_t toEnd = Emit(Op::Jump, 0, at);
        PatchTo(toElse, Here());
        Statement();
        PatchTo(toEnd, Here());
    } else {
        PatchTo(toElse, Here());
    }
}

void Compiler::WhileStatement()
{
    const SourcePos at = Expect(Tok::KwWhile).pos;
    const uint32_t top = Here();
    Condition(at);
    const uint32_t toEnd = Emit(Op::JumpIfFalse, 0, at);
    Expect(Tok::KwDo);
    fn_->loops.emplace_back();
    Statement();
    Emit(Op::Jump, static_cast<int32_t>(top), at);
    Loop loop = std::move(fn_->loops.back());
    fn_->loops.pop_back();
    PatchTo(toEnd, Here());
    PatchAll(loop.breaks, Here());
    PatchAll(loop.continues, top);
}

void Compiler::RepeatStatement()
{
    const SourcePos at = Expect(Tok::KwRepeat).pos;
    const uint32_t top = Here();
    fn_->loops.emplace_back();
    StatementList();
    const SourcePos untilPos = Expect(Tok::KwUntil, "'until'").pos;
    const uint32_t test = Here();
    Condition(untilPos);
    Emit(Op::JumpIfFalse, static_cast<int32_t>(top), at);
    Loop loop = std::move(fn_->loops.back());
    fn_->loops.pop_back();
    PatchAll(loop.breaks, Here());
    PatchAll(loop.continues, test);
}

void Compiler::ForStatement()
{
    const SourcePos at = Expect(Tok::KwFor).pos;
    const Token name = ExpectName();
    const Symbol* found = Lookup(name.key);
    if (!found)
        Fail("неизвестное имя '" + name.text + "'", name.pos);
    const Symbol counter = *found;
    if ((counter.kind != SymKind::Local && counter.kind != SymKind::Global) || counter.readOnly)
        Fail("'" + name.text + "' не может быть счётчиком цикла", name.pos);
    if (counter.type != TypeKind::Integer)
        Fail("счётчик цикла '" + name.text + "' должен быть целым", name.pos);
    for (const auto& [kind, index] : fn_->counters)
        if (kind == counter.kind && index == counter.index)
            Fail("переменной цикла '" + name.text + "' нельзя присвоить значение внутри цикла", name.pos);
    Expect(Tok::Assign);
    Coerce(Expression(), TypeKind::Integer, at);
    StoreTo(counter, at);
    bool down = false;
    if (Accept(Tok::KwDownto))
        down = true;
    else
        Expect(Tok::KwTo, "'to' или 'downto'");
    const int limit = AddLocal(TypeKind::Integer);
    const Symbol limitSymbol{SymKind::Local, TypeKind::Integer, limit, false};
    Coerce(Expression(), TypeKind::Integer, at);
    StoreTo(limitSymbol, at);
    Expect(Tok::KwDo);

    // The limit is taken once; the counter stops at it without stepping past, so a loop up to
    // the largest integer ends instead of overflowing.
    Load(counter, at);
    Load(limitSymbol, at);
    Emit(Op::CmpInt, static_cast<int32_t>(down ? Relation::Ge : Relation::Le), at);
    const uint32_t toEnd = Emit(Op::JumpIfFalse, 0, at);
    const uint32_t body = Here();
    fn_->loops.emplace_back();
    fn_->counters.emplace_back(counter.kind, counter.index);
    Statement();
    fn_->counters.pop_back();
    Loop loop = std::move(fn_->loops.back());
    fn_->loops.pop_back();
    const uint32_t step = Here();
    Load(counter, at);
    Load(limitSymbol, at);
    Emit(Op::CmpInt, static_cast<int32_t>(Relation::Ne), at);
    const uint32_t atLimit = Emit(Op::JumpIfFalse, 0, at);
    Load(counter, at);
    Emit(Op::PushInt, 1, at);
    Emit(down ? Op::SubInt : Op::AddInt, 0, at);
    StoreTo(counter, at);
    Emit(Op::Jump, static_cast<int32_t>(body), at);
    PatchTo(toEnd, Here());
    PatchTo(atLimit, Here());
    PatchAll(loop.breaks, Here());
    PatchAll(loop.continues, step);
}

Compiler::CaseLabel Compiler::ConstantLabel()
{
    const SourcePos at = cur_.pos;
    bool negative = false;
    if (Accept(Tok::Minus))
        negative = true;
    else
        Accept(Tok::Plus);
    if (cur_.kind == Tok::IntLit) {
        const int64_t v = negative ? -cur_.intValue : cur_.intValue;
        Advance();
        return {static_cast<int32_t>(v), TypeKind::Integer};
    }
    if (!negative && cur_.kind == Tok::Ident && (cur_.key == "true" || cur_.key == "false")) {
        const bool v = cur_.key == "true";
        Advance();
        return {v ? 1 : 0, TypeKind::Boolean};
    }
    Fail("метка варианта должна быть целой или логической константой", at);
}

void Compiler::CaseStatement()
{
    const SourcePos at = Expect(Tok::KwCase).pos;
    TypeKind type = Expression();
    if (type == TypeKind::Variant) {
        Emit(Op::VarToInt, 0, at);
        type = TypeKind::Integer;
    }
    if (type != TypeKind::Integer && type != TypeKind::Boolean)
        Fail(std::string("выражение варианта должно быть порядкового типа, а не '") + TypeName(type) + "'", at);
    const Symbol selector{SymKind::Local, type, AddLocal(type), false};
    StoreTo(selector, at);
    Expect(Tok::KwOf);
    const Op compare = type == TypeKind::Integer ? Op::CmpInt : Op::CmpBool;
    auto pushLabel = [&](int32_t v, SourcePos p) {
        if (type == TypeKind::Integer)
            PushInteger(v, p);
        else
            Emit(Op::PushBool, v, p);
    };
    std::map<int32_t, int32_t> seen;
    std::vector<uint32_t> toEnd;
    while (cur_.kind != Tok::KwElse && cur_.kind != Tok::KwEnd) {
        std::vector<uint32_t> toBranch;
        for (;;) {
            const SourcePos labelPos = cur_.pos;
            const CaseLabel low = ConstantLabel();
            CaseLabel high = low;
            if (Accept(Tok::DotDot))
                high = ConstantLabel();
            if (low.type != type || high.type != type)
                Fail("тип метки не совпадает с типом выражения варианта", labelPos);
            if (high.value < low.value)
                Fail("пустой диапазон метки", labelPos);
            // Ranges kept by their low ends: only the neighbours can overlap a new one.
            const auto next = seen.lower_bound(low.value);
            if ((next != seen.end() && next->first <= high.value)
                || (next != seen.begin() && std::prev(next)->second >= low.value))
                Fail("повторяющаяся метка варианта", labelPos);
            seen.emplace(low.value, high.value);
            Load(selector, labelPos);
            pushLabel(low.value, labelPos);
            if (low.value == high.value) {
                Emit(compare, static_cast<int32_t>(Relation::Eq), labelPos);
                toBranch.push_back(Emit(Op::JumpIfTrue, 0, labelPos));
            } else {
                Emit(compare, static_cast<int32_t>(Relation::Ge), labelPos);
                const uint32_t skip = Emit(Op::JumpIfFalse, 0, labelPos);
                Load(selector, labelPos);
                pushLabel(high.value, labelPos);
                Emit(compare, static_cast<int32_t>(Relation::Le), labelPos);
                toBranch.push_back(Emit(Op::JumpIfTrue, 0, labelPos));
                PatchTo(skip, Here());
            }
            if (!Accept(Tok::Comma))
                break;
        }
        Expect(Tok::Colon);
        const uint32_t toNext = Emit(Op::Jump, 0, at);
        PatchAll(toBranch, Here());
        Statement();
        toEnd.push_back(Emit(Op::Jump, 0, at));
        PatchTo(toNext, Here());
        if (!Accept(Tok::Semicolon))
            break;
    }
    if (Accept(Tok::KwElse)) {
        StatementList();
    }
    Expect(Tok::KwEnd);
    PatchAll(toEnd, Here());
}

void Compiler::ExitStatement()
{
    const SourcePos at = Expect(Tok::KwExit).pos;
    fn_->exits.push_back(Emit(Op::Jump, 0, at));
}

void Compiler::LoopJump(bool isBreak)
{
    const SourcePos at = cur_.pos;
    Advance();
    if (fn_->loops.empty())
        Fail(std::string(isBreak ? "'break'" : "'continue'") + " вне цикла", at);
    auto& list = isBreak ? fn_->loops.back().breaks : fn_->loops.back().continues;
    list.push_back(Emit(Op::Jump, 0, at));
}

} // namespace script
