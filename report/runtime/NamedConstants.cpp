#include "report/runtime/NamedConstants.h"

#include <iterator>

#include "report/expr/ReportVariant.h"
#include "report/expr/Variables.h"

namespace {

struct TConstant {
    const char* name;
    qint64 value;
};

// Colours in 0x00BBGGRR; the system colours are 0xFF000000 plus their index, kept as the signed
// 32-bit numbers a colour property takes.
constexpr TConstant kIntegerConstants[] = {
    {"clWhite", 0xFFFFFF}, {"clBlack", 0}, {"clMaroon", 0x80}, {"clGreen", 0x8000}, {"clOlive", 0x8080},
    {"clNavy", 0x800000}, {"clPurple", 0x800080}, {"clTeal", 0x808000}, {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0}, {"clRed", 0xFF}, {"clLime", 0xFF00}, {"clYellow", 0xFFFF}, {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF}, {"clAqua", 0xFFFF00}, {"clTransparent", 0x1FFFFFFF},
    {"mrNone", 0}, {"mrOk", 1}, {"mrCancel", 2}, {"mrYes", 6}, {"mrNo", 7},
    {"fsBold", 2}, {"fsItalic", 1}, {"fsUnderline", 4}, {"fsStrikeOut", 8},
    {"rpftNone", 0}, {"rpftRight", 1}, {"rpftBottom", 2}, {"rpftLeft", 4}, {"rpftTop", 8},
    {"rptaLeft", 0}, {"rptaRight", 1}, {"rptaCenter", 2}, {"rptaVertical", 4}, {"rptaMiddle", 8}, {"rptaDown", 16},
    {"baNone", 0}, {"baLeft", 1}, {"baRight", 2}, {"baCenter", 3}, {"baWidth", 4}, {"baBottom", 5}, {"baTop", 6},
    {"baRest", 7},
    {"psSolid", 0}, {"psDash", 1}, {"psDot", 2}, {"psDashDot", 3}, {"psDashDotDot", 4}, {"psDouble", 5},
    {"mb_Ok", 0}, {"mb_OkCancel", 1}, {"mb_YesNo", 4}, {"mb_YesNoCancel", 3}, {"mb_IconError", 16},
    {"mb_IconQuestion", 32}, {"mb_IconInformation", 64}, {"mb_IconWarning", 48},
};

// In the order of their indexes 0 to 24.
constexpr const char* kSystemColours[] = {
    "clScrollBar", "clBackground", "clActiveCaption", "clInactiveCaption", "clMenu", "clWindow",
    "clWindowFrame", "clMenuText", "clWindowText", "clCaptionText", "clActiveBorder", "clInactiveBorder",
    "clAppWorkSpace", "clHighlight", "clHighlightText", "clBtnFace", "clBtnShadow", "clGrayText", "clBtnText",
    "clInactiveCaptionText", "clBtnHighlight", "cl3DDkShadow", "cl3DLight", "clInfoText", "clInfoBk",
};

}  // namespace

void FillReportConstants(TrpVariables& constants)
{
    for (const TConstant& c : kIntegerConstants)
        constants.SetValueByName(QString::fromLatin1(c.name), VarFromInt(c.value));
    for (int index = 0; index < int(std::size(kSystemColours)); ++index)
        constants.SetValueByName(QString::fromLatin1(kSystemColours[index]), int(0xFF000000u + unsigned(index)));
    constants.SetValueByName(QStringLiteral("CRLF"), QStringLiteral("\r\n"));
    constants.SetValueByName(QStringLiteral("Null"), VarNull());
}
