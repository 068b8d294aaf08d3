#pragma once
// Finds the calls of chosen functions (the aggregates) inside an expression, looking also into
// bracketed names and into the values of the listed variables. Inner calls are found before
// the calls that hold them; quoted texts hold no calls.
#include <QString>
#include <QStringList>

class TrpVariables;

class TrpFunctionSplitter {
public:
    // The lists and the variables are the caller's; the variables may be none.
    TrpFunctionSplitter(const QStringList& functionNames, QStringList& foundCalls, const TrpVariables* variables);

    // Appends to the found calls the source text of every call of a listed function.
    void Split(const QString& expression);

    // Variables whose values lead back into themselves end the search with this much nesting.
    static constexpr int kMaxNesting = 64;

protected:
    const QStringList& functionNames_;
    QStringList& foundCalls_;
    const TrpVariables* variables_;

private:
    void SplitNested(const QString& expression, int depth);
    // The variable's value as text, when the name is one of the variables.
    bool VariableText(const QString& name, QString& text) const;
};
