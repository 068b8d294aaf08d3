#pragma once
// Turns the lines of an object's script (a small Pascal-like language) into coded lines whose
// expressions are still in source form; the interpreter converts them to postfix afterwards.
//
// Coded line, first character:
//   1  conditional jump: characters 2 and 3 the target line (low byte first), then the
//      condition; taken when the condition's value equals 0
//   2  jump: characters 2 and 3 the target line
//   3  call: the expression, evaluated for its effects ("EXIT(0)" ends the run)
//   any other character: assignment: the variable's name, a blank, the expression
#include <initializer_list>
#include <vector>

#include <QString>
#include <QStringList>

class TScriptCompiler {
public:
    static constexpr int kBufferSize = 32000;   // characters of all lines with their line ends
    static constexpr int kMaxLabels = 101;
    static constexpr int kMaxLabelLength = 16;
    static constexpr int kMaxNesting = 200;      // statements or expressions inside each other

    explicit TScriptCompiler(const QStringList& source);

    // Compiles one statement (several belong inside begin ... end). On failure returns false
    // with the message "Line L/C: ..." (or a message on the script's length) and no lines.
    bool Compile(QStringList& lines, QString& error);

    // The target line stored in characters 2 and 3 of a jump.
    static int JumpTarget(const QString& line);

private:
    struct Comment {
        int start;
        int length;
    };
    struct Label {
        QString name;
        int line;
    };
    struct Goto {
        int line;
        QString label;
        int position;
    };

    // Counts how deep statements and expressions are nested while it lives.
    struct Depth {
        explicit Depth(TScriptCompiler& compiler);
        ~Depth() { --compiler.nesting_; }
        TScriptCompiler& compiler;
    };

    // Reading.
    QChar At(int p) const { return p < int(buf_.size()) ? buf_[p] : QChar(); }
    bool AtEnd() const { return pos_ >= int(buf_.size()); }
    bool RemoveCommentAt(int p);
    void SkipBlanks();
    QString GetWord();
    bool PeekKeyword(const char* word) const;
    QString ReadIdentifier();

    // Statements.
    void Statement();
    // Statements separated by ";": the word after the last one (pos_ left after it), or ""
    // on an error.
    QString StatementList();
    // The next word, which must be the keyword (upper case); else a failure with the message.
    bool ExpectWord(const char* keyword, const QString& message);
    void Compound();
    void If();
    void Repeat();
    void While();
    void For();
    void GotoStatement();
    void Simple();
    void Assignment();
    void Call();

    // Expressions: each checks the form and the caller copies the source text.
    QString Expression();
    // An expression and the character that closes it (the opening one is read already).
    QString ClosedExpression(QChar closing, const QString& message);
    void ParseExpression();
    void ParseSimple();
    void ParseTerm();
    // operand { operator operand }: an operator is one of the symbol characters or keywords.
    void ParseChain(void (TScriptCompiler::*operand)(), const char* symbols,
                    std::initializer_list<const char*> keywords);
    void ParseFactor();
    bool ParseBracketed();
    bool ParseString();

    void Emit(const QString& line) { lines_.append(line); }
    void ResolveGotos();
    void SetTarget(int line, int target);
    static QString Target(int target);
    void Fail(const QString& message) { Fail(message, lastp_); }
    void Fail(const QString& message, int position);
    QString LineAndColumn(int position) const;

    QStringList source_;
    QString buf_;
    int pos_ = 0;
    int lastp_ = 0;
    bool error_ = false;
    QString message_;
    int nesting_ = 0;
    std::vector<Comment> comments_;
    std::vector<Label> labels_;
    std::vector<Goto> gotos_;
    QStringList lines_;
};
