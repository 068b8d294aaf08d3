#pragma once
// A text split once at its bracketed expressions. A memo prints the same lines for every record,
// and finding their brackets again costs more than expanding them.
#include <QString>
#include <QStringList>

struct TrpBracketedText {
    QString Source;       // the text split
    QStringList Pieces;   // literal text, expression, literal text, ..., literal text

    // Splits text unless it is the text split last.
    void Split(const QString& text);
};
