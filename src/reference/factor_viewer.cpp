#include "reference/factor_viewer.h"

#include "common/cp932.h"
#include "common/kestrav_path.h"
#include "common/numbers.h"
#include "common/skip.h"
#include "common/ui_port.h"
#include "reference/factor_viewer_design.h"

#include <cmath>
#include <string>

namespace rw::reference {

namespace {

using model::FactorModel;
using model::kItemCount;

GridModel designed(const GridDesign& d) { return GridModel(d.rows, d.cols, d.fixedRows, d.fixedCols); }

constexpr double kAxisMin = -2.5;
constexpr double kAxisMax = 2.5;
constexpr int kAxisDivisions = 10;
constexpr int kAgeItem = 12;

void fillLegend(const ViewerDesign& d, GridModel& g) {
    for (int c = 0; c < 4; ++c) g.setColWidth(c, d.legendWidths[size_t(c)]);
    const std::uint32_t colors[3] = {kLightRed, kLightGreen, kLightBlue};
    for (int c = 0; c < 4; ++c) {
        g.setCurrent(0, c);
        if (c < 3) g.setBack(0, c, GridColor::rgb(colors[c]));
        g.setText(0, c, d.legendTexts[size_t(c)]);
    }
}

void fillItemGrid(const FactorModel& m, int k, GridModel& g) {
    const int n = m.CategoryCount[size_t(k)];
    if (k == 2) g.setColWidth(0, kItem2CodeWidth);
    g.setRows(n + 1);
    const auto& headers = ItemGridHeaders();
    for (int c = 0; c < 6; ++c) g.setText(0, c, headers[size_t(c)]);
    for (int r = 1; r <= n; ++r) {
        g.setText(r, 0, cp932::decode(m.code(k, r)));
        g.setText(r, 1, WeightText(m.agari(k, r)));
        g.setText(r, 2, WeightText(m.pace(k, r)));
        g.setText(r, 3, WeightText(m.soha(k, r)));
        g.setText(r, 4, QString::number(m.samples(k, r)));
        g.setText(r, 5, QString::number(r));
    }
}

void putText(model::Surface s, UiPort& ui, const ItemTab& tab) {
    if (tab.textBox.isEmpty() || tab.text.isEmpty()) return;
    ui.setText(ViewerControl(s, tab.textBox), tab.text);
}

void fillChart(const ViewerDesign& d, const FactorModel& m, int offset, ChartModel& chart) {
    chart.setChartType(ChartType::Line2d);
    chart.setSeriesCount(3);
    chart.setRowCount(d.chartRows);
    for (int i = 1; i <= d.chartRows; ++i) {
        // By position in the item's list; a category beyond it gives 0.
        const int c = offset + i;
        chart.setValue(i, 1, ChartValue(m.agari(kAgeItem, c)));
        chart.setValue(i, 2, ChartValue(m.pace(kAgeItem, c)));
        chart.setValue(i, 3, ChartValue(m.soha(kAgeItem, c)));
    }
    for (int i = 1; i <= d.chartRows; ++i) chart.setRowLabel(i, QString::number(d.firstAge - 1 + i));
    const auto& labels = ChartSeriesLabels();
    for (int s = 1; s <= 3; ++s) chart.setSeriesLabel(s, labels[size_t(s - 1)]);
    chart.setValueAxis(kAxisMin, kAxisMax, kAxisDivisions);
}

std::string itemStep(int k) { return "item " + std::to_string(k); }

}  // namespace

FactorViewerModels::FactorViewerModels(model::Surface s) : surface(s) {
    const ViewerDesign& d = FactorViewerDesign(s);
    legend = designed(d.legendDesign);
    for (int k = 1; k <= kItemCount; ++k) items[size_t(k)] = designed(d.items[size_t(k)].design);
    // The series colours are the legend's: 上がり, ペース, 走破.
    for (ChartModel* chart : {&maleChart, &femaleChart}) {
        chart->setSeriesCount(3);
        chart->setSeriesColor(1, kLightRed);
        chart->setSeriesColor(2, kLightGreen);
        chart->setSeriesColor(3, kLightBlue);
    }
}

void LoadFactorViewer(model::Surface s, UiPort& ui, FactorViewerModels& view, SkipLog& log) {
    const ViewerDesign& d = FactorViewerDesign(s);
    AppPath = GetAppPath();
    FactorModel m;
    model::ReadFactorModelForViewing(s, m, log);
    log.step("legend", [&] { fillLegend(d, view.legend); });
    auto item = [&](int k) {
        log.step(itemStep(k), [&] {
            fillItemGrid(m, k, view.items[size_t(k)]);
            putText(s, ui, d.items[size_t(k)]);
        });
    };
    for (int k = 1; k < kAgeItem; ++k) item(k);
    log.step("male chart", [&] { fillChart(d, m, 0, view.maleChart); });
    log.step("female chart", [&] { fillChart(d, m, d.femaleOffset, view.femaleChart); });
    // Item 12's text comes before its grid.
    log.step(itemStep(kAgeItem), [&] {
        putText(s, ui, d.items[size_t(kAgeItem)]);
        fillItemGrid(m, kAgeItem, view.items[size_t(kAgeItem)]);
    });
    for (int k = kAgeItem + 1; k <= kItemCount; ++k) item(k);
}

QString WeightText(float w) {
    const float held = float(std::floor(double(w) * 1000.0) / 1000.0);
    if (held == 0.0f) return QStringLiteral("0");  // a negative zero too
    return qtext(singleText(held));
}

double ChartValue(float w) { return parseStrict(singleText(w)).value_or(0.0); }

QString ViewerControl(model::Surface s, const QString& control) {
    return FactorViewerDesign(s).window + QLatin1Char('.') + control;
}

}  // namespace rw::reference
