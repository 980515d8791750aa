#pragma once
// The chart control: paints a ChartModel (common/chart_model.h) as a
// two-dimensional line chart with QPainter: the value axis fixed as the
// model sets it, a line per series in its colour, the row labels along the
// category axis and the series labels as the legend. A line beyond the axis
// is clipped at the plot's edge; the axis never widens for it. The model
// is read at every paint, so the view shows what core code wrote into it.
#include "common/chart_model.h"

#include <QWidget>

namespace rw::gui {

class ChartView : public QWidget {
    Q_OBJECT
public:
    ChartView(const ChartModel& model, const QString& name, QWidget* parent = nullptr);
    const ChartModel& model() const { return model_; }
    QSize sizeHint() const override { return {640, 360}; }
    QSize minimumSizeHint() const override { return {240, 160}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const ChartModel& model_;
};

}  // namespace rw::gui
