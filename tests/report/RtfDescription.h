#pragma once
// How the RTF tests see a document: each paragraph with its alignment and non-zero indents
// (twips), then its runs of text, each with the character format that shows (the document's
// default font filling in what the run leaves unset). An empty paragraph shows the format of
// its paragraph mark, which sets its height.
#include <QFont>
#include <QStringList>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>

// The documents of the RTF tests: a default font that no RTF snippet names.
class RtfTestDocument : public QTextDocument {
public:
    RtfTestDocument() { setDefaultFont(QFont(QStringLiteral("Courier New"), 10)); }
};

inline QString DescribeCharFormat(const QTextCharFormat& format, const QFont& defaultFont)
{
    const QStringList families = format.property(QTextFormat::FontFamilies).toStringList();
    QString text = families.isEmpty() ? defaultFont.family() : families.first();
    const qreal points = format.hasProperty(QTextFormat::FontPointSize) ? format.fontPointSize() : defaultFont.pointSizeF();
    text += u' ' + QString::number(points);
    if (format.fontWeight() >= QFont::DemiBold)
        text += QStringLiteral(" b");
    if (format.fontItalic())
        text += QStringLiteral(" i");
    if (format.fontUnderline())
        text += QStringLiteral(" u");
    if (format.fontStrikeOut())
        text += QStringLiteral(" s");
    if (format.foreground().style() != Qt::NoBrush)
        text += QStringLiteral(" fg=") + format.foreground().color().name();
    if (format.background().style() != Qt::NoBrush)
        text += QStringLiteral(" bg=") + format.background().color().name();
    return text;
}

inline QString DescribeParagraph(const QTextBlockFormat& format)
{
    const Qt::Alignment alignment = format.alignment();
    QString text = alignment & Qt::AlignJustify ? QStringLiteral("j")
                   : alignment & Qt::AlignHCenter ? QStringLiteral("c")
                   : alignment & Qt::AlignRight   ? QStringLiteral("r")
                                                  : QStringLiteral("l");
    const auto indent = [&](const char* name, qreal pixels) {
        if (const int twips = qRound(pixels * 15); twips != 0)
            text += QStringLiteral(" %1=%2").arg(QLatin1String(name)).arg(twips);
    };
    indent("li", format.leftMargin());
    indent("ri", format.rightMargin());
    indent("fi", format.textIndent());
    return text;
}

inline QString DescribeDocument(const QTextDocument& document)
{
    const QFont font = document.defaultFont();
    QStringList paragraphs;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QString text = DescribeParagraph(block.blockFormat()) + u':';
        QString lastFormat;
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QString format = DescribeCharFormat(it.fragment().charFormat(), font);
            if (format != lastFormat)
                text += u'[' + format + u']';   // adjacent runs that look alike are one run
            text += it.fragment().text();
            lastFormat = format;
        }
        if (block.length() == 1)
            text += u'[' + DescribeCharFormat(block.charFormat(), font) + u']';
        paragraphs << text;
    }
    return paragraphs.join(u'\n');
}

// The text of each paragraph as it stands (line separators, tabs and no-break spaces kept).
inline QString DocumentText(const QTextDocument& document)
{
    QStringList paragraphs;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        paragraphs << block.text();
    return paragraphs.join(u'\n');
}
