#pragma once
// The picture object: a bitmap, metafile, icon or JPEG image, fixed in the template or taken
// from a blob field before it prints, drawn stretched (keeping its aspect ratio or not) or at its
// own size, centred or from the top-left corner. A graphic that cannot be decoded prints the
// object's frame only, and the reason goes to the engine's log.
//
// Record: the view's, then the graphic kind byte, the blob type byte, the absolute stream
// position where the graphic's octets end, and the octets (the graphic's own file).
#include <cstdint>

#include "report/graphic/Graphic.h"
#include "report/objects/View.h"

// Picture flags (bit 1 is the view's stretched bit).
enum TrpPictureFlag : uint16_t {
    pfCenter = 2,
    pfKeepAspect = 4,
};

// The kind of graphic a blob field holds.
enum TrpBlobType : uint8_t { btBMP = 0, btJPG = 1, btICO = 2, btWMF = 3 };

class TrpPictureView : public TrpView {
public:
    TrpPictureView();

    QString ClassName() const override { return QStringLiteral("TrpPictureView"); }

    void SetPropertyValue(const QString& name, const QVariant& value) override;
    QVariant GetPropertyValue(const QString& name) override;
    // The view's methods, then "LOADFROMFILE".
    void CallMethod(const QString& name, const QVariant& p1, const QVariant& p2, const QVariant& p3,
                    QVariant& result) override;
    void DeclareProperties() override;
    void LoadFromBlob(TField* field) override;
    void Draw(QPainter* canvas) override;
    void LoadFromStream(QIODevice& stream) override;
    void SaveRecord(TrpRecordWriter& record) override;
    void SaveToXml(QIODevice& stream) override;

    // The graphic from a file, its kind by the file's extension; a file that is not there, of
    // another kind or too large leaves the picture empty (logged).
    void LoadFromFile(const QString& fileName);
    // Where the graphic goes inside the object's scaled rectangle (device pixels).
    QRect GraphicRect(QSize graphicSize) const;

    TrpGraphic Picture;
    uint8_t BlobType = btBMP;

private:
    // Tells the engine's log once why this object's graphic is not drawn.
    void LogOnce(const QString& why);
    bool logged_ = false;
};
