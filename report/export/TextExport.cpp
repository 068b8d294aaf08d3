#include "report/export/TextExport.h"

#include <algorithm>
#include <array>
#include <optional>

#include "base/CodePage.h"
#include "base/Rounding.h"
#include "report/export/TextPageLayout.h"
#include "report/objects/MemoView.h"
#include "report/objects/ObjectRegistry.h"
#include "report/runtime/ReportErrors.h"
#include "report/runtime/RunContext.h"
#include "report/runtime/TextRoutines.h"

namespace {

constexpr double kUnitsPerLine = 14;
constexpr double kUnitsPerCharacter = 6.5;
constexpr double kMaxScale = 100;
// A text line far below any paper: the grid would take more memory than the page is worth.
constexpr int kMaxGridLines = 1 << 16;

double UsableScale(double scale)
{
    return scale > 0 && scale <= kMaxScale ? scale : 1.0;
}

// The characters of the frame pieces by direction mask: box drawing, and the plain set.
constexpr std::array<char16_t, 16> kBoxPieces = {
    u' ', u' ', u' ', u'└', u' ', u'│', u'┌', u'├', u' ', u'┘', u'─', u'┴', u'┐', u'┤', u'┬', u'┼'};
constexpr std::array<char16_t, 16> kPlainPieces = {
    u' ', u' ', u' ', u'+', u' ', u'|', u'+', u'+', u' ', u'+', u'-', u'+', u'+', u'+', u'+', u'+'};

// How one file's lines become octets.
class TLineEncoder {
public:
    TLineEncoder(const TrpTextExport& filter)
    {
        if (filter.ConvertToOEM)
            page_ = CodePage::Cp866;
        else if (filter.CodePage == tcCp1251)
            page_ = CodePage::Cp1251;
        const bool hasBoxes = !page_ || UnicodeToOctet(kBoxPieces[15], *page_) >= 0;
        pieces_ = filter.UsePseudographic && hasBoxes ? &kBoxPieces : &kPlainPieces;
    }

    // Appends the line's octets, frame pieces in their cells, and the line's end.
    void AppendTo(QByteArray& octets, const TTextLine& line) const
    {
        if (line.PageBreak) {
            octets.append("\f\r\n", 3);
            return;
        }
        const qsizetype start = octets.size();
        // At most three octets a UTF-16 unit (a pair of them makes four), and the line's end.
        octets.resize(start + 3 * line.Text.size() + 2);
        char* const begin = octets.data() + start;
        char* end = begin;
        const QChar* text = line.Text.constData();
        for (qsizetype i = 0; i < line.Text.size(); ++i) {
            const uint8_t piece = line.FrameAt(i);
            const char16_t unit = piece ? (*pieces_)[piece] : text[i].unicode();
            if (!page_) {
                end = AppendUtf8(end, unit, i, line.Text);
            } else {
                if (QChar::isHighSurrogate(unit) && i + 1 < line.Text.size() && text[i + 1].isLowSurrogate())
                    ++i;   // one character, which no single-octet page has
                const int octet = QChar::isSurrogate(unit) ? -1 : UnicodeToOctet(unit, *page_);
                *end++ = octet >= 0 ? char(octet) : '?';
            }
        }
        *end++ = '\r';
        *end++ = '\n';
        octets.truncate(start + (end - begin));
    }

private:
    // The UTF-8 octets of the unit at i (with the one after it when they make a pair); a unit
    // without its pair becomes '?'.
    static char* AppendUtf8(char* out, char16_t unit, qsizetype& i, const QString& text)
    {
        if (unit < 0x80) {
            *out++ = char(unit);
        } else if (unit < 0x800) {
            *out++ = char(0xC0 | (unit >> 6));
            *out++ = char(0x80 | (unit & 0x3F));
        } else if (!QChar::isSurrogate(unit)) {
            *out++ = char(0xE0 | (unit >> 12));
            *out++ = char(0x80 | ((unit >> 6) & 0x3F));
            *out++ = char(0x80 | (unit & 0x3F));
        } else if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            const char32_t code = QChar::surrogateToUcs4(unit, text[++i].unicode());
            *out++ = char(0xF0 | (code >> 18));
            *out++ = char(0x80 | ((code >> 12) & 0x3F));
            *out++ = char(0x80 | ((code >> 6) & 0x3F));
            *out++ = char(0x80 | (code & 0x3F));
        } else {
            *out++ = '?';
        }
        return out;
    }

    std::optional<CodePage> page_;   // none: UTF-8
    const std::array<char16_t, 16>* pieces_;
};

} // namespace

double ReadTextExportScale(const QString& text)
{
    double value = 0;
    return TryStrToFloatAnySep(text, value) ? UsableScale(value) : 1.0;
}

TrpTextExport::TrpTextExport(TrpRunContext& context, QObject* owner) : TrpTextExport(context, owner, TUnregistered{})
{
    RegisterExportFilter(this, LoadFrResString(context_, 55212) + QStringLiteral(" (*.txt)"), QStringLiteral("*.txt"));
}

TrpTextExport::TrpTextExport(TrpRunContext& context, QObject* owner, TUnregistered)
    : TrpExportFilter(owner), context_(context)
{
}

TrpTextExport::~TrpTextExport()
{
    UnregisterExportFilter(this);
}

int TrpTextExport::ShowModal()
{
    if (!ShowDialog || !context_.ExportOptionsDialog)
        return mrOk;
    return context_.ExportOptionsDialog(*this);
}

void TrpTextExport::OnBeginPage()
{
    ClearLines();
}

void TrpTextExport::OnText(const TrpRect& drawRect, int x, int y, const QString& text, int frameTyp, TrpView* view)
{
    if (!view)
        return;
    TrpTextRec record;
    record.X = x;
    record.Text = text;
    if (const auto* memo = dynamic_cast<const TrpMemoView*>(view)) {
        record.Font = memo->Font;
        record.Alignment = memo->Alignment;
        if (!(memo->Alignment & taVertical) && (memo->Alignment & 3) == taRight)
            record.X = drawRect.Right;
    }
    record.DrawRect = drawRect;
    record.FrameTyp = frameTyp;
    record.FillColor = view->FillColor;

    const double unitsPerLine = kUnitsPerLine / UsableScale(ScaleY);
    const int64_t line = Round(y / unitsPerLine);
    if (line < 0 || line > Round(PageSize().height() / unitsPerLine))
        return;   // off the page
    if (line >= kMaxGridLines)
        throw EWriteError(QStringLiteral("Текст объекта \"%1\" лежит ниже края страницы").arg(view->Name));
    if (Lines.size() <= size_t(line))
        Lines.resize(size_t(line) + 1);
    // Before the first record at the same or a greater position: equal positions keep the newest first.
    auto& records = Lines[size_t(line)];
    const auto at = std::lower_bound(records.begin(), records.end(), record.X,
                                     [](const TrpTextRec& r, int position) { return r.X < position; });
    records.insert(at, std::move(record));
}

void TrpTextExport::OnEndPage()
{
    const double scaleX = UsableScale(ScaleX);
    const int pageColumns = int(Round(PageSize().width() * scaleX / kUnitsPerCharacter));
    std::vector<TTextLine> lines = LayOutTextPage(Lines, {scaleX, KillEmptyLines, ExportFrames, pageColumns});
    if (PageBreaks)
        lines.push_back(TTextLine{{}, {}, true});
    const TLineEncoder encoder(*this);
    QByteArray page;
    for (const TTextLine& line : lines)
        encoder.AppendTo(page, line);
    Write(page);
    ClearLines();
}
