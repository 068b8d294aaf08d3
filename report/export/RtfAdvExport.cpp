#include "report/export/RtfAdvExport.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string_view>

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QScopeGuard>
#include <QTemporaryFile>

#include "base/Rounding.h"
#include "report/engine/EMFPages.h"
#include "report/file/RtfEscape.h"
#include "report/objects/MemoView.h"
#include "report/objects/ObjectRegistry.h"
#include "report/objects/RichView.h"
#include "report/paper/ReportPrinter.h"
#include "report/runtime/ReportErrors.h"
#include "report/runtime/RunContext.h"
#include "report/runtime/TextRoutines.h"

namespace {

constexpr double kTwipsPerUnit = 15.05;          // page units
constexpr double kTwipsPerTenthMm = 5.67;        // paper sizes
constexpr double kHundredthsMmPerUnit = 26.46875;   // picture extents
constexpr int kFontTableLine = 255;
constexpr int kHexOctetsPerLine = 64;
constexpr int kBmpFileHeader = 14;
// A4, for a document without pages.
constexpr int kDefaultPaperWidth = 2100;
constexpr int kDefaultPaperHeight = 2970;

int Twips(double units)
{
    return int(Round(units * kTwipsPerUnit));
}

// Appends the octets with one copy. QByteArray's own append of a character string goes
// through its general insertion, which costs a page of cells more than writing them does.
void Put(QByteArray& rtf, std::string_view octets)
{
    const qsizetype at = rtf.size();
    rtf.resize(at + qsizetype(octets.size()));
    std::memcpy(rtf.data() + at, octets.data(), octets.size());
}

void AppendNumber(QByteArray& rtf, std::string_view word, int64_t value)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    Put(rtf, word);
    Put(rtf, std::string_view(digits, size_t(end - digits)));
}

// Least significant octet first, upper-case digits.
void AppendHexLE(QByteArray& rtf, uint32_t value, int octets)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    for (int i = 0; i < octets; ++i, value >>= 8) {
        rtf.append(kDigits[(value >> 4) & 0xF]);
        rtf.append(kDigits[value & 0xF]);
    }
}

// The colour as red, green and blue in 0x00BBGGRR; system colours take their usual values.
uint32_t PlainColour(TColor colour)
{
    if ((colour & 0xFF000000u) != 0xFF000000u)
        return colour & 0xFFFFFFu;
    const QColor q = ReportQColor(colour);
    return uint32_t(q.red()) | uint32_t(q.green()) << 8 | uint32_t(q.blue()) << 16;
}

// Cells without background: white and no fill; a system colour always has one.
bool HasBackground(TColor fill)
{
    return (fill & 0xFF000000u) == 0xFF000000u || (fill & 0xFFFFFFu) != 0xFFFFFFu;
}

void AppendStyleWords(QByteArray& rtf, TFontStyles style)
{
    if (style & fsBold)
        Put(rtf, "\\b");
    if (style & fsItalic)
        Put(rtf, "\\i");
    if (style & fsUnderline)
        Put(rtf, "\\ul");
    if (style & fsStrikeOut)
        Put(rtf, "\\strike");
}

void AppendAlignmentWords(QByteArray& rtf, int32_t alignment)
{
    const qsizetype start = rtf.size();
    if ((alignment & 3) == taJustify)
        Put(rtf, "\\qj");
    else if (alignment & taRight)
        Put(rtf, "\\qr");
    else if (alignment & taCenter)
        Put(rtf, "\\qc");
    if (alignment & taVertical)
        Put(rtf, "\\clvertalt");
    if (alignment & taMiddle)
        Put(rtf, "\\clvertalc");
    if (alignment & taDown)
        Put(rtf, "\\clvertalb");
    if (rtf.size() == start)
        Put(rtf, "\\ql");
}

// The lines of a memo as the cell's lines; the paragraph-end marks of wrapped text go.
QStringList CellLines(QStringList lines)
{
    for (QString& line : lines)
        line.remove(kParagraphEnd);
    return lines;
}

// Each line followed by CR LF, which readers pass over; a line break between lines.
void AppendCellLines(QByteArray& rtf, const QStringList& lines)
{
    for (qsizetype i = 0; i < lines.size(); ++i) {
        AppendEscapedRtf(rtf, lines[i]);
        Put(rtf, i + 1 < lines.size() ? "\\line\r\n" : "\r\n");
    }
}

