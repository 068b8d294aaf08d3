#include "report/graphic/WindowsMetafile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <memory>
#include <vector>

#include <libwmf/api.h>
#include <libwmf/ipa.h>
#include <libwmf/svg.h>

#include <QString>

#include "base/CodePage.h"
#include "report/graphic/Graphic.h"
#include "report/graphic/WindowsMetafileBitmap.h"
#include "report/runtime/LayoutDpi.h"

namespace {

constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr int kPlaceableSize = 22;
constexpr int kHeaderWords = 9;
constexpr qsizetype kFirstRecord = kPlaceableSize + 2 * kHeaderWords;
constexpr uint32_t kMinRecordWords = 3;
constexpr int kRecordHeader = 6;
constexpr double kPointsPerInch = 72;

// The records whose parameters count points or characters.
constexpr uint16_t kEndOfFile = 0x0000;
constexpr uint16_t kPolygon = 0x0324;
constexpr uint16_t kPolyline = 0x0325;
constexpr uint16_t kPolyPolygon = 0x0538;
constexpr uint16_t kTextOut = 0x0521;
constexpr uint16_t kExtTextOut = 0x0A32;
constexpr uint16_t kExtTextRect = 0x0006;   // opaque or clipped: a rectangle precedes the text
constexpr uint16_t kSaveDC = 0x001E;
constexpr uint16_t kRestoreDC = 0x0127;
// The device context's own values, set by records of one parameter (a colour takes two words).
constexpr uint16_t kStateRecords[] = {
    0x0209,   // text colour
    0x0201,   // background colour
    0x0106,   // polygon fill mode
    0x012E,   // text alignment
    0x0104,   // drawing mode
    0x0107,   // stretching mode
    0x0108,   // character spacing
};
constexpr int kStateCount = int(std::size(kStateRecords));
constexpr uint16_t kSetBkMode = 0x0102;
// How deep device contexts may be saved; no drawing needs more.
constexpr int kMaxSavedStates = 1000;

// What the library may allocate for one picture, and what its SVG may grow to.
constexpr size_t kMaxLibraryMemory = size_t(256) << 20;
constexpr qsizetype kMaxSvgBytes = kMaxGraphicBytes;

uint16_t Word(const QByteArray& data, qsizetype offset)
{
    return uint16_t(uint8_t(data[offset]) | uint8_t(data[offset + 1]) << 8);
}

int16_t SignedWord(const QByteArray& data, qsizetype offset)
{
    return int16_t(Word(data, offset));
}

uint32_t DoubleWord(const QByteArray& data, qsizetype offset)
{
    return uint32_t(Word(data, offset)) | uint32_t(Word(data, offset + 2)) << 16;
}

// The frame of the placeable header, in the metafile's units.
struct TFrame {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int UnitsPerInch = 0;
};

TFrame FrameOf(const QByteArray& data)
{
    return {SignedWord(data, 6), SignedWord(data, 8), SignedWord(data, 10), SignedWord(data, 12), Word(data, 14)};
}

// The octets of the parameters that the points or the text of a drawing record need; 0 for
// records that count nothing. A count the record does not hold counts more than any record.
qsizetype CountedBytes(uint16_t function, const QByteArray& data, qsizetype params, qsizetype length)
{
    constexpr qsizetype kMissing = qsizetype(1) << 32;
    const auto u16 = [&](qsizetype at) { return at + 2 <= length ? qsizetype(Word(data, params + at)) : kMissing; };
    switch (function) {
    case kPolygon:
    case kPolyline:
        return 2 + 4 * u16(0);
    case kPolyPolygon: {
        const qsizetype polygons = u16(0);
        qsizetype points = 0;
        for (qsizetype i = 0; i < polygons && polygons != kMissing; ++i)
            points += u16(2 + 2 * i);
        return 2 + 2 * polygons + 4 * points;
    }
    case kTextOut:
        return 2 + ((u16(0) + 1) & ~qsizetype(1)) + 4;
    case kExtTextOut:
        return 8 + (u16(6) != kMissing && (u16(6) & kExtTextRect) ? 8 : 0) + u16(4);
    default:
        return 0;
    }
}

// How many device contexts stay saved after restoring the level: a negative level counts back
// from the last one saved, a positive one from the first; a level that names none restores none.
int RestoredDepth(int depth, int level)
{
    const int kept = level < 0 ? depth + level : level - 1;
    return kept >= 0 && kept < depth ? kept : depth;
}

// The records from the first one up to the end-of-file record; octets after it are never read.
QString CheckRecords(const QByteArray& data, uint32_t maxRecordWords)
{
    qsizetype offset = kFirstRecord;
    int saved = 0;
    while (offset < data.size()) {
        if (data.size() - offset < kRecordHeader)
            return QStringLiteral("запись метафайла обрезана на смещении %1").arg(offset);
        const uint32_t words = DoubleWord(data, offset);
        const uint16_t function = Word(data, offset + 4);
        if (words < kMinRecordWords || words > maxRecordWords || qint64(words) * 2 > data.size() - offset)
            return QStringLiteral("неверная запись метафайла на смещении %1").arg(offset);
        const qsizetype length = qsizetype(words) * 2 - kRecordHeader;
        if (CountedBytes(function, data, offset + kRecordHeader, length) > length)
            return QStringLiteral("точки или текст записи метафайла выходят за неё на смещении %1").arg(offset);
        if (const QString error = CheckRecordBitmap(function, data, offset + kRecordHeader, length); !error.isEmpty())
            return QStringLiteral("%1 (смещение %2)").arg(error).arg(offset);
        if (function == kSaveDC && ++saved > kMaxSavedStates)
            return QStringLiteral("метафайл сохраняет состояние глубже %1 раз").arg(kMaxSavedStates);
        if (function == kRestoreDC && length >= 2)
            saved = RestoredDepth(saved, SignedWord(data, offset + kRecordHeader));
        offset += qsizetype(words) * 2;
        if (function == kEndOfFile)
            return {};
    }
    return QStringLiteral("метафайл без записи конца");
}

// ---- Drawing through the library.

// The metafile as the library draws it right. The library starts a saved device context afresh
// instead of with the saved one's colours, modes and text alignment (a text drawn after SaveDC
// lands a line too low, in black): the state records in force are repeated after each SaveDC.
// Its SVG draws every fill half transparent under a transparent background mode, which only
// hatches and the cells of texts heed: it gets no background mode. Empty when the copy would
// outgrow a picture.
QByteArray ForTheLibrary(const QByteArray& data)
{
    if (data.size() < kFirstRecord)
        return {};
    using TState = std::vector<QByteArray>;   // the last record of each kind, or nothing
    std::vector<TState> saved;
    TState state(kStateCount);
    QByteArray out = data.left(kFirstRecord);
    for (qsizetype offset = kFirstRecord; offset < data.size();) {
        if (data.size() - offset < kRecordHeader)
            return {};
        const qsizetype length = qsizetype(DoubleWord(data, offset)) * 2;
        if (length < kRecordHeader || length > data.size() - offset)
            return {};
        const uint16_t function = Word(data, offset + 4);
        const QByteArray record = data.mid(offset, length);
        offset += length;
        if (function == kSetBkMode)
            continue;
        out += record;
        if (function == kEndOfFile)
            break;
        if (const auto* kind = std::find(std::begin(kStateRecords), std::end(kStateRecords), function);
            kind != std::end(kStateRecords)) {
            state[size_t(kind - std::begin(kStateRecords))] = record;
        } else if (function == kSaveDC) {
            saved.push_back(state);
            for (const QByteArray& repeated : state)
                out += repeated;
        } else if (function == kRestoreDC && length >= kRecordHeader + 2) {
            const int depth = int(saved.size());
            const int kept = RestoredDepth(depth, SignedWord(record, kRecordHeader));
            if (kept < depth) {
                state = saved[size_t(kept)];
                saved.resize(size_t(kept));
            }
        }
        if (out.size() > kMaxGraphicBytes)
            return {};
    }
    // The header's length in words; the largest record may now be a repeated colour.
    const uint32_t words = uint32_t((out.size() - kPlaceableSize) / 2);
    for (int i = 0; i < 4; ++i)
        out[kPlaceableSize + 6 + i] = char(words >> (8 * i));
    if (DoubleWord(out, kPlaceableSize + 12) < 5)
        out[kPlaceableSize + 12] = 5;
    return out;
}

// Allocations of the library, counted against a budget: what a metafile asks beyond it is not
// given, and the library leaves out what needed it (a bitmap of a billion pixels) or gives up.
struct TBudget {
    size_t Used = 0;
};

constexpr size_t kBlockHeader = alignof(std::max_align_t);

size_t& BlockSize(void* block)
{
    return *static_cast<size_t*>(block);
}

void* Allocate(void* context, size_t size)
{
    auto& budget = *static_cast<TBudget*>(context);
    if (size > kMaxLibraryMemory - budget.Used)
        return nullptr;
    void* block = std::malloc(kBlockHeader + size);
    if (!block)
        return nullptr;
    BlockSize(block) = size;
    budget.Used += size;
    return static_cast<char*>(block) + kBlockHeader;
}

void Release(void* context, void* memory)
{
    if (!memory)
        return;
    void* block = static_cast<char*>(memory) - kBlockHeader;
    static_cast<TBudget*>(context)->Used -= BlockSize(block);
    std::free(block);
}

void* Reallocate(void* context, void* memory, size_t size)
{
    if (!memory)
        return Allocate(context, size);
    auto& budget = *static_cast<TBudget*>(context);
    void* block = static_cast<char*>(memory) - kBlockHeader;
    const size_t old = BlockSize(block);
    if (size > old && size - old > kMaxLibraryMemory - budget.Used)
        return nullptr;
    void* moved = std::realloc(block, kBlockHeader + size);
    if (!moved)
        return nullptr;
    BlockSize(moved) = size;
    budget.Used = budget.Used - old + size;
    return static_cast<char*>(moved) + kBlockHeader;
}

// Where the SVG goes, and how the library's coordinates (points) map onto it.
struct TSvgSink {
    QByteArray Svg;
    bool Overflow = false;
    wmfD_Rect Frame{};
    double ScaleX = 1, ScaleY = 1;

