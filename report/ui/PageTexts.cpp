#include "report/ui/PageTexts.h"

#include <cmath>

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QTextItem>

#include "report/engine/EMFPages.h"
#include "report/runtime/LayoutDpi.h"

namespace {

// Keeps the text outputs and ignores every other drawing.
class TTextRecorder : public QPaintEngine {
public:
    TTextRecorder() : QPaintEngine(AllFeatures) {}

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    Type type() const override { return User; }
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawImage(const QRectF&, const QImage&, const QRectF&, Qt::ImageConversionFlags) override {}
    void drawTiledPixmap(const QRectF&, const QPixmap&, const QPointF&) override {}
    void drawPath(const QPainterPath&) override {}
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    void drawPolygon(const QPoint*, int, PolygonDrawMode) override {}

    void drawTextItem(const QPointF& origin, const QTextItem& item) override
    {
        const QRectF box = painter()->combinedTransform().mapRect(
            QRectF(origin.x(), origin.y() - item.ascent(), item.width(), item.ascent() + item.descent()));
        if (!Texts.empty() && Continues(Texts.back().Bounds, box)) {
            Texts.back().Text += item.text();
            Texts.back().Bounds |= box;
            return;
        }
        Texts.push_back({item.text(), box});
    }

    std::vector<TrpDrawnText> Texts;

private:
    // Qt draws one output piece after piece, each starting where the last ended on its line.
    static bool Continues(const QRectF& last, const QRectF& next)
    {
        return std::abs(next.left() - last.right()) < 0.5 && std::abs(next.top() - last.top()) < 0.5 &&
               std::abs(next.bottom() - last.bottom()) < 0.5;
    }
};

class TTextDevice : public QPaintDevice {
public:
    explicit TTextDevice(QSize size) : size_(size) {}
    QPaintEngine* paintEngine() const override { return &engine_; }
    std::vector<TrpDrawnText>& Texts() { return engine_.Texts; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth:
            return size_.width();
        case PdmHeight:
            return size_.height();
        case PdmWidthMM:
            return int(size_.width() * 25.4 / kLayoutDpi);
        case PdmHeightMM:
            return int(size_.height() * 25.4 / kLayoutDpi);
        case PdmNumColors:
            return 0x7FFFFFFF;
        case PdmDepth:
            return 32;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return kLayoutDpi;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        default:
            return 0;
        }
    }

private:
    QSize size_;
    mutable TTextRecorder engine_;
};

} // namespace

std::vector<TrpDrawnText> DrawnTexts(TrpEMFPages& pages, int index, const QRect& drawRect)
{
    TrpEMFPage& page = pages.Page(index);
    TTextDevice device(QSize(page.PaperGeometry.PageWidth, page.PaperGeometry.PageHeight));
    QPainter painter(&device);
    const bool wasVisible = page.Visible;
    page.Visible = true;
    try {
        pages.Draw(index, painter, drawRect);
    } catch (...) {
        page.Visible = wasVisible;
        throw;
    }
    page.Visible = wasVisible;
    painter.end();
    return std::move(device.Texts());
}

std::optional<TrpTextHit> FindDrawnText(const std::vector<TrpDrawnText>& texts, const QString& what,
                                        bool caseSensitive, int fromRecord)
{
    for (int i = std::max(fromRecord, 0); i < int(texts.size()); ++i) {
        const QString& text = texts[size_t(i)].Text;
        if ((caseSensitive ? text : text.toUpper()).contains(what))
            return TrpTextHit{i, texts[size_t(i)].Bounds.toAlignedRect()};
    }
    return std::nullopt;
}
