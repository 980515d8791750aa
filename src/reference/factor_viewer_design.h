#pragma once
// FactorTURF, FactorDIRT, FactorHURD: the model-weight viewers' design as
// data. One viewer serves the three surfaces; everything in which they
// differ (window and tab captions, control names, grid designs, which text
// goes in which box) is read from here, byte for byte as the system spells
// it: full-width spaces, "％" against "%", "(" against "（".
#include "model/factor_model.h"
#include "model/package_files.h"

#include <QString>
#include <array>
#include <cstdint>

namespace rw::reference {

// Colours of the 16-colour palette the viewers paint with.
inline constexpr std::uint32_t kLightRed = 0xFF0000;    // 12: 上がり
inline constexpr std::uint32_t kLightGreen = 0x00FF00;  // 10: ペース
inline constexpr std::uint32_t kLightBlue = 0x0000FF;   // 9: 走破

// Tab heights of the two tab controls, twips.
inline constexpr int kTabHeightTwips = 520;
inline constexpr int kOuterTabsPerRow = 5;
// The tab in front when a viewer opens (tab F2).
inline constexpr int kOuterTabInFront = 1;  // 0-based
inline constexpr int kInnerTabInFront = 2;  // 0-based: the third

// Column 0 of the item-2 grid, twips.
inline constexpr int kItem2CodeWidth = 1200;

struct GridDesign {
    int rows = 2;
    int cols = 6;
    int fixedRows = 1;
    int fixedCols = 1;
};

struct ItemTab {
    QString caption;  // tab caption "F1 開催年"
    QString grid;     // the item grid's name
    QString textBox;  // the explanation box's name; empty where the tab has none
    QString text;     // the explanation text; empty where none is put
    GridDesign design;
};

struct ViewerDesign {
    model::Surface surface;
    QString window;     // "FactorTURF"
    QString caption;    // the window's caption
    QString outerTabs;  // "SSTab1"
    // The legend grid on the window, outside the tabs.
    QString legendGrid;
    GridDesign legendDesign;
    std::array<int, 4> legendWidths;
    std::array<QString, 4> legendTexts;
    // Tab F12's inner tabs and the age charts.
    QString innerTabs;                     // "SSTab3" / "SSTab5"
    std::array<QString, 3> innerCaptions;  // "牡馬", "牝馬", …
    QString maleChart;
    QString femaleChart;
    int chartRows;     // 33 / 20
    int firstAge;      // label of row 1: 27 / 40
    int femaleOffset;  // the female chart's row i reads category offset + i
    // Where the item-12 text box stands: on tab F12 beside the inner tabs,
    // or on the inner tabs' third tab beside the grid.
    bool item12TextOnInnerTab;
    // Items 1 to 30; element 0 unused.
    std::array<ItemTab, model::kItemCount + 1> items;
};

const ViewerDesign& FactorViewerDesign(model::Surface s);

// "上がり", "ペース", "走破": the charts' series labels, in series order.
const std::array<QString, 3>& ChartSeriesLabels();
// The item grids' header row, columns 0 to 5.
const std::array<QString, 6>& ItemGridHeaders();

}  // namespace rw::reference
