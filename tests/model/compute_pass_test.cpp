// The compute pass of ⑤ on small horse files and a small model: the scope of
// each pass, the category lookups, the weights and result block, failures
// contained to their horse, progress and events.
#include "common/errors.h"
#include "common/fixed_text.h"
#include "support/recording_ui.h"
#include "common/record_file.h"
#include "ex_fixture.h"
#include "item_fixture.h"
#include "model/compute_pass.h"
#include "model/package_files.h"
#include "model/predicted_speeds.h"
#include "model/speeds.h"
#include "support/factor_package.h"
#include "support/test_support.h"

#include <QDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <cmath>
#include <map>

using namespace rw::model;
using rwtest::Category;
using rwtest::exRecord;
using rwtest::Fields;

namespace {

using Items = std::map<int, QList<Category>>;

// A category whose code is padded to the item's field, as the pass stores it.
Category cat(int item, const char* code, float agari, float pace, float soha, int samples = 5) {
    return {rw::fixedBytes(code, rw::model::kCategoryWidths[item]), agari, pace, soha, samples};
}

// The model files of a surface, written as a package delivers them.
void writeModel(const rwtest::AppFolder& app, Surface s, const Items& items) {
    QByteArray total, codes, agari, pace, soha, samples;
    for (int k = 1; k <= 30; ++k) {
        const auto it = items.find(k);
        const QList<Category> cats = it == items.end() ? QList<Category>() : it->second;
        total += QByteArray::number(cats.size()) + "\r\n";
        for (const Category& c : cats) {
            codes += "\"" + c.code + "\",";
            agari += QByteArray::number(c.agari, 'g', 9) + ",";
            pace += QByteArray::number(c.pace, 'g', 9) + ",";
            soha += QByteArray::number(c.soha, 'g', 9) + ",";
            samples += QByteArray::number(c.samples) + ",";
        }
    }
    rwtest::writeModelFiles(app, s, {total, codes, agari, pace, soha, samples});
}

// Turf: 2024 carries 34 / 60 / 58 km/h; 2023 has no samples; item 2 knows
// 51411 and the retry's 61411; item 4 (570) adds 20.0 to 上がり, 20.5 to
// ペース (kept out) and −25 to 走破 (kept out). Dirt lists three item-7
// codes where turf lists one; jump weighs 2024 at 50 in every table.
const Items kTurf = {
    {1, {cat(1, "2024", 34, 60, 58), cat(1, "2023", 1, 1, 1, 0), cat(1, "2022", 34, 0, 58)}},
    {2, {cat(2, "51411", 0.5f, 0.25f, 0.125f), cat(2, "61411", 1, 1, 1)}},
    {4, {cat(4, "570", 20.0f, 20.5f, -25)}},
    {6, {cat(6, "00", 0, 0, 0, 1234)}},
    {7, {cat(7, "10", 0, 0, 0)}},
};
const Items kDirt = {
    {1, {cat(1, "2024", 33, 59, 57)}},
    {7, {cat(7, "10", 0, 0, 0), cat(7, "11", 0, 0, 0), cat(7, "19", 9, 9, 9)}},
};
const Items kJump = {{1, {cat(1, "2024", 0, 0, 50)}}};

class ComputePass : public ::testing::Test {
protected:
    void SetUp() override {
        QDir().mkpath(app.file(QStringLiteral("UMAGOTOEXTHISWEEKN")));
        QDir().mkpath(app.file(QStringLiteral("OPTION1N")));
        writeModel(app, Surface::Turf, kTurf);
        writeModel(app, Surface::Dirt, kDirt);
        writeModel(app, Surface::Jump, kJump);
    }

    static QByteArray number(int h) { return "20201" + QByteArray::number(10000 + h); }
    QString horseFile(int h) const { return QStringLiteral("UMAGOTOEXTHISWEEKN\\") + number(h) + "EX.dat"; }
    void addHorse(int h, const QList<QByteArray>& records) {
        QByteArray all;
        for (const QByteArray& r : records) all += r;
        app.write(horseFile(h), all);
        st.WeekList << number(h);
        st.WeekListCount = int(st.WeekList.size());
    }
    QList<QByteArray> records(int h) const {
        return rw::RecordFile::readAll(app.file(horseFile(h)), kExRecordLength);
    }
    void run() {
        for (auto [m, s] : {std::pair{&st.TurfModel, Surface::Turf}, std::pair{&st.DirtModel, Surface::Dirt},
                            std::pair{&st.JumpModel, Surface::Jump}})
            LoadFactorModel(s, *m);
        ComputeRunFactors(ui, st, log);
    }

