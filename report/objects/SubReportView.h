#pragma once
// The sub-report object: places another design page of the same report (its target) inside the
// band that holds it. The band engine lays the target out when the band prints (SubPage gives
// it the page); the object itself draws only at design time, as a white box with its name.
//
// Record: the view's, then the target's index among the report's design pages (int32).
#include <cstdint>

#include "report/objects/View.h"

class TrpPage;

class TrpSubReportView : public TrpView {
public:
    TrpSubReportView();

    QString ClassName() const override { return QStringLiteral("TrpSubReportView"); }

    void Draw(QPainter* canvas) override;
    void LoadFromStream(QIODevice& stream) override;
    void SaveRecord(TrpRecordWriter& record) override;
    void SaveToXml(QIODevice& stream) override;

    // The design page this object places, or none when the index names no page of the report or
    // names the page that holds the object (which would place itself for ever).
    TrpPage* SubPage() const;

    int32_t SubPageIndex = 0;
};