    void Append(const char* text, size_t length)
    {
        if (Overflow || qint64(length) > kMaxSvgBytes - Svg.size()) {
            Overflow = true;
            return;
        }
        Svg.append(text, qsizetype(length));
    }
};

TSvgSink& SinkOf(wmfAPI* api)
{
    return *static_cast<TSvgSink*>(api->user_data);
}

int PutText(char* text, void* context)
{
    auto& sink = *static_cast<TSvgSink*>(context);
    sink.Append(text, std::strlen(text));
    return sink.Overflow ? EOF : 0;
}

int ResetText(void* context)
{
    static_cast<TSvgSink*>(context)->Svg.clear();
    return 0;
}

// An SVG that outgrows a picture stops the playing.
int StopOnOverflow(void* context, float)
{
    return static_cast<TSvgSink*>(context)->Overflow ? 1 : 0;
}

// The library's own fonts are files it maps by name; texts are drawn by the SVG renderer from
// the face names instead, so it needs none.
void MapNoFont(wmfAPI*, wmfFont*) {}

// The width of a string at 1 point: an average advance, used only to align a text whose
// alignment is its centre or its right end.
float TextWidth(wmfAPI*, wmfFont*, char* text)
{
    constexpr float kAverageAdvance = 0.5f;
    return text ? kAverageAdvance * float(std::strlen(text)) : 0;
}

QByteArray Attribute(const char* name, const QString& value)
{
    return QByteArray(" ") + name + "=\"" + value.toHtmlEscaped().toUtf8() + '"';
}

// A text in the metafile's own code page (fonts of a Russian Windows: 1251), drawn by the SVG
// renderer at the point the library gives, which is where its base line starts.
void DrawText(wmfAPI* api, wmfDrawText_t* draw)
{
    TSvgSink& sink = SinkOf(api);
    const wmfFont* font = draw->dc ? draw->dc->font : nullptr;
    if (!draw->str || !font)
        return;
    const double x = (draw->pt.x - sink.Frame.TL.x) * sink.ScaleX;
    const double y = (draw->pt.y - sink.Frame.TL.y) * sink.ScaleY;
    const double size = draw->font_height * sink.ScaleY;
    const wmfRGB& colour = draw->dc->textcolor;
    QByteArray element = "<text";
    element += Attribute("x", QString::number(x, 'f', 3)) + Attribute("y", QString::number(y, 'f', 3));
    if (font->lfFaceName)
        element += Attribute("font-family", QString::fromStdString(Cp1251ToUtf8(font->lfFaceName)));
    element += Attribute("font-size", QString::number(size, 'f', 3));
    element += Attribute("fill", QStringLiteral("#%1%2%3")
                                     .arg(colour.r, 2, 16, QLatin1Char('0'))
                                     .arg(colour.g, 2, 16, QLatin1Char('0'))
                                     .arg(colour.b, 2, 16, QLatin1Char('0')));
    if (font->lfWeight >= 600)
        element += Attribute("font-weight", QStringLiteral("bold"));
    if (font->lfItalic)
        element += Attribute("font-style", QStringLiteral("italic"));
    if (font->lfUnderline)
        element += Attribute("text-decoration", QStringLiteral("underline"));
    // Escapement is in tenths of a degree, counter-clockwise; SVG turns clockwise.
    if (font->lfEscapement != 0)
        element += Attribute("transform", QStringLiteral("rotate(%1 %2 %3)")
                                              .arg(-font->lfEscapement / 10.0)
                                              .arg(x, 0, 'f', 3)
                                              .arg(y, 0, 'f', 3));
    element += '>' + QString::fromStdString(Cp1251ToUtf8(draw->str)).toHtmlEscaped().toUtf8() + "</text>\n";
    sink.Append(element.constData(), size_t(element.size()));
}

// Closes the memory source and frees the library's state, however the drawing ends.
struct TLibraryCloser {
    void operator()(wmfAPI* api) const
    {
        wmf_mem_close(api);
        wmf_api_destroy(api);
    }
};

}  // namespace