// Readers that take no table positions (LibreOffice Writer among them) lay positioned rows out
// one under the other in the text. Each row therefore stands in a text box of its own size at
// the same place on the page, without line, fill or inner margins, in front of the text.
void AppendBoxHead(QByteArray& rtf, int left, int top, int width, int height)
{
    AppendNumber(rtf, "{\\shp{\\*\\shpinst\\shpleft", left);
    AppendNumber(rtf, "\\shptop", top);
    AppendNumber(rtf, "\\shpright", int64_t(left) + width);
    AppendNumber(rtf, "\\shpbottom", int64_t(top) + height);
    Put(rtf, "\\shpbxpage\\shpbypage\\shpwr3{\\sp{\\sn shapeType}{\\sv 202}}{\\sp{\\sn fLine}{\\sv 0}}"
               "{\\sp{\\sn fFilled}{\\sv 0}}{\\sp{\\sn dxTextLeft}{\\sv 0}}{\\sp{\\sn dxTextRight}{\\sv 0}}"
               "{\\sp{\\sn dyTextTop}{\\sv 0}}{\\sp{\\sn dyTextBottom}{\\sv 0}}{\\shptxt ");
}

// The object drawn into a bitmap one unit larger than itself each way, cut to the page (one
// pixel a page unit): however large its record says it is, the bitmap is never larger than the
// page, and an object wholly off the page gives none. Drawing may change the object's geometry
// (a line object becomes its line), which is put back.
bool DrawPicture(TrpView& view, int x, int y, QSize page, TrpRtfAdvExport::TPicture& picture)
{
    const int left = view.Left, top = view.Top, width = view.Width, height = view.Height;
    if (width < 0 || height < 0)
        return false;
    const int64_t right = int64_t(left) + width + 1;   // past the bitmap
    const int64_t bottom = int64_t(top) + height + 1;
    const int64_t shownLeft = std::max<int64_t>(left, 0);
    const int64_t shownTop = std::max<int64_t>(top, 0);
    const int64_t shownRight = std::min<int64_t>(right, page.width());
    const int64_t shownBottom = std::min<int64_t>(bottom, page.height());
    if (shownRight <= shownLeft || shownBottom <= shownTop)
        return false;
    QImage image(int(shownRight - shownLeft), int(shownBottom - shownTop), QImage::Format_RGB32);
    if (image.isNull())
        return false;
    image.fill(Qt::white);
    view.Left = int(left - shownLeft);
    view.Top = int(top - shownTop);
    view.ZoomX = view.ZoomY = 1;
    view.ShiftX = view.ShiftY = 0;
    view.OnPrinter = false;
    {
        const auto restore = qScopeGuard([&] { view.SetBounds(left, top, width, height); });
        QPainter painter(&image);
        view.Draw(&painter);
    }
    QBuffer bmp(&picture.Bmp);
    bmp.open(QIODevice::WriteOnly);
    if (!image.save(&bmp, "BMP"))
        return false;
    picture.X = int(x + (shownLeft - left));
    picture.Y = int(y + (shownTop - top));
    picture.Width = int(std::min(right - 1, shownRight) - shownLeft);
    picture.Height = int(std::min(bottom - 1, shownBottom) - shownTop);
    picture.BitmapWidth = image.width();
    picture.BitmapHeight = image.height();
    return true;
}

// The length of the cell's text as its lines joined by CR LF.
qsizetype TextLength(const TrpRtfAdvExport::TCell& cell)
{
    qsizetype length = 0;
    for (const QString& line : cell.Lines)
        length += line.size() + 2;
    return length;
}

} // namespace

TrpRtfAdvExport::TrpRtfAdvExport(TrpRunContext& context, QObject* owner) : TrpExportFilter(owner), context_(context)
{
    RegisterExportFilter(this, LoadFrResString(context_, 54870), QStringLiteral("*.rtf"));
}

TrpRtfAdvExport::~TrpRtfAdvExport()
{
    UnregisterExportFilter(this);
}

int TrpRtfAdvExport::ShowModal()
{
    PageRange.clear();
    int result = mrOk;
    if (ShowDialog && context_.ExportOptionsDialog)
        result = context_.ExportOptionsDialog(*this);
    range_ = TrpPageRange(PageRange);
    return result;
}

