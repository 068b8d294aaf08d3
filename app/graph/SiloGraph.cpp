#include "app/graph/SiloGraph.h"

#include "app/graph/GraphMarks.h"
#include "app/graph/GraphPoints.h"
#include "app/graph/TimeAxisFormat.h"
#include "platform/qt/QtColour.h"
#include "base/Format.h"
#include "base/FormatDateTime.h"
#include "core/Device/Device.h"
#include "core/Parameters.h"

#include <QDateTime>
#include <QDateTimeAxis>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>
#include <QValueAxis>

#include <algorithm>
#include <limits>
#include <memory>

namespace {

// The marks each series starts with until the settings are applied.
constexpr TPointStyle kDefaultStyles[TSiloGraph::kSeriesCount] = {
    psRectangle, psCircle, psTriangle, psCross, psStar, psDiamond};
constexpr int kDefaultMarkSize = 2;

// An empty chart still needs an axis range; a single value or time gets some room around it.
constexpr double kEmptyMinT = 0, kEmptyMaxT = 10;
constexpr double kSingleValueRoom = 1;           // degrees
// The automatic temperature scale reaches this share of the values' span beyond them, so that
// the highest and lowest lines, marks and all, keep off the plot's border.
constexpr double kValueMargin = 0.05;
constexpr double kSingleTimeRoomMs = 3600000;    // an hour

struct TRange {
    double lo = std::numeric_limits<double>::infinity();
    double hi = -std::numeric_limits<double>::infinity();
    bool Empty() const { return lo > hi; }
    void Add(double v)
    {
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
    // A range the axis can hold: min strictly below max.
    TRange Widened(double room) const { return lo < hi ? *this : TRange{lo - room, hi + room}; }
};

} // namespace

TSiloGraph::TSiloGraph(QWidget* parent) : QChartView(parent)
{
    auto* chart = new QChart;
    // The view comes with an empty chart of its own, which it stops owning once replaced.
    const std::unique_ptr<QChart> replaced(QChartView::chart());
    setChart(chart);
    setRenderHint(QPainter::Antialiasing);
    viewport()->setCursor(Qt::CrossCursor);
    viewport()->setMouseTracking(true);   // the read-out follows the pointer without a button held
    chart->setBackgroundBrush(Qt::white);
    chart->setPlotAreaBackgroundBrush(Qt::white);
    chart->setPlotAreaBackgroundVisible(true);
    chart->setTitle(QStringLiteral("Температура силоса"));

    QFont legendFont = chart->legend()->font();
    legendFont.setPixelSize(16);
    legendFont.setBold(true);
    chart->legend()->setFont(legendFont);
    chart->legend()->setAlignment(Qt::AlignRight);

    axisTime_ = new QDateTimeAxis;
    axisTime_->setTickCount(7);
    connect(axisTime_, &QDateTimeAxis::rangeChanged, this, [this](const QDateTime& min, const QDateTime& max) {
        axisTime_->setFormat(TimeAxisFormat(min, max, axisTime_->tickCount()));
    });
    axisT_ = new QValueAxis;
    axisT_->setTitleText(QStringLiteral("T°"));
    chart->addAxis(axisTime_, Qt::AlignBottom);
    chart->addAxis(axisT_, Qt::AlignLeft);

    for (int k = 0; k < kSeriesCount; ++k) {
        lines_[k] = new QLineSeries;
        lines_[k]->setName(QStringLiteral("№%1").arg(k + 1));
        marks_[k] = new QLineSeries;
        marks_[k]->setName(lines_[k]->name());
        marks_[k]->setPen(Qt::NoPen);
        marks_[k]->setPointsVisible(true);
    }
    // Marks after the lines, so that they are drawn over every line.
    for (auto* series : lines_)
        chart->addSeries(series);
    for (auto* series : marks_)
        chart->addSeries(series);
    for (int k = 0; k < kSeriesCount; ++k) {
        for (QXYSeries* series : {static_cast<QXYSeries*>(lines_[k]), static_cast<QXYSeries*>(marks_[k])}) {
            series->attachAxis(axisTime_);
            series->attachAxis(axisT_);
        }
        SetMarks(k, kDefaultStyles[k], kDefaultMarkSize, true);
    }
    ShowSilo(nullptr);
}

void TSiloGraph::ShowSilo(const TSilos* silos)
{
    chart()->setTitle(silos ? QStringLiteral("Температура силоса %1").arg(silos->GetName())
                            : QStringLiteral("Температура силоса"));
    for (int k = 0; k < kSeriesCount; ++k) {
        const TTIT* tit = silos && k < silos->TITCount() ? silos->GetTIT(k) : nullptr;
        // The whole history goes in at once: a series redraws after every change.
        TGraphPoints points = tit ? GraphPoints(tit->Points()) : TGraphPoints{};
        lines_[k]->replace(points.Line);
        marks_[k]->replace(points.Marks);
        lines_[k]->setVisible(tit != nullptr);
        ShowMarks(k);
    }
    FitAxes();
    if (OnSiloShown)
        OnSiloShown();
}

void TSiloGraph::ApplySettings(const Parameters& settings)
{
    double lo = settings.ScaleMinT, hi = settings.ScaleMaxT;
    // Limits given the wrong way round still mean the range between them; a range of no width
    // cannot be shown, so it scales automatically like 0 and 0.
    if (lo > hi)
        std::swap(lo, hi);
    autoT_ = lo == hi;
    if (!autoT_)
        axisT_->setRange(lo, hi);

    for (int k = 0; k < kSeriesCount; ++k) {
        const TLineStyle& style = settings.Lines[static_cast<size_t>(k)];
        const int width = std::max(0, style.Width);
        QPen pen = lines_[k]->pen();
        pen.setWidth(width);
        pen.setColor(ToQColor(style.Color));
        lines_[k]->setPen(pen);
        SetMarks(k, PointStyleOf(style.PointStyle), width + 2, style.ShowPoints);
        ShowMarks(k);
    }
    FitAxes();
}

void TSiloGraph::SetMarks(int k, int style, int size, bool shown)
{
    markStyles_[k] = PointStyleOf(style);
    markSizes_[k] = size;
    marksShown_[k] = shown && markStyles_[k] != psNothing;
    marks_[k]->setMarkerSize(2 * size + 1);
}

// The marks follow their line; the legend lists the lines only. A reading alone draws no line,
// so its mark shows it even where marks are off (in the series' own style when that is none).
void TSiloGraph::ShowMarks(int k)
{
    const bool alone = marks_[k]->count() == 1;
    const QImage image =
        PointMarkImage(markStyles_[k] == psNothing ? kDefaultStyles[k] : markStyles_[k], lines_[k]->color());
    if (marks_[k]->lightMarker() != image)
        marks_[k]->setLightMarker(image);
    marks_[k]->setVisible(lines_[k]->isVisible() && (marksShown_[k] || alone));
    for (QLegendMarker* marker : chart()->legend()->markers(marks_[k]))
        marker->setVisible(false);
}

// The time axis spans the shown points; the temperature axis too, unless the settings fix it.
void TSiloGraph::FitAxes()
{
    TRange times, values;
    for (int k = 0; k < kSeriesCount; ++k) {
        if (!lines_[k]->isVisible())
            continue;
        for (const QPointF& point : marks_[k]->points()) {
            times.Add(point.x());
            values.Add(point.y());
        }
    }
    if (times.Empty()) {
        const QDateTime today(QDate::currentDate(), QTime(0, 0));
        axisTime_->setRange(today, today.addDays(1));
    } else {
        const TRange span = times.Widened(kSingleTimeRoomMs);
        axisTime_->setRange(QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(span.lo)),
            QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(span.hi)));
    }
    if (!autoT_)
        return;
    if (values.Empty())
        axisT_->setRange(kEmptyMinT, kEmptyMaxT);
    else {
        const TRange span = values.Widened(kSingleValueRoom);
        const double room = (span.hi - span.lo) * kValueMargin;
        axisT_->setRange(span.lo - room, span.hi + room);
    }
}

