// Items 21 to 30: one table of cases per item, the last record classified.
#include "common/errors.h"
#include "item_fixture.h"
#include "model/package_files.h"

#include <gtest/gtest.h>
#include <cmath>

using namespace rw::model;
using rwtest::exRecord;
using rwtest::expectCodes;
using rwtest::Fields;
using rwtest::Horse;
using rwtest::statsRecord;

namespace {

void expectFailure(int item, std::initializer_list<rwtest::FieldValue> fields, void (*setup)(Horse&) = nullptr) {
    Horse h;
    if (setup) setup(h);
    h.runs = {exRecord(fields)};
    EXPECT_THROW(h.code(item), rw::StepFailure) << "item " << item;
}

}  // namespace

TEST(ItemsTwentyOneToThirty, RaceNumber) {
    auto run = [](const char* race, const char* grade, const char* track) {
        return QList<Fields>{{{ex::RaceNo, race}, {ex::GradeCode, grade}, {ex::TrackCode, track}}};
    };
    expectCodes(21, {
        {"race 11 of a grade A race on turf", run("11", "A", "11"), "11A"},
        {"the same race on a jump track", run("11", "A", "54"), "A"},
        {"ungraded on dirt 24", run("11", " ", "24"), "11 "},
        {"dirt 25 takes the grade alone", run("11", "B", "25"), "B"},
    });
    expectFailure(21, {{ex::TrackCode, "2x"}});
}

TEST(ItemsTwentyOneToThirty, Distance) {
    auto run = [](const char* d, const char* track) {
        return QList<Fields>{{{ex::Distance, d}, {ex::TrackCode, track}}};
    };
    expectCodes(22, {
        {"flat 1200", run("1200", "11"), "1200"},
        {"dirt 29 as text", run("1800", "29"), "1800"},
        {"jump 2800", run("2800", "54"), "2800"},
        {"jump 2801", run("2801", "54"), "2900"},
        {"jump 2880", run("2880", "54"), "2900"},
        {"jump 3000", run("3000", "54"), "3500"},
        {"jump 3500", run("3500", "54"), "3500"},
        {"jump 3570", run("3570", "54"), "4000"},
        {"track 30", run("3570", "30"), "4000"},
    });
    expectFailure(22, {{ex::Distance, "    "}, {ex::TrackCode, "54"}});
}

TEST(ItemsTwentyOneToThirty, SireDistanceRate) {
    auto setup = [](Horse& h) {
        using S = SireStatsRecord;
        h.addStats(kSireStatsFile,
                   statsRecord(S::kLength, "1110012345",
                               {{S::TurfDistanceRates(1), "030000"}, {S::TurfDistanceRates(2), "002000"},
                                {S::TurfDistanceRates(3), "090000"}, {S::DirtDistanceRates(2), "012000"},
                                {S::DirtDistanceRates(3), "001000"}, {S::JumpPlaceRate, "008000"}}));
        h.addStats(kSireStatsFile, statsRecord(S::kLength, "1110000002", {{S::TurfDistanceRates(1), "050000"}}));
    };
    auto run = [](const char* sire, const char* track, const char* d) {
        return QList<Fields>{{{ex::SireNo, sire}, {ex::TrackCode, track}, {ex::Distance, d}}};
    };
    expectCodes(23, {
        {"turf 1400, rate 30000", run("1110012345", "11", "1400"), "17"},
        {"turf 1600 is the first band", run("1110012345", "22", "1600"), "17"},
        {"turf 1601, band 0 gives 10", run("1110012345", "11", "1601"), "10"},
        {"turf 2400, band 22 held at 9", run("1110012345", "11", "2400"), "39"},
        {"turf 1400, rate 50000: 112 gives 19", run("1110000002", "11", "1400"), "19"},
        {"dirt 1800", run("1110012345", "23", "1800"), "23"},
        {"dirt up to 49", run("1110012345", "49", "2201"), "10"},
        {"jump: the jump rate, digit 1", run("1110012345", "54", "3000"), "12"},
        {"zeros", run("0000000000", "11", "1400"), "10"},
        {"blanks", run("          ", "11", "1400"), "10"},
        {"not in the file", run("1119999999", "11", "1400"), "10"},
        {"not in the file: the distance is not read", run("1119999999", "11", "    "), "10"},
    }, setup);
    expectFailure(23, {{ex::SireNo, "1110012345"}, {ex::Distance, "14x0"}}, setup);
}

TEST(ItemsTwentyOneToThirty, HorseNumber) {
    auto run = [](const char* h, const char* track) {
        return QList<Fields>{{{ex::HorseNo, h}, {ex::TrackCode, track}}};
    };
    expectCodes(24, {
        {"horse 16 on turf", run("16", "11"), "161"},
        {"dirt 24", run("16", "24"), "161"},
        {"dirt 25 as jump", run("16", "25"), "14"},
        {"horse 16 in a jump race", run("16", "54"), "14"},
        {"horse 7 in a jump race", run("07", "54"), "07"},
        {"horse 14 in a jump race", run("14", "54"), "14"},
    });
    expectFailure(24, {{ex::HorseNo, "  "}, {ex::TrackCode, "54"}});
}

TEST(ItemsTwentyOneToThirty, SymbolOrBirthMonth) {
    expectCodes(25, {
        {"symbol 00, born in December", {{{ex::HorseSymbolCode, "00"}, {ex::BirthMonth, "12"}}}, "121"},
        {"a symbol", {{{ex::HorseSymbolCode, "05"}, {ex::BirthMonth, "12"}}}, "05"},
    });
}

