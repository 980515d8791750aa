// Items 11 to 20: one table of cases per item, the last record classified.
#include "common/errors.h"
#include "item_fixture.h"
#include "model/package_files.h"

#include <QDate>
#include <gtest/gtest.h>
#include <cmath>

using namespace rw::model;
using rwtest::exRecord;
using rwtest::expectCodes;
using rwtest::Fields;
using rwtest::Horse;
using rwtest::statsRecord;

namespace {

Fields raceDate(const QDate& d) {
    return {{ex::RaceYear, QByteArray::number(d.year())}, {ex::RaceMonthDay, d.toString("MMdd").toLatin1()}};
}

// A run `months` × 30 days after a birth on 2020-01-01.
Fields ageRun(int months, const char* sex, const char* track) {
    Fields f = raceDate(QDate(2020, 1, 1).addDays(30 * months));
    f += {{ex::BirthYear, "2020"}, {ex::BirthMonth, "01"}, {ex::BirthDay, "01"}, {ex::SexCode, sex},
          {ex::TrackCode, track}};
    return f;
}

// Records raced on the given days after 2024-01-06 (a Saturday), oldest first.
QList<Fields> racedOn(std::initializer_list<int> days) {
    QList<Fields> runs;
    for (int d : days) runs.append(raceDate(QDate(2024, 1, 6).addDays(d)));
    return runs;
}

}  // namespace

TEST(ItemsElevenToTwenty, BodyWeight) {
    auto run = [](const char* b) { return QList<Fields>{{{ex::BodyWeight, b}}}; };
    expectCodes(11, {
        {"415 kg: 51 gives 50", run("415"), "50"},
        {"416 kg: 52", run("416"), "52"},
        {"480 kg: 60", run("480"), "60"},
        {"568 kg: 71 gives 70", run("568"), "70"},
        {"no body weight: 50", run("000"), "50"},
        {"blank body weight: 50", run("   "), "50"},
    });
    Horse h;
    h.runs = {exRecord({{ex::BodyWeight, "4x0"}})};
    EXPECT_THROW(h.code(11), rw::StepFailure);
}

TEST(ItemsElevenToTwenty, AgeInMonths) {
    expectCodes(12, {
        {"male of 24 months on the flat", {ageRun(24, "1", "11")}, "127"},
        {"male of 50 months", {ageRun(50, "1", "24")}, "145"},
        {"42 months", {ageRun(42, "1", "11")}, "142"},
        {"43 months fold", {ageRun(43, "1", "11")}, "143"},
        {"beyond 90 months", {ageRun(120, "1", "11")}, "159"},
        {"dirt 29 is flat", {ageRun(24, "1", "29")}, "127"},
        {"a mare", {ageRun(30, "2", "11")}, "230"},
        {"a gelding of 30 months gives 334", {ageRun(30, "3", "11")}, "334"},
        {"a gelding of 26 months", {ageRun(26, "3", "11")}, "334"},
        {"a gelding of 34 months", {ageRun(34, "3", "11")}, "334"},
        {"a jump runner of 30 months", {ageRun(30, "1", "54")}, "140"},
        {"a jump gelding of 30 months", {ageRun(30, "3", "54")}, "340"},
        {"track 30 counts as jump", {ageRun(30, "1", "30")}, "140"},
        {"blank sex code", {ageRun(60, " ", "11")}, "349"},
        {"no birth date: blanks", {{{ex::BirthYear, "    "}, {ex::BirthMonth, "  "}, {ex::BirthDay, "  "}}}, ""},
        {"not a date: blanks", {{{ex::RaceMonthDay, "0230"}}}, ""},
    });
    Horse h;
    h.runs = {exRecord(ageRun(30, "1", "x1"))};
    EXPECT_THROW(h.code(12), rw::StepFailure) << "track read strictly";
}

TEST(ItemsElevenToTwenty, SireAmount) {
    auto setup = [](Horse& h) {
        using S = SireStatsRecord;
        h.addStats(kSireStatsFile, statsRecord(S::kLength, "1110012345", {{S::ThirdAmount, "000001000"}}));
        h.addStats(kSireStatsFile, statsRecord(S::kLength, "1110000002", {{S::ThirdAmount, "031622777"}}));
        h.addStats(kSireStatsFile, statsRecord(S::kLength, "1110000003", {{S::ThirdAmount, "000000000"}}));
        h.addStats(kSireStatsFile, statsRecord(S::kLength, "1110000004", {{S::ThirdAmount, "-00000005"}}));
    };
    auto run = [](const char* sire, const char* track = "11") {
        return QList<Fields>{{{ex::SireNo, sire}, {ex::TrackCode, track}}};
    };
    expectCodes(13, {
        {"1000", run("1110012345"), "30"},
        {"any surface", run("1110012345", "54"), "30"},
        {"no limit", run("1110000002"), "75"},
        {"an amount of 0", run("1110000003"), "00"},
        {"not in the file", run("1119999999"), "00"},
        {"zeros", run("0000000000"), "00"},
        {"blanks", run("          "), "00"},
    }, setup);
    Horse h;
    setup(h);
    h.runs = {exRecord({{ex::SireNo, "1110000004"}})};
    EXPECT_THROW(h.code(13), rw::StepFailure) << "no logarithm of a negative amount";
}

