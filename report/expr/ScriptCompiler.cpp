#include "report/expr/ScriptCompiler.h"

#include <climits>

namespace {

const QString kNeedSemicolonOrEnd = QStringLiteral("Need \";\" or \"end\" here");
const QString kNeedThen = QStringLiteral("Need \"then\" here");
const QString kNeedSemicolonOrUntil = QStringLiteral("Need \";\" or \"until\" here");
const QString kNeedDo = QStringLiteral("Need \"do\" here");
const QString kNeedTo = QStringLiteral("Need \"to\" here");
const QString kGotoNeedsNumber = QStringLiteral("\"goto\" label must be a number");
const QString kNeedAssign = QStringLiteral("Need \":=\" here");
const QString kNeedCloseParen = QStringLiteral("Need \")\" here");
const QString kNeedCloseBracket = QStringLiteral("Need \"]\" here");
const QString kNeedCommaOrParen = QStringLiteral("Need \",\" or \")\" here");
const QString kNeedOperand = QStringLiteral("Need an operand here");

constexpr char16_t kConditionalJump = 1;
constexpr char16_t kJump = 2;
constexpr char16_t kCall = 3;

bool IsLatinLetter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z');
}

bool IsDigit(QChar c)
{
    return c.unicode() >= '0' && c.unicode() <= '9';
}

bool IsIdentifierChar(QChar c)
{
    return IsLatinLetter(c) || IsDigit(c) || c == QLatin1Char('_') || c == QLatin1Char('.');
}

}  // namespace

TScriptCompiler::Depth::Depth(TScriptCompiler& c) : compiler(c)
{
    if (++compiler.nesting_ > kMaxNesting)
        compiler.Fail(QStringLiteral("Script nesting is too deep"), compiler.pos_);
}

TScriptCompiler::TScriptCompiler(const QStringList& source) : source_(source)
{
    for (QString line : source) {
        line.replace(QLatin1Char('\t'), QLatin1Char(' '));
        buf_ += line;
        buf_ += QLatin1Char('\r');
    }
}

bool TScriptCompiler::Compile(QStringList& lines, QString& error)
{
    lines.clear();
    if (buf_.size() > kBufferSize) {
        error = QStringLiteral("Script is too long: %1 characters with line ends, at most %2")
                    .arg(buf_.size())
                    .arg(kBufferSize);
        return false;
    }
    if (!buf_.isEmpty())
        Statement();
    if (!error_)
        ResolveGotos();
    if (error_) {
        // A script that failed to compile must never run its partly compiled lines.
        error = message_;
        return false;
    }
    lines = lines_;
    return true;
}

int TScriptCompiler::JumpTarget(const QString& line)
{
    if (line.size() < 3)
        return INT_MAX;
    return line[1].unicode() | (line[2].unicode() << 8);
}

// ---- reading ----

bool TScriptCompiler::RemoveCommentAt(int p)
{
    int length = 0;
    if (At(p) == QLatin1Char('{')) {
        const int end = int(buf_.indexOf(QLatin1Char('}'), p));
        length = end < 0 ? int(buf_.size()) - p : end - p + 1;
    } else if (At(p) == QLatin1Char('/') && At(p + 1) == QLatin1Char('/')) {
        // The line end stays, so the words on both sides of the comment stay apart.
        const int end = int(buf_.indexOf(QLatin1Char('\r'), p));
        length = end < 0 ? int(buf_.size()) - p : end - p;
    } else {
        return false;
    }
    buf_.remove(p, length);
    comments_.push_back({p, length});
    return true;
}

void TScriptCompiler::SkipBlanks()
{
    do {
        while (!AtEnd() && buf_[pos_].unicode() <= ' ')
            ++pos_;
    } while (RemoveCommentAt(pos_));
}