void TrpRtfAdvExport::OnBeginDoc()
{
    const int pageCount = Pages ? Pages->Count() : 0;
    if (!range_.AllPages() && !range_.SelectsAny(pageCount))
        throw ConvertError(QStringLiteral("В отчёте %1 стр.: диапазон \"%2\" не выбирает ни одной").arg(pageCount).arg(PageRange));
    int paperWidth = kDefaultPaperWidth;
    int paperHeight = kDefaultPaperHeight;
    if (pageCount > 0) {
        paperWidth = Pages->Page(0).PaperWidth;
        paperHeight = Pages->Page(0).PaperHeight;
    }
    QByteArray head("{\\rtf1\\ansi\\ansicpg1251\r\n");
    AppendNumber(head, "\\paperw", Round(paperWidth * kTwipsPerTenthMm));
    AppendNumber(head, "\\paperh", Round(paperHeight * kTwipsPerTenthMm));
    head.append("\\margl0\\margr0\\margt600\\margb600\r\n");
    Write(head);
    pageNo_ = 0;
    pageWritten_ = false;
    cells_.clear();
    pictures_.clear();
    fonts_.clear();
    colours_.clear();
    page_.resize(0);
    // The pages wait here, each written as it ends, for the tables they fill to go first.
    spool_ = std::make_unique<QTemporaryFile>();
    if (!spool_->open())
        throw EWriteError(QStringLiteral("Не удалось создать временный файл: %1").arg(spool_->errorString()));
}

void TrpRtfAdvExport::SpoolPage()
{
    if (spool_->write(page_) != page_.size())
        throw EWriteError(QStringLiteral("Не удалось записать временный файл: %1").arg(spool_->errorString()));
    page_.resize(0);   // its room is kept for the next page
}

void TrpRtfAdvExport::OnBeginPage()
{
    ++pageNo_;
}

void TrpRtfAdvExport::OnData(int x, int y, TrpView* view)
{
    if (!view || !range_.Contains(pageNo_))
        return;
    if (const auto* memo = dynamic_cast<const TrpMemoView*>(view)) {
        if (memo->Memo.isEmpty() && memo->FrameTyp == 0)
            return;
        cells_.push_back(TCell{memo->Left, memo->Top, memo->Width, memo->Height, CellLines(memo->Memo), memo->Font,
                               memo->FillColor, memo->FrameTyp, memo->Alignment});
    } else if (const auto* rich = dynamic_cast<const TrpRichView*>(view)) {
        // Its plain text, in a cell with its frame but neither fill nor alignment.
        const QString text = rich->RichEdit->toPlainText();
        cells_.push_back(TCell{rich->Left, rich->Top, rich->Width, rich->Height,
                               text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n')), TrpFont(),
                               clTransparent, rich->FrameTyp, 0, true});
    } else if (ExportPictures) {
        TPicture picture;
        if (DrawPicture(*view, x, y, PageSize(), picture))
            pictures_.push_back(std::move(picture));
    }
}

void TrpRtfAdvExport::OnEndPage()
{
    std::stable_sort(cells_.begin(), cells_.end(), [](const TCell& a, const TCell& b) {
        if (a.Top != b.Top)
            return a.Top < b.Top;
        if (a.Left != b.Left)
            return a.Left < b.Left;
        return TextLength(a) < TextLength(b);
    });
    if (range_.Contains(pageNo_))
        WritePage();
    cells_.clear();
    pictures_.clear();
}

void TrpRtfAdvExport::WritePage()
{
    // The paragraph that holds the last page's boxes ends before the break, or readers keep
    // them on this page.
    if (pageWritten_ && PageBreaks)
        Put(page_, "\\par\\page\r\n");
    if (Pages && PageIndex >= 0 && PageIndex < Pages->Count() && Pages->Page(PageIndex).Orientation == poLandscape)
        Put(page_, "\\lndscpsxn \r\n");
    if (ExportPictures)
        for (const TPicture& picture : pictures_)
            WritePicture(picture);
    Put(page_, "\\margtsxn0 \r\n\\par ");
    for (const TCell& cell : cells_)
        WriteCell(cell);
    Put(page_, "\\pard\r\n");
    SpoolPage();
    pageWritten_ = true;
}

