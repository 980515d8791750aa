#pragma once
// The six finishing orders of a trio's horses A, B, C, in the order the bet
// lists, the bet-import file and the viewer's 3連単 grid number them (1st to
// 6th): each the positions (0 = A, 1 = B, 2 = C) of the first, second and
// third horse.

#include <array>

namespace rw::prediction {

inline constexpr std::array<std::array<int, 3>, 6> kTrifectaOrders{{
    {0, 1, 2}, {0, 2, 1}, {1, 0, 2}, {1, 2, 0}, {2, 0, 1}, {2, 1, 0},
}};

}  // namespace rw::prediction
