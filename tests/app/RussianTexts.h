#pragma once
// What a Russian text of the program may keep in Latin letters: names (ports, file formats and
// their extensions, code pages) and, where a caller says so, names of its own kind (paper sizes,
// function names). LatinWords gives the Latin words a text holds beyond those.
#include <QRegularExpression>
#include <QString>
#include <QStringList>

// The designations of paper sizes and envelopes, which standards name in Latin letters.
inline const QStringList kPaperDesignations{
    "A", "A2", "A3", "A4", "A5", "B", "B4", "B5", "B6", "C", "C3", "C4", "C5", "C6", "C65", "D", "DL", "E",
    "JIS", "ISO", "Letter", "Legal", "Tabloid", "Ledger", "Statement", "Executive", "Folio", "Quarto", "Note",
    "Monarch"};

inline QStringList LatinWords(QString text, const QStringList& names = {})
{
    static const QRegularExpression allowed(QStringLiteral(
        "\\bCOM ?\\d+\\b|\\bPDF\\b|\\bRTF\\b|\\bTXT\\b|\\bUTF-8\\b|\\bWindows-1251\\b|\\*?\\.[A-Za-z0-9]{1,4}\\b"));
    text.remove(allowed);
    for (const QString& name : names)
        text.remove(QRegularExpression(QStringLiteral("(?<![A-Za-z])%1(?![A-Za-z])").arg(QRegularExpression::escape(name))));
    static const QRegularExpression latin(QStringLiteral("[A-Za-z]+"));
    QStringList words;
    for (auto match = latin.globalMatch(text); match.hasNext();)
        words << match.next().captured();
    return words;
}
