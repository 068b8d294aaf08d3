// The script properties of a design page. A report page shows its paper, margins, columns and
// script; a dialog page its form. Writing the paper, the margins or the columns only stores the
// value: the paper changes with the next ApplyPaper.
#include "report/engine/Page.h"

#include "base/Rounding.h"
#include "report/expr/ReportVariant.h"
#include "report/runtime/LayoutLimits.h"
#include "report/runtime/RunContext.h"
#include "report/runtime/TextRoutines.h"

namespace {

// Script widths and heights count 18 units to 5 mm exactly.
int TenthsToScriptUnits(int tenths)
{
    return int(Round(tenths / 10.0 * 18 / 5));
}

int ScriptUnitsToTenths(const QVariant& value, const char* what)
{
    const double units = InLayoutRange(VarToReal(value), 0.0, double(kMaxPaperTenths) * 18 / 50, what);
    return int(Round(units * 10 * 5 / 18));
}

}  // namespace

void TrpPage::DeclareProperties()
{
    ClearProperties();
    AddEnumProperty(QStringLiteral("Type"), QStringLiteral("ptReport;ptDialog"), {int(ptReport), int(ptDialog)});
    AddProperty(QStringLiteral("Visible"), pkBoolean);
    if (Type == ptDialog) {
        AddEnumProperty(QStringLiteral("BorderStyle"), QStringLiteral("bsDialog;bsSizeable"),
                        {int(bsDialog), int(bsSizeable)});
        AddProperty(QStringLiteral("Caption"), pkText);
        AddProperty(QStringLiteral("Color"), pkColor);
        for (const char* name : {"Left", "Top", "Width", "Height"})
            AddProperty(QString::fromLatin1(name), pkInteger);
        AddEnumProperty(QStringLiteral("Position"), QStringLiteral("poDesigned;poScreenCenter"),
                        {int(poDesigned), int(poScreenCenter)});
        AddProperty(QStringLiteral("OnActivate"), pkHasEditor);
        return;
    }
    const TrpPrinter& printer = Context().ReportPrinter;
    QVariantList paperIds;
    for (int id : printer.PaperIds)
        paperIds.append(id);
    AddEnumProperty(QStringLiteral("Size"),
                    printer.PaperNames.isEmpty() ? QStringLiteral("No data") : printer.PaperNames.join(QLatin1Char(';')),
                    paperIds);
    for (const char* name : {"Width", "Height", "LeftMargin", "TopMargin", "RightMargin", "BottomMargin"})
        AddProperty(QString::fromLatin1(name), pkPageUnits);
    AddEnumProperty(QStringLiteral("Orientation"), QStringLiteral("poPortrait;poLandscape"),
                    {int(poPortrait), int(poLandscape)});
    AddProperty(QStringLiteral("PrintToPrevPage"), pkBoolean);
    AddProperty(QStringLiteral("StretchToPrintable"), pkBoolean);
    AddProperty(QStringLiteral("Columns"), pkInteger);
    AddProperty(QStringLiteral("ColumnWidth"), pkPageUnits);
    AddProperty(QStringLiteral("ColumnGap"), pkPageUnits);
    AddProperty(QStringLiteral("OnBeforePrint"), pkHasEditor);
}

