#pragma once
// A band object of a design page: its band type (kept in FrameTyp), options, data source or
// group condition (kept in FormatText), child band and columns. The page build turns it into
// a run-time band (OwnerBand); while a report prints, the geometry, visibility, page-break
// switch, condition and data source its script sets go to that band. Band objects are never
// written into prepared pages.
#include <cstdint>

#include <QString>

#include "report/objects/View.h"

// Band option bits (Flags); bit 1 is the view's stretched bit.
enum TrpBandFlag : uint16_t {
    bfFormNewPage = 2,
    bfPrintIfSubsetEmpty = 4,
    bfBreaked = 8,
    bfOnFirstPage = 16,
    bfOnLastPage = 32,
    bfRepeatHeader = 64,
    bfPrintChildIfInvisible = 128,
};

class TrpBandView : public TrpView {
public:
    TrpBandView();

    QString ClassName() const override { return QStringLiteral("TrpBandView"); }

    void SetPropertyValue(const QString& name, const QVariant& value) override;
    QVariant GetPropertyValue(const QString& name) override;
    // The view's methods; then "NEXT", "PRIOR" and "FIRST" move the run-time band's source.
    void CallMethod(const QString& name, const QVariant& p1, const QVariant& p2, const QVariant& p3,
                    QVariant& result) override;
    void DeclareProperties() override;
    void LoadFromStream(QIODevice& stream) override;
    void SaveRecord(TrpRecordWriter& record) override;
    void SaveToXml(QIODevice& stream) override;

    QString ChildBand;   // the band printed after this one ("" none)
    QString Master;      // a group header's data band
    int Columns = 1;
    int ColumnWidth = 200;
    int ColumnGap = 20;
    int NewColumnAfter = 1;

private:
    // The run-time band while a report prints, else none.
    TrpBand* PrintingBand() const;
};
