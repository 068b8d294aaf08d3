#include "report/file/RtfWriter.h"

#include <algorithm>

#include <QHash>
#include <QTextBlock>
#include <QTextFragment>
#include <QTextList>

#include "report/file/RtfEscape.h"
#include "report/file/RtfUnits.h"

namespace {

class RtfWriter {
public:
    explicit RtfWriter(const QTextDocument& document)
        : document_(document),
          defaultFamily_(document.defaultFont().family()),
          defaultPoints_(document.defaultFont().pointSizeF() > 0 ? document.defaultFont().pointSizeF() : 12)
    {
        FontIndex(defaultFamily_);   // font 0, the one \plain returns to
    }

    QByteArray Write()
    {
        for (QTextBlock block = document_.begin(); block.isValid(); block = block.next())
            Paragraph(block);
        QByteArray rtf;
        rtf.reserve(body_.size() + 512);
        rtf += "{\\rtf1\\ansi\\ansicpg1251\\deff0\\uc1\r\n";
        FontTable(rtf);
        ColourTable(rtf);
        rtf += body_;
        rtf += '}';
        return rtf;
    }

private:
    void Paragraph(const QTextBlock& block)
    {
        body_ += Words(paragraphWords_, block.blockFormatIndex(), [&] { return ParagraphWords(block.blockFormat()); });
        // A bulleted paragraph: its numbering, and the bullet for readers without numbering.
        if (block.textList())
            body_ += "{\\pntext\\'95\\tab}{\\*\\pn\\pnlvlblt\\pnindent0{\\pntxtb\\'95}}";
        bool empty = true;
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid() || fragment.charFormat().isImageFormat())
                continue;
            body_ += Words(characterWords_, fragment.charFormatIndex(), [&] { return CharacterWords(fragment.charFormat()); });
            AppendEscapedRtf(body_, fragment.text());
            empty = false;
        }
        if (empty)   // an empty line keeps its height
            body_ += Words(characterWords_, block.charFormatIndex(), [&] { return CharacterWords(block.charFormat()); });
        body_ += "\\par\r\n";
    }

    // The words of each of the document's formats are made once.
    template <typename Make>
    static const QByteArray& Words(QHash<int, QByteArray>& made, int formatIndex, Make make)
    {
        auto found = made.find(formatIndex);
        if (found == made.end())
            found = made.insert(formatIndex, make());
        return *found;
    }

    static QByteArray ParagraphWords(const QTextBlockFormat& format)
    {
        QByteArray words = "\\pard";
        const Qt::Alignment alignment = format.alignment();
        if (alignment & Qt::AlignJustify)
            words += "\\qj";
        else if (alignment & Qt::AlignHCenter)
            words += "\\qc";
        else if (alignment & Qt::AlignRight)
            words += "\\qr";
        const auto twips = [&](const char* word, qreal pixels) {
            if (const int value = qRound(pixels * kTwipsPerPixel); value != 0)
                words += word + QByteArray::number(value);
        };
        twips("\\li", format.leftMargin());
        twips("\\ri", format.rightMargin());
        twips("\\fi", format.textIndent());
        return words;
    }

    QByteArray CharacterWords(const QTextCharFormat& format)
    {
        QByteArray words = "\\plain\\f" + QByteArray::number(FontIndex(FamilyOf(format)));
        const qreal points = format.hasProperty(QTextFormat::FontPointSize) ? format.fontPointSize() : defaultPoints_;
        words += "\\fs" + QByteArray::number(std::clamp(qRound(points * 2), kMinHalfPoints, kMaxHalfPoints));
        if (format.hasProperty(QTextFormat::FontWeight) && format.fontWeight() >= QFont::DemiBold)
            words += "\\b";
        if (format.fontItalic())
            words += "\\i";
        if (format.fontUnderline())
            words += "\\ul";
        if (format.fontStrikeOut())
            words += "\\strike";
        if (format.foreground().style() != Qt::NoBrush)
            words += "\\cf" + QByteArray::number(ColourIndex(format.foreground().color()));
        if (format.background().style() != Qt::NoBrush)
            words += "\\highlight" + QByteArray::number(ColourIndex(format.background().color()));
        words += ' ';
        return words;
    }

    QString FamilyOf(const QTextCharFormat& format) const
    {
        const QStringList families = format.property(QTextFormat::FontFamilies).toStringList();
        if (!families.isEmpty() && !families.first().isEmpty())
            return families.first();
        return defaultFamily_;
    }

    int FontIndex(const QString& family)
    {
        const auto found = fontIndex_.constFind(family);
        if (found != fontIndex_.constEnd())
            return *found;
        fonts_.append(family);
        return *fontIndex_.insert(family, int(fonts_.size() - 1));
    }

    // Colour 0 is the automatic colour, so the table counts from 1.
    int ColourIndex(const QColor& colour)
    {
        const QRgb rgb = colour.rgb() & RGB_MASK;
        const auto found = colourIndex_.constFind(rgb);
        if (found != colourIndex_.constEnd())
            return *found;
        colours_.append(rgb);
        return *colourIndex_.insert(rgb, int(colours_.size()));
    }

    void FontTable(QByteArray& rtf) const
    {
        rtf += "{\\fonttbl";
        for (qsizetype i = 0; i < fonts_.size(); ++i) {
            rtf += "{\\f" + QByteArray::number(i) + "\\fcharset204 ";
            AppendEscapedRtf(rtf, QString(fonts_[i]).remove(u';'));   // a ';' would end the name
            rtf += ";}";
        }
        rtf += "}\r\n";
    }

    void ColourTable(QByteArray& rtf) const
    {
        if (colours_.isEmpty())
            return;
        rtf += "{\\colortbl;";
        for (const QRgb rgb : colours_) {
            rtf += "\\red" + QByteArray::number(qRed(rgb)) + "\\green" + QByteArray::number(qGreen(rgb)) +
                   "\\blue" + QByteArray::number(qBlue(rgb)) + ';';
        }
        rtf += "}\r\n";
    }

    const QTextDocument& document_;
    const QString defaultFamily_;
    const qreal defaultPoints_;
    QByteArray body_;
    QHash<int, QByteArray> paragraphWords_;   // by the document's format index
    QHash<int, QByteArray> characterWords_;
    QStringList fonts_;
    QHash<QString, int> fontIndex_;
    QList<QRgb> colours_;
    QHash<QRgb, int> colourIndex_;
};

}  // namespace

QByteArray WriteRtf(const QTextDocument& document)
{
    return RtfWriter(document).Write();
}
