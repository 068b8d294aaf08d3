#pragma once
// The temperature chart of the main window's page "График": one stair-step line per sensor of
// the chosen suspension over a date-time axis, with a legend, the temperature axis "T°" and the
// point marks, whose look and scale come from the settings.
#include "app/graph/GraphMarks.h"

#include <QChartView>

#include <array>
#include <functional>

class QDateTimeAxis;
class QLineSeries;
class QPrinter;
class QValueAxis;
class TSilos;
struct Parameters;

class TSiloGraph : public QChartView {
public:
    static constexpr int kSeriesCount = 6;

    explicit TSiloGraph(QWidget* parent = nullptr);

    // Shows the history of every sensor of a suspension (nullptr: none); series k shows
    // sensor k − 1 and is hidden, legend entry and all, when the suspension has fewer sensors.
    void ShowSilo(const TSilos* silos);
    // Line widths, colours, point marks and the temperature scale (both limits 0: automatic).
    void ApplySettings(const Parameters& settings);

    // The date-time and temperature under a point of the view.
    struct TCursorValue {
        double Time = 0;   // TDateTime
        double Value = 0;
    };
    TCursorValue ValueAt(QPointF viewPos) const;
    // Told of every mouse move over the chart, with the point of the view.
    std::function<void(QPointF)> OnMouseMove;
    // Told after another suspension (or none) is shown.
    std::function<void()> OnSiloShown;

    // Draws the chart on the printer's page, as large as the page allows.
    void Print(QPrinter& printer);

    // Series k from 0: the stair-step line, and the marks on the history's own points (a line
    // series that draws its points only, since a scatter series makes an item of every point).
    QLineSeries* Line(int k) const { return lines_.at(k); }
    QLineSeries* Marks(int k) const { return marks_.at(k); }
    // The size of series k's marks: from the centre to the edge, in pixels.
    int MarkSize(int k) const { return markSizes_.at(k); }
    QValueAxis* AxisT() const { return axisT_; }
    QDateTimeAxis* AxisTime() const { return axisTime_; }
    bool AutoScaleT() const { return autoT_; }

protected:
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void SetMarks(int k, int style, int size, bool shown);
    void ShowMarks(int k);
    void FitAxes();

    std::array<QLineSeries*, kSeriesCount> lines_{};
    std::array<QLineSeries*, kSeriesCount> marks_{};
    std::array<int, kSeriesCount> markSizes_{};
    std::array<TPointStyle, kSeriesCount> markStyles_{};
    std::array<bool, kSeriesCount> marksShown_{};
    QValueAxis* axisT_ = nullptr;
    QDateTimeAxis* axisTime_ = nullptr;
    bool autoT_ = true;
};

// The cursor read-out: "время: <date and time>; значение: <value>°C " with the temperature in
// five characters and as many decimals as the precision setting modulo 4.
QString GraphCursorText(double time, double value, int precision);
