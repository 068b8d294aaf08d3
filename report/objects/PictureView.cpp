#include "report/objects/PictureView.h"

#include <QFile>
#include <QPainter>

#include "base/Rounding.h"
#include "report/data/DataAccess.h"
#include "report/engine/Report.h"
#include "report/expr/ReportVariant.h"
#include "report/file/RecordWriter.h"
#include "report/file/StreamPrimitives.h"
#include "report/objects/ReportFont.h"
#include "report/objects/ViewXml.h"
#include "report/runtime/ReportErrors.h"
#include "report/runtime/RunContext.h"
#include "report/runtime/TextRoutines.h"

namespace {

constexpr uint16_t kDefaultPictureFlags = kFlagStretched | pfKeepAspect;
constexpr int kEmptyPictureText = 55228;

int RoundInt(double value)
{
    return int(Round(value));
}

TrpGraphicKind KindOfBlobType(uint8_t blobType)
{
    switch (blobType) {
    case btJPG:
        return gkJpeg;
    case btICO:
        return gkIcon;
    case btWMF:
        return gkMetafile;
    default:
        return gkBitmap;
    }
}

// A bitmap stored in a graphic field by some databases carries an 8-octet header before the
// bitmap file: count 1, type 0x0100, the bitmap's length.
QByteArray WithoutGraphicHeader(const QByteArray& octets)
{
    constexpr int kHeaderSize = 8;
    if (octets.size() <= kHeaderSize)
        return octets;
    const auto u16 = [&](int at) { return uint8_t(octets[at]) | uint8_t(octets[at + 1]) << 8; };
    const uint32_t length = uint32_t(u16(4)) | uint32_t(u16(6)) << 16;
    if (u16(0) == 1 && u16(2) == 0x0100 && length == uint32_t(octets.size() - kHeaderSize))
        return octets.mid(kHeaderSize);
    return octets;
}

// Scripts name the blob types by these constants once a picture exists.
void EnterBlobTypeConstants(TrpRunContext& context)
{
    const char* const names[] = {"btBMP", "btJPG", "btICO", "btWMF"};
    for (int value = btBMP; value <= btWMF; ++value)
        context.ReportConstants.SetValueByName(QLatin1String(names[value]), value);
}

}  // namespace

TrpPictureView::TrpPictureView()
{
    TypeCode = otPicture;
    BaseName = QStringLiteral("Picture");
    Flags = kDefaultPictureFlags;
}

void TrpPictureView::DeclareProperties()
{
    TrpView::DeclareProperties();
    EnterBlobTypeConstants(Context());
    AddProperty(QStringLiteral("Picture"), pkHasEditor);
    for (const char* name : {"Stretched", "Center", "KeepAspect"})
        AddProperty(QLatin1String(name), pkBoolean);
    AddProperty(QStringLiteral("DataField"), pkHasEditor);
    AddEnumProperty(QStringLiteral("BlobType"), QStringLiteral("btBMP;btJPG;btICO;btWMF"), {0, 1, 2, 3});
}

void TrpPictureView::SetPropertyValue(const QString& name, const QVariant& value)
{
    TrpView::SetPropertyValue(name, value);
    const QString n = name.toUpper();
    const auto setFlag = [&](uint16_t bit) { Flags = VarToBool(value) ? (Flags | bit) : (Flags & ~bit); };
    if (n == QLatin1String("CENTER"))
        setFlag(pfCenter);
    else if (n == QLatin1String("KEEPASPECT"))
        setFlag(pfKeepAspect);
    else if (n == QLatin1String("BLOBTYPE"))
        BlobType = uint8_t(VarToInt(value));
}

QVariant TrpPictureView::GetPropertyValue(const QString& name)
{
    const QString n = name.toUpper();
    if (n == QLatin1String("CENTER"))
        return bool(Flags & pfCenter);
    if (n == QLatin1String("KEEPASPECT"))
        return bool(Flags & pfKeepAspect);
    if (n == QLatin1String("BLOBTYPE"))
        return int(BlobType);
    return TrpView::GetPropertyValue(name);
}

void TrpPictureView::CallMethod(const QString& name, const QVariant& p1, const QVariant& p2, const QVariant& p3,
                                QVariant& result)
{
    TrpView::CallMethod(name, p1, p2, p3, result);
    if (name == QLatin1String("LOADFROMFILE"))
        LoadFromFile(VarToStr(Context().ReportParser.Evaluate(VarToStr(p1))));
}

void TrpPictureView::LogOnce(const QString& why)
{
    if (logged_)
        return;
    logged_ = true;
    Context().Log(QStringLiteral("Картинка \"%1\" не показана: %2").arg(Name, why));
}

void TrpPictureView::LoadFromFile(const QString& fileName)
{
    Picture = TrpGraphic();
    logged_ = false;
    if (fileName.isEmpty())
        return;
    QFile file(fileName);
    if (!file.exists())
        return;
    const TrpGraphicKind kind = GraphicKindOfFile(fileName);
    if (kind == gkNone)
        return LogOnce(QStringLiteral("неизвестный вид файла \"%1\"").arg(fileName));
    if (file.size() > kMaxGraphicBytes)
        return LogOnce(QStringLiteral("файл \"%1\" слишком велик").arg(fileName));
    if (!file.open(QIODevice::ReadOnly))
        return LogOnce(QStringLiteral("файл \"%1\" не читается: %2").arg(fileName, file.errorString()));
    Picture = TrpGraphic(kind, file.readAll());
}