void TrpRtfAdvExport::WritePicture(const TPicture& picture)
{
    QByteArray& rtf = page_;
    // Vertically from the page's top, as the cells (the section has no top margin).
    AppendNumber(rtf, "\\pard\\phmrg\\pvpg\\posx", Twips(picture.X * ScaleX));
    AppendNumber(rtf, "\\posy", Twips(picture.Y));
    AppendNumber(rtf, "\\absh", Twips(picture.Height));
    AppendNumber(rtf, "\\absw", Twips(picture.Width));
    AppendNumber(rtf, "{\\pict\\wmetafile8\\picw", Round(picture.Width * kHundredthsMmPerUnit));
    AppendNumber(rtf, "\\pich", Round(picture.Height * kHundredthsMmPerUnit));
    Put(rtf, " \\picbmp\\picbpp4\r\n");

    // A metafile of one stretch-DIB record drawing the bitmap; sizes count 16-bit words.
    const auto stretch = uint32_t(picture.Bmp.size() / 2 + 7);
    const auto w = uint32_t(picture.BitmapWidth);
    const auto h = uint32_t(picture.BitmapHeight);
    Put(rtf, "010009000003");
    AppendHexLE(rtf, stretch + 36, 4);
    Put(rtf, "0000");
    AppendHexLE(rtf, stretch, 4);
    Put(rtf, "0000050000000b0200000000050000000c02");
    AppendHexLE(rtf, h, 2);
    AppendHexLE(rtf, w, 2);
    Put(rtf, "05000000090200000000050000000102ffffff000400000007010300");
    AppendHexLE(rtf, stretch, 4);
    Put(rtf, "430f2000cc000000");
    AppendHexLE(rtf, h, 2);
    AppendHexLE(rtf, w, 2);
    Put(rtf, "00000000");
    AppendHexLE(rtf, h, 2);
    AppendHexLE(rtf, w, 2);
    Put(rtf, "00000000\r\n");

    const QByteArray dib = picture.Bmp.mid(kBmpFileHeader);
    for (qsizetype at = 0; at < dib.size(); at += kHexOctetsPerLine) {
        const QByteArray part = dib.mid(at, kHexOctetsPerLine);
        rtf.append(part.toHex().toUpper());
        if (part.size() == kHexOctetsPerLine)
            Put(rtf, "\r\n");
    }
    Put(rtf, "030000000000}\\par\r\n");
}

void TrpRtfAdvExport::WriteCell(const TCell& cell)
{
    const int left = Twips(cell.Left * ScaleX);
    const int top = Twips(cell.Top * ScaleY);
    const int width = Twips(cell.Width * ScaleX);
    const int height = Twips(cell.Height * ScaleY);
    // The row in its text box, and once more as the box's result for readers without boxes.
    AppendBoxHead(page_, left, top, width, height);
    const qsizetype rowStart = page_.size();
    AppendRow(cell, left, top, width, height);
    const qsizetype rowLength = page_.size() - rowStart;
    const char kResult[] = "}}{\\shprslt ";
    page_.reserve(page_.size() + qsizetype(sizeof kResult) + rowLength + 2);   // the row stays where it is
    Put(page_, std::string_view(kResult, sizeof kResult - 1));
    const qsizetype copyAt = page_.size();
    page_.resize(copyAt + rowLength);
    std::memcpy(page_.data() + copyAt, page_.constData() + rowStart, size_t(rowLength));
    Put(page_, "}}");
}

