#include "report/runtime/EngineRoutines.h"

#include "report/data/DBDataSet.h"
#include "report/data/Dataset.h"
#include "report/engine/Report.h"
#include "report/file/Cp1251Text.h"
#include "report/runtime/ComponentLookup.h"
#include "report/runtime/ReportErrors.h"
#include "report/runtime/RunContext.h"
#include "report/runtime/TextRoutines.h"

namespace {

constexpr int kMaxPropertyName = 255;

// "PAGE" followed by a number: that design page, or none.
bool IsPageName(const QString& objectName)
{
    return objectName.size() > 4 && objectName.startsWith(QLatin1String("PAGE"), Qt::CaseInsensitive)
        && objectName[4].isDigit();
}

TrpObject* DesignPage(const TrpReport* report, const QString& objectName)
{
    bool ok = false;
    const int number = objectName.mid(4).toInt(&ok);
    if (!ok || !report || number < 1 || number > int(report->Pages.size()))
        return nullptr;
    return report->Pages[size_t(number - 1)].get();
}

// The data band whose source a band of that type reads fields from, or none.
int DataBandTypeFor(int bandType)
{
    switch (bandType) {
    case btReportTitle: case btReportSummary: case btPageHeader: case btPageFooter:
    case btMasterHeader: case btMasterData: case btMasterFooter: case btGroupHeader: case btGroupFooter:
        return btMasterData;
    case btDetailData: case btDetailFooter:
        return btDetailData;
    case btSubDetailData: case btSubDetailFooter:
        return btSubDetailData;
    case btCrossData: case btCrossFooter:
        return btCrossData;
    default:
        return -1;
    }
}

int HexDigitValue(QChar c)
{
    const int code = c.toUpper().unicode();
    return code > '9' ? code - 55 : code - 48;
}

}  // namespace

void SetCalculationError(TrpRunContext& context, const QString& message)
{
    QString& text = context.ErrorText;
    context.ErrorFlag = true;
    text = LoadFrResString(context, 55200);
    QString objectPart;
    // The object an exception came out of, or else the one being worked on.
    TrpRunContext::TFailedView& failed = context.FailedView;
    if (!failed.Noted && context.CurrentView) {
        failed.Name = context.CurrentView->Name;
        failed.Memo = context.CurrentView->Memo;
        failed.Noted = true;
    }
    if (failed.Noted) {
        for (const QString& line : failed.Memo)
            text += QLatin1Char('\r') + line;
        objectPart = QStringLiteral("Object: ") + failed.Name + QLatin1Char('\r');
        failed = {};
    }
    const QString reportName = context.CurrentReport ? context.CurrentReport->objectName() : QString();
    text += QStringLiteral("\r\rReport: ") + reportName + QLatin1Char('\r') + objectPart + QLatin1Char('\r') + message;
    if (context.RootReport)
        context.RootReport->Terminated = true;
}

void SetCalculationError(TrpRunContext& context, const std::exception& error)
{
    SetCalculationError(context, QString::fromUtf8(error.what()));
}

TFoundDataSet FindDataSetByName(const TrpRunContext& context, const QString& name)
{
    TFoundDataSet found;
    if (!name.isEmpty() && name[0] >= QLatin1Char('1') && name[0] <= QLatin1Char('9')) {
        bool ok = false;
        const int count = name.toInt(&ok);
        if (!ok)
            throw ConvertError(QStringLiteral("'%1' is not a valid integer value").arg(name));
        auto counting = std::make_unique<TrpUserDataset>();
        counting->RangeEnd = reCount;
        counting->RangeEndCount = count;
        found.Owned = std::move(counting);
        found.DataSet = found.Owned.get();
    } else if (QObject* component = FindReportComponent(context, ReportOwnerComponent(context), name)) {
        found.DataSet = qobject_cast<TrpDataset*>(component);
        if (!found.DataSet)
            throw EInvalidCast(QStringLiteral("Invalid class typecast: %1 is no data source").arg(name));
    }
    if (found.DataSet)
        found.DataSet->Init();
    return found;
}

TDataSet* CurrentBandDataSet(const TrpRunContext& context)
{
    if (!context.CurrentReport)
        return nullptr;
    TrpDataset* candidate = context.CurrentReport->Dataset;
    const TrpPage* page = context.CurrentPage;
    if (context.CurrentBand && page && page->Type == ptReport) {
        const int dataBand = DataBandTypeFor(context.CurrentBand->BandType);
        // A page without a data band of that level keeps the report's own source.
        if (dataBand >= 0 && page->Bands[size_t(dataBand)])
            candidate = page->Bands[size_t(dataBand)]->DataSet;
    }
    const auto* tableSource = qobject_cast<TrpDBDataSet*>(candidate);
    return tableSource ? tableSource->TableOrNone() : nullptr;
}

void ResolveObjectProperty(const TrpRunContext& context, const QString& fullName, TrpObject*& object,
                           QString& propertyName)
{
    TrpView* current = context.CurrentView;
    const TrpReport* report = context.CurrentReport;
    object = current;
    propertyName = fullName;
    const qsizetype dot = fullName.indexOf(QLatin1Char('.'));
    if (dot >= 0) {
        const QString objectName = fullName.left(dot);
        propertyName = fullName.mid(dot + 1).left(kMaxPropertyName);
        if (IsPageName(objectName)) {
            object = DesignPage(report, objectName);
        } else {
            object = report ? report->FindObject(objectName) : nullptr;
            if (!object && current) {
                EnsurePropertiesDeclared(current);
                if (current->FindProperty(objectName)) {
                    object = current;
                    propertyName = fullName;
                }
            }
        }
    }
    EnsurePropertiesDeclared(object);
}

QString TextToHex(const QString& text)
{
    return QString::fromLatin1(ToCp1251(text).toHex().toUpper());
}

QString HexToText(const QString& hex)
{
    QByteArray octets;
    for (qsizetype i = 0; i + 1 < hex.size(); i += 2)
        octets.append(char((HexDigitValue(hex[i]) << 4) + HexDigitValue(hex[i + 1])));
    return FromCp1251(octets);
}
