// Items 1 to 10: one table of cases per item, the last record classified.
#include "common/errors.h"
#include "item_fixture.h"
#include "model/package_files.h"

#include <gtest/gtest.h>

using namespace rw::model;
using rwtest::exRecord;
using rwtest::FieldValue;
using rwtest::Horse;
using rwtest::statsRecord;
using rwtest::expectCodes;
using rwtest::Fields;


TEST(ItemsOneToTen, TableIsInItemOrder) {
    for (int k = 1; k <= 30; ++k) EXPECT_EQ(kCategorisers[size_t(k - 1)].number, k);
    EXPECT_STREQ(kCategorisers[0].name, "CategoriseRaceYear");
    EXPECT_STREQ(kCategorisers[29].name, "CategoriseHorseEarningsPerRun");
}

TEST(ItemsOneToTen, RaceYear) { expectCodes(1, {{"year as text", {{{ex::RaceYear, "2019"}}}, "2019"}}); }

TEST(ItemsOneToTen, CourseDraw) {
    auto run = [](const char* course, const char* weekday, const char* track) {
        return QList<Fields>{{{ex::CourseCode, course}, {ex::WeekdayCode, weekday}, {ex::TrackCode, track},
                           {ex::FrameNo, "4"}, {ex::HorseNo, "07"}}};
    };
    expectCodes(2, {
        {"track 10 takes the horse number", run("05", "1", "10"), "510710"},
        {"track 11 takes the frame", run("05", "2", "11"), "52411"},
        {"track 17", run("10", "1", "17"), "A1417"},
        {"track 18", run("03", "1", "18"), "31418"},
        {"track 21 writes 17", run("09", "1", "21"), "91417"},
        {"track 22 writes 18", run("01", "1", "22"), "11418"},
        {"dirt: three characters", run("05", "1", "24"), "514"},
        {"a course outside 01-10", run("11", "1", "24"), "B14"},
        {"course 00", run("00", "2", "29"), "B24"},
        {"jump: track before the day flag", run("05", "1", "54"), "5541"},
        {"track 19: any other", run("05", "1", "19"), "5191"},
        {"weekday 3 gives 2", run("05", "3", "24"), "524"},
        {"blank weekday gives 2", run("05", " ", "24"), "524"},
        {"garbled weekday gives 2", run("05", "x", "11"), "52411"},
        {"garbled track: any other", run("05", "1", "1a"), "51a1"},
        {"blank track: any other", run("05", "1", "  "), "5  1"},
    });
}

TEST(ItemsOneToTen, PreviousRunClass) {
    const Fields prev{{ex::GradeCode, "B"}, {ex::TrackCode, "11"}, {ex::Distance, "1600"}};
    expectCodes(3, {
        {"debut: youngest condition, 0, 1", {{{ex::ConditionCodes(4), "703"}}}, "70301"},
        {"debut beyond 5000 m", {{{ex::ConditionCodes(4), "701"}, {ex::Distance, "5200"}}}, "70102"},
        {"same distance text", {prev, {}}, "B1D"},
        {"blank grade stays", {{{ex::GradeCode, " "}}, {}}, " 1D"},
        {"longer now", {prev, {{ex::Distance, "2000"}}}, "B12"},
        {"shorter now", {prev, {{ex::Distance, "1200"}}}, "B11"},
        {"dirt 23", {{{ex::TrackCode, "23"}}, {}}, "A2D"},
        {"dirt 24", {{{ex::TrackCode, "24"}}, {}}, "A2D"},
        {"dirt 25 is other", {{{ex::TrackCode, "25"}}, {}}, "A3D"},
        {"jump is other", {{{ex::TrackCode, "54"}}, {}}, "A3D"},
        {"track 00 is turf", {{{ex::TrackCode, "00"}}, {}}, "A1D"},
        {"local run: data kind A", {{{ex::DataKind, "A"}, {ex::TrackCode, "24"}}, {}}, "AAD"},
        {"overseas run: data kind B", {{{ex::DataKind, "B"}}, {}}, "ABD"},
        {"record 2 reads record 1 whatever its abnormality", {{{ex::AbnormalityCode, "1"}}, {}}, "A1D"},
        {"scratched previous run: the one before",
         {prev, {{ex::GradeCode, "C"}, {ex::AbnormalityCode, "1"}}, {{ex::Distance, "1800"}}}, "B12"},
        {"only record cur-1 is examined",
         {prev, {{ex::AbnormalityCode, "1"}}, {{ex::AbnormalityCode, "1"}, {ex::GradeCode, "C"}}, {}}, "A1D"},
    });
}

TEST(ItemsOneToTen, CarriedWeight) { expectCodes(4, {{"as text", {{{ex::CarriedWeight, "545"}}}, "545"}}); }

TEST(ItemsOneToTen, PrizeSum) {
    auto prizes = [](std::initializer_list<const char*> earlier) {
        QList<Fields> runs;
        for (const char* p : earlier) runs.append({{ex::PrizeMoney, p}});
        runs.append({{ex::PrizeMoney, "99999999"}});  // the current run never counts
        return runs;
    };
    expectCodes(5, {
        {"debut", {{}}, "00"},
        {"nothing won", prizes({"00000000", "00000000"}), "00"},
        {"a sum of 1", prizes({"00000001"}), "00"},
        {"a sum of 2", prizes({"00000002"}), "3"},
        {"a sum of 1000", prizes({"00000400", "00000600"}), "30"},
        {"band 66", prizes({"04000000"}), "66"},
        {"above 66", prizes({"10000000"}), "66"},
        {"a garbled prize counts 0", prizes({"0000x000", "00000002"}), "3"},
        {"a blank prize counts 0", prizes({"        ", "00000002"}), "3"},
        {"every earlier run counts, scratched or not",
         {{{ex::PrizeMoney, "00000500"}}, {{ex::PrizeMoney, "00000500"}, {ex::AbnormalityCode, "1"}}, {}}, "30"},
    });
    Horse h;
    h.runs = {exRecord({{ex::PrizeMoney, "-0000100"}}), exRecord()};
    EXPECT_THROW(h.code(5), rw::StepFailure) << "no logarithm of a negative sum";
}

