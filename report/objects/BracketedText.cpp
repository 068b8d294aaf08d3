#include "report/objects/BracketedText.h"

#include "report/expr/Parser.h"

void TrpBracketedText::Split(const QString& text)
{
    if (!Pieces.isEmpty() && text == Source)
        return;
    Source = text;
    Pieces.clear();
    qsizetype copied = 0;   // text up to here is in the pieces
    int p = 0;
    int e = 0;
    do {
        while (p < text.size() - 1 && text.at(p) != QLatin1Char('['))
            ++p;
        const QString inner = ScanBracketedExpression(text, p, e);
        if (p != e) {
            Pieces.append(text.mid(copied, p - copied));
            Pieces.append(inner);
            copied = p = e + 1;
            e = -1;
        }
    } while (p != e);
    Pieces.append(text.mid(copied));
}
