#pragma once
// The base of the objects whose height follows their content (memo, line, rich text): how the
// band engine asks an object how tall it must be, how small a piece of it may be, and prints
// it in parts across pages.
#include <cstdint>

#include "report/objects/View.h"

// PassMode: what the next PrintToStream does.
enum TrpPassMode : uint8_t {
    pmNormal = 0,     // expand and print
    pmMeasured = 1,   // CalcHeight has prepared the printed content
    pmPartFits = 2,   // print the part that fits into the current height and keep the rest
};

class TrpStretcheable : public TrpView {
public:
    // The view's methods, then "CALCHEIGHT".
    void CallMethod(const QString& name, const QVariant& p1, const QVariant& p2, const QVariant& p3,
                    QVariant& result) override;

    // The height (page units) the whole content needs at the current width; may prepare the
    // content for printing (PassMode 1). 0 for an invisible object, one without content or a
    // suppressed repeat.
    virtual int CalcHeight() = 0;
    // The smallest height in which one unit of content (a text line) fits, with gaps and frame.
    virtual int MinHeight() = 0;
    // The part of the current height that holds no whole unit of content, with gaps and frame.
    virtual int RestHeight() = 0;

    uint8_t PassMode = pmNormal;

protected:
    // The start of CalcHeight, after BeginDraw without a canvas, whose scope lasts the whole
    // measure: PassMode 1, the object's script run and, when
    // that leaves the object visible, its lines copied to WorkText and the report's
    // before-print step run. False for an invisible object.
    bool BeginMeasure();
};