void TrpRtfAdvExport::AppendRow(const TCell& cell, int left, int top, int width, int height)
{
    QByteArray& rtf = page_;
    AppendNumber(rtf, "\\trowd\\posx", left);
    AppendNumber(rtf, "\\posy", top);
    AppendNumber(rtf, "\\absw", width);
    AppendNumber(rtf, "\\absh", height);
    AppendNumber(rtf, "\\trgaph5\\trrh", height);
    // Without its own width a reader may give the row the widest width of the rows before.
    AppendNumber(rtf, "\\trftsWidth3\\trwWidth", width);
    if (!cell.Rich && HasBackground(cell.FillColor))
        AppendNumber(rtf, "\\clcbpat", ColourIndex(cell.FillColor));
    if (cell.FrameTyp & frLeft)
        Put(rtf, "\\clbrdrl\\brdrw15\\brdrs");
    if (cell.FrameTyp & frRight)
        Put(rtf, "\\clbrdrr\\brdrw15\\brdrs");
    if (cell.FrameTyp & frTop)
        Put(rtf, "\\clbrdrt\\brdrw15\\brdrs");
    if (cell.FrameTyp & frBottom)
        Put(rtf, "\\clbrdrb\\brdrw15\\brdrs");
    AppendNumber(rtf, "\\cellx", width);
    if (cell.Rich) {
        rtf.append('{');
        AppendCellLines(rtf, cell.Lines);
        Put(rtf, "}\\cell\\pard\\intbl\\intbl\\row\\pard");
        return;
    }
    AppendAlignmentWords(rtf, cell.Alignment);
    // White text would vanish on the word processor's white page.
    const TColor textColour = PlainColour(cell.Font.Color) == clWhite ? clBlack : cell.Font.Color;
    AppendNumber(rtf, "{\\f", FontIndex(cell.Font.Name));
    AppendNumber(rtf, "\\fs", cell.Font.Size * 2);
    AppendStyleWords(rtf, cell.Font.Style);
    AppendNumber(rtf, "\\cf", ColourIndex(textColour));
    rtf.append(' ');
    AppendCellLines(rtf, cell.Lines);
    Put(rtf, "}\\cell\\pard\\intbl\\intbl\\row\\pard");
}

int TrpRtfAdvExport::FontIndex(const QString& name)
{
    qsizetype index = fonts_.indexOf(name);
    if (index < 0) {
        fonts_.append(name);
        index = fonts_.size() - 1;
    }
    return int(index);
}

int TrpRtfAdvExport::ColourIndex(TColor colour)
{
    const uint32_t plain = PlainColour(colour);
    auto found = std::find(colours_.begin(), colours_.end(), plain);
    if (found == colours_.end())
        found = colours_.insert(colours_.end(), plain);
    return int(found - colours_.begin()) + 1;   // 0 is the automatic colour
}

void TrpRtfAdvExport::OnEndDoc()
{
    // The spooled pages go with the export, whether it ends written or failed.
    const auto release = qScopeGuard([this] { spool_.reset(); });
    Put(page_, "\\par}");
    SpoolPage();
    QByteArray tables;
    // Tables go in lines shorter than 255 characters.
    const auto appendTable = [&tables](const char* start, const QList<QByteArray>& entries) {
        QByteArray line(start);
        for (const QByteArray& entry : entries) {
            if (line.size() + entry.size() >= kFontTableLine) {
                tables.append(line).append("\r\n");
                line.clear();
            }
            line.append(entry);
        }
        tables.append(line).append("}\r\n");
    };
    QList<QByteArray> fontEntries;
    for (qsizetype i = 0; i < fonts_.size(); ++i) {
        QByteArray entry = "{\\f" + QByteArray::number(i) + "\\fcharset204 ";
        QString name = fonts_[i];
        name.remove(QLatin1Char(';'));   // a semicolon ends the name
        AppendEscapedRtf(entry, name);
        fontEntries.append(entry + ";}");
    }
    appendTable("{\\fonttbl", fontEntries);
    QList<QByteArray> colourEntries;
    for (const uint32_t colour : colours_)
        colourEntries.append("\\red" + QByteArray::number(colour & 0xFF) + "\\green" +
                             QByteArray::number((colour >> 8) & 0xFF) + "\\blue" +
                             QByteArray::number((colour >> 16) & 0xFF) + ";");
    appendTable("{\\colortbl;", colourEntries);
    Write(tables);
    // Then the pages, as they were spooled.
    constexpr qint64 kChunk = 1 << 20;
    if (!spool_->flush() || !spool_->seek(0))
        throw EWriteError(QStringLiteral("Не удалось записать временный файл: %1").arg(spool_->errorString()));
    for (QByteArray chunk; !(chunk = spool_->read(kChunk)).isEmpty();)
        Write(chunk);
    if (spool_->pos() != spool_->size())
        throw EWriteError(QStringLiteral("Не удалось прочитать временный файл: %1").arg(spool_->errorString()));
}