QString TScriptCompiler::GetWord()
{
    for (;;) {
        SkipBlanks();
        if (AtEnd())
            return QStringLiteral(" ");
        const int start = pos_;
        const bool quoted = buf_[start] == QLatin1Char('\'');
        int p = start;
        bool restart = false;
        while (p < int(buf_.size()) && buf_[p].unicode() > ' ') {
            if (!quoted && RemoveCommentAt(p)) {
                restart = true;
                break;
            }
            ++p;
        }
        if (restart)
            continue;
        pos_ = p;
        return buf_.mid(start, p - start).toUpper();
    }
}

bool TScriptCompiler::PeekKeyword(const char* word) const
{
    const QLatin1String keyword(word);
    return QStringView(buf_).mid(pos_, keyword.size()).compare(keyword, Qt::CaseInsensitive) == 0;
}

QString TScriptCompiler::ReadIdentifier()
{
    const int start = pos_;
    if (!IsLatinLetter(At(pos_)))
        return QString();
    while (IsIdentifierChar(At(pos_)))
        ++pos_;
    return buf_.mid(start, pos_ - start);
}

// ---- statements ----

void TScriptCompiler::Statement()
{
    if (error_)
        return;
    const Depth depth(*this);
    SkipBlanks();
    const int start = pos_;
    lastp_ = start;
    if (error_ || AtEnd())
        return;
    const QString word = GetWord();
    if (word == QLatin1String("BEGIN"))
        Compound();
    else if (word == QLatin1String("IF"))
        If();
    else if (word == QLatin1String("REPEAT"))
        Repeat();
    else if (word == QLatin1String("WHILE"))
        While();
    else if (word == QLatin1String("FOR"))
        For();
    else if (word == QLatin1String("GOTO"))
        GotoStatement();
    else if (word == QLatin1String("END") || word == QLatin1String("END;") || word == QLatin1String("UNTIL"))
        pos_ = start;   // an empty statement; the word belongs to the enclosing construct
    else {
        pos_ = start;
        Simple();
    }
}

QString TScriptCompiler::StatementList()
{
    for (;;) {
        Statement();
        if (error_)
            return QString();
        SkipBlanks();
        lastp_ = pos_;
        const int at = pos_;
        const QString word = GetWord();
        if (!word.startsWith(QLatin1Char(';')))
            return word;
        pos_ = at + 1;
    }
}

bool TScriptCompiler::ExpectWord(const char* keyword, const QString& message)
{
    SkipBlanks();
    lastp_ = pos_;
    if (GetWord() == QLatin1String(keyword))
        return true;
    Fail(message);
    return false;
}

void TScriptCompiler::Compound()
{
    const QString word = StatementList();
    if (error_ || word == QLatin1String("END"))
        return;
    if (word == QLatin1String("END;"))
        --pos_;   // the ";" is left for the enclosing construct
    else
        Fail(kNeedSemicolonOrEnd);
}

void TScriptCompiler::If()
{
    const QString condition = Expression();
    if (error_ || !ExpectWord("THEN", kNeedThen))
        return;
    const int jump = int(lines_.size());
    Emit(QChar(kConditionalJump) + QStringLiteral("  ") + condition);
    Statement();
    if (error_)
        return;
    SkipBlanks();
    const int at = pos_;
    if (GetWord() == QLatin1String("ELSE")) {
        const int skip = int(lines_.size());
        Emit(QChar(kJump) + QStringLiteral("  "));
        SetTarget(jump, int(lines_.size()));
        Statement();
        if (error_)
            return;
        SetTarget(skip, int(lines_.size()));
    } else {
        pos_ = at;
        SetTarget(jump, int(lines_.size()));
    }
}

void TScriptCompiler::Repeat()
{
    const int first = int(lines_.size());
    const QString word = StatementList();
    if (error_)
        return;
    if (word != QLatin1String("UNTIL")) {
        Fail(kNeedSemicolonOrUntil);
        return;
    }
    const QString condition = Expression();
    if (!error_)
        Emit(QChar(kConditionalJump) + Target(first) + condition);
}