    rwtest::AppFolder app;
    ExpandedState st;
    rw::RecordingUi ui;
    rw::SkipLog log{"compute"};
};

// What the builder may leave in the slots that pass 3 leaves alone.
QByteArray withMarkers(Fields fields) {
    QByteArray r = exRecord(fields);
    for (int i : {3, 4, 5, 10}) put(r, ex::SpeedTexts(i), "MARKER" + QByteArray::number(i % 10));
    for (int i = 0; i <= 19; ++i) rw::putSingle(r, ex::Result(i).pos, 7.0f);
    return r;
}

QByteArray field(const QByteArray& r, Field f) { return get(r, f).toByteArray(); }

}  // namespace

TEST_F(ComputePass, EachPassTestsItsOwnScope) {
    struct Case {
        const char* what;
        Fields fields;
        bool classified;  // pass 1
        bool modelled;    // passes 2 and 3
    } cases[] = {
        {"dated 20101231", {{ex::RaceYear, "2010"}, {ex::RaceMonthDay, "1231"}}, false, false},
        {"dated 20110101", {{ex::RaceYear, "2011"}, {ex::RaceMonthDay, "0101"}}, true, true},
        {"track 30", {{ex::TrackCode, "30"}}, true, false},
        {"track 49", {{ex::TrackCode, "49"}}, true, false},
        {"track 50: jump", {{ex::TrackCode, "50"}, {ex::Distance, "3000"}}, true, true},
        {"track 09", {{ex::TrackCode, "09"}}, false, false},
        {"course 00", {{ex::CourseCode, "00"}}, false, false},
        {"course 11", {{ex::CourseCode, "11"}}, false, false},
        {"course 10, dirt 29", {{ex::CourseCode, "10"}, {ex::TrackCode, "29"}}, true, true},
    };
    int h = 0;
    for (const Case& c : cases) addHorse(++h, {withMarkers(c.fields)});
    run();
    EXPECT_TRUE(log.empty()) << log.skipped().front();
    h = 0;
    for (const Case& c : cases) {
        const QByteArray before = withMarkers(c.fields), r = records(++h).value(0);
        ASSERT_EQ(r.size(), kExRecordLength) << c.what;
        if (c.classified) {
            EXPECT_NE(field(r, ex::SpeedTexts(2)), QByteArray(kNoSpeed)) << c.what;
            EXPECT_EQ(field(r, ex::Category(9)), "001") << c.what;
        } else {
            for (int i = 0; i <= 2; ++i) EXPECT_EQ(field(r, ex::SpeedTexts(i)), QByteArray(kNoSpeed)) << c.what;
            EXPECT_EQ(r.mid(ex::Category(1).offset(), 176), QByteArray(176, ' ')) << c.what;
        }
        if (c.modelled) {
            EXPECT_NE(field(r, ex::CategoryIndex(1)), "    ") << c.what;
            EXPECT_NE(field(r, ex::SpeedTexts(5)), "MARKER5") << c.what;
            EXPECT_NE(rw::getSingle(r, ex::Result(6).pos), 7.0f) << c.what;
        } else {
            for (int k = 1; k <= 30; ++k) EXPECT_EQ(field(r, ex::CategoryIndex(k)), "    ") << c.what;
            for (int i = 6; i <= 9; ++i) EXPECT_EQ(field(r, ex::SpeedTexts(i)), QByteArray(kNoSpeed)) << c.what;
            for (int k = 1; k <= 30; ++k) EXPECT_EQ(rw::getSingle(r, ex::SohaW(k).pos), 0.0f) << c.what;
            // Pass 3 leaves these as they were.
            for (int i : {3, 4, 5, 10}) EXPECT_EQ(field(r, ex::SpeedTexts(i)), field(before, ex::SpeedTexts(i))) << c.what;
            for (int i = 0; i <= 19; ++i) EXPECT_EQ(rw::getSingle(r, ex::Result(i).pos), 7.0f) << c.what;
        }
        // Never written: index 0, weights 0, texts 11-19, results 13-19.
        EXPECT_EQ(field(r, ex::CategoryIndex(0)), QByteArray(4, '\0')) << c.what;
        EXPECT_EQ(field(r, ex::SpeedTexts(11)), QByteArray(7, '\0')) << c.what;
        EXPECT_EQ(rw::getSingle(r, ex::Result(13).pos), 7.0f) << c.what;
    }
    // The jump run: 上がり and ペース of 0 measured, all three predicted equal.
    const QByteArray jump = records(5).value(0);
    EXPECT_EQ(field(jump, ex::SpeedTexts(0)), "0000000");
    EXPECT_EQ(field(jump, ex::SpeedTexts(1)), "0000000");
    EXPECT_EQ(field(jump, ex::SpeedTexts(3)), "5000000");
    EXPECT_EQ(field(jump, ex::SpeedTexts(4)), "5000000");
    EXPECT_EQ(field(jump, ex::SpeedTexts(5)), "5000000");
    const float r5 = rw::getSingle(jump, ex::Result(5).pos), r6 = rw::getSingle(jump, ex::Result(6).pos);
    EXPECT_LE(std::fabs(r6 - r5), std::nextafter(r5, 100.0f) - r5);
}