TEST(ItemsTwentyOneToThirty, PreviousTimeDiff) {
    auto prev = [](const char* diff, const char* arrival = "03", const char* margin = "H  ") {
        return QList<Fields>{{{ex::TimeDiff, diff}, {ex::ArrivalOrder, arrival}, {ex::MarginCode, margin}}, {}};
    };
    expectCodes(26, {
        {"debut", {{}}, "0099"},
        {"no difference", prev("0000"), "0099"},
        {"blank", prev("    "), "0099"},
        {"+999", prev("+999"), "0099"},
        {"-999", prev("-999"), "0099"},
        {"9999", prev("9999"), "0099"},
        {"won by 0.0", prev("-000"), "0001"},
        {"won by 0.1", prev("-001"), "0002"},
        {"won by 0.2", prev("-002"), "0003"},
        {"won by 0.3", prev("-003"), "0004"},
        {"won by 0.4", prev("-004"), "0004"},
        {"won by 0.5", prev("-005"), "0005"},
        {"won by 0.9", prev("-009"), "0005"},
        {"won by 1.0", prev("-010"), "0006"},
        {"won by 99.8", prev("-998"), "0006"},
        {"second by a nose", prev("+000", "02", "H  "), "+H  "},
        {"third at the winner's time", prev("+000", "03"), "0007"},
        {"+001", prev("+001"), "0008"},
        {"+012", prev("+012"), "0019"},
        {"+029", prev("+029"), "0036"},
        {"+030", prev("+030"), "0037"},
        {"+040", prev("+040"), "0047"},
        {"+041", prev("+041"), "0048"},
        {"4.5 s", prev("+045"), "0052"},
        {"+050", prev("+050"), "0057"},
        {"5.1 s", prev("+051"), "0099"},
        {"+01x is none of the rows", prev("+01x"), "0099"},
        {"a scratched previous run is passed over",
         {{{ex::TimeDiff, "-003"}}, {{ex::TimeDiff, "+012"}, {ex::AbnormalityCode, "4"}}, {}}, "0004"},
    });
    Horse h;
    h.runs = {exRecord({{ex::TimeDiff, "+03x"}}), exRecord()};
    EXPECT_THROW(h.code(26), rw::StepFailure) << "+030 to +050 are read strictly";
}

TEST(ItemsTwentyOneToThirty, MeetingDay) {
    expectCodes(27, {{"meeting and day", {{{ex::MeetingNo, "03"}, {ex::DayNo, "08"}}}, "0308"}});
}

TEST(ItemsTwentyOneToThirty, RegisteredRunners) {
    auto run = [](const char* r, const char* track) {
        return QList<Fields>{{{ex::RegisteredRunners, r}, {ex::TrackCode, track}}};
    };
    expectCodes(28, {
        {"7 runners", run("07", "11"), "08"},
        {"8 runners", run("08", "24"), "08"},
        {"16 on the flat", run("16", "11"), "16"},
        {"dirt 29", run("18", "29"), "18"},
        {"16 in a jump race", run("16", "54"), "14"},
        {"12 in a jump race", run("12", "54"), "12"},
        {"9 in a jump race", run("09", "54"), "09"},
        {"7 in a jump race", run("07", "54"), "08"},
        {"track 30 as jump", run("16", "30"), "14"},
        {"a blank and a digit lie below 00", run(" 9", "11"), " 9"},
    });
}

TEST(ItemsTwentyOneToThirty, HorseEarningsPerRun) {
    auto setup = [](Horse& h) {
        using S = HorseStatsRecord;
        auto horse = [&](const char* key, const char* n, const char* a, const char* jn, const char* ja) {
            h.addStats(kHorseExtractFile, statsRecord(S::kLength, key,
                                                      {{S::FlatStarts, n}, {S::FlatEarnings, a},
                                                       {S::JumpStarts, jn}, {S::JumpEarnings, ja}}));
        };
        horse("2020100001", "000010", "000003163", "000001", "001000000");
        horse("2020100002", "000000", "000000000", "000000", "000000000");
        horse("2020100003", "000002", "000000001", "000001", "000000001");
    };
    auto runs = [](const char* horse, const char* track, int n) {
        return QList<Fields>(n, Fields{{ex::RegistrationNo, horse}, {ex::TrackCode, track}});
    };
    expectCodes(30, {
        {"10^2.5 per run", runs("2020100001", "11", 1), "25"},
        {"flat up to 49", runs("2020100001", "49", 1), "25"},
        {"jump: band 60 gives 53", runs("2020100001", "54", 1), "53"},
        {"no earnings: third run gives 3", runs("2020100002", "11", 3), "3"},
        {"no earnings: 25th run gives 19", runs("2020100002", "11", 25), "19"},
        {"no earnings in a jump race: third run", runs("2020100002", "54", 3), "3"},
        {"no earnings in a jump race: first run gives 19", runs("2020100002", "54", 1), "19"},
        {"below 1 per run", runs("2020100003", "11", 1), "96"},
        {"jump, band 0: the run number, below 3 gives 19", runs("2020100003", "54", 2), "19"},
        {"not in the extract", runs("2020109999", "11", 2), "10"},
        {"zeros", runs("0000000000", "54", 2), "10"},
        {"blanks", runs("          ", "11", 2), "10"},
    }, setup);
    expectFailure(30, {{ex::RegistrationNo, "0000000000"}, {ex::TrackCode, "x4"}});
}
