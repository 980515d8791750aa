#pragma once
// YOSOKEKKATHISWEEKNZ: what the race viewer keeps beside the run's state:
// its grids (plain grids that the window's grid controls show) and the
// working values of a click. One object lives with the prediction window.
#include "common/grid_model.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

namespace rw::viewer {

// The grids at their design sizes, each with one fixed row and column.
struct ViewerGrids {
    GridModel HAITOGrid1{10, 22};
    GridModel UMARENGrid1{154, 3};
    GridModel UMATANGrid2{517, 4};
    GridModel SANRENGrid3{817, 3};
    GridModel SANTANGrid4{817, 8};
    GridModel RACEDETAILGrid1{19, 25};
    GridModel RACEDETAILGrid2{19, 80};
};

struct ViewerState {
    // The selected item of List1 at the click (its last 12 characters are
    // the race's RaceID).
    QString List1Text;
    // The registered runners handed to FillBetGrids, set before each call.
    std::int32_t GridHorseCount = 0;
    // The race's "SORT.dat" items, row n = line n (1..18), columns 0..14.
    std::array<std::array<QByteArray, 16>, 19> SortTable{};
    // Odds by horse numbers 0..18, first horse outermost; zero between uses.
    std::vector<float> PairOdds = std::vector<float>(19 * 19, 0.0f);
    std::vector<float> TrioOdds = std::vector<float>(19 * 19 * 19, 0.0f);
};

struct RaceViewer : ViewerGrids, ViewerState {};

// The viewer's colours.
inline constexpr GridColor kWhite = GridColor::rgb(0xFFFFFF);
inline constexpr GridColor kGreen = GridColor::rgb(0x00FF00);
inline constexpr GridColor kYellow = GridColor::rgb(0xFFFF00);
inline constexpr GridColor kMagenta = GridColor::rgb(0xFF00FF);
inline constexpr std::uint32_t kHeaderGreen = 0x00FF00;
inline constexpr std::uint32_t kHeaderYellow = 0xFFFF00;

}  // namespace rw::viewer