TEST(ItemsOneToTen, RaceSymbol) {
    auto run = [](const char* symbol, const char* track) {
        return QList<Fields>{{{ex::RaceSymbolCode, symbol}, {ex::TrackCode, track}}};
    };
    expectCodes(6, {
        {"first two characters", run("A01", "11"), "A0"},
        {"N2 on dirt 23", run("N23", "23"), "N0"},
        {"N2 on dirt 24", run("N21", "24"), "N0"},
        {"N2 on dirt 25 stays", run("N23", "25"), "N2"},
        {"N2 on turf stays", run("N23", "11"), "N2"},
        {"garbled track", run("N23", "2x"), "N2"},
    });
}

TEST(ItemsOneToTen, JockeyPlaceRate) {
    auto setup = [](Horse& h) {
        using P = PeopleStatsRecord;
        h.addStats(kJockeyStatsFile, statsRecord(P::kLength, "01126",
                                                 {{P::TurfPlaceRate, "012000"}, {P::DirtPlaceRate, "  8000"},
                                                  {P::OtherPlaceRate, "000000"}}));
        h.addStats(kJockeyStatsFile, statsRecord(P::kLength, "01200", {{P::TurfPlaceRate, "040000"}}));
        h.addStats(kJockeyStatsFile, statsRecord(P::kLength, "01300", {{P::TurfPlaceRate, "      "}}));
    };
    auto run = [](const char* jockey, const char* track) {
        return QList<Fields>{{{ex::JockeyCode, jockey}, {ex::TrackCode, track}}};
    };
    expectCodes(7, {
        {"turf rate", run("01126", "11"), "13"},
        {"turf up to 22", run("01126", "22"), "13"},
        {"dirt 23-29", run("01126", "29"), "12"},
        {"other from 30", run("01126", "30"), "10"},
        {"jump", run("01126", "54"), "10"},
        {"garbled track: other rate", run("01126", "2x"), "10"},
        {"band 10 folds to 19", run("01200", "11"), "19"},
        {"blank rate reads 0", run("01300", "11"), "10"},
        {"code 00000", run("00000", "11"), "11"},
        {"blank code", run("     ", "11"), "11"},
        {"not in the file", run("09999", "11"), "11"},
    }, setup);
}

TEST(ItemsOneToTen, HorsePlaceRate) {
    auto setup = [](Horse& h) {
        using S = HorseStatsRecord;
        h.addStats(kHorseExtractFile, statsRecord(S::kLength, "2020101234",
                                                  {{S::FlatPlaceRate, "041000"}, {S::JumpPlaceRate, "008000"}}));
        h.addStats(kHorseExtractFile, statsRecord(S::kLength, "2020100001", {{S::FlatPlaceRate, "003999"}}));
    };
    auto run = [](const char* horse, const char* track) {
        return QList<Fields>{{{ex::RegistrationNo, horse}, {ex::TrackCode, track}}};
    };
    expectCodes(8, {
        {"flat band 10, no prefix", run("2020101234", "11"), "10"},
        {"flat up to 49", run("2020101234", "49"), "10"},
        {"jump from 50", run("2020101234", "50"), "2"},
        {"garbled track: jump rate", run("2020101234", "5x"), "2"},
        {"band 0", run("2020100001", "24"), "0"},
        {"not in the extract", run("2020109999", "11"), "10"},
        {"number of zeros", run("0000000000", "11"), "10"},
        {"blank number", run("          ", "11"), "10"},
    }, setup);
}

TEST(ItemsOneToTen, RunCount) {
    auto runs = [](int n) { return QList<Fields>(n, Fields{}); };
    expectCodes(9, {
        {"debut", runs(1), "001"},
        {"second run shares 001", runs(2), "001"},
        {"third", runs(3), "002"},
        {"record 60", runs(60), "059"},
        {"record 61", runs(61), "060"},
        {"record 100", runs(100), "060"},
    });
}

TEST(ItemsOneToTen, WeightRatio) {
    auto run = [](const char* carried, const char* body, const char* sex) {
        return QList<Fields>{{{ex::CarriedWeight, carried}, {ex::BodyWeight, body}, {ex::SexCode, sex}}};
    };
    expectCodes(10, {
        {"57 kg on 480 kg: 106", run("570", "480", "1"), "106"},
        {"made even: 107 gives 106", run("540", "450", "1"), "106"},
        {"a mare adds 200", run("570", "480", "2"), "306"},
        {"a gelding adds nothing", run("570", "480", "3"), "106"},
        {"limited to 114", run("570", "300", "1"), "114"},
        {"limited to 96", run("500", "999", "1"), "096"},
        {"a mare at 100 gives 100", run("500", "450", "2"), "100"},
        {"no body weight: 100", run("570", "000", "1"), "100"},
        {"no weights, a mare: 100", run("000", "000", "2"), "100"},
        {"garbled weight: ratio 100", run("5x0", "480", "1"), "100"},
        {"garbled body weight, a mare: 100", run("570", "4 0", "2"), "100"},
    });
}
