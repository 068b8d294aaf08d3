// The template stream of a report: the version byte, the pages section (the flags, the printer
// name, the page records, the object records, the dictionary record, the end mark) and the
// report information. Every template is read from and written to a buffer of its own, so the
// objects' end offsets count from the version byte wherever the stream stands.
#include <cstring>
#include <utility>

#include <QBuffer>
#include <QtEndian>

#include "report/engine/Report.h"
#include "report/file/Cp1251Text.h"
#include "report/file/StreamPrimitives.h"
#include "report/objects/ObjectRegistry.h"
#include "report/runtime/CurrentScope.h"
#include "report/runtime/EngineRoutines.h"
#include "report/runtime/ErrorBox.h"
#include "report/runtime/ReportErrors.h"
#include "report/runtime/RunContext.h"
#include "report/runtime/TextRoutines.h"

namespace {

constexpr int kOldestVersion = 21;   // a first octet below it belongs to the pages section
constexpr int kFirstVersionWithEndOffsets = 24;
constexpr int kMaxPageIndex = 255;   // an object names its page in one octet

constexpr uint8_t kTagPage = 255;
constexpr uint8_t kTagDictionary = 254;
constexpr uint8_t kTagDataManager = 253;   // never written; ends the section
constexpr uint8_t kTagEnd = 252;
constexpr uint8_t kLastObjectTag = otAddIn;

constexpr uint16_t kWordTrue = 0xFFFF;
constexpr uint8_t kGenerator = 88;
const QString kVirtualPrinterMark = QStringLiteral("\001");
// A framed memo of old templates is an ordinary memo followed by eight octets of its own.
constexpr int kFramedMemoTrailer = 8;

// The frame of the template is broken: nothing after it can be found, so the whole template is
// refused, whatever the version.
class ETemplateFrame : public EReadError {
public:
    using EReadError::EReadError;
};

QString ReadInfoText(QIODevice& stream)
{
    const uint16_t length = ReadFrWord(stream);
    return FromCp1251(ReadFrBytes(stream, length));
}

void WriteInfoText(QIODevice& stream, const QString& text)
{
    const QByteArray octets = ToCp1251(text);
    if (octets.size() > kMaxFrLength)
        throw EWriteError(QStringLiteral("Текст сведений об отчёте длиннее %1 байт").arg(kMaxFrLength));
    WriteFrWord(stream, int(octets.size()));
    WriteFrBytes(stream, octets);
}

TDateTime ReadDateTime(QIODevice& stream)
{
    const QByteArray octets = ReadFrBytes(stream, sizeof(double));
    const quint64 bits = qFromLittleEndian<quint64>(octets.constData());
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void WriteDateTime(QIODevice& stream, TDateTime value)
{
    quint64 bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    char octets[sizeof bits];
    qToLittleEndian(bits, octets);
    WriteFrBytes(stream, QByteArray(octets, sizeof octets));
}

QString ReplacedClassName(const QString& className)
{
    const QString upper = className.toUpper();
    if (upper == QLatin1String("TRPBDELOOKUPCONTROL") || upper == QLatin1String("TRPIBXLOOKUPCONTROL"))
        return QStringLiteral("TrpDBLookupControl");
    return className;
}

}  // namespace

bool TrpReport::LoadFromStream(QIODevice& stream)
{
    TrpRunContext& c = context_;
    c.PrintModeFlag = false;
    if (!c.PrinterReady)
        StartReportPrinter(c);
    const TrpCurrentScope<TrpReport> currentReport(c.CurrentReport, this);
    Dictionary.Clear();
    QBuffer own;
    own.setData(stream.readAll());
    own.open(QIODevice::ReadOnly);
    if (own.size() == 0)
        return true;
    int version = ReadFrByte(own);
    if (version < kOldestVersion) {
        version = kOldestVersion;
        own.seek(0);
    }
    c.TemplateVersion = version;
    c.ErrorFlag = false;
    c.ErrorText.clear();
    const QString unsupported = LoadFrResString(c, 55345);   // "Unsupported template format"
    if (version > kCurrentTemplateVersion) {
        ShowErrorBox(c, unsupported);
        return false;
    }
    try {
        ReadTemplate(own);
        return true;
    } catch (const EClassNotFound& error) {
        ShowErrorBox(c, QStringLiteral("Report contains the following non-plugged components:\r") +
                            QString::fromUtf8(error.what()) +
                            QStringLiteral("You must include these components into your project."));
    } catch (const std::exception& error) {
        // The box says what the user needs; the log keeps where the template broke.
        c.Log(unsupported + QStringLiteral(": ") + QString::fromUtf8(error.what()));
        ShowErrorBox(c, unsupported);
        ClearPages();
        AddPage();
    }
    return false;
}

void TrpReport::ReadTemplate(QIODevice& stream)
{
    LoadPagesSection(stream);
    if (stream.atEnd()) {
        ResetReportInfo();
        return;
    }
    TrpReportInfo& info = ReportInfo;
    for (QString* text : {&info.Comment, &info.Name, &info.Author, &info.VersionMajor, &info.VersionMinor,
                          &info.VersionRelease, &info.VersionBuild})
        *text = ReadInfoText(stream);
    info.Password = HexToText(ReadInfoText(stream));
    info.Generator = ReadFrByte(stream);
    info.Protected = ReadFrByte(stream);
    info.Created = ReadDateTime(stream);
    info.LastChange = ReadDateTime(stream);
}

void TrpReport::LoadPagesSection(QIODevice& stream)
{
    TrpRunContext& c = context_;
    const TrpCurrentScope<TrpPage> currentPage(c.CurrentPage);
    ClearTemplate();
    PrintToDefault = ReadFrWord(stream) != 0;
    TwoPass = ReadFrWord(stream) != 0;
    QString printer = ReadFrStringVer(stream, c.TemplateVersion);
    if (printer == kVirtualPrinterMark)
        printer = LoadFrResString(c, 55007);   // "Virtual printer"
    SelectPrinter(printer);
    while (!stream.atEnd()) {
        const uint8_t tag = ReadFrByte(stream);
        if (tag == kTagPage) {
            c.CurrentPage = AddPage();
            c.CurrentPage->LoadFromStream(stream);
        } else if (tag == kTagDictionary) {
            Dictionary.LoadFromStream(stream);
        } else if (tag == kTagDataManager) {
            ReadFrByte(stream);
            break;
        } else if (tag == kTagEnd) {
            break;
        } else if (tag > kLastObjectTag) {
            throw ETemplateFrame(QStringLiteral("Неизвестная запись %1 по смещению %2").arg(tag).arg(stream.pos() - 1));
        } else {
            LoadObjectRecord(stream, tag);
        }
    }
    if (c.ErrorFlag)
        throw EClassNotFound(c.ErrorText);
    for (const auto& page : Pages)
        for (const auto& object : page->Objects)
            object->AfterLoad();
}

void TrpReport::LoadObjectRecord(QIODevice& stream, uint8_t type)
{
    TrpRunContext& c = context_;
    const bool hasEndOffset = c.TemplateVersion >= kFirstVersionWithEndOffsets;
    qint64 endOffset = -1;   // not read yet
    // An end offset must lie ahead of the offset field and inside the stream; 0 says none.
    const auto readEndOffset = [&] {
        endOffset = ReadFrInt(stream);
        if (endOffset != 0 && (endOffset < stream.pos() || endOffset > stream.size()))
            throw ETemplateFrame(QStringLiteral("Конец записи объекта (%1) вне шаблона").arg(endOffset));
    };
    const TrpCurrentScope<TrpPage> currentPage(c.CurrentPage);
    TrpPage* page = nullptr;
    TrpView* view = nullptr;
    try {
        QString className;
        bool framedMemo = false;
        if (type == otAddIn) {
            className = ReplacedClassName(ReadFrStringVer(stream, c.TemplateVersion));
            framedMemo = className.toUpper() == QLatin1String("TRPFRAMEDMEMOVIEW");
            if (framedMemo)
                type = otMemo;
        }
        const uint8_t pageIndex = ReadFrByte(stream);
        if (pageIndex >= Pages.size())
            throw EReadError(QStringLiteral("Объект страницы %1, которой нет в шаблоне").arg(pageIndex + 1));
        page = Pages[pageIndex].get();
        c.CurrentPage = page;
        std::unique_ptr<TrpView> made = CreateReportObject(c, type, className);
        if (!made)
            throw EReadError(QStringLiteral("Неизвестный тип объекта %1").arg(type));
        view = page->AddObject(std::move(made));
        if (hasEndOffset)
            readEndOffset();
        try {
            view->LoadFromStream(stream);
        } catch (...) {
            view->SetPropertyValue(QStringLiteral("Name"), view->Name);
            throw;
        }
        view->SetPropertyValue(QStringLiteral("Name"), view->Name);
        if (framedMemo)
            ReadFrBytes(stream, kFramedMemoTrailer);
        if (endOffset > 0) {
            if (stream.pos() > endOffset)
                throw ETemplateFrame(QStringLiteral("Объект «%1» длиннее своей записи").arg(view->Name));
            stream.seek(endOffset);
        }
    } catch (const ETemplateFrame&) {
        throw;
    } catch (const EOutOfRange&) {
        throw;   // not a record cut short: a template the engine cannot lay out
    } catch (const std::exception&) {
        // Without an end offset the next record cannot be found: the error stops the reading.
        if (!hasEndOffset)
            throw;
        if (view) {
            if (c.CurrentView == view)
                c.CurrentView = nullptr;
            std::erase_if(page->Objects, [view](const auto& object) { return object.get() == view; });
        }
        if (endOffset < 0)
            readEndOffset();
        if (endOffset == 0)
            throw ETemplateFrame(QStringLiteral("Объект без конца записи нельзя пропустить"));
        stream.seek(endOffset);
    }
}

void TrpReport::SaveToStream(QIODevice& stream)
{
    TrpRunContext& c = context_;
    const TrpCurrentScope<TrpReport> currentReport(c.CurrentReport, this);
    c.TemplateVersion = kCurrentTemplateVersion;
    QBuffer own;
    own.open(QIODevice::ReadWrite);
    WriteFrByte(own, kCurrentTemplateVersion);
    SavePagesSection(own);
    WriteFrByte(own, kTagEnd);
    TrpReportInfo& info = ReportInfo;
    for (const QString* text : {&info.Comment, &info.Name, &info.Author, &info.VersionMajor, &info.VersionMinor,
                                &info.VersionRelease, &info.VersionBuild})
        WriteInfoText(own, *text);
    WriteInfoText(own, TextToHex(info.Password));
    info.Generator = kGenerator;
    WriteFrByte(own, info.Generator);
    WriteFrByte(own, info.Protected);
    WriteDateTime(own, info.Created);
    info.LastChange = Now();
    WriteDateTime(own, info.LastChange);
    WriteFrBytes(stream, own.data());
}

void TrpReport::SavePagesSection(QIODevice& stream)
{
    TrpRunContext& c = context_;
    if (Pages.size() > kMaxPageIndex + 1)
        throw EWriteError(QStringLiteral("В шаблоне больше %1 страниц").arg(kMaxPageIndex + 1));
    WriteFrWord(stream, PrintToDefault ? kWordTrue : 0);
    WriteFrWord(stream, TwoPass ? kWordTrue : 0);
    const TrpPrinter& printer = c.ReportPrinter;
    QString printerName = printer.Printers.value(printer.CurrentIndex);
    if (printerName == LoadFrResString(c, 55007))
        printerName = kVirtualPrinterMark;
    WriteFrString(stream, printerName);
    for (const auto& page : Pages) {
        WriteFrByte(stream, kTagPage);
        page->SaveToStream(stream);
    }
    for (size_t index = 0; index < Pages.size(); ++index)
        for (const auto& object : Pages[index]->Objects) {
            WriteFrByte(stream, object->TypeCode);
            if (object->TypeCode == otAddIn)
                WriteFrString(stream, object->ClassName());
            WriteFrByte(stream, uint8_t(index));
            const qint64 endOffsetAt = stream.pos();
            WriteFrInt(stream, int32_t(index));
            // A template holds the design form, whatever a build left set.
            const bool printedForm = std::exchange(object->PrintedForm, false);
            object->SaveToStream(stream);
            object->PrintedForm = printedForm;
            const qint64 end = stream.pos();
            stream.seek(endOffsetAt);
            WriteFrInt(stream, int32_t(end));
            stream.seek(end);
        }
    WriteFrByte(stream, kTagDictionary);
    Dictionary.SaveToStream(stream);
}

void TrpReport::ReadReportForm(QIODevice& stream)
{
    ReadFrInt(stream);   // the version the window was stored with; the template has its own
    if (!StoreInDFM)
        return;
    const int32_t size = ReadFrInt(stream);
    if (size < 0)
        throw EReadError(QStringLiteral("Шаблон отчёта отрицательной длины (%1)").arg(size));
    // A damaged definition must not make the reader set aside octets it does not have.
    if (const qint64 left = stream.size() - stream.pos(); !stream.isSequential() && size > left)
        throw EReadError(QStringLiteral("Шаблон отчёта длиной %1 байт, а в потоке осталось %2").arg(size).arg(left));
    pendingTemplate_ = std::make_unique<QByteArray>(ReadFrBytes(stream, size));
}

void TrpReport::WriteReportForm(QIODevice& stream)
{
    WriteFrInt(stream, kCurrentTemplateVersion);
    if (!StoreInDFM)
        return;
    QBuffer own;
    own.open(QIODevice::WriteOnly);
    SaveToStream(own);
    WriteFrInt(stream, int32_t(own.size()));
    WriteFrBytes(stream, own.data());
}

void TrpReport::Loaded()
{
    if (!StoreInDFM || !pendingTemplate_)
        return;
    QBuffer own(pendingTemplate_.get());
    own.open(QIODevice::ReadOnly);
    LoadFromStream(own);
    pendingTemplate_.reset();
}

void TrpReport::ClearTemplate()
{
    ClearPages();
    Dictionary.Clear();
    TwoPass = false;
    const uint8_t generator = ReportInfo.Generator;
    ResetReportInfo();
    ReportInfo.Generator = generator;
}

void TrpReport::ResetReportInfo()
{
    ReportInfo = TrpReportInfo{};
    ReportInfo.Created = ReportInfo.LastChange = Now();
}
