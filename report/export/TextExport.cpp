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

    QByteArray Encode(const TTextLine& line) const
    {
        if (line.PageBreak)
            return QByteArrayLiteral("\f\r\n");
        QString text = line.Text;
        for (size_t cell = 0; cell < line.Frame.size(); ++cell)
            if (line.Frame[cell])
                text[qsizetype(cell)] = QChar((*pieces_)[line.Frame[cell]]);
        QByteArray octets = page_ ? ToCodePage(text) : text.toUtf8();
        octets.append("\r\n", 2);
        return octets;
    }

private:
    QByteArray ToCodePage(const QString& text) const
    {
        QByteArray octets;
        octets.reserve(text.size());
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text[i];
            if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
                ++i;   // one character, which no single-octet page has
            const int octet = c.isSurrogate() ? -1 : UnicodeToOctet(c.unicode(), *page_);
            octets.append(octet >= 0 ? char(octet) : '?');
        }
        return octets;
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
        page.append(encoder.Encode(line));
    Write(page);
    ClearLines();
}