void TScriptCompiler::While()
{
    const int test = int(lines_.size());
    const QString condition = Expression();
    if (error_ || !ExpectWord("DO", kNeedDo))
        return;
    Emit(QChar(kConditionalJump) + QStringLiteral("  ") + condition);
    Statement();
    if (error_)
        return;
    Emit(QChar(kJump) + Target(test));
    SetTarget(test, int(lines_.size()));
}

void TScriptCompiler::For()
{
    SkipBlanks();
    lastp_ = pos_;
    const QString variable = ReadIdentifier();
    if (variable.isEmpty()) {
        Fail(kNeedOperand);
        return;
    }
    SkipBlanks();
    lastp_ = pos_;
    if (At(pos_) != QLatin1Char(':') || At(pos_ + 1) != QLatin1Char('=')) {
        Fail(kNeedAssign);
        return;
    }
    pos_ += 2;
    const QString from = Expression();
    if (error_ || !ExpectWord("TO", kNeedTo))
        return;
    const QString to = Expression();
    if (error_ || !ExpectWord("DO", kNeedDo))
        return;
    Emit(variable + QLatin1Char(' ') + from);
    const int test = int(lines_.size());
    Emit(QChar(kConditionalJump) + QStringLiteral("  ") + variable + QStringLiteral("<=") + to);
    Statement();
    if (error_)
        return;
    Emit(variable + QLatin1Char(' ') + variable + QStringLiteral("+1"));
    Emit(QChar(kJump) + Target(test));
    SetTarget(test, int(lines_.size()));
}

void TScriptCompiler::GotoStatement()
{
    SkipBlanks();
    lastp_ = pos_;
    const int start = pos_;
    while (IsDigit(At(pos_)))
        ++pos_;
    while (RemoveCommentAt(pos_)) {
    }
    if (pos_ == start || (!AtEnd() && buf_[pos_].unicode() > ' ' && buf_[pos_] != QLatin1Char(';'))) {
        Fail(kGotoNeedsNumber);
        return;
    }
    const QString label = buf_.mid(start, pos_ - start);
    gotos_.push_back({int(lines_.size()), label, start});
    Emit(QChar(kJump) + label);
}

void TScriptCompiler::Simple()
{
    SkipBlanks();
    const int start = pos_;
    lastp_ = start;
    int p = start;
    while (IsDigit(At(p)))
        ++p;
    if (p > start && At(p) == QLatin1Char(':') && At(p + 1) != QLatin1Char('=')) {
        const QString name = buf_.mid(start, p - start + 1).left(kMaxLabelLength);
        bool known = false;
        for (const Label& label : labels_)
            known = known || label.name == name;
        if (!known) {
            if (int(labels_.size()) >= kMaxLabels) {
                Fail(QStringLiteral("Too many labels: at most %1").arg(kMaxLabels));
                return;
            }
            labels_.push_back({name, int(lines_.size())});
        }
        pos_ = p + 1;
        Statement();
        return;
    }
    if (IsLatinLetter(At(start))) {
        int q = start;
        while (IsIdentifierChar(At(q)))
            ++q;
        if (At(q) != QLatin1Char('(')) {
            Assignment();
            return;
        }
    }
    Call();
}

void TScriptCompiler::Assignment()
{
    const int start = pos_;
    const QString name = ReadIdentifier();
    QString index;
    const bool indexed = At(pos_) == QLatin1Char('[');
    if (indexed) {
        ++pos_;
        index = ClosedExpression(QLatin1Char(']'), kNeedCloseBracket);
        if (error_)
            return;
    }
    SkipBlanks();
    lastp_ = pos_;
    if (At(pos_) == QLatin1Char(':') && At(pos_ + 1) == QLatin1Char('=')) {
        pos_ += 2;
        const QString value = Expression();
        if (error_)
            return;
        if (indexed)
            Emit(QChar(kCall) + QStringLiteral("SETARRAY(%1, %2, %3)").arg(name, index, value));
        else
            Emit(name + QLatin1Char(' ') + value);
        return;
    }
    // A name alone (such as exit) before ";", end, else or the end of the script is a call.
    const int at = pos_;
    const QString word = GetWord();
    pos_ = at;
    const bool endsHere = word == QLatin1String(" ") || word.startsWith(QLatin1Char(';')) ||
                          word == QLatin1String("END") || word == QLatin1String("END;") ||
                          word == QLatin1String("ELSE");
    if (!indexed && endsHere) {
        Emit(QChar(kCall) + buf_.mid(start, name.size()) + QStringLiteral("(0)"));
        return;
    }
    Fail(kNeedAssign);
}