bool IsWindowsMetafile(const QByteArray& data)
{
    return data.size() >= 4 && DoubleWord(data, 0) == kPlaceableKey;
}

TrpMetafileInfo InspectWindowsMetafile(const QByteArray& data)
{
    if (!IsWindowsMetafile(data) || data.size() < kFirstRecord)
        return RefusedMetafile(QStringLiteral("не метафайл Windows"));
    uint16_t checksum = 0;
    for (qsizetype offset = 0; offset < kPlaceableSize - 2; offset += 2)
        checksum ^= Word(data, offset);
    if (checksum != Word(data, kPlaceableSize - 2))
        return RefusedMetafile(QStringLiteral("контрольная сумма заголовка метафайла не сходится"));
    const uint16_t type = Word(data, kPlaceableSize);
    const uint16_t version = Word(data, kPlaceableSize + 4);
    const uint32_t maxRecordWords = DoubleWord(data, kPlaceableSize + 12);
    if ((type != 1 && type != 2) || Word(data, kPlaceableSize + 2) != kHeaderWords ||
        (version != 0x0100 && version != 0x0300) || maxRecordWords < kMinRecordWords ||
        qint64(maxRecordWords) * 2 > data.size() - kFirstRecord)
        return RefusedMetafile(QStringLiteral("заголовок метафайла не сходится с его длиной"));
    if (const QString error = CheckRecords(data, maxRecordWords); !error.isEmpty())
        return RefusedMetafile(error);
    // The frame in the metafile's units and how many of them make an inch give its size.
    const TFrame frame = FrameOf(data);
    const auto pixels = [&frame](int units) {
        return frame.UnitsPerInch > 0 ? std::lround(double(units) * kLayoutDpi / frame.UnitsPerInch) : 0;
    };
    return MetafileOfSize(pixels(frame.Right - frame.Left), pixels(frame.Bottom - frame.Top));
}

