// Items 17 and 29 weigh the previous run in the window's loaded models; the
// surface-aware lookups and weight sums they use.
#include "common/errors.h"
#include "item_fixture.h"
#include "model/category_lookup.h"

#include <gtest/gtest.h>

using namespace rw::model;
using rwtest::Category;
using rwtest::exRecord;
using rwtest::Fields;
using rwtest::Horse;
using rwtest::setItem;

namespace {

// Turf: the year 2024 weighs 61.0 (pace) and 34.0 (上がり), course code
// 52411 0.2 and 0.1; item 3's "A1D" weighs −21 in both. Dirt and jump weigh
// the year only.
void setup(Horse& h) {
    FactorModel& turf = h.state.TurfModel;
    setItem(turf, 1, {{"2023     ", 33.0f, 60.0f}, {"2024     ", 34.0f, 61.0f}});
    setItem(turf, 2, {{"52411      ", 0.1f, 0.2f}, {"52411      ", 9.0f, 9.0f}});
    setItem(turf, 3, {{"A1D      ", -21.0f, -21.0f}});
    setItem(turf, 20, {{"1110012345", 1.0f, 1.0f}});
    setItem(turf, 21, {{"          ", 1.0f, 1.0f}});
    setItem(turf, 26, {{"1", 1.0f, 1.0f}});
    setItem(h.state.DirtModel, 1, {{"2024     ", 30.0f, 40.0f}});
    setItem(h.state.JumpModel, 1, {{"2024     ", 55.0f, 55.0f, 55.0f}});
}

// The previous run: its stored codes, track and times.
Fields previous(const char* track, const char* distance, const char* time, const char* last3f,
                std::initializer_list<rwtest::FieldValue> more = {}) {
    Fields f{{ex::TrackCode, track}, {ex::Distance, distance}, {ex::RaceTime, time}, {ex::Last3FTime, last3f},
             {ex::Category(1), "2024"}, {ex::Category(2), "52411"}, {ex::SireNo, "1119999999"},
             {ex::DamSireNo, "0000000000"}, {ex::BlinkerCode, "0"}};
    f += more;
    return f;
}

}  // namespace

TEST(PreviousResidual, PaceAgainstThePrediction) {
    // Pace speeds: 1600 m in 1356 with 345: 58.9; 1278: 67.5; 1536: 45.5;
    // 1000 m in 7145 with 345: 3.6.
    rwtest::expectCodes(17, {
        {"debut", {{}}, "10"},
        {"58.9 against 61.2: 7", {previous("11", "1600", "1356", "345"), {}}, "7"},
        {"6 km/h above: 16 gives 10", {previous("11", "1600", "1278", "345"), {}}, "10"},
        {"sire, dam sire and blinker fields weigh items 20, 21, 26",
         {previous("11", "1600", "1356", "345", {{ex::SireNo, "1110012345"}, {ex::DamSireNo, "          "},
                                                  {ex::BlinkerCode, "1"}}), {}}, "4"},
        {"a weight beyond 20 counts", {previous("11", "1600", "1536", "345", {{ex::Category(3), "A1D"}}), {}}, "15"},
        {"item 1 without a category weighs 0", {previous("11", "1000", "7145", "345", {{ex::Category(1), "2030"}}), {}}, "13"},
        {"dirt 23", {previous("23", "1600", "1536", "345"), {}}, "15"},
        {"dirt 25: the dirt sum, left at 0", {previous("25", "1000", "7145", "345"), {}}, "13"},
        {"jump", {previous("54", "3000", "3200", "345"), {}}, "15"},
        {"no measured pace", {previous("11", "1600", "1356", "   "), {}}, "10"},
        {"a scratched previous run is passed over",
         {previous("11", "1600", "1356", "345"), {{ex::AbnormalityCode, "1"}, {ex::Last3FTime, "   "}}, {}}, "7"},
    }, setup);
}

TEST(PreviousResidual, AgariAgainstThePrediction) {
    rwtest::expectCodes(29, {
        {"debut", {{}}, "10"},
        {"35.4 against 34.1: 11", {previous("11", "1600", "1356", "610"), {}}, "11"},
        {"40.0 against 34.1: 16 gives 10", {previous("11", "1600", "1356", "540"), {}}, "10"},
        {"dirt 24", {previous("24", "1600", "1356", "610"), {}}, "15"},
        {"jump: 200 m over the last time", {previous("54", "3000", "3200", "130"), {}}, "10"},
        {"no measured 上がり", {previous("11", "1600", "1356", "   "), {}}, "10"},
    }, setup);
}

TEST(PreviousResidual, FailuresOfThePreviousRunPassUp) {
    for (const Fields& bad : {previous("11", "1600", "0345", "345"), previous("1x", "1600", "1356", "345")}) {
        Horse h;
        setup(h);
        h.runs = {exRecord(bad), exRecord()};
        EXPECT_THROW(h.code(17), rw::StepFailure);
    }
}