TEST_F(ComputePass, OnlyTheLastFourRunsAreClassified) {
    for (int n : {1, 2, 3, 4, 6}) {
        QList<QByteArray> runs;
        for (int k = 1; k <= n; ++k) runs << exRecord({{ex::RaceMonthDay, QByteArray::number(1000 + k * 7).right(4)}});
        addHorse(n, runs);
    }
    addHorse(9, {});
    run();
    EXPECT_TRUE(log.empty());
    for (int n : {1, 2, 3, 4, 6}) {
        const QList<QByteArray> r = records(n);
        ASSERT_EQ(r.size(), n);
        for (int k = 1; k <= n; ++k) {
            const bool classified = k > n - 4;
            EXPECT_EQ(field(r[k - 1], ex::SpeedTexts(2)), classified ? SohaSpeed(r[k - 1]) : QByteArray(7, '\0'))
                << n << " records, record " << k;
            // Older records keep the builder's zero bytes: only item 1 weighs them.
            EXPECT_EQ(field(r[k - 1], ex::CategoryIndex(2)), classified ? "1   " : "0   ") << n << "/" << k;
            EXPECT_EQ(field(r[k - 1], ex::SpeedTexts(5)), classified ? "5812500" : "5800000") << n << "/" << k;
        }
    }
    EXPECT_EQ(rwtest::readFile(app.file(horseFile(9))), QByteArray()) << "an empty file stays empty";
}

TEST_F(ComputePass, CategoryLookupsInTheRunsSurface) {
    addHorse(1, {exRecord({{ex::CourseCode, "06"}})});         // 61411 exactly
    addHorse(2, {exRecord({{ex::CourseCode, "07"}})});         // 71411: retried as 61411
    addHorse(3, {exRecord({{ex::CourseCode, "07"}, {ex::FrameNo, "5"}})});  // 71511: not even retried
    // Jockey code not in the statistics: item 7 "11", which dirt lists and turf does not.
    addHorse(4, {exRecord({{ex::TrackCode, "24"}})});
    addHorse(5, {exRecord({{ex::TrackCode, "11"}})});
    run();
    EXPECT_EQ(field(records(1)[0], ex::CategoryIndex(2)), "2   ");
    EXPECT_EQ(field(records(2)[0], ex::CategoryIndex(2)), "2   ");
    EXPECT_EQ(field(records(2)[0], ex::Category(2)), "71411      ") << "the stored code is not changed";
    EXPECT_EQ(field(records(3)[0], ex::CategoryIndex(2)), "0   ");
    EXPECT_EQ(field(records(4)[0], ex::CategoryIndex(7)), "2   ");
    EXPECT_EQ(field(records(5)[0], ex::CategoryIndex(7)), "0   ");
    EXPECT_EQ(field(records(5)[0], ex::CategoryIndex(30)), "0   ");
}