QByteArray WindowsMetafileToSvg(const QByteArray& data, QSize size)
{
    // Declared before the library's state, which may still write when it is freed.
    TBudget budget;
    TSvgSink sink;
    wmfStream stream{&sink, PutText, ResetText};
    char description[] = "";
    wmfAPI_Options options{};
    options.context = &budget;
    options.malloc = Allocate;
    options.realloc = Reallocate;
    options.free = Release;
    options.function = wmf_svg_function;
    const unsigned long flags = WMF_OPT_ALLOC | WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR |
                                WMF_OPT_NO_DEBUG;
    wmfAPI* created = nullptr;
    if (wmf_api_create(&created, flags, &options) != wmf_E_None) {
        if (created)
            wmf_api_destroy(created);
        return {};
    }
    const std::unique_ptr<wmfAPI, TLibraryCloser> api(created);
    auto* fonts = static_cast<wmfFontData*>(api->font_data);
    fonts->map = MapNoFont;
    fonts->stringwidth = TextWidth;
    static_cast<wmfFunctionReference*>(api->function_reference)->draw_text = DrawText;

    QByteArray input = ForTheLibrary(data);   // also the mutable buffer the library takes
    if (input.isEmpty() || wmf_mem_open(api.get(), reinterpret_cast<unsigned char*>(input.data()), long(input.size())) != wmf_E_None)
        return {};
    wmfD_Rect scanned{};
    if (wmf_scan(api.get(), 0, &scanned) != wmf_E_None)
        return {};

    // The library draws in points; the frame of the placeable header fills the picture.
    const TFrame frame = FrameOf(data);
    const auto points = [&frame](int units) { return float(units * kPointsPerInch / frame.UnitsPerInch); };
    sink.Frame.TL = {points(frame.Left), points(frame.Top)};
    sink.Frame.BR = {points(frame.Right), points(frame.Bottom)};
    sink.ScaleX = size.width() / double(sink.Frame.BR.x - sink.Frame.TL.x);
    sink.ScaleY = size.height() / double(sink.Frame.BR.y - sink.Frame.TL.y);
    api->user_data = &sink;
    wmf_svg_t* device = WMF_SVG_GetData(api.get());
    device->out = &stream;
    device->Description = description;
    device->bbox = sink.Frame;
    device->width = unsigned(size.width());
    device->height = unsigned(size.height());
    device->flags |= WMF_SVG_INLINE_IMAGES;
    wmf_status_function(api.get(), &sink, StopOnOverflow);
    const wmf_error_t played = wmf_play(api.get(), 0, &scanned);
    if (played != wmf_E_None || sink.Overflow)
        return {};
    return sink.Svg;
}