TEST(ItemsElevenToTwenty, RaceInterval) {
    QList<Fields> sameCourseAfter30Weeks = racedOn({0, 14, 14 + 210, 14 + 217});
    QList<Fields> scratchedBefore = racedOn({0, 70, 77, 84});
    scratchedBefore[2] += {{ex::AbnormalityCode, "1"}};
    QList<Fields> otherCourse = racedOn({0, 420, 455, 476});
    otherCourse[2] += {{ex::CourseCode, "06"}};
    QList<Fields> badDate = racedOn({0, 7});
    badDate[0] += {{ex::RaceMonthDay, "1332"}};
    expectCodes(14, {
        {"debut", racedOn({0}), "21020"},
        {"second record, two weeks", racedOn({0, 14}), "21020"},
        {"second record, ten days round to one week", racedOn({0, 10}), "21010"},
        {"second record, eleven days round to two", racedOn({0, 11}), "21020"},
        {"five weeks", racedOn({0, 35}), "21050"},
        {"26 weeks", racedOn({0, 182}), "21260"},
        {"27 weeks", racedOn({0, 189}), "21270"},
        {"51 weeks", racedOn({0, 357}), "21270"},
        {"52 weeks", racedOn({0, 364}), "21520"},
        {"78 weeks give 52", racedOn({0, 546}), "21520"},
        {"79 weeks give 78", racedOn({0, 553}), "21780"},
        {"third record: quick return after a long rest", racedOn({0, 210, 217}), "21280"},
        {"one week at the same course after 30 weeks", sameCourseAfter30Weeks, "11280"},
        {"quick return after 60 weeks", racedOn({0, 14, 14 + 420, 14 + 434}), "11310"},
        {"previous rest of 5 weeks, the one before 60", otherCourse, "21390"},
        {"records cur-2 and cur-3 as numbered", scratchedBefore, "11020"},
        {"a date that is not one: blanks", badDate, ""},
    });
}

TEST(ItemsElevenToTwenty, PreviousOdds) {
    auto prev = [](const char* odds) { return QList<Fields>{{{ex::WinOdds, odds}}, {}}; };
    expectCodes(15, {
        {"debut", {{}}, "10"},
        {"odds of 1.0", prev("0010"), "10"},
        {"odds of 12.3", prev("0123"), "20"},
        {"odds of 999.9", prev("9999"), "39"},
        {"no odds", prev("0000"), "10"},
        {"blank odds", prev("    "), "10"},
        {"odds without a logarithm", prev("--10"), "10"},
        {"garbled odds read leniently", prev("012x"), "10"},
        {"a scratched previous run is passed over",
         {{{ex::WinOdds, "0123"}}, {{ex::WinOdds, "0010"}, {ex::AbnormalityCode, "1"}}, {}}, "20"},
    });
}

TEST(ItemsElevenToTwenty, SireGoingRate) {
    auto setup = [](Horse& h) {
        using S = SireStatsRecord;
        h.addStats(kSireStatsFile,
                   statsRecord(S::kLength, "1110012345",
                               {{S::TurfGoingRates(1), "012000"}, {S::TurfGoingRates(2), "004000"},
                                {S::TurfGoingRates(4), "040000"}, {S::DirtGoingRates(3), "008000"},
                                {S::JumpGoingRates(1), "016000"}}));
        h.addStats(kSireStatsFile, statsRecord(S::kLength, "          ", {{S::TurfGoingRates(1), "020000"}}));
    };
    auto run = [](const char* sire, const char* track, const char* turf, const char* dirt = "0") {
        return QList<Fields>{{{ex::SireNo, sire}, {ex::TrackCode, track}, {ex::TurfGoingCode, turf},
                              {ex::DirtGoingCode, dirt}}};
    };
    expectCodes(16, {
        {"turf, going 1", run("1110012345", "11", "1"), "13"},
        {"turf, going 0 as 1", run("1110012345", "22", "0"), "13"},
        {"turf, going 2", run("1110012345", "11", "2"), "21"},
        {"turf, going 3 blank rate", run("1110012345", "11", "3"), "30"},
        {"turf, going 4", run("1110012345", "11", "4"), "410"},
        {"dirt 23-49 takes the dirt going", run("1110012345", "49", "1", "3"), "32"},
        {"jump takes the turf going", run("1110012345", "54", "1", "3"), "14"},
        {"blank going", run("1110012345", "11", " "), "10"},
        {"going 5", run("1110012345", "11", "5"), "10"},
        {"zeros", run("0000000000", "11", "1"), "10"},
        {"blanks are searched", run("          ", "11", "1"), "15"},
        {"not in the file", run("1119999999", "11", "1"), "10"},
    }, setup);
}

