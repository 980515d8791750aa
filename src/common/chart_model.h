#pragma once
// A chart as the windows' chart control holds it, without a widget: a
// two-dimensional line chart of rows by series, one value per row and
// series, a label per row (along the category axis) and per series (its
// legend text), a colour per series, and a value axis fixed at a minimum,
// maximum and number of major divisions. Core code fills charts through
// this; tests and the driver read them; the chart widget of src/gui/controls
// paints one. A line beyond the axis is clipped there: the axis never
// widens to take it.
//
// Rows and series are numbered from 1, as the chart control numbers them.
// An address outside the chart is a failed statement (StepFailure), never a
// crash and never a silent write.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace rw {

enum class ChartType : std::uint8_t { Line2d };

class ChartModel {
public:
    // A fresh chart: a line chart of no rows and no series, the axis 0 to 1
    // in 1 division with automatic scaling on.
    ChartModel() = default;

    ChartType chartType() const { return type_; }
    void setChartType(ChartType type);

    int rowCount() const { return rows_; }
    int seriesCount() const { return series_; }
    // Growing keeps every value and label; new values are 0, new labels
    // empty, new series black. A negative count, or a chart beyond a
    // million values, fails.
    void setRowCount(int rows);
    void setSeriesCount(int series);

    double value(int row, int series) const;
    void setValue(int row, int series, double value);
    const QString& rowLabel(int row) const;
    void setRowLabel(int row, const QString& label);
    // A series' label is also its legend text.
    const QString& seriesLabel(int series) const;
    void setSeriesLabel(int series, const QString& label);
    // 0xRRGGBB.
    std::uint32_t seriesColor(int series) const;
    void setSeriesColor(int series, std::uint32_t rgb);

    // The value axis: automatic scaling off, from `minimum` to `maximum` in
    // `divisions` major divisions. A maximum not above the minimum, or fewer
    // than one division, fails.
    void setValueAxis(double minimum, double maximum, int divisions);
    bool autoScale() const { return autoScale_; }
    double axisMinimum() const { return min_; }
    double axisMaximum() const { return max_; }
    int axisDivisions() const { return divisions_; }

    // The content as text lines, for tests and the driver:
    //   type line2d, rows R, series S
    //   axis MIN to MAX in D divisions (fixed|auto)
    //   series N "label" #RRGGBB
    //   row N "label": v1, v2, …   (values with up to 15 significant digits)
    QStringList describe() const;

    // Changes with every write, so a view knows when to repaint.
    std::uint64_t revision() const { return revision_; }

private:
    void checkRow(int row) const;
    void checkSeries(int series) const;
    void resize(int rows, int series);

    ChartType type_ = ChartType::Line2d;
    int rows_ = 0;
    int series_ = 0;
    std::vector<double> values_;  // row-major, (row - 1) * series_ + (series - 1)
    std::vector<QString> rowLabels_;
    std::vector<QString> seriesLabels_;
    std::vector<std::uint32_t> seriesColors_;
    bool autoScale_ = true;
    double min_ = 0;
    double max_ = 1;
    int divisions_ = 1;
    std::uint64_t revision_ = 0;
};

}  // namespace rw
