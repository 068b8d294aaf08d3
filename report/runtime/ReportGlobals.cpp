#include "report/runtime/ReportGlobals.h"

#include <QColor>

#include "report/runtime/Locale.h"
#include "report/expr/ReportInterpreter.h"
#include "report/expr/ReportVariant.h"
#include "report/runtime/TextRoutines.h"

namespace {

std::unique_ptr<TrpGlobals>& GlobalsHolder()
{
    static std::unique_ptr<TrpGlobals> globals;
    return globals;
}

QStringList ResourceRange(int first, int last)
{
    QStringList texts;
    for (int id = first; id <= last; ++id)
        texts.append(LoadFrResString(id));
    return texts;
}

QImage CheckerBoard()
{
    QImage image(8, 8, QImage::Format_RGB32);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            image.setPixel(x, y, (x + y) % 2 == 0 ? qRgb(255, 255, 255) : qRgb(192, 192, 192));
    return image;
}

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

TrpGlobals::TrpGlobals()
{
    LoadStrings();
    PatternBitmap = CheckerBoard();
    ScratchBitmap = QImage(8, 8, QImage::Format_RGB32);
    ScratchBitmap.fill(Qt::white);
    ReportInterpreter = std::make_unique<TInterpretator>();
    ScriptVariables.SetSorted(true);
    ReportConstants.SetSorted(true);
    FillConstants();
}

TrpGlobals::~TrpGlobals() = default;

void TrpGlobals::LoadStrings()
{
    bool ok = false;
    const int charset = LoadFrResString(55337).toInt(&ok);
    DefaultCharset = ok ? charset : 1;
    BandNames = ResourceRange(55077, 55099);
    BooleanFormats = ResourceRange(55170, 55173);
    DateFormats = ResourceRange(55175, 55178);
    TimeFormats = ResourceRange(55179, 55182);
}

void TrpGlobals::FillConstants()
{
    for (const TConstant& c : kIntegerConstants)
        ReportConstants.SetValueByName(QString::fromLatin1(c.name), VarFromInt(c.value));
    for (int index = 0; index < int(std::size(kSystemColours)); ++index)
        ReportConstants.SetValueByName(QString::fromLatin1(kSystemColours[index]), int(0xFF000000u + unsigned(index)));
    ReportConstants.SetValueByName(QStringLiteral("CRLF"), QStringLiteral("\r\n"));
    ReportConstants.SetValueByName(QStringLiteral("Null"), VarNull());
}

void TrpGlobals::RegisterLibraries()
{
    for (const TrpFunctionLibraryClass& libraryClass : StandardFunctionLibraries()) {
        RegisterFunctionLibrary(libraryClass);
        registeredLibraries_.append(libraryClass.ClassName);
    }
}

void TrpGlobals::UnregisterLibraries()
{
    for (const QString& className : registeredLibraries_)
        UnregisterFunctionLibrary(className);
    registeredLibraries_.clear();
}

TrpGlobals& ReportGlobals()
{
    auto& globals = GlobalsHolder();
    if (!globals) {
        globals = std::make_unique<TrpGlobals>();
        globals->RegisterLibraries();
    }
    return *globals;
}

TrpGlobals* ExistingReportGlobals()
{
    return GlobalsHolder().get();
}

void ResetReportGlobals()
{
    auto& globals = GlobalsHolder();
    if (globals) {
        globals->UnregisterLibraries();   // while the globals are still reachable
        globals.reset();
    }
    FreeLocale();
}