void TScriptCompiler::Call()
{
    const QString expression = Expression();
    if (!error_)
        Emit(QChar(kCall) + expression);
}

// ---- expressions ----

QString TScriptCompiler::Expression()
{
    SkipBlanks();
    const int start = pos_;
    ParseExpression();
    if (error_)
        return QString();
    return buf_.mid(start, pos_ - start);
}

QString TScriptCompiler::ClosedExpression(QChar closing, const QString& message)
{
    const QString expression = Expression();
    if (error_)
        return QString();
    SkipBlanks();
    lastp_ = pos_;
    if (At(pos_) != closing) {
        Fail(message);
        return QString();
    }
    ++pos_;
    return expression;
}

void TScriptCompiler::ParseExpression()
{
    const Depth depth(*this);
    ParseSimple();
    if (error_)
        return;
    const int save = pos_;
    SkipBlanks();
    const QChar c = At(pos_);
    const QChar d = At(pos_ + 1);
    int length = 0;
    if ((c == QLatin1Char('>') && d == QLatin1Char('=')) ||
        (c == QLatin1Char('<') && (d == QLatin1Char('=') || d == QLatin1Char('>'))))
        length = 2;
    else if (c == QLatin1Char('<') || c == QLatin1Char('=') || c == QLatin1Char('>'))
        length = 1;
    if (length == 0) {
        pos_ = save;
        return;
    }
    pos_ += length;
    ParseSimple();
}

void TScriptCompiler::ParseSimple()
{
    ParseChain(&TScriptCompiler::ParseTerm, "+-", {"OR"});
}

void TScriptCompiler::ParseTerm()
{
    ParseChain(&TScriptCompiler::ParseFactor, "*/", {"AND", "MOD"});
}

void TScriptCompiler::ParseChain(void (TScriptCompiler::*operand)(), const char* symbols,
                                 std::initializer_list<const char*> keywords)
{
    (this->*operand)();
    while (!error_) {
        const int save = pos_;
        SkipBlanks();
        int length = QLatin1String(symbols).contains(At(pos_)) ? 1 : 0;
        for (const char* keyword : keywords)
            if (length == 0 && PeekKeyword(keyword))
                length = int(qstrlen(keyword));
        if (length == 0) {
            pos_ = save;
            return;
        }
        pos_ += length;
        (this->*operand)();
    }
}

void TScriptCompiler::ParseFactor()
{
    const Depth depth(*this);
    if (error_)
        return;
    SkipBlanks();
    lastp_ = pos_;
    const QChar c = At(pos_);
    if (c == QLatin1Char('(')) {
        ++pos_;
        ClosedExpression(QLatin1Char(')'), kNeedCloseParen);
    } else if (c == QLatin1Char('[')) {
        if (!ParseBracketed())
            Fail(kNeedCloseBracket);
    } else if (c == QLatin1Char('+') || c == QLatin1Char('-')) {
        ++pos_;
        ParseExpression();
    } else if (PeekKeyword("NOT") && !IsIdentifierChar(At(pos_ + 3))) {
        pos_ += 3;
        ParseExpression();
    } else if (IsLatinLetter(c)) {
        ReadIdentifier();
        if (At(pos_) == QLatin1Char('(')) {
            ++pos_;
            for (;;) {
                ParseExpression();
                if (error_)
                    return;
                SkipBlanks();
                lastp_ = pos_;
                if (At(pos_) == QLatin1Char(',')) {
                    ++pos_;
                } else if (At(pos_) == QLatin1Char(')')) {
                    ++pos_;
                    break;
                } else {
                    Fail(kNeedCommaOrParen);
                    return;
                }
            }
        } else if (At(pos_) == QLatin1Char('[')) {
            ++pos_;
            ClosedExpression(QLatin1Char(']'), kNeedCloseBracket);
        }
    } else if (IsDigit(c)) {
        while (IsDigit(At(pos_)))
            ++pos_;
        if (At(pos_) == QLatin1Char('.') && IsDigit(At(pos_ + 1))) {
            ++pos_;
            while (IsDigit(At(pos_)))
                ++pos_;
        }
    } else if (c == QLatin1Char('\'')) {
        if (!ParseString())
            Fail(kNeedOperand);
    } else {
        Fail(kNeedOperand);
    }
}