TEST(SurfaceLookups, ChooseTheModelByTrackAndTakeTheFirstMatch) {
    Horse h;
    setup(h);
    ExpandedState& st = h.state;
    struct Case {
        const char* track;
        int year;  // SurfaceIndex(1)
        float paceTurf, paceDirt, paceJump;
    } cases[] = {
        {"00", 2, 61.2f, 0, 0}, {"22", 2, 61.2f, 0, 0}, {"23", 1, 0, 40, 0}, {"24", 1, 0, 40, 0},
        {"25", 1, 0, 0, 55}, {"29", 1, 0, 0, 55}, {"30", 1, 0, 0, 55}, {"54", 1, 0, 0, 55},
    };
    for (const Case& c : cases) {
        st.ExRecord = exRecord(previous(c.track, "1600", "1356", "345"));
        FindCategoryIndexesBySurface(st, h.scan);
        SumPaceWeightsBySurface(st);
        EXPECT_EQ(st.SurfaceIndex[1], c.year) << c.track;
        EXPECT_FLOAT_EQ(st.PaceSumTurf, c.paceTurf) << c.track;
        EXPECT_FLOAT_EQ(st.PaceSumDirt, c.paceDirt) << c.track;
        EXPECT_FLOAT_EQ(st.PaceSumJump, c.paceJump) << c.track;
        EXPECT_EQ(st.ItemNo, 30);
        EXPECT_EQ(st.CategoryNo, 31);
    }
    // The first of two equal codes; items 20, 21 and 26 by their own fields.
    st.ExRecord = exRecord(previous("11", "1600", "1356", "345", {{ex::SireNo, "1110012345"},
                                                                    {ex::DamSireNo, "          "},
                                                                    {ex::BlinkerCode, "1"},
                                                                    {ex::Category(20), "1110012345"}}));
    FindCategoryIndexesBySurface(st, h.scan);
    EXPECT_EQ(st.SurfaceIndex[2], 1);
    EXPECT_EQ(st.SurfaceIndex[20], 1);
    EXPECT_EQ(st.SurfaceIndex[21], 1);
    EXPECT_EQ(st.SurfaceIndex[26], 1);
    EXPECT_EQ(st.SearchCode, QByteArray(4, '\0')) << "the whole field of item 30, never assigned";
    // No retry for item 2.
    st.ExRecord = exRecord(previous("11", "1600", "1356", "345", {{ex::Category(2), "62411"}}));
    FindCategoryIndexesBySurface(st, h.scan);
    EXPECT_EQ(st.SurfaceIndex[2], 0);
    // The track code is read strictly.
    st.ExRecord = exRecord(previous("x1", "1600", "1356", "345"));
    EXPECT_THROW(FindCategoryIndexesBySurface(st, h.scan), rw::StepFailure);
}

TEST(SurfaceLookups, AgariSumsAddEveryItemInSingle) {
    Horse h;
    setup(h);
    ExpandedState& st = h.state;
    st.AgariSumDirt = st.AgariSumJump = 99;
    st.ExRecord = exRecord(previous("11", "1600", "1356", "345", {{ex::Category(3), "A1D"}}));
    FindCategoryIndexesBySurface(st, h.scan);
    SumAgariWeightsBySurface(st);
    EXPECT_EQ(st.AgariSumTurf, (34.0f + 0.1f) + -21.0f);
    EXPECT_EQ(st.AgariSumDirt, 0.0f);
    EXPECT_EQ(st.AgariSumJump, 0.0f);
}

TEST(CategoryIndexes, IndexAnswersAsTheScan) {
    FactorModel m;
    setItem(m, 2, {{"52411      "}, {"52411"}, {"62411      "}, {"62411 "}, {"52411      "}, {"624"}});
    setItem(m, 7, {{"13   "}, {"13"}, {"13   "}});
    IndexedCategories index;
    ScannedCategories scan;
    for (int item : {2, 7, 8})
        for (const char* code : {"52411      ", "52411", "62411", "62411 ", "13   ", "13", "", "624", "x"}) {
            EXPECT_EQ(index.find(m, item, code), scan.find(m, item, code)) << item << code;
            EXPECT_EQ(index.findPrefix(m, item, code), scan.findPrefix(m, item, code)) << item << code;
        }
    EXPECT_EQ(index.find(m, 2, "52411      "), 1);
    EXPECT_EQ(index.findPrefix(m, 2, "62411"), 3);
    EXPECT_EQ(index.find(m, 7, "13"), 2);
}

TEST(CategoryIndexes, WholeFieldFirstMatchAndTheItemTwoRetry) {
    ExpandedState st;
    FactorModel m;
    setItem(m, 1, {{"2024     "}});
    setItem(m, 2, {{"71411      "}, {"614110     "}, {"61411      "}});
    setItem(m, 3, {{"A1D"}, {"A1D      "}});
    ScannedCategories scan;
    st.ExRecord = exRecord({{ex::Category(1), "2024"}, {ex::Category(2), "51411"}, {ex::Category(3), "A1D"}});
    FindCategoryIndexes(st, m, scan);
    EXPECT_EQ(st.FoundIndex[1], 1);
    EXPECT_EQ(st.FoundIndex[2], 2) << "retried as 61411 against the first five characters";
    EXPECT_EQ(st.FoundIndex[3], 2) << "the whole field, trailing blanks included";
    EXPECT_EQ(st.FoundIndex[4], 0);
    EXPECT_EQ(st.ItemNo, 30);
    st.ExRecord = exRecord({{ex::Category(2), "71411"}});
    FindCategoryIndexes(st, m, scan);
    EXPECT_EQ(st.FoundIndex[2], 1);
}
