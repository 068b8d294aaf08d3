// The view's construction, script properties and methods, copying and naming.
#include "report/objects/View.h"

#include <QBuffer>

#include "base/CodePage.h"
#include "report/engine/Report.h"
#include "report/expr/ReportVariant.h"
#include "report/file/Cp1251Text.h"
#include "report/runtime/LayoutLimits.h"
#include "report/runtime/RunContext.h"
#include "report/runtime/TextRoutines.h"

TrpView::TrpView()
{
    // No category, two decimals, and the decimal separator of the platform.
    const QChar separator = ReportDecimalSeparator();
    const int octet = separator.isSurrogate() ? -1 : UnicodeToOctet(separator.unicode(), CodePage::Cp1251);
    FormatCode = 512 + uint8_t(octet >= 0 ? octet : '?');
}

void TrpView::DeclareProperties()
{
    ClearProperties();
    AddProperty(QStringLiteral("Name"), pkNameText | pkText);
    for (const char* name : {"Left", "Top", "Width", "Height"})
        AddProperty(QLatin1String(name), pkPageUnits);
    AddProperty(QStringLiteral("Flags"), 0);
    if (TypeCode != otBand && TypeCode != otSubReport) {
        AddProperty(QStringLiteral("FrameTyp"), pkInteger);
        AddProperty(QStringLiteral("FrameWidth"), pkPageUnits | pkFloat);
        AddProperty(QStringLiteral("FrameColor"), pkColor);
        AddEnumProperty(QStringLiteral("FrameStyle"), QStringLiteral("psSolid;psDash;psDot;psDashDot;psDashDotDot;psDouble"),
                        {0, 1, 2, 3, 4, 5});
        AddProperty(QStringLiteral("FillColor"), pkColor);
        AddProperty(QStringLiteral("Tag"), pkNameText | pkHasEditor);
        AddEnumProperty(QStringLiteral("BandAlign"),
                        QStringLiteral("baNone;baLeft;baRight;baCenter;baWidth;baBottom;baTop;baRest"),
                        {0, 1, 2, 3, 4, 5, 6, 7});
    }
    AddProperty(QStringLiteral("Visible"), pkBoolean);
    AddProperty(QStringLiteral("Memo"), pkNameText | pkHasEditor);
    AddProperty(QStringLiteral("Memo.Count"), 0);
    AddProperty(QStringLiteral("Restrictions"), pkHasEditor);
}

void TrpView::SetPropertyValue(const QString& name, const QVariant& value)
{
    const QString n = name.toUpper();
    const auto integer = [&value] { return int(VarToInt(value)); };
    // A script's geometry is as untrusted as the template's.
    const auto pageUnits = [&value](const char* what) { return CheckedPageUnits(VarToInt(value), what); };
    if (n == QLatin1String("NAME"))
        Name = VarToStr(value);
    else if (n == QLatin1String("LEFT"))
        Left = pageUnits("Left");
    else if (n == QLatin1String("TOP"))
        Top = pageUnits("Top");
    else if (n == QLatin1String("WIDTH"))
        Width = pageUnits("Width");
    else if (n == QLatin1String("HEIGHT"))
        Height = pageUnits("Height");
    else if (n == QLatin1String("FLAGS"))
        Flags = uint16_t(integer());
    else if (n == QLatin1String("FRAMETYP"))
        FrameTyp = uint16_t(integer());
    else if (n == QLatin1String("FRAMEWIDTH"))
        FrameWidth = CheckedFrameWidth(VarToReal(value));
    else if (n == QLatin1String("FRAMECOLOR"))
        FrameColor = TColor(VarToInt(value));
    else if (n == QLatin1String("FRAMESTYLE"))
        FrameStyle = uint16_t(integer());
    else if (n == QLatin1String("FILLCOLOR"))
        FillColor = TColor(VarToInt(value));
    else if (n == QLatin1String("VISIBLE"))
        Visible = VarToBool(value);
    else if (n == QLatin1String("MEMO") || n == QLatin1String("DATAFIELD"))
        Memo = TextToLines(VarToStr(value));
    else if (n == QLatin1String("GAPX"))
        GapX = pageUnits("GapX");
    else if (n == QLatin1String("GAPY"))
        GapY = pageUnits("GapY");
    else if (n == QLatin1String("STRETCHED"))
        Flags = VarToBool(value) ? (Flags | kFlagStretched) : (Flags & ~kFlagStretched);
    else if (n == QLatin1String("BANDALIGN"))
        BandAlign = uint8_t(integer());
    else if (n == QLatin1String("TAG"))
        Tag = VarToStr(value);
}

