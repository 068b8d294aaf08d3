#include "report/objects/LineBreaking.h"

#include <algorithm>
#include <vector>

namespace {

bool IsLineBreak(QChar c)
{
    return c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

bool IsWordEnd(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char(',') || c == QLatin1Char('-') || c == QLatin1Char('.');
}

// A Russian letter in upper case; other characters as they are.
char16_t Upper(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'а' && u <= u'я')
        return char16_t(u - (u'а' - u'А'));
    return u == u'ё' ? u'Ё' : u;
}

bool IsVowel(char16_t c)
{
    switch (c) {
    case u'Ё': case u'А': case u'Е': case u'И': case u'О': case u'У': case u'Ы': case u'Э': case u'Ю': case u'Я':
        return true;
    default:
        return false;
    }
}

bool IsSign(char16_t c)
{
    return c == u'Ъ' || c == u'Ь';
}

// The text with 1-based positions, and the widths of its runs from prefix sums.
class MeasuredText {
public:
    MeasuredText(const QString& text, const TrpTextMeasure& measure) : text_(text), prefix_(size_t(text.size()) + 1)
    {
        for (qsizetype k = 0; k < text.size(); ++k)
            prefix_[size_t(k) + 1] = prefix_[size_t(k)] + measure.CharWidth(text[k]);
    }

    int Length() const { return int(text_.size()); }
    QChar At(int k) const { return text_[k - 1]; }
    // Characters a to b (clipped to the text); empty when b < a.
    // Characters a to b followed by the suffix, as one new line.
    QString Line(int a, int b, QChar suffix) const
    {
        const QStringView part = View(a, b);
        QString line;
        line.reserve(part.size() + 1);
        return line.append(part).append(suffix);
    }
    QString Line(int a, int b) const { return View(a, b).toString(); }
    QStringView View(int a, int b) const
    {
        b = std::min(b, Length());
        return b < a ? QStringView() : QStringView(text_).mid(a - 1, b - a + 1);
    }
    int Width(int a, int b) const
    {
        b = std::min(b, Length());
        return b < a ? 0 : prefix_[size_t(b)] - prefix_[size_t(a - 1)];
    }

private:
    const QString& text_;
    std::vector<int> prefix_;
};

}  // namespace

QList<int> BreakWord(QStringView word)
{
    QList<int> positions;
    const int n = int(word.size());
    if (n < 4)
        return positions;
    for (int p = 2; p <= n - 2; ++p) {
        const char16_t a = Upper(word[p - 1]);
        const char16_t b = Upper(word[p]);
        const char16_t c = Upper(word[p + 1]);
        bool allowed = false;
        if (IsVowel(a))
            allowed = IsVowel(b) || IsVowel(c);
        else if (IsSign(a) && !IsWordEnd(QChar(c)))
            allowed = true;
        else
            allowed = !IsVowel(b) && !IsSign(b) && IsVowel(c);
        if (allowed)
            positions.append(p);
    }
    return positions;
}

void WrapLine(const QString& text, const TrpTextMeasure& measure, int availableWidth, bool wordBreak,
              QStringList& lines)
{
    const bool hasBreaks = text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
    if (!hasBreaks && (text.size() <= 1 || measure.Width(text) <= availableWidth)) {
        lines.append(text + kParagraphEnd);
        return;
    }
    const MeasuredText s(text, measure);
    const int n = s.Length();
    const int hyphenWidth = measure.CharWidth(QLatin1Char('-'));
    const int w = availableWidth;
    int start = 1;
    int brk = 1;   // where the line may be cut: the last blank, or a syllable end
    int i = 1;
    while (i <= n) {
        if (IsLineBreak(s.At(i))) {
            lines.append(s.Line(start, i - 1, kParagraphEnd));
            while (i < n && IsLineBreak(s.At(i)))
                ++i;
            start = brk = i;
            if (IsLineBreak(s.At(i)))
                break;   // the text ends with line breaks
            continue;
        }
        if (s.At(i) != QLatin1Char(' ') && s.Width(start, i) > w) {
            bool hyphen = false;
            if (wordBreak) {
                int j = i;
                while (j <= n && !IsWordEnd(s.At(j)))
                    ++j;
                const QList<int> positions = BreakWord(s.View(brk + 1, j - 1));
                int cut = brk;
                for (const int k : positions) {
                    if (s.Width(start, brk + k) + hyphenWidth > w)
                        break;
                    hyphen = true;
                    cut = brk + k;
                }
                // Without a syllable that fits, the line is cut at its last blank; a line that
                // holds none is cut before the overflowing character, as without word break.
                if (hyphen || (!positions.isEmpty() && brk > start))
                    i = brk = cut;
                else if (brk < start)
                    brk = i;
            } else if (brk == start) {
                brk = i;
            }
            if (hyphen) {
                lines.append(s.Line(start, brk, QLatin1Char('-')));
            } else if (s.At(brk) == QLatin1Char(' ')) {
                lines.append(s.Line(start, brk - 1));   // the blank is dropped
            } else {
                if (brk == start)
                    brk = i;
                lines.append(s.Line(start, brk - 1));
                brk = brk - 1;
            }
            start = brk + 1;
            brk = brk + 1;
        }
        if (s.At(i) == QLatin1Char(' '))
            brk = i;
        i += s.At(i).isHighSurrogate() ? 2 : 1;
    }
    if (i != start)
        lines.append(s.Line(start, i, kParagraphEnd));
}