TEST_F(ComputePass, WeightsSumsAndResultBlock) {
    addHorse(1, {exRecord()});                                  // 2024, 51411, 570
    addHorse(2, {exRecord({{ex::RaceYear, "2019"}})});          // item 1 not in the model
    addHorse(3, {exRecord({{ex::RaceYear, "2023"}})});          // item 1 without samples
    run();
    ASSERT_TRUE(log.empty());
    const QByteArray r = records(1)[0];
    EXPECT_EQ(rw::getSingle(r, ex::AgariW(4).pos), 20.0f);
    EXPECT_EQ(rw::getSingle(r, ex::PaceW(4).pos), 20.5f);
    EXPECT_EQ(rw::getSingle(r, ex::SohaW(4).pos), -25.0f);
    const float pa = 34 + 0.5f + 20.0f, pp = 60 + 0.25f, ps = 58 + 0.125f;
    EXPECT_EQ(rw::getSingle(r, ex::Result(3).pos), pa) << "20.0 is added";
    EXPECT_EQ(rw::getSingle(r, ex::Result(4).pos), pp) << "20.5 is stored only";
    EXPECT_EQ(rw::getSingle(r, ex::Result(5).pos), ps) << "-25 is stored only";
    EXPECT_EQ(field(r, ex::SpeedTexts(3)), "5450000");
    EXPECT_EQ(field(r, ex::SpeedTexts(4)), "6025000");
    EXPECT_EQ(field(r, ex::SpeedTexts(5)), "5812500");
    EXPECT_EQ(field(r, ex::SpeedTexts(6)), "0001234") << "item 6's sample count";
    EXPECT_EQ(field(r, ex::SpeedTexts(7)), "0000000") << "item 18 in category 0";
    // Measured speeds of the mile in 1345 with 345.
    EXPECT_EQ(rw::getSingle(r, ex::Result(0).pos), float(6260869 / 100000.0));
    EXPECT_EQ(rw::getSingle(r, ex::Result(1).pos), 60.0f);
    const float q = float((1600.0 - 600) / double(pp) + 600 / double(pa));
    const float composite = float(1600 / double(q));
    EXPECT_EQ(rw::getSingle(r, ex::Result(6).pos), composite);
    EXPECT_EQ(rw::getSingle(r, ex::Result(7).pos), float(double(float(6095238 / 100000.0)) - composite));
    EXPECT_EQ(rw::getSingle(r, ex::Result(12).pos),
              float(100.0 * (double(float(6095238 / 100000.0)) - pa) / (double(pp) - double(pa))));
    // Index 0 of item 1, and a category without samples, weigh as category 1.
    for (int h : {2, 3}) {
        const QByteArray o = records(h)[0];
        EXPECT_EQ(field(o, ex::CategoryIndex(1)), h == 2 ? "0   " : "2   ");
        EXPECT_EQ(rw::getSingle(o, ex::PaceW(1).pos), 60.0f) << h;
        EXPECT_EQ(rw::getSingle(o, ex::Result(4).pos), pp) << h;
    }
    // Index 0 of any other item weighs 0.
    EXPECT_EQ(field(r, ex::CategoryIndex(30)), "0   ");
    EXPECT_EQ(rw::getSingle(r, ex::AgariW(30).pos), 0.0f);
    // The window's own models keep their weights: item 17 and 29 weigh there.
    EXPECT_EQ(st.TurfModel.pace(1, 0), 0.0f);
    EXPECT_EQ(st.TurfModel.pace(1, 2), 1.0f);
}

TEST(ApplyFactorWeights, EqualPredictionsGiveSlotTwelveZero) {
    ExpandedState st;
    FactorModel m;
    rwtest::setItem(m, 1, {{"2024     ", 55, 55, 55, 3}});
    rwtest::setItem(m, 2, {{"x", 1, 1, 2, 1}});
    st.ExRecord = exRecord();
    for (int k = 1; k <= 30; ++k) put(st.ExRecord, ex::CategoryIndex(k), k <= 2 ? "1" : "0");
    put(st.ExRecord, ex::SpeedTexts(0), "3500000");
    ApplyFactorWeights(st, m);
    EXPECT_EQ(rw::getSingle(st.ExRecord, ex::Result(3).pos), rw::getSingle(st.ExRecord, ex::Result(4).pos));
    EXPECT_EQ(rw::getSingle(st.ExRecord, ex::Result(12).pos), 0.0f);
    EXPECT_EQ(rw::getSingle(st.ExRecord, ex::Result(0).pos), 35.0f);
    EXPECT_EQ(rw::getSingle(st.ExRecord, ex::Result(9).pos), 35.0f - 56.0f);
    EXPECT_EQ(PredictedSpeedText(62.608695f), "6260869");
    EXPECT_EQ(PredictedSpeedText(0.0f), "0000000");
}

