#include "report/file/RtfWriter.h"

#include <algorithm>

#include <QHash>
#include <QTextBlock>
#include <QTextFragment>

#include "report/file/RtfEscape.h"

namespace {

constexpr qreal kTwipsPerPixel = 15;   // 1440 twips an inch, 96 pixels an inch
constexpr int kMaxHalfPoints = 3276;

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
        body_ += "\\pard";
        ParagraphWords(block.blockFormat());
        bool empty = true;
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid() || fragment.charFormat().isImageFormat())
                continue;
            CharacterWords(fragment.charFormat());
            AppendEscapedRtf(body_, fragment.text());
            empty = false;
        }
        if (empty)
            CharacterWords(block.charFormat());   // an empty line keeps its height
        body_ += "\\par\r\n";
    }

    void ParagraphWords(const QTextBlockFormat& format)
    {
        const Qt::Alignment alignment = format.alignment();
        if (alignment & Qt::AlignJustify)
            body_ += "\\qj";
        else if (alignment & Qt::AlignHCenter)
            body_ += "\\qc";
        else if (alignment & Qt::AlignRight)
            body_ += "\\qr";
        Twips("\\li", format.leftMargin());
        Twips("\\ri", format.rightMargin());
        Twips("\\fi", format.textIndent());
    }

    void Twips(const char* word, qreal pixels)
    {
        const int twips = qRound(pixels * kTwipsPerPixel);
        if (twips != 0)
            body_ += word + QByteArray::number(twips);
    }

    void CharacterWords(const QTextCharFormat& format)
    {
        body_ += "\\plain\\f" + QByteArray::number(FontIndex(FamilyOf(format)));
        const qreal points = format.hasProperty(QTextFormat::FontPointSize) ? format.fontPointSize() : defaultPoints_;
        body_ += "\\fs" + QByteArray::number(std::clamp(qRound(points * 2), 2, kMaxHalfPoints));
        if (format.hasProperty(QTextFormat::FontWeight) && format.fontWeight() >= QFont::DemiBold)
            body_ += "\\b";
        if (format.fontItalic())
            body_ += "\\i";
        if (format.fontUnderline())
            body_ += "\\ul";
        if (format.fontStrikeOut())
            body_ += "\\strike";
        if (format.foreground().style() != Qt::NoBrush)
            body_ += "\\cf" + QByteArray::number(ColourIndex(format.foreground().color()));
        if (format.background().style() != Qt::NoBrush)
            body_ += "\\highlight" + QByteArray::number(ColourIndex(format.background().color()));
        body_ += ' ';
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
            // The name ends at ';', so one inside it is written as an octet.
            const QStringList parts = fonts_[i].split(u';');
            for (qsizetype p = 0; p < parts.size(); ++p) {
                if (p > 0)
                    rtf += "\\'3b";
                AppendEscapedRtf(rtf, parts[p]);
            }
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
