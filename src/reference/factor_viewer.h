#pragma once
// FactorTURF, FactorDIRT, FactorHURD: the model-weight viewers' load.
//
// A viewer shows the factor model of its surface as the package in OPTION1N
// delivers it, read afresh at every load (never a model the compute pass has
// changed): the legend grid, one grid per item with its explanation text,
// and on the tab of item 12 the age charts of males and females.
//
// LoadFactorViewer, in this order: AppPath; the model files (the viewers'
// tolerant reading, model/factor_model.h: a missing or short file, a value
// that is not a number, a count above 6000 or beyond what the files hold
// stop nothing, and each is named in the log); the legend grid; items 1 to
// 11; the male and female charts; item 12's text, then its grid; items 13
// to 30. Item k's grid gets n(k) + 1 rows, the six headers, and per
// category r: the code as read, the three weights in the weight format, the
// sample count, and r itself. Only item 2 sets a width (its code column,
// before its row count). Each item's text goes into the box on its own tab
// through the screen port; tabs without a box, and F22, get none.
#include "common/chart_model.h"
#include "common/grid_model.h"
#include "model/factor_model.h"
#include "model/package_files.h"

#include <QString>
#include <array>

namespace rw {
class SkipLog;
class UiPort;
}  // namespace rw

namespace rw::reference {

// What a viewer shows besides its text boxes, as designed before the load.
struct FactorViewerModels {
    explicit FactorViewerModels(model::Surface s);
    model::Surface surface;
    GridModel legend;
    std::array<GridModel, model::kItemCount + 1> items;  // element 0 unused
    ChartModel maleChart;
    ChartModel femaleChart;
};

void LoadFactorViewer(model::Surface s, UiPort& ui, FactorViewerModels& view, SkipLog& log);

// The weight format of the item grids: floor(w × 1000) in double precision,
// divided by 1000 and held as a Single, shown with the Single text; zero (a
// negative zero too) shows "0". 0.7 gives "0.699", -0.0004 "-0.001".
QString WeightText(float w);

// A chart's value for a weight: the Single as its text gives it (the chart
// control takes its values as text), so 0.7 stays 0.7.
double ChartValue(float w);

// The control address of a viewer's text box: "FactorTURF.Text11".
QString ViewerControl(model::Surface s, const QString& control);

}  // namespace rw::reference