TEST(ApplyFactorWeights, BadInputFailsExplicitly) {
    FactorModel m;
    rwtest::setItem(m, 1, {{"a", 55, 55, 55, 3}, {"b", 55, 0, 55, 3}, {"c", 0, 55, 55, 3}});
    struct Case {
        const char* what;
        const char* index1;
        const char* index2;
        const char* distance;
    } cases[] = {
        {"predicted ペース of exactly 0", "2", "0", "1600"},
        {"predicted 上がり of exactly 0", "3", "0", "1600"},
        {"distance not a number", "1", "0", "16x0"},
        {"index above 6000", "6001", "0", "1600"},
        {"negative index", "-1", "0", "1600"},
        {"index not a number", "1", "ab", "1600"},
        {"blank index", "1", "  ", "1600"},
    };
    for (const Case& c : cases) {
        ExpandedState st;
        st.ExRecord = exRecord({{ex::Distance, c.distance}});
        for (int k = 1; k <= 30; ++k) put(st.ExRecord, ex::CategoryIndex(k), "0");
        put(st.ExRecord, ex::CategoryIndex(1), c.index1);
        put(st.ExRecord, ex::CategoryIndex(2), c.index2);
        FactorModel copy = m;
        EXPECT_THROW(ApplyFactorWeights(st, copy), rw::StepFailure) << c.what;
    }
}

TEST_F(ComputePass, AFailingHorseIsAbandonedAndTheNextComputed) {
    addHorse(1, {exRecord(), exRecord({{ex::RaceTime, "0345"}})});              // equal times: pass 1
    addHorse(2, {exRecord({{ex::Last3FTime, "   "}, {ex::RaceTime, "0000"},
                           {ex::Distance, "16x0"}, {ex::SireNo, "0000000000"}})}); // distance: pass 3
    st.WeekList << "20201X0003";                                               // never a file name
    st.WeekListCount = int(st.WeekList.size());
    addHorse(4, {exRecord()});
    addHorse(5, {exRecord({{ex::RaceYear, "2022"}, {ex::FrameNo, "5"}})});     // a predicted ペース of 0
    run();
    ASSERT_EQ(log.skipped().size(), 4u);
    EXPECT_NE(log.skipped()[3].find("horse 2020110005: predicted ペース speed of 0"), std::string::npos);
    EXPECT_EQ(rw::getSingle(records(5)[0], ex::Result(6).pos), 0.0f) << "no infinite speed written";
    EXPECT_NE(log.skipped()[0].find("horse 2020110001"), std::string::npos);
    EXPECT_NE(log.skipped()[0].find("run time equals"), std::string::npos);
    EXPECT_NE(log.skipped()[1].find("horse 2020110002"), std::string::npos);
    EXPECT_NE(log.skipped()[1].find("Distance"), std::string::npos);
    EXPECT_NE(log.skipped()[2].find("20201X0003"), std::string::npos);
    // Horse 1: record 1 classified up to the failure in record 2, which kept
    // its 上がり speed; nothing of passes 2 and 3.
    const QList<QByteArray> one = records(1);
    EXPECT_EQ(field(one[0], ex::Category(30)).trimmed(), "10");
    EXPECT_EQ(field(one[1], ex::SpeedTexts(0)), "6260869");
    EXPECT_EQ(field(one[1], ex::SpeedTexts(1)), QByteArray(7, '\0'));
    EXPECT_EQ(field(one[0], ex::CategoryIndex(1)), QByteArray(4, '\0'));
    // Horse 2: passes 1 and 2 written, pass 3 stopped at its record.
    const QByteArray two = records(2)[0];
    EXPECT_EQ(field(two, ex::CategoryIndex(1)), "1   ");
    EXPECT_EQ(rw::getSingle(two, ex::Result(6).pos), 0.0f);
    // The next horse is computed.
    EXPECT_EQ(field(records(4)[0], ex::SpeedTexts(5)), "5812500");
    EXPECT_FALSE(app.exists(QStringLiteral("UMAGOTOEXTHISWEEKN\\20201X0003EX.dat")));
}

