// The rich-text object's construction, script properties, record, XML attributes and the rich
// text it takes from a blob field.
#include "report/objects/RichView.h"

#include <QBuffer>
#include <QPainter>

#include "report/data/DataSetRelations.h"
#include "report/expr/ReportVariant.h"
#include "report/file/Cp1251Text.h"
#include "report/file/RecordWriter.h"
#include "report/file/RtfReader.h"
#include "report/file/RtfWriter.h"
#include "report/file/StreamPrimitives.h"
#include "report/objects/ViewXml.h"
#include "report/runtime/ComponentLookup.h"
#include "report/runtime/ReportErrors.h"
#include "report/runtime/RunContext.h"
#include "report/runtime/TextRoutines.h"

namespace {

constexpr uint8_t kBinaryValue = 10;   // the value type of a binary property in a component stream

// The rich text as a component stream stores its binary property "RichEdit".
QByteArray RichEditProperty(const QByteArray& rtf)
{
    const QByteArray name = QByteArrayLiteral("RichEdit");
    QBuffer block;
    block.open(QIODevice::WriteOnly);
    WriteFrByte(block, uint8_t(name.size()));
    WriteFrBytes(block, name);
    WriteFrByte(block, kBinaryValue);
    WriteFrInt(block, int32_t(rtf.size()));
    WriteFrBytes(block, rtf);
    return block.data();
}

// A field reference with or without its brackets.
QString Unbracketed(const QString& reference)
{
    if (reference.size() > 1 && reference.startsWith(QLatin1Char('[')) && reference.endsWith(QLatin1Char(']')))
        return reference.mid(1, reference.size() - 2);
    return reference;
}

}  // namespace

std::unique_ptr<QTextDocument> NewRichText()
{
    auto text = std::make_unique<QTextDocument>();
    text->setUndoRedoEnabled(false);
    text->setDefaultFont(QFont(QStringLiteral("Arial"), 10));
    return text;
}

void CopyRich(std::unique_ptr<QTextDocument>& destination, const QTextDocument& source)
{
    destination.reset(source.clone());
    destination->setUndoRedoEnabled(false);
}

QImage RichButtonImage()
{
    // A page with lines of text in two colours and sizes.
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(Qt::gray);
    painter.drawRect(1, 0, 13, 15);
    painter.fillRect(3, 2, 9, 3, Qt::darkBlue);
    painter.fillRect(3, 7, 7, 1, Qt::black);
    painter.fillRect(3, 9, 9, 1, Qt::darkRed);
    painter.fillRect(3, 11, 8, 1, Qt::black);
    painter.fillRect(3, 13, 5, 1, Qt::black);
    return image;
}

TrpRichView::TrpRichView() : RichEdit(NewRichText()), WorkRich(NewRichText())
{
    BaseName = QStringLiteral("Rich");
}

void TrpRichView::DeclareProperties()
{
    TrpView::DeclareProperties();
    AddProperty(QStringLiteral("GapX"), pkInteger);
    AddProperty(QStringLiteral("GapY"), pkInteger);
    AddProperty(QStringLiteral("Lines"), pkHasEditor, [this] { ShowEditor(); });
    AddProperty(QStringLiteral("Stretched"), pkBoolean);
    AddProperty(QStringLiteral("TextOnly"), pkBoolean);
    AddProperty(QStringLiteral("DataField"), pkHasEditor);
}

void TrpRichView::SetPropertyValue(const QString& name, const QVariant& value)
{
    TrpView::SetPropertyValue(name, value);
    if (name.toUpper() == QLatin1String("TEXTONLY"))
        Flags = VarToBool(value) ? (Flags | rfTextOnly) : (Flags & ~rfTextOnly);
}

QVariant TrpRichView::GetPropertyValue(const QString& name)
{
    const QVariant value = TrpView::GetPropertyValue(name);
    if (VarIsNull(value) && name.toUpper() == QLatin1String("TEXTONLY"))
        return bool(Flags & rfTextOnly);
    return value;
}

void TrpRichView::ShowEditor()
{
    if (const auto& editor = Context().RichEditor)
        if (std::unique_ptr<QTextDocument> edited = editor(*RichEdit)) {
            CopyRich(RichEdit, *edited);
            prepared_.reset();
        }
}

std::unique_ptr<QTextDocument> ReadRichText(QByteArrayView octets)
{
    std::unique_ptr<QTextDocument> text = NewRichText();
    if (IsRtf(octets))
        ReadRtf(octets, *text);
    else
        text->setPlainText(FromCp1251(octets.toByteArray()));
    return text;
}

void TrpRichView::LoadRichEdit(QByteArrayView octets)
{
    prepared_.reset();
    try {
        RichEdit = ReadRichText(octets);
    } catch (const EReadError& error) {
        RichEdit = NewRichText();
        Context().Log(QStringLiteral("Текст \"%1\" не показан: %2").arg(Name, QString::fromUtf8(error.what())));
    }
}

void TrpRichView::LoadFromBlob(TField* field)
{
    QBuffer octets;
    octets.open(QIODevice::ReadWrite);
    AssignBlobTo(field, octets);
    LoadRichEdit(octets.data());
}

void TrpRichView::SaveRecord(TrpRecordWriter& record)
{
    TrpView::SaveRecord(record);
    const QTextDocument& text = SaveFromWork ? *WorkRich : *RichEdit;
    const QByteArray rtf = text.isEmpty() ? QByteArray() : WriteRtf(text);
    record.Byte(rtf.isEmpty() ? 0 : 1);
    const qint64 end = record.Position() + 4 + rtf.size();
    if (end > INT32_MAX)
        throw EWriteError(QStringLiteral("Ошибка записи потока: форматированный текст кончается за 2 ГБ"));
    record.Int(int32_t(end));
    record.Bytes(rtf);
}

void TrpRichView::LoadFromStream(QIODevice& stream)
{
    TrpView::LoadFromStream(stream);
    const bool hasText = ReadFrByte(stream) == 1;
    const qint64 end = ReadFrInt(stream);
    const qint64 start = stream.pos();
    if (end < start || end > stream.size())
        throw EReadError(QStringLiteral("Ошибка чтения потока: форматированный текст кончается на %1, вне %2–%3")
                             .arg(end)
                             .arg(start)
                             .arg(stream.size()));
    LoadRichEdit(hasText ? ReadFrBytes(stream, end - start) : QByteArray());
    if (!stream.seek(end))
        throw EReadError(QStringLiteral("Ошибка чтения потока: нет смещения %1").arg(end));
}

void TrpRichView::SaveToXml(QIODevice& stream)
{
    TrpView::SaveToXml(stream);
    WriteXmlAttribute(stream, "Propdata", StreamToHex(RichEditProperty(WriteRtf(*RichEdit))));
    if (Flags & kFlagStretched)
        WriteXmlAttribute(stream, "StretchMode", QStringLiteral("smMaxHeight"));
    if (Flags & rfTextOnly)
        WriteXmlAttribute(stream, "AllowExpressions", QStringLiteral("False"));
    if (Memo.isEmpty())
        return;
    TDataSet* dataSet = nullptr;
    QString field;
    ResolveFieldReference(Context(), Unbracketed(Memo.first()), dataSet, field);
    if (!dataSet || field.isEmpty())
        return;
    const QString owner = dataSet->parent() ? dataSet->parent()->objectName() : QString();
    WriteXmlAttribute(stream, "DataSet", owner + QLatin1Char('.') + dataSet->objectName());
    WriteXmlAttribute(stream, "DataField", XmlEscape(field));
}