void TrpPage::SetPropertyValue(const QString& name, const QVariant& value)
{
    const QString n = name.toUpper();
    const auto integer = [&value] { return int(VarToInt(value)); };
    // A script's geometry is as untrusted as the template's.
    const auto pageUnits = [&value](const char* what) { return CheckedPageUnits(VarToInt(value), what); };
    const bool dialog = Type == ptDialog;
    if (n == QLatin1String("TYPE"))
        Type = uint8_t(InLayoutRange(VarToInt(value), ptReport, ptDialog, "Type"));
    else if (n == QLatin1String("VISIBLE"))
        Visible = VarToBool(value);
    else if (n == QLatin1String("SIZE"))
        Size = integer();
    else if (n == QLatin1String("WIDTH") && dialog)
        Width = pageUnits("Width");
    else if (n == QLatin1String("WIDTH"))
        PaperWidth = ScriptUnitsToTenths(value, "Width");
    else if (n == QLatin1String("HEIGHT") && dialog)
        Height = pageUnits("Height");
    else if (n == QLatin1String("HEIGHT"))
        PaperHeight = ScriptUnitsToTenths(value, "Height");
    else if (n == QLatin1String("LEFTMARGIN"))
        LeftMargin = pageUnits("LeftMargin");
    else if (n == QLatin1String("TOPMARGIN"))
        TopMargin = pageUnits("TopMargin");
    else if (n == QLatin1String("RIGHTMARGIN"))
        RightMargin = pageUnits("RightMargin");
    else if (n == QLatin1String("BOTTOMMARGIN"))
        BottomMargin = pageUnits("BottomMargin");
    else if (n == QLatin1String("ORIENTATION"))
        Orientation = uint8_t(integer());
    else if (n == QLatin1String("PRINTTOPREVPAGE"))
        PrintToPrevPage = VarToBool(value);
    else if (n == QLatin1String("STRETCHTOPRINTABLE"))
        MarginsOn = !VarToBool(value);
    else if (n == QLatin1String("COLUMNS"))
        Columns = InLayoutRange(VarToInt(value), 0, kMaxColumns, "Columns");
    else if (n == QLatin1String("COLUMNWIDTH"))
        ColumnWidth = pageUnits("ColumnWidth");
    else if (n == QLatin1String("COLUMNGAP"))
        ColumnGap = pageUnits("ColumnGap");
    else if (n == QLatin1String("ONBEFOREPRINT") || n == QLatin1String("ONACTIVATE"))
        Script = TextToLines(VarToStr(value));
    else if (n == QLatin1String("BORDERSTYLE"))
        BorderStyle = uint8_t(integer());
    else if (n == QLatin1String("CAPTION"))
        Caption = VarToStr(value);
    else if (n == QLatin1String("COLOR"))
        Color = uint32_t(VarToInt(value));
    else if (n == QLatin1String("LEFT"))
        Left = pageUnits("Left");
    else if (n == QLatin1String("TOP"))
        Top = pageUnits("Top");
    else if (n == QLatin1String("POSITION"))
        Position = uint8_t(integer());
}

QVariant TrpPage::GetPropertyValue(const QString& name)
{
    const QString n = name.toUpper();
    const bool dialog = Type == ptDialog;
    // While a report is printed the margins read as the limits they give.
    const bool printing = Context().PrintModeFlag;
    if (n == QLatin1String("TYPE"))
        return int(Type);
    if (n == QLatin1String("VISIBLE"))
        return Visible;
    if (n == QLatin1String("SIZE"))
        return Size;
    if (n == QLatin1String("WIDTH"))
        return dialog ? Width : TenthsToScriptUnits(PaperWidth);
    if (n == QLatin1String("HEIGHT"))
        return dialog ? Height : TenthsToScriptUnits(PaperHeight);
    if (n == QLatin1String("LEFTMARGIN"))
        return printing ? LeftLimit() : LeftMargin;
    if (n == QLatin1String("TOPMARGIN"))
        return printing ? TopLimit() : TopMargin;
    if (n == QLatin1String("RIGHTMARGIN"))
        return printing ? RightLimit() : RightMargin;
    if (n == QLatin1String("BOTTOMMARGIN"))
        return printing ? BottomLimit() : BottomMargin;
    if (n == QLatin1String("ORIENTATION"))
        return int(Orientation);
    if (n == QLatin1String("PRINTTOPREVPAGE"))
        return PrintToPrevPage;
    if (n == QLatin1String("STRETCHTOPRINTABLE"))
        return !MarginsOn;
    if (n == QLatin1String("COLUMNS"))
        return Columns;
    if (n == QLatin1String("COLUMNGAP"))
        return ColumnGap;
    if (n == QLatin1String("ONBEFOREPRINT") || n == QLatin1String("ONACTIVATE"))
        return LinesToText(Script);
    if (n == QLatin1String("BORDERSTYLE"))
        return int(BorderStyle);
    if (n == QLatin1String("CAPTION"))
        return Caption;
    if (n == QLatin1String("COLOR"))
        return VarFromInt(Color);
    if (n == QLatin1String("LEFT"))
        return Left;
    if (n == QLatin1String("TOP"))
        return Top;
    if (n == QLatin1String("POSITION"))
        return int(Position);
    // COLUMNWIDTH among them: it can be written, but reading it gives no value.
    return VarNull();
}
