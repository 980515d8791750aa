#include "common/chart_model.h"

#include "common/errors.h"
#include "common/numbers.h"

#include <cmath>
#include <string>

namespace rw {

namespace {
// A chart bigger than this is a hostile count, not a design.
constexpr long long kMaxValues = 1'000'000;
}  // namespace

void ChartModel::setChartType(ChartType type) {
    type_ = type;
    ++revision_;
}

void ChartModel::resize(int rows, int series) {
    if (rows < 0 || series < 0 || static_cast<long long>(rows) * series > kMaxValues || rows > kMaxValues ||
        series > kMaxValues)
        fail("chart size " + std::to_string(rows) + " x " + std::to_string(series) + " is invalid");
    std::vector<double> values(static_cast<size_t>(rows) * static_cast<size_t>(series), 0.0);
    for (int r = 0; r < rows && r < rows_; ++r)
        for (int s = 0; s < series && s < series_; ++s)
            values[static_cast<size_t>(r) * series + s] = values_[static_cast<size_t>(r) * series_ + s];
    values_ = std::move(values);
    rows_ = rows;
    series_ = series;
    rowLabels_.resize(static_cast<size_t>(rows));
    seriesLabels_.resize(static_cast<size_t>(series));
    seriesColors_.resize(static_cast<size_t>(series), 0u);
    ++revision_;
}

void ChartModel::setRowCount(int rows) { resize(rows, series_); }
void ChartModel::setSeriesCount(int series) { resize(rows_, series); }

void ChartModel::checkRow(int row) const {
    if (row < 1 || row > rows_) fail("chart row " + std::to_string(row) + " outside 1.." + std::to_string(rows_));
}

void ChartModel::checkSeries(int series) const {
    if (series < 1 || series > series_)
        fail("chart series " + std::to_string(series) + " outside 1.." + std::to_string(series_));
}

double ChartModel::value(int row, int series) const {
    checkRow(row);
    checkSeries(series);
    return values_[static_cast<size_t>(row - 1) * series_ + (series - 1)];
}

void ChartModel::setValue(int row, int series, double value) {
    checkRow(row);
    checkSeries(series);
    values_[static_cast<size_t>(row - 1) * series_ + (series - 1)] = value;
    ++revision_;
}

const QString& ChartModel::rowLabel(int row) const {
    checkRow(row);
    return rowLabels_[static_cast<size_t>(row - 1)];
}

void ChartModel::setRowLabel(int row, const QString& label) {
    checkRow(row);
    rowLabels_[static_cast<size_t>(row - 1)] = label;
    ++revision_;
}

const QString& ChartModel::seriesLabel(int series) const {
    checkSeries(series);
    return seriesLabels_[static_cast<size_t>(series - 1)];
}

void ChartModel::setSeriesLabel(int series, const QString& label) {
    checkSeries(series);
    seriesLabels_[static_cast<size_t>(series - 1)] = label;
    ++revision_;
}

std::uint32_t ChartModel::seriesColor(int series) const {
    checkSeries(series);
    return seriesColors_[static_cast<size_t>(series - 1)];
}

void ChartModel::setSeriesColor(int series, std::uint32_t rgb) {
    checkSeries(series);
    seriesColors_[static_cast<size_t>(series - 1)] = rgb & 0xFFFFFFu;
    ++revision_;
}

void ChartModel::setValueAxis(double minimum, double maximum, int divisions) {
    if (!std::isfinite(minimum) || !std::isfinite(maximum) || !(maximum > minimum) || divisions < 1)
        fail("value axis " + std::to_string(minimum) + " to " + std::to_string(maximum) + " in " +
             std::to_string(divisions) + " divisions is invalid");
    autoScale_ = false;
    min_ = minimum;
    max_ = maximum;
    divisions_ = divisions;
    ++revision_;
}

QStringList ChartModel::describe() const {
    auto num = [](double v) { return qtext(doubleText(v)); };
    auto quoted = [](const QString& s) { return QLatin1Char('"') + s + QLatin1Char('"'); };
    QStringList out;
    out << QStringLiteral("type line2d, rows %1, series %2").arg(rows_).arg(series_);
    out << QStringLiteral("axis %1 to %2 in %3 divisions (%4)")
               .arg(num(min_), num(max_))
               .arg(divisions_)
               .arg(autoScale_ ? QStringLiteral("auto") : QStringLiteral("fixed"));
    for (int s = 1; s <= series_; ++s)
        out << QStringLiteral("series %1 %2 #%3")
                   .arg(s)
                   .arg(quoted(seriesLabel(s)))
                   .arg(QStringLiteral("%1").arg(seriesColor(s), 6, 16, QLatin1Char('0')).toUpper());
    for (int r = 1; r <= rows_; ++r) {
        QStringList values;
        for (int s = 1; s <= series_; ++s) values << num(value(r, s));
        out << QStringLiteral("row %1 %2: %3").arg(r).arg(quoted(rowLabel(r)), values.join(QStringLiteral(", ")));
    }
    return out;
}

}  // namespace rw
