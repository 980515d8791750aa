#pragma once
// The JV-Data record layouts the system handles, one table each. Positions
// count bytes of the code page 932 form from 1; every table row states the
// position the published layout gives it, and the build checks that the
// widths add up to exactly those positions and lengths.
#include "common/layout_table.h"

#include <array>
#include <initializer_list>
#include <span>
#include <string_view>
#include <vector>

namespace rw::jv {

enum class Kind { RA, SE, HR, UM, KS, O1, O2, O4, O5, O6 };
inline constexpr std::array<Kind, 10> kAllKinds = {Kind::RA, Kind::SE, Kind::HR, Kind::UM, Kind::KS,
                                                   Kind::O1, Kind::O2, Kind::O4, Kind::O5, Kind::O6};

using recordlayout::Field;
using recordlayout::findField;
using recordlayout::group;
using recordlayout::item;
using recordlayout::layoutIsConsistent;
using recordlayout::rep;
using recordlayout::Row;
using recordlayout::Sub;

struct Layout {
    Kind kind;
    std::string_view code;  // "RA" …
    int length;             // published JV-Data length
    int imageLength;        // stored image length; 0 for odds (kept as lines)
    std::span<const Row> rows;
};

// The common head and race key shared by the layouts.
inline constexpr Row kCommonHead =
    group(1, "common head", 1, {{"record kind", 2}, {"data kind", 1}, {"make year", 4}, {"make month", 2}, {"make day", 2}});
constexpr Row raceKeyRow(int pos) {
    return group(pos, "race key", 1,
                 {{"year", 4}, {"month day", 4}, {"racecourse", 2}, {"meeting", 2}, {"day", 2}, {"race number", 2}});
}

// A date item: year, month and day.
constexpr Row dateRow(int pos, std::string_view name) { return group(pos, name, 1, {{"year", 4}, {"month", 2}, {"day", 2}}); }

// clang-format off
inline constexpr Row kRaRows[] = {
    kCommonHead, raceKeyRow(12),
    item(28, "weekday code", 1),
    item(29, "special race number", 4),
    item(33, "race name", 60),
    item(93, "race subtitle", 60),
    item(153, "race name bracket text", 60),
    item(213, "race name in English", 120),
    item(333, "race subtitle in English", 120),
    item(453, "bracket text in English", 120),
    item(573, "short race name 10", 20),
    item(593, "short race name 6", 12),
    item(605, "short race name 3", 6),
    item(611, "race name kind", 1),
    item(612, "repeat count", 3),
    item(615, "grade code", 1),
    item(616, "grade code before change", 1),
    item(617, "race type code", 2),
    item(619, "race symbol code", 3),
    item(622, "weight rule code", 1),
    rep(623, "race condition codes", 5, 3),
    item(638, "race condition name", 60),
    item(698, "distance", 4),
    item(702, "distance before change", 4),
    item(706, "track code", 2),
    item(708, "track code before change", 2),
    item(710, "course section", 2),
    item(712, "course section before change", 2),
    rep(714, "prize money", 7, 8),
    rep(770, "prize money before change", 5, 8),
    rep(810, "added prize money", 5, 8),
    rep(850, "added prize money before change", 3, 8),
    item(874, "start time", 4),
    item(878, "start time before change", 4),
    item(882, "registered runners", 2),
    item(884, "starters", 2),
    item(886, "finishers", 2),
    item(888, "weather code", 1),
    item(889, "turf going code", 1),
    item(890, "dirt going code", 1),
    rep(891, "lap times", 25, 3),
    item(966, "obstacle mile time", 4),
    item(970, "first 3 furlongs time", 3),
    item(973, "first 4 furlongs time", 3),
    item(976, "last 3 furlongs time", 3),
    item(979, "last 4 furlongs time", 3),
    group(982, "corner passing orders", 4, {{"corner", 1}, {"lap count", 1}, {"passing order", 70}}),
    item(1270, "record update kind", 1),
    item(1271, "CR LF", 2),
};

inline constexpr Row kSeRows[] = {
    kCommonHead, raceKeyRow(12),
    item(28, "frame number", 1),
    item(29, "horse number", 2),
    item(31, "registration number", 10),
    item(41, "horse name", 36),
    item(77, "horse symbol code", 2),
    item(79, "sex code", 1),
    item(80, "breed code", 1),
    item(81, "coat colour code", 2),
    item(83, "age", 2),
    item(85, "affiliation code", 1),
    item(86, "trainer code", 5),
    item(91, "trainer short name", 8),
    item(99, "owner code", 6),
    item(105, "owner name", 64),
    item(169, "racing colours", 60),
    item(229, "reserved 229", 60),
    item(289, "weight carried", 3),
    item(292, "weight carried before change", 3),
    item(295, "blinker use", 1),
    item(296, "reserved 296", 1),
    item(297, "jockey code", 5),
    item(302, "jockey code before change", 5),
    item(307, "jockey short name", 8),
    item(315, "jockey short name before change", 8),
    item(323, "apprentice code", 1),
    item(324, "apprentice code before change", 1),
    item(325, "body weight", 3),
    item(328, "body weight change sign", 1),
    item(329, "body weight change", 3),
    item(332, "abnormality code", 1),
    item(333, "arrival order", 2),
    item(335, "confirmed position", 2),
    item(337, "dead-heat kind", 1),
    item(338, "dead-heat count", 1),
    item(339, "time", 4),
    item(343, "margin code", 3),
    item(346, "second margin code", 3),
    item(349, "third margin code", 3),
    rep(352, "corner positions", 4, 2),
    item(360, "win odds", 4),
    item(364, "win popularity", 2),
    item(366, "prize money won", 8),
    item(374, "added prize money won", 8),
    item(382, "reserved 382", 3),
    item(385, "reserved 385", 3),
    item(388, "last 4 furlongs time", 3),
    item(391, "last 3 furlongs time", 3),
    group(394, "winner or runner-up horses", 3, {{"registration number", 10}, {"horse name", 36}}),
    item(532, "time difference", 4),
    item(536, "record update kind", 1),
    item(537, "mining kind", 1),
    item(538, "mining predicted time", 5),
    item(543, "mining error plus", 4),
    item(547, "mining error minus", 4),
    item(551, "mining predicted order", 2),
    item(553, "running style", 1),
    item(554, "CR LF", 2),
};

inline constexpr Row kHrRows[] = {
    kCommonHead, raceKeyRow(12),
    item(28, "registered runners", 2),
    item(30, "starters", 2),
    rep(32, "not-established flags", 9, 1),
    rep(41, "special payout flags", 9, 1),
    rep(50, "refund flags", 9, 1),
    rep(59, "refunded horse flags", 28, 1),
    rep(87, "refunded frame flags", 8, 1),
    rep(95, "refunded same-frame flags", 8, 1),
    group(103, "win payouts", 3, {{"horse number", 2}, {"payout", 9}, {"popularity", 2}}),
    group(142, "place payouts", 5, {{"horse number", 2}, {"payout", 9}, {"popularity", 2}}),
    group(207, "bracket quinella payouts", 3, {{"combination", 2}, {"payout", 9}, {"popularity", 2}}),
    group(246, "quinella payouts", 3, {{"combination", 4}, {"payout", 9}, {"popularity", 3}}),
    group(294, "wide payouts", 7, {{"combination", 4}, {"payout", 9}, {"popularity", 3}}),
    group(406, "reserved payouts", 3, {{"combination", 4}, {"payout", 9}, {"popularity", 3}}),
    group(454, "exacta payouts", 6, {{"combination", 4}, {"payout", 9}, {"popularity", 3}}),
    group(550, "trio payouts", 3, {{"combination", 6}, {"payout", 9}, {"popularity", 3}}),
    group(604, "trifecta payouts", 6, {{"combination", 6}, {"payout", 9}, {"popularity", 4}}),
    item(718, "CR LF", 2),
};

inline constexpr Row kUmRows[] = {
    kCommonHead,
    item(12, "registration number", 10),
    item(22, "delete kind", 1),
    dateRow(23, "registration date"),
    dateRow(31, "delete date"),
    dateRow(39, "birth date"),
    item(47, "horse name", 36),
    item(83, "horse name in kana", 36),
    item(119, "horse name in English", 60),
    item(179, "in-training flag", 1),
    item(180, "reserved 180", 19),
    item(199, "horse symbol code", 2),
    item(201, "sex code", 1),
    item(202, "breed code", 1),
    item(203, "coat colour code", 2),
    group(205, "pedigree", 14, {{"breeding number", 10}, {"name", 36}}),
    item(849, "affiliation code", 1),
    item(850, "trainer code", 5),
    item(855, "trainer short name", 8),
    item(863, "invited area name", 20),
    item(883, "breeder code", 8),
    item(891, "breeder name", 72),
    item(963, "production area name", 20),
    item(983, "owner code", 6),
    item(989, "owner name", 64),
    item(1053, "flat prize money total", 9),
    item(1062, "obstacle prize money total", 9),
    item(1071, "flat added prize total", 9),
    item(1080, "obstacle added prize total", 9),
    item(1089, "flat earnings total", 9),
    item(1098, "obstacle earnings total", 9),
    rep(1107, "placing counts overall", 6, 3),
    rep(1125, "placing counts JRA", 6, 3),
    rep(1143, "placing counts by track", 42, 3),
    rep(1269, "placing counts by going", 72, 3),
    rep(1485, "placing counts by distance", 36, 3),
    rep(1593, "running style counts", 4, 3),
    item(1605, "registered race count", 3),
    item(1608, "CR LF", 2),
};

inline constexpr Row kKsRows[] = {
    kCommonHead,
    item(12, "jockey code", 5),
    item(17, "delete kind", 1),
    dateRow(18, "licence issue date"),
    dateRow(26, "licence delete date"),
    dateRow(34, "birth date"),
    item(42, "jockey name", 34),
    item(76, "reserved 76", 34),
    item(110, "jockey name in kana", 30),
    item(140, "jockey short name", 8),
    item(148, "jockey name in English", 80),
    item(228, "sex code", 1),
    item(229, "riding qualification code", 1),
    item(230, "apprentice code", 1),
    item(231, "affiliation code", 1),
    item(232, "invited area name", 20),
    item(252, "affiliated trainer code", 5),
    item(257, "affiliated trainer short name", 8),
    group(265, "first rides", 2, {{"race key", 16}, {"starters", 2}, {"registration number", 10}, {"horse name", 36},
                                  {"confirmed position", 2}, {"abnormality code", 1}}),
    group(399, "first wins", 2, {{"race key", 16}, {"starters", 2}, {"registration number", 10}, {"horse name", 36}}),
    group(527, "latest graded wins", 3, {{"race key", 16}, {"race name", 60}, {"short race name 10", 20},
                                         {"short race name 6", 12}, {"short race name 3", 6}, {"grade code", 1},
                                         {"starters", 2}, {"registration number", 10}, {"horse name", 36}}),
    // The image keeps the first nine bytes of each of the four money items.
    group(1016, "accumulated results", 3, {{"year", 4},
                                          {"flat prize money", 10, 1, 9},
                                          {"obstacle prize money", 10, 1, 9},
                                          {"flat added prize money", 10, 1, 9},
                                          {"obstacle added prize money", 10, 1, 9},
                                          {"flat placing counts", 6, 6},
                                          {"obstacle placing counts", 6, 6},
                                          {"placing counts by racecourse", 6, 120},
                                          {"placing counts by distance", 6, 36}}),
    item(4172, "CR LF", 2),
};

constexpr Row oddsHead(int annPos) { return group(annPos, "announcement", 1, {{"month", 2}, {"day", 2}, {"hour", 2}, {"minute", 2}}); }

inline constexpr Row kO1Rows[] = {
    kCommonHead, raceKeyRow(12), oddsHead(28),
    item(36, "registered runners", 2),
    item(38, "starters", 2),
    item(40, "sale flag win", 1),
    item(41, "sale flag place", 1),
    item(42, "sale flag bracket quinella", 1),
    item(43, "place paying places key", 1),
    group(44, "win odds", 28, {{"horse number", 2}, {"odds", 4}, {"popularity", 2}}),
    group(268, "place odds", 28, {{"horse number", 2}, {"lowest odds", 4}, {"highest odds", 4}, {"popularity", 2}}),
    group(604, "bracket quinella odds", 36, {{"combination", 2}, {"odds", 5}, {"popularity", 2}}),
    item(928, "win votes total", 11),
    item(939, "place votes total", 11),
    item(950, "bracket quinella votes total", 11),
    item(961, "CR LF", 2),
};

constexpr std::array<Row, 9> oddsRows(int count, int comb, int odds, int pop, int votesPos) {
    return {kCommonHead, raceKeyRow(12), oddsHead(28),
            item(36, "registered runners", 2),
            item(38, "starters", 2),
            item(40, "sale flag", 1),
            group(41, "odds", count, {{"combination", comb}, {"odds", odds}, {"popularity", pop}}),
            item(votesPos, "votes total", 11),
            item(votesPos + 11, "CR LF", 2)};
}
inline constexpr auto kO2Rows = oddsRows(153, 4, 6, 3, 2030);
inline constexpr auto kO4Rows = oddsRows(306, 4, 6, 3, 4019);
inline constexpr auto kO5Rows = oddsRows(816, 6, 6, 3, 12281);
inline constexpr auto kO6Rows = oddsRows(4896, 6, 7, 4, 83273);
// clang-format on

inline constexpr Layout kRA{Kind::RA, "RA", 1272, 1272, kRaRows};
inline constexpr Layout kSE{Kind::SE, "SE", 555, 555, kSeRows};
inline constexpr Layout kHR{Kind::HR, "HR", 719, 719, kHrRows};
inline constexpr Layout kUM{Kind::UM, "UM", 1609, 1609, kUmRows};
inline constexpr Layout kKS{Kind::KS, "KS", 4173, 4161, kKsRows};
inline constexpr Layout kO1{Kind::O1, "O1", 962, 0, kO1Rows};
inline constexpr Layout kO2{Kind::O2, "O2", 2042, 0, kO2Rows};
inline constexpr Layout kO4{Kind::O4, "O4", 4031, 0, kO4Rows};
inline constexpr Layout kO5{Kind::O5, "O5", 12293, 0, kO5Rows};
inline constexpr Layout kO6{Kind::O6, "O6", 83285, 0, kO6Rows};

static_assert(layoutIsConsistent(kRA) && layoutIsConsistent(kSE) && layoutIsConsistent(kHR) &&
              layoutIsConsistent(kUM) && layoutIsConsistent(kKS) && layoutIsConsistent(kO1) &&
              layoutIsConsistent(kO2) && layoutIsConsistent(kO4) && layoutIsConsistent(kO5) &&
              layoutIsConsistent(kO6));

constexpr const Layout& layout(Kind k) {
    switch (k) {
    case Kind::RA: return kRA;
    case Kind::SE: return kSE;
    case Kind::HR: return kHR;
    case Kind::UM: return kUM;
    case Kind::KS: return kKS;
    case Kind::O1: return kO1;
    case Kind::O2: return kO2;
    case Kind::O4: return kO4;
    case Kind::O5: return kO5;
    case Kind::O6: return kO6;
    }
    return kRA;
}

// The leaf items of a layout in order (every repeat expanded).
const std::vector<Field>& flatItems(Kind k);

}  // namespace rw::jv