TEST(ItemsElevenToTwenty, JockeyAge) {
    auto run = [](const char* birth, const char* apprentice = "0") {
        return QList<Fields>{{{ex::RaceYear, "2024"}, {ex::JockeyBirthYear, birth}, {ex::ApprenticeCode, apprentice}}};
    };
    expectCodes(18, {
        {"45 years", run("1979"), "0430"},
        {"no birth year", run("    ", "3"), "0203"},
        {"20", run("2004"), "0200"},
        {"21", run("2003"), "0230"},
        {"25", run("1999"), "0230"},
        {"26", run("1998", "1"), "0281"},
        {"30", run("1994"), "0280"},
        {"31", run("1993"), "0330"},
        {"36", run("1988"), "0380"},
        {"40", run("1984"), "0380"},
        {"41", run("1983"), "0430"},
        {"an age text of one digit compares as text: 5", run("2119"), "0430"},
        {"an age text of one digit compares as text: 4", run("2120"), "0380"},
        {"a hundred and five years: 05", run("2019"), "0200"},
        {"a hundred years", run("1924"), "0200"},
    });
    for (const char* bad : {"19x5", "  85"}) {
        Horse h;
        h.runs = {exRecord({{ex::JockeyBirthYear, bad}})};
        if (QByteArray(bad) == "  85") {
            EXPECT_EQ(h.code(18), "0380");  // 2024 + 100 - 85 = 2039
        } else {
            EXPECT_THROW(h.code(18), rw::StepFailure);
        }
    }
}

TEST(ItemsElevenToTwenty, TrainerPlaceRate) {
    auto setup = [](Horse& h) {
        using P = PeopleStatsRecord;
        h.addStats(kTrainerStatsFile, statsRecord(P::kLength, "01055",
                                                  {{P::TurfPlaceRate, "012000"}, {P::DirtPlaceRate, "039999"},
                                                   {P::OtherPlaceRate, "044000"}}));
        h.addStats(kTrainerStatsFile, statsRecord(P::kLength, "01056", {{P::TurfPlaceRate, "040000"}}));
    };
    auto run = [](const char* trainer, const char* track) {
        return QList<Fields>{{{ex::TrainerCode, trainer}, {ex::TrackCode, track}}};
    };
    expectCodes(19, {
        {"turf", run("01055", "11"), "13"},
        {"dirt up to 49", run("01055", "49"), "19"},
        {"other from 50, 111 gives 110", run("01055", "50"), "110"},
        {"band 10 stays 110", run("01056", "11"), "110"},
        {"not in the file", run("09999", "11"), "10"},
        {"zeros", run("00000", "11"), "10"},
        {"blanks", run("     ", "11"), "10"},
    }, setup);
}

TEST(ItemsElevenToTwenty, SireEarningsPerRun) {
    auto setup = [](Horse& h) {
        using S = SireStatsRecord;
        auto sire = [&](const char* key, const char* n, const char* a, const char* jn = "000000",
                        const char* ja = "000000000") {
            h.addStats(kSireStatsFile, statsRecord(S::kLength, key,
                                                   {{S::FlatStarts, n}, {S::FlatEarnings, a}, {S::JumpStarts, jn},
                                                    {S::JumpEarnings, ja}}));
        };
        sire("1110000001", "000010", QByteArray::number(std::llround(10 * std::pow(10.0, 3.2))).rightJustified(9, '0'));
        sire("1110000002", "000010", "000000316", "000001", "000100000");
        sire("1110000003", "000000", "000001000");
        sire("1110000004", "000010", "000000000");
        sire("1110000005", "000002", "000000001");
        sire("1110000006", "000001", "001000000");
        sire("1110000007", "000001", "-00000010");
    };
    auto run = [](const char* sire, const char* track = "11") {
        return QList<Fields>{{{ex::SireNo, sire}, {ex::TrackCode, track}}};
    };
    expectCodes(20, {
        {"10^3.2 per run", run("1110000001"), "32"},
        {"band 15 gives 25", run("1110000002"), "25"},
        {"flat up to 29", run("1110000002", "29"), "25"},
        {"jump from 30: band 50 gives 46", run("1110000002", "30"), "46"},
        {"no starts", run("1110000003"), "0"},
        {"no earnings", run("1110000004"), "0"},
        {"below 1 per run: negative band kept", run("1110000005"), "-4"},
        {"band 60 gives 46", run("1110000006"), "46"},
        {"not in the file", run("1119999999"), "0"},
        {"zeros", run("0000000000"), "0"},
        {"blanks", run("          "), "0"},
    }, setup);
    Horse h;
    setup(h);
    h.runs = {exRecord({{ex::SireNo, "1110000007"}})};
    EXPECT_THROW(h.code(20), rw::StepFailure) << "negative earnings have no logarithm";
}