bool TScriptCompiler::ParseBracketed()
{
    int depth = 0;
    bool outsideApostrophes = true;
    bool outsideQuotes = true;
    for (int p = pos_; p < int(buf_.size()); ++p) {
        const QChar c = buf_[p];
        if (outsideApostrophes && outsideQuotes) {
            if (c == QLatin1Char('[')) {
                ++depth;
            } else if (c == QLatin1Char(']') && --depth == 0) {
                pos_ = p + 1;
                return true;
            }
        }
        if (outsideApostrophes && c == QLatin1Char('"'))
            outsideQuotes = !outsideQuotes;
        if (outsideQuotes && c == QLatin1Char('\''))
            outsideApostrophes = !outsideApostrophes;
    }
    return false;
}

bool TScriptCompiler::ParseString()
{
    for (int p = pos_ + 1; p < int(buf_.size()); ++p) {
        if (buf_[p] != QLatin1Char('\''))
            continue;
        if (At(p + 1) == QLatin1Char('\'')) {
            ++p;
            continue;
        }
        pos_ = p + 1;
        return true;
    }
    return false;
}

// ---- output and errors ----

void TScriptCompiler::ResolveGotos()
{
    for (const Goto& g : gotos_) {
        const QString name = (g.label + QLatin1Char(':')).left(kMaxLabelLength);
        const Label* found = nullptr;
        for (const Label& label : labels_)
            if (!found && label.name == name)
                found = &label;
        if (!found) {
            Fail(QStringLiteral("Label \"%1\" is not defined").arg(g.label), g.position);
            return;
        }
        lines_[g.line] = QChar(kJump) + Target(found->line);
    }
}

QString TScriptCompiler::Target(int target)
{
    QString t(2, QChar());
    t[0] = QChar(char16_t(target & 0xFF));
    t[1] = QChar(char16_t((target >> 8) & 0xFF));
    return t;
}

void TScriptCompiler::SetTarget(int line, int target)
{
    QString& l = lines_[line];
    if (l.size() < 3)
        l.resize(3);
    const QString t = Target(target);
    l[1] = t[0];
    l[2] = t[1];
}

void TScriptCompiler::Fail(const QString& message, int position)
{
    if (error_)
        return;
    error_ = true;
    message_ = LineAndColumn(position) + message;
}

QString TScriptCompiler::LineAndColumn(int position) const
{
    int p = position;
    while (p < int(buf_.size()) && buf_[p].unicode() <= ' ')
        ++p;
    // Comments were taken out of the text; their lengths are put back.
    int original = p;
    for (const Comment& c : comments_)
        if (c.start <= p)
            original += c.length;
    int column = original + 1;
    int line = 1;
    for (qsizetype i = 0; i < source_.size(); ++i, ++line) {
        const int length = int(source_[i].size()) + 1;
        if (column <= length || i + 1 == source_.size()) {
            column = std::min(column, length);
            break;
        }
        column -= length;
    }
    return QStringLiteral("Line %1/%2: ").arg(line).arg(column);
}