TEST_F(ComputePass, AHorseFileThatCannotBeOpenedIsNamedWithTheSystemsReason) {
    st.WeekList << number(1);
    st.WeekListCount = 1;
    QDir().mkpath(app.file(horseFile(1)));  // a folder where the file should be
    addHorse(2, {exRecord()});
    run();
    ASSERT_EQ(log.skipped().size(), 1u);
    const std::string& line = log.skipped()[0];
    EXPECT_NE(line.find("horse 2020110001"), std::string::npos) << line;
    EXPECT_NE(line.find("cannot open "), std::string::npos) << line;
    EXPECT_NE(line.find("2020110001EX.dat: "), std::string::npos) << line;
    EXPECT_EQ(line.find("unknown reason"), std::string::npos) << line;
    EXPECT_EQ(field(records(2)[0], ex::CategoryIndex(1)), "1   ");
}

// A FIFO in the horse file's place is refused before it is opened: reading
// it would wait for a writer for ever.
TEST_F(ComputePass, AFifoInPlaceOfAHorseFileIsRefused) {
    st.WeekList << number(1);
    st.WeekListCount = 1;
    ASSERT_EQ(::mkfifo(QFile::encodeName(app.file(horseFile(1))).constData(), 0600), 0);
    addHorse(2, {exRecord()});
    run();
    ASSERT_EQ(log.skipped().size(), 1u);
    EXPECT_NE(log.skipped()[0].find("2020110001EX.dat: not a regular file"), std::string::npos) << log.skipped()[0];
    EXPECT_EQ(field(records(2)[0], ex::CategoryIndex(1)), "1   ");
}

TEST_F(ComputePass, AMissingModelFileFailsWhatNeedsItAndIsReportedOnce) {
    QFile::remove(app.file(ModelFiles(Surface::Turf).soha));
    addHorse(1, {exRecord()});
    addHorse(2, {exRecord({{ex::TrackCode, "24"}})});
    addHorse(3, {exRecord({{ex::TrackCode, "12"}})});
    run();
    ASSERT_EQ(log.skipped().size(), 3u);
    EXPECT_NE(log.skipped()[0].find("model files of Siba"), std::string::npos);
    EXPECT_NE(log.skipped()[1].find("horse 2020110001"), std::string::npos);
    EXPECT_NE(log.skipped()[1].find("QA1SibaSohaWeightData201401N2018.dat: missing"), std::string::npos);
    EXPECT_NE(log.skipped()[2].find("horse 2020110003"), std::string::npos);
    // Pass 2 needs the counts and codes only: written before pass 3 failed.
    EXPECT_EQ(field(records(1)[0], ex::CategoryIndex(1)), "1   ");
    EXPECT_EQ(field(records(2)[0], ex::SpeedTexts(5)), "5700000");
}

TEST_F(ComputePass, ProgressPerRecordAndPerHorseWithEventsBetweenPasses) {
    struct Ui : rw::RecordingUi {
        QStringList steps;
        void setProgress(const QString& c, int v, int m) override {
            steps << c.section('.', 1) + "=" + QString::number(v);
            RecordingUi::setProgress(c, v, m);
        }
        void processEvents() override {
            steps << "events";
            RecordingUi::processEvents();
        }
    } progress;
    addHorse(1, {exRecord({{ex::RaceYear, "2010"}}), exRecord(), exRecord({{ex::CourseCode, "11"}})});
    addHorse(2, {});
    for (auto [m, s] : {std::pair{&st.TurfModel, Surface::Turf}, std::pair{&st.DirtModel, Surface::Dirt},
                        std::pair{&st.JumpModel, Surface::Jump}})
        LoadFactorModel(s, *m);
    ComputeRunFactors(progress, st, log);
    EXPECT_EQ(progress.steps, QStringList({"ProgressBar4=66", "ProgressBar4=100", "events", "events", "events",
                                           "ProgressBar3=50", "events", "ProgressBar3=100"}));
}
