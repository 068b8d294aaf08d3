#pragma once
// The base of every object placed on a report page (memo, picture, band, sub-report, line,
// add-in objects). This holds what the registry and the value resolution need: the name, the
// type code and object number, geometry, flags, display format, text and tag; the record
// layout, drawing and printing belong to the same class and arrive with it.
#include <cstdint>

#include <QString>
#include <QStringList>

#include "report/objects/ReportObject.h"

// Type codes of report objects in templates and prepared pages.
enum TrpObjectType : uint8_t {
    otMemo = 0,
    otPicture = 1,
    otBand = 2,
    otSubReport = 3,
    otLine = 4,
    otAddIn = 10,   // the class is named in the stream
};

// Object flag bits shared by every view; the rest belong to the subclasses.
constexpr uint16_t kFlagStretched = 0x1;
constexpr uint16_t kFlagHideZeros = 0x40;   // memos: a numeric zero expands to empty text

class TrpView : public TrpObject {
public:
    TrpView();

    // The class name written before an add-in object's record and looked up when it is read.
    virtual QString ClassName() const { return QStringLiteral("TrpView"); }
    // The width the object needs (CALCWIDTH): memos measure their expanded text.
    virtual int CalcWidth() { return Width; }

    QString BaseName = QStringLiteral("View");
    QString Name;
    uint8_t TypeCode = otAddIn;
    int ObjectNumber = 0;
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    uint16_t Flags = kFlagStretched;
    // Display format word: category in bits 24-27, index 16-23, decimals 8-15, decimal
    // separator character 0-7; see ValueFormat.h.
    uint32_t FormatCode = 0;
    QString FormatText;
    bool Visible = true;
    QString Tag;
    QStringList Memo;
};
