#include "core/script/Machine.h"

#include "core/script/Operators.h"

#include <algorithm>

namespace script {

namespace {

constexpr uint64_t kCharsPerStep = 64;

[[noreturn]] void TooMuchWork(uint64_t steps)
{
    throw Fault("превышен предел работы скрипта (" + std::to_string(steps)
                + " шагов): вероятно, бесконечный цикл или рекурсия");
}

[[noreturn]] void StackOverflow()
{
    throw Fault("переполнение стека скрипта");
}

[[noreturn]] void TooDeep(uint32_t depth)
{
    throw Fault("слишком глубокая рекурсия (более " + std::to_string(depth) + " вложенных вызовов)");
}

// The zero value of a type in place, keeping the slot's string buffer for reuse.
void ResetTo(Value& v, TypeKind type)
{
    v.bits = 0;
    v.s.clear();
    switch (type) {
    case TypeKind::Integer: v.tag = Tag::Integer; break;
    case TypeKind::Real: v.tag = Tag::Real; break;
    case TypeKind::String: v.tag = Tag::String; break;
    case TypeKind::Boolean: v.tag = Tag::Boolean; break;
    default: v.tag = Tag::Empty; break;
    }
}

} // namespace

Value ConvertTo(const Value& value, TypeKind type)
{
    switch (type) {
    case TypeKind::Integer: return Value::Integer(ToInteger(value));
    case TypeKind::Real: return Value::Real(ToReal(value));
    case TypeKind::String: return Value::String(ToString(value));
    case TypeKind::Boolean: return Value::Boolean(ToBoolean(value));
    default: return value;
    }
}

Machine::Machine(Limits limits) : limits_(limits) {}

void Machine::RegisterFunction(std::string name, HostFunctionPtr fn)
{
    registry_.emplace_back(std::move(name), fn);
}

bool Machine::Load(std::shared_ptr<const Program> program)
{
    program_.reset();
    imports_.clear();
    lastError_.clear();
    std::vector<HostFunctionPtr> resolved;
    for (const Import& imp : program->imports) {
        auto it = std::find_if(registry_.begin(), registry_.end(),
                               [&](const auto& entry) { return entry.first == imp.name; });
        if (it == registry_.end()) {
            lastError_ = "функция '" + imp.name + "' не может быть подключена";
            return false;
        }
        resolved.push_back(it->second);
    }
    imports_ = std::move(resolved);
    program_ = std::move(program);
    ResetGlobals();
    return true;
}

void Machine::ResetGlobals()
{
    globals_.resize(program_->globals.size());
    for (size_t i = 0; i < globals_.size(); ++i)
        ResetTo(globals_[i], program_->globals[i].type);
}

int Machine::FindFunction(std::string_view name) const
{
    return program_ ? program_->FindFunction(name) : -1;
}

int Machine::FindGlobal(std::string_view name) const
{
    return program_ ? program_->FindGlobal(name) : -1;
}

void Machine::SetGlobal(int index, const Value& value)
{
    globals_[static_cast<size_t>(index)] = ConvertTo(value, program_->globals[static_cast<size_t>(index)].type);
}

void Machine::Prepare(const FunctionCode& f, Value* base) const
{
    for (size_t i = f.paramCount; i < f.localTypes.size(); ++i)
        ResetTo(base[i], f.localTypes[i]);
}

Value Machine::Call(int function, std::span<const Value> args)
{
    const FunctionCode& f = program_->functions.at(static_cast<size_t>(function));
    if (args.size() != f.paramCount)
        throw std::invalid_argument("wrong number of arguments for a script function");
    const size_t need = f.localTypes.size() + f.maxOperands + 1;
    if (need > limits_.stackSlots)
        throw RuntimeError("переполнение стека скрипта", program_->positions[f.entry]);
    if (stack_.size() < need)
        stack_.resize(std::max<size_t>(need, 64));
    for (size_t i = 0; i < args.size(); ++i)
        stack_[i] = ConvertTo(args[i], f.paramTypes[i]);
    Prepare(f, stack_.data());
    frames_.clear();
    lastError_.clear();
    Value result = Run(static_cast<uint32_t>(function));
    // Typed code keeps no tags on its scalars; the host gets the declared type's tag.
    switch (f.result) {
    case TypeKind::Integer: result.tag = Tag::Integer; break;
    case TypeKind::Real: result.tag = Tag::Real; break;
    case TypeKind::String: result.tag = Tag::String; break;
    case TypeKind::Boolean: result.tag = Tag::Boolean; break;
    default: break;
    }
    return result;
}

Value Machine::Run(uint32_t function)
{
    const Program& p = *program_;
    const uint32_t* code = p.code.data();
    const FunctionCode* fn = &p.functions[function];
    uint32_t current = function;
    uint32_t pc = fn->entry;
    Value* bp = stack_.data();
    Value* sp = bp + fn->localTypes.size();
    Value* gp = globals_.data();
    uint64_t steps = 0;
    const uint64_t maxSteps = limits_.steps;

    try {
        for (;;) {
            const uint32_t word = code[pc++];
            const int32_t a = OperandOf(word);
            switch (OpOf(word)) {
            case Op::LoadLocal: sp->CopyScalar(bp[a]); ++sp; break;
            case Op::LoadLocalStr:
                *sp = bp[a];
                steps += sp->s.size() / kCharsPerStep;
                ++sp;
                break;
            case Op::StoreLocal: --sp; bp[a].CopyScalar(*sp); break;
            case Op::StoreLocalStr:
                --sp;
                bp[a].CopyScalar(*sp);
                bp[a].s.swap(sp->s);
                break;
            case Op::LoadGlobal: sp->CopyScalar(gp[a]); ++sp; break;
            case Op::LoadGlobalStr:
                *sp = gp[a];
                steps += sp->s.size() / kCharsPerStep;
                ++sp;
                break;
            case Op::StoreGlobal: --sp; gp[a].CopyScalar(*sp); break;
            case Op::StoreGlobalStr:
                --sp;
                gp[a].CopyScalar(*sp);
                gp[a].s.swap(sp->s);
                break;
            case Op::PushInt: sp->tag = Tag::Integer; sp->i = a; ++sp; break;
            case Op::PushIntConst: sp->tag = Tag::Integer; sp->i = p.ints[static_cast<size_t>(a)]; ++sp; break;
            case Op::PushReal: sp->tag = Tag::Real; sp->r = p.reals[static_cast<size_t>(a)]; ++sp; break;
            case Op::PushString: sp->tag = Tag::String; sp->s = p.strings[static_cast<size_t>(a)]; ++sp; break;
            case Op::PushBool: sp->tag = Tag::Boolean; sp->b = a != 0; ++sp; break;
            case Op::Pop: --sp; break;
            case Op::IntToReal: {
                Value& v = sp[-1 - a];
                v.r = v.i;
                v.tag = Tag::Real;
                break;
            }
            case Op::TagAs: sp[-1 - (a & 1)].tag = static_cast<Tag>(a >> 1); break;
            case Op::VarToInt: { const int32_t x = ToInteger(sp[-1]); sp[-1].i = x; sp[-1].tag = Tag::Integer; break; }
            case Op::VarToReal: { const double x = ToReal(sp[-1]); sp[-1].r = x; sp[-1].tag = Tag::Real; break; }
            case Op::VarToBool: { const bool x = ToBoolean(sp[-1]); sp[-1].b = x; sp[-1].tag = Tag::Boolean; break; }
            case Op::VarToStr: {
                if (sp[-1].tag != Tag::String)
                    sp[-1].s = ToString(sp[-1]);
                sp[-1].tag = Tag::String;
                break;
            }
            case Op::AddInt: sp[-2].i = IntAdd(sp[-2].i, sp[-1].i); --sp; break;
            case Op::SubInt: sp[-2].i = IntSub(sp[-2].i, sp[-1].i); --sp; break;
            case Op::MulInt: sp[-2].i = IntMul(sp[-2].i, sp[-1].i); --sp; break;
            case Op::DivInt: sp[-2].i = IntDiv(sp[-2].i, sp[-1].i); --sp; break;
            case Op::ModInt: sp[-2].i = IntMod(sp[-2].i, sp[-1].i); --sp; break;
            case Op::NegInt: sp[-1].i = IntNeg(sp[-1].i); break;
            case Op::AndInt: sp[-2].i &= sp[-1].i; --sp; break;
            case Op::OrInt: sp[-2].i |= sp[-1].i; --sp; break;
            case Op::XorInt: sp[-2].i ^= sp[-1].i; --sp; break;
            case Op::NotInt: sp[-1].i = ~sp[-1].i; break;
            case Op::ShlInt: sp[-2].i = IntShl(sp[-2].i, sp[-1].i); --sp; break;
            case Op::ShrInt: sp[-2].i = IntShr(sp[-2].i, sp[-1].i); --sp; break;
            case Op::AddReal: sp[-2].r = CheckReal(sp[-2].r + sp[-1].r); --sp; break;
            case Op::SubReal: sp[-2].r = CheckReal(sp[-2].r - sp[-1].r); --sp; break;
            case Op::MulReal: sp[-2].r = CheckReal(sp[-2].r * sp[-1].r); --sp; break;
            case Op::DivReal: sp[-2].r = RealDivide(sp[-2].r, sp[-1].r); --sp; break;
            case Op::NegReal: sp[-1].r = -sp[-1].r; break;
            case Op::AddStr:
                CheckLength(sp[-2].s.size() + sp[-1].s.size());
                sp[-2].s += sp[-1].s;
                steps += sp[-2].s.size() / kCharsPerStep;
                --sp;
                break;
            case Op::NotBool: sp[-1].b = !sp[-1].b; break;
            case Op::XorBool: sp[-2].b = sp[-2].b != sp[-1].b; --sp; break;
            case Op::VarBinary: {
                Value r = VariantBinary(static_cast<BinOp>(a), sp[-2], sp[-1]);
                --sp;
                sp[-1] = std::move(r);
                break;
            }
            case Op::VarNeg: sp[-1] = VariantNegate(sp[-1]); break;
            case Op::VarNot: sp[-1] = VariantNot(sp[-1]); break;
            case Op::CmpInt: { const bool r = Compare(static_cast<Relation>(a), sp[-2].i, sp[-1].i); --sp; sp[-1].b = r; sp[-1].tag = Tag::Boolean; break; }
            case Op::CmpReal: { const bool r = Compare(static_cast<Relation>(a), sp[-2].r, sp[-1].r); --sp; sp[-1].b = r; sp[-1].tag = Tag::Boolean; break; }
            case Op::CmpStr: { const bool r = Compare(static_cast<Relation>(a), sp[-2].s, sp[-1].s); --sp; sp[-1].b = r; sp[-1].tag = Tag::Boolean; break; }
            case Op::CmpBool: { const bool r = Compare(static_cast<Relation>(a), sp[-2].b, sp[-1].b); --sp; sp[-1].b = r; sp[-1].tag = Tag::Boolean; break; }
            case Op::CmpVar: { const bool r = VariantCompare(static_cast<Relation>(a), sp[-2], sp[-1]); --sp; sp[-1].b = r; sp[-1].tag = Tag::Boolean; break; }
            case Op::Jump:
                if (static_cast<uint32_t>(a) < pc && ++steps > maxSteps)
                    TooMuchWork(maxSteps);
                pc = static_cast<uint32_t>(a);
                break;
            case Op::JumpIfFalse:
                --sp;
                if (!sp->b) {
                    if (static_cast<uint32_t>(a) < pc && ++steps > maxSteps)
                        TooMuchWork(maxSteps);
                    pc = static_cast<uint32_t>(a);
                }
                break;
            case Op::JumpIfTrue:
                --sp;
                if (sp->b)
                    pc = static_cast<uint32_t>(a);
                break;
            case Op::JumpIfFalseKeep:
                if (!sp[-1].b)
                    pc = static_cast<uint32_t>(a);
                else
                    --sp;
                break;
            case Op::JumpIfTrueKeep:
                if (sp[-1].b)
                    pc = static_cast<uint32_t>(a);
                else
                    --sp;
                break;
            case Op::Call: {
                const FunctionCode& callee = p.functions[static_cast<size_t>(a)];
                if (++steps > maxSteps)
                    TooMuchWork(maxSteps);
                if (frames_.size() >= limits_.callDepth)
                    TooDeep(limits_.callDepth);
                const size_t base = static_cast<size_t>(sp - stack_.data()) - callee.paramCount;
                const size_t need = base + callee.localTypes.size() + callee.maxOperands + 1;
                if (need > limits_.stackSlots)
                    StackOverflow();
                if (need > stack_.size()) {
                    const size_t bpIndex = static_cast<size_t>(bp - stack_.data());
                    stack_.resize(std::min(std::max(need, stack_.size() * 2), limits_.stackSlots));
                    bp = stack_.data() + bpIndex;
                }
                frames_.push_back({pc, static_cast<uint32_t>(bp - stack_.data()), current});
                bp = stack_.data() + base;
                Prepare(callee, bp);
                sp = bp + callee.localTypes.size();
                fn = &callee;
                current = static_cast<uint32_t>(a);
                pc = callee.entry;
                break;
            }
            case Op::CallHost: {
                const Import& imp = p.imports[static_cast<size_t>(a)];
                const size_t n = imp.paramTypes.size();
                Value result;
                imports_[static_cast<size_t>(a)](sp - n, result);
                if (imp.result == TypeKind::Real)
                    CheckReal(result.r);
                sp -= n;
                if (imp.result != TypeKind::Void) {
                    *sp = std::move(result);
                    ++sp;
                }
                break;
            }
            case Op::Return: {
                const bool hasResult = fn->result != TypeKind::Void;
                if (frames_.empty())
                    return hasResult ? std::move(bp[fn->paramCount]) : Value();
                if (hasResult) {
                    if (fn->paramCount != 0)
                        std::swap(bp[0], bp[fn->paramCount]);
                    sp = bp + 1;
                } else {
                    sp = bp;
                }
                const Frame back = frames_.back();
                frames_.pop_back();
                bp = stack_.data() + back.base;
                pc = back.returnPc;
                current = back.function;
                fn = &p.functions[current];
                break;
            }
            }
        }
    } catch (const Fault& fault) {
        frames_.clear();
        lastError_ = fault.what();
        throw RuntimeError(fault.what(), p.positions[pc - 1]);
    }
}

} // namespace script
