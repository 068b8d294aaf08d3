#pragma once
// The base of the controls a dialog page of a report may hold. The program runs no dialog
// pages, so a control is only read from and written to templates (as an add-in object with its
// class name) and drawn as an empty control face.
#include "report/objects/View.h"

class TrpControl : public TrpView {
public:
    TrpControl();

    QString ClassName() const override { return QStringLiteral("TrpControl"); }
    void DeclareProperties() override;
    void Draw(QPainter* canvas) override;
};