QVariant TrpView::GetPropertyValue(const QString& name)
{
    const QString n = name.toUpper();
    if (n == QLatin1String("NAME"))
        return Name;
    if (n == QLatin1String("LEFT"))
        return Left;
    if (n == QLatin1String("TOP"))
        return Top;
    if (n == QLatin1String("WIDTH"))
        return Width;
    if (n == QLatin1String("HEIGHT"))
        return Height;
    if (n == QLatin1String("FLAGS"))
        return int(Flags);
    if (n == QLatin1String("FRAMETYP"))
        return int(FrameTyp);
    if (n == QLatin1String("FRAMEWIDTH"))
        return double(FrameWidth);
    if (n == QLatin1String("FRAMECOLOR"))
        return VarFromInt(FrameColor);
    if (n == QLatin1String("FRAMESTYLE"))
        return int(FrameStyle);
    if (n == QLatin1String("FILLCOLOR"))
        return VarFromInt(FillColor);
    if (n == QLatin1String("VISIBLE"))
        return Visible;
    if (n == QLatin1String("MEMO"))
        return LinesToText(Memo);
    if (n == QLatin1String("GAPX"))
        return GapX;
    if (n == QLatin1String("GAPY"))
        return GapY;
    if (n == QLatin1String("STRETCHED"))
        return bool(Flags & kFlagStretched);
    if (n == QLatin1String("BANDALIGN"))
        return int(BandAlign);
    if (n == QLatin1String("DATAFIELD"))
        return Memo.isEmpty() ? QString() : Memo.first();
    if (n == QLatin1String("MEMO.COUNT"))
        return int(Memo.size());
    if (n == QLatin1String("TAG"))
        return Tag;
    return VarNull();
}

void TrpView::CallMethod(const QString& name, const QVariant& p1, const QVariant& p2, const QVariant& p3,
                         QVariant& result)
{
    TrpObject::CallMethod(name, p1, p2, p3, result);
    if (VarIsNull(result))
        CallListMethod(Memo, name, QStringLiteral("MEMO"), p1, p2, p3, result);
    if (name == QLatin1String("HIDE"))
        SetPropertyValue(QStringLiteral("Visible"), false);
    else if (name == QLatin1String("SHOW"))
        SetPropertyValue(QStringLiteral("Visible"), true);
}

void TrpView::Assign(TrpView& source)
{
    Name = source.Name;
    TypeCode = source.TypeCode;
    Selected = source.Selected;
    Context().TemplateVersion = kCurrentTemplateVersion;
    source.PrintedForm = false;
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    source.SaveToStream(buffer);
    buffer.seek(0);
    PrintedForm = false;
    LoadFromStream(buffer);
}

void TrpView::SetBounds(int left, int top, int width, int height)
{
    Left = left;
    Top = top;
    Width = width;
    Height = height;
}

void TrpView::CreateUniqueName()
{
    constexpr int kMaxTries = 10000;
    for (int number = 1; number <= kMaxTries; ++number) {
        const QString candidate = BaseName + QString::number(number);
        if (!Report || !Report->FindObject(candidate)) {
            SetPropertyValue(QStringLiteral("Name"), candidate);
            return;
        }
    }
    SetPropertyValue(QStringLiteral("Name"), QString());
}

void TrpView::RunScript()
{
    if (!ScriptLines.isEmpty())
        Context().ReportInterpreter.RunScript(ScriptLines);
}