void TrpPictureView::LoadFromBlob(TField* field)
{
    Picture = TrpGraphic();
    logged_ = false;
    if (!field || field->IsNull())
        return;
    const QByteArray octets = field->BlobBytes();
    if (octets.size() > kMaxGraphicBytes)
        return LogOnce(QStringLiteral("поле \"%1\" слишком велико: %2 байт").arg(field->FieldName()).arg(octets.size()));
    Picture = TrpGraphic(KindOfBlobType(BlobType), BlobType == btBMP ? WithoutGraphicHeader(octets) : octets);
}

QRect TrpPictureView::GraphicRect(QSize graphicSize) const
{
    const int gw = graphicSize.width();
    const int gh = graphicSize.height();
    if (!(Flags & kFlagStretched)) {
        const int w = RoundInt(gw * ZoomX);
        const int h = RoundInt(gh * ZoomY);
        int x = Left, y = Top;
        if (Flags & pfCenter) {
            x += (Width - w) / 2;
            y += (Height - h) / 2;
        }
        return QRect(x, y, w, h);
    }
    int w = Width, h = Height;
    if ((Flags & pfKeepAspect) && gw > 0 && gh > 0) {
        const double kx = double(Width) / gw;
        const double ky = double(Height) / gh;
        if (kx >= ky)
            w = RoundInt(gw * ky);
        else
            h = RoundInt(gh * kx);
    }
    int x = Left, y = Top;
    if (Flags & pfCenter) {
        x += (Width - w) / 2;
        y += (Height - h) / 2;
    }
    return QRect(x, y, w, h);
}

void TrpPictureView::Draw(QPainter* canvas)
{
    const TrpViewScope current = BeginDraw(canvas);
    SaveAndScaleCoords();
    DrawBackground();
    const TrpRunContext& c = Context();
    if (Canvas && !Picture.IsEmpty()) {
        if (!Picture.Decode())
            LogOnce(Picture.Error());
        else if (!(OnPrinter && Picture.Kind() == gkIcon))   // icons show on screen only
            Picture.Draw(*Canvas, GraphicRect(Picture.Size()));
    } else if (Canvas && !c.PrintModeFlag) {
        Canvas->save();
        TrpFont font;
        font.Size = 8;
        Canvas->setFont(ReportQFont(font, FontPixelHeight(font.Size)));
        Canvas->setPen(Qt::black);
        Canvas->setClipRect(QRect(Left, Top, Width + 1, Height + 1), Qt::IntersectClip);
        Canvas->drawText(QRect(Left + 20, Top + 3, Width, Height), Qt::AlignLeft | Qt::AlignTop,
                         LoadFrResString(c, kEmptyPictureText));
        const QImage mark = c.Locale.LoadBitmap(QStringLiteral("RP_EMPTY"));
        if (!mark.isNull())
            Canvas->drawImage(QPoint(Left + 1, Top + 2), mark);
        Canvas->restore();
    }
    DrawFrame();
    RestoreCoords();
}

void TrpPictureView::SaveRecord(TrpRecordWriter& record)
{
    TrpView::SaveRecord(record);
    record.Byte(Picture.Kind());
    record.Byte(BlobType);
    const qint64 end = record.Position() + 4 + Picture.Data().size();
    if (end > INT32_MAX)
        throw EWriteError(QStringLiteral("Stream write error: a picture ends beyond 2 GB"));
    record.Int(int32_t(end));
    record.Bytes(Picture.Data());
}

void TrpPictureView::LoadFromStream(QIODevice& stream)
{
    TrpView::LoadFromStream(stream);
    EnterBlobTypeConstants(Context());
    const uint8_t kind = ReadFrByte(stream);
    if (RecordMajor * 10 + RecordMinor > 10)
        BlobType = ReadFrByte(stream);
    const qint64 end = ReadFrInt(stream);
    const qint64 start = stream.pos();
    if (end < start || end > stream.size())
        throw EReadError(QStringLiteral("Stream read error: a picture ends at %1, outside %2 to %3")
                             .arg(end).arg(start).arg(stream.size()));
    Picture = TrpGraphic();
    logged_ = false;
    if (kind > gkNone && kind <= gkJpeg) {
        if (end - start <= kMaxGraphicBytes)
            Picture = TrpGraphic(TrpGraphicKind(kind), ReadFrBytes(stream, end - start));
        else
            LogOnce(QStringLiteral("картинка слишком велика: %1 байт").arg(end - start));
    }
    if (!stream.seek(end))
        throw EReadError(QStringLiteral("Stream read error: cannot reach offset %1").arg(end));
}

void TrpPictureView::SaveToXml(QIODevice& stream)
{
    TrpView::SaveToXml(stream);
    if (!Picture.IsEmpty())
        WriteXmlAttribute(stream, "Picture.Propdata", StreamToHex(Picture.Data()));
    // A first line "[Source.Field]" names the data set and field the picture shows.
    const QString first = Memo.value(0).trimmed();
    const int dot = int(first.lastIndexOf(QLatin1Char('.')));
    if (first.startsWith(QLatin1Char('[')) && first.endsWith(QLatin1Char(']')) && dot > 1) {
        const QString owner = Report && Report->parent() ? Report->parent()->objectName() + QLatin1Char('.') : QString();
        WriteXmlAttribute(stream, "DataSet", owner + first.mid(1, dot - 1));
        WriteXmlAttribute(stream, "DataField", first.mid(dot + 1, first.size() - dot - 2));
    }
    const QString no = QStringLiteral("False");
    if (!(Flags & kFlagStretched))
        WriteXmlAttribute(stream, "Stretched", no);
    if (Flags & pfCenter)
        WriteXmlAttribute(stream, "Center", QStringLiteral("True"));
    if (!(Flags & pfKeepAspect))
        WriteXmlAttribute(stream, "KeepAspectRatio", no);
}
