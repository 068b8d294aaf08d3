#pragma once
// Syntax colouring for the calculation procedure's Pascal-like script: key words in bold,
// comments ("//" to the end of the line, "{ }" and "(* *)", which may span lines), strings in
// single quotes and numbers each in their own colour.
#include <QSyntaxHighlighter>
#include <QTextCharFormat>

class TPascalHighlighter : public QSyntaxHighlighter {
public:
    explicit TPascalHighlighter(QTextDocument* document);

    // The formats, so that callers (and tests) can tell what a piece of text was given.
    QTextCharFormat KeywordFormat, CommentFormat, StringFormat, NumberFormat;

protected:
    void highlightBlock(const QString& text) override;

private:
    enum BlockState { Plain = 0, InBraceComment = 1, InParenComment = 2 };
    int ScanComment(const QString& text, int from, BlockState state);
};
