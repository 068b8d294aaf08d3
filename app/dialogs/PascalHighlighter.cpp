#include "app/dialogs/PascalHighlighter.h"

#include <QSet>

namespace {

bool IsKeyword(const QString& word)
{
    static const QSet<QString> keywords = {
        QStringLiteral("and"), QStringLiteral("array"), QStringLiteral("begin"), QStringLiteral("case"),
        QStringLiteral("const"), QStringLiteral("div"), QStringLiteral("do"), QStringLiteral("downto"),
        QStringLiteral("else"), QStringLiteral("end"), QStringLiteral("except"), QStringLiteral("exit"),
        QStringLiteral("finally"), QStringLiteral("for"), QStringLiteral("function"), QStringLiteral("if"),
        QStringLiteral("in"), QStringLiteral("mod"), QStringLiteral("not"), QStringLiteral("of"),
        QStringLiteral("or"), QStringLiteral("procedure"), QStringLiteral("program"), QStringLiteral("repeat"),
        QStringLiteral("result"), QStringLiteral("shl"), QStringLiteral("shr"), QStringLiteral("then"),
        QStringLiteral("to"), QStringLiteral("try"), QStringLiteral("type"), QStringLiteral("until"),
        QStringLiteral("uses"), QStringLiteral("var"), QStringLiteral("while"), QStringLiteral("with"),
        QStringLiteral("xor"),
    };
    return keywords.contains(word.toLower());
}

} // namespace

TPascalHighlighter::TPascalHighlighter(QTextDocument* document) : QSyntaxHighlighter(document)
{
    KeywordFormat.setFontWeight(QFont::Bold);
    KeywordFormat.setForeground(QColor(0, 0, 128));
    CommentFormat.setForeground(QColor(0, 128, 0));
    CommentFormat.setFontItalic(true);
    StringFormat.setForeground(QColor(128, 0, 128));
    NumberFormat.setForeground(QColor(0, 0, 255));
}

// Colours a comment that starts at from (or continues from the previous line when from is 0
// and the state says so); returns where the text goes on after it, or -1 when the comment
// runs past the end of the line.
int TPascalHighlighter::ScanComment(const QString& text, int from, BlockState state)
{
    const QString close = state == InBraceComment ? QStringLiteral("}") : QStringLiteral("*)");
    const int end = text.indexOf(close, from);
    if (end < 0) {
        setFormat(from, text.size() - from, CommentFormat);
        setCurrentBlockState(state);
        return -1;
    }
    const int after = end + close.size();
    setFormat(from, after - from, CommentFormat);
    return after;
}

void TPascalHighlighter::highlightBlock(const QString& text)
{
    setCurrentBlockState(Plain);
    int i = 0;
    const int carried = previousBlockState();
    if (carried == InBraceComment || carried == InParenComment) {
        i = ScanComment(text, 0, static_cast<BlockState>(carried));
        if (i < 0)
            return;
    }
    while (i < text.size()) {
        const QChar c = text[i];
        if (text.mid(i, 2) == QLatin1String("//")) {
            setFormat(i, text.size() - i, CommentFormat);
            return;
        }
        if (c == QLatin1Char('{') || text.mid(i, 2) == QLatin1String("(*")) {
            i = ScanComment(text, i, c == QLatin1Char('{') ? InBraceComment : InParenComment);
            if (i < 0)
                return;
            continue;
        }
        if (c == QLatin1Char('\'')) {
            int end = text.indexOf(QLatin1Char('\''), i + 1);
            end = end < 0 ? text.size() : end + 1;
            setFormat(i, end - i, StringFormat);
            i = end;
            continue;
        }
        if (c.isDigit() || (c == QLatin1Char('$') && i + 1 < text.size() && text[i + 1].isLetterOrNumber())) {
            int end = i + 1;
            while (end < text.size() && (text[end].isLetterOrNumber() || text[end] == QLatin1Char('.')))
                ++end;
            setFormat(i, end - i, NumberFormat);
            i = end;
            continue;
        }
        if (c.isLetter() || c == QLatin1Char('_')) {
            int end = i + 1;
            while (end < text.size() && (text[end].isLetterOrNumber() || text[end] == QLatin1Char('_')))
                ++end;
            if (IsKeyword(text.mid(i, end - i)))
                setFormat(i, end - i, KeywordFormat);
            i = end;
            continue;
        }
        ++i;
    }
}