TSiloGraph::TCursorValue TSiloGraph::ValueAt(QPointF viewPos) const
{
    const QPointF inChart = chart()->mapFromScene(mapToScene(viewPos.toPoint()));
    const QPointF value = chart()->mapToValue(inChart, lines_[0]);
    return {ChartXToDateTime(value.x()), value.y()};
}

void TSiloGraph::mouseMoveEvent(QMouseEvent* event)
{
    QChartView::mouseMoveEvent(event);
    if (OnMouseMove)
        OnMouseMove(event->position());
}

void TSiloGraph::Print(QPrinter& printer)
{
    QPainter painter(&printer);
    const QRect page = painter.viewport();
    QSize size = viewport()->size();
    size.scale(page.size(), Qt::KeepAspectRatio);
    render(&painter, QRectF(page.topLeft(), size), viewport()->rect());
}

QString GraphCursorText(double time, double value, int precision)
{
    // A negative precision from a damaged settings file still gives 0 to 3 decimals.
    const int decimals = (precision % 4 + 4) % 4;
    const std::string pattern = Format("время: %%s; значение: %%5.%df°C ", decimals);
    const std::string when = FormatDateTime("ddddd tt", time);
    return QString::fromStdString(Format(pattern.c_str(), when.c_str(), value));
}
