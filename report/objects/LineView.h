#pragma once
// The line object: one frame side drawn with the object's frame width, colour and style, across
// the object when it is wider than high (its top side), else down its left side. Drawing turns
// the object into that line, leaving its height or width at 0.
#include "report/objects/Stretcheable.h"

class TrpLineView : public TrpStretcheable {
public:
    TrpLineView();

    QString ClassName() const override { return QStringLiteral("TrpLineView"); }

    void DeclareProperties() override;
    void Draw(QPainter* canvas) override;
    void SaveToXml(QIODevice& stream) override;
    // The line with its frame width on either side, widened by 10 when extended.
    TrpRect GetClipRegion(bool extended) override;

    // A line needs its own height and cannot be split.
    int CalcHeight() override { return Height; }
    int MinHeight() override { return 1; }
    int RestHeight() override { return 0; }
};
