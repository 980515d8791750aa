#include "common/control_names.h"
#include "common/fixed_text.h"
#include "common/kestrav_path.h"
#include "support/recording_ui.h"
#include "jvdata/store_files.h"
#include "model/expanded_build.h"
#include "model/package_files.h"
#include "support/literal_expanded.h"
#include "support/random_expanded_week.h"
#include "support/record_builder.h"
#include "support/test_support.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace rw;
using namespace rw::model;
using rw::jv::Kind;
using rwtest::RecordBuilder;

namespace {

namespace se = rw::jv::se;
const QByteArray kReg1 = "2019100001", kReg2 = "2019100002", kReg3 = "2019100003";
const QByteArray kRace1 = "2024120705040101", kRace2 = "2024120705040102";

constexpr Field kUmBirth = rw::jv::findField(rw::jv::kUM, "birth date");
constexpr Field kKsBirth = rw::jv::findField(rw::jv::kKS, "birth date");

QByteArray seImage(const QByteArray& reg, const QByteArray& race, const QByteArray& jockey = "00101",
                   const QByteArray& make = "20241201") {
    return RecordBuilder(Kind::SE)
        .raceKey(race)
        .set(se::RegistrationNumber, reg)
        .set(se::JockeyCode, jockey)
        .setAt(4, make)
        .set(se::HorseName, rwtest::sj("テストホース"));
}
QByteArray umImage(const QByteArray& reg, const QByteArray& birth = "20190401", const QByteArray& dam = "1100000001") {
    return RecordBuilder(Kind::UM, '1', '7').set(rw::jv::um::RegistrationNumber, reg).set(kUmBirth, birth).set(
        rw::jv::um::DamNumber, dam);
}
QByteArray ksImage(const QByteArray& code, const QByteArray& birth) {
    return RecordBuilder(Kind::KS, '1', '5').set(rw::jv::ks::JockeyCode, code).set(kKsBirth, birth).image();
}
QByteArray raImage(const QByteArray& race, char kind = '2', const QByteArray& distance = "1600") {
    return RecordBuilder(Kind::RA, kind, '3').raceKey(race).set(rw::jv::ra::Distance, distance);
}

class BuildExpanded : public ::testing::Test {
protected:
    void SetUp() override {
        QDir().mkpath(app.file(QStringLiteral("UMAGOTOEXTHISWEEKN")));
        QDir().mkpath(app.file(QStringLiteral("UMAGOTOTHISWEEKN")));
        QDir().mkpath(app.file(QStringLiteral("OPTION1N")));
    }
    void runs(const QByteArray& reg, const QByteArray& images) {
        app.write(QStringLiteral("UMAGOTOTHISWEEKN\\") + QString::fromLatin1(reg) + QStringLiteral(".dat"), images);
    }
    QByteArray exFile(const QByteArray& reg) const {
        return app.read(QStringLiteral("UMAGOTOEXTHISWEEKN\\") + QString::fromLatin1(reg) + QStringLiteral("EX.dat"));
    }
    QByteArray exRecord(const QByteArray& reg, int n) const { return exFile(reg).mid((n - 1) * 2603, 2603); }
    void build(QList<QByteArray> list) {
        state.WeekList = list;
        state.WeekListCount = int(list.size());
        BuildExpandedRecords(ui, state, log);
    }
    static QByteArray m(const QByteArray& rec, Field f) { return rec.mid(f.offset(), f.width); }

    rwtest::AppFolder app;
    RecordingUi ui;
    ExpandedState state;
    SkipLog log{"build"};
};

TEST_F(BuildExpanded, ARecordJoinsItsRunRaceHorseAndJockey) {
    const QByteArray run = seImage(kReg1, kRace1);
    runs(kReg1, run);
    app.write(QString::fromUtf16(jv::kUmNewFile), umImage(kReg1));
    app.write(QString::fromUtf16(jv::kKsWeekFile), ksImage("00101", "19850312"));
    app.write(QString::fromUtf16(jv::kRaNewFile), raImage(kRace1));
    build({kReg1});

    const QByteArray rec = exRecord(kReg1, 1);
    ASSERT_EQ(exFile(kReg1).size(), 2603);
    EXPECT_EQ(rec.left(40), run.left(40));
    EXPECT_EQ(rec.mid(2601), "\r\n");
    EXPECT_EQ(m(rec, ex::HorseName), rwtest::sj("テストホース").leftJustified(36, ' '));
    EXPECT_EQ(m(rec, ex::BirthYear), "2019");
    EXPECT_EQ(m(rec, ex::BirthMonth), "04");
    EXPECT_EQ(m(rec, ex::BirthDay), "01");
    EXPECT_EQ(m(rec, ex::JockeyBirthYear), "1985");
    EXPECT_EQ(m(rec, ex::Distance), "1600");
    EXPECT_EQ(m(rec, ex::TimeDiff), m(run, se::TimeDifference));
    EXPECT_EQ(m(rec, ex::JockeyShortNameBefore), m(run, se::JockeyShortNameBefore));
    EXPECT_EQ(m(rec, ex::FoalOrder), "01");  // no dam-foal list: a dam not found
    // Blanks and zero bytes whatever the master data holds (its pedigree
    // is full of digits).
    for (const char* blank : {"SpareText", "SalePrice", "SireBirthYear", "DamNo", "DamArea", "DamSireNo",
                              "Pedigree5No", "Pedigree6Area", "Pedigree7No", "Pedigree7Area"})
        EXPECT_EQ(m(rec, ex::at(blank)), QByteArray(ex::at(blank).width, ' ')) << blank;
    for (const char* zero : {"Pedigree3No", "Pedigree3Name", "Pedigree3Area", "DamSireName", "Pedigree5Name",
                             "Pedigree6Name", "SpareByte", "OwnerName"})
        EXPECT_EQ(m(rec, ex::at(zero)), QByteArray(ex::at(zero).width, '\0')) << zero;
    EXPECT_EQ(m(rec, ex::ComputedBlock), QByteArray(ex::ComputedBlock.width, '\0'));
    // Screen: the last UM image's text, the bar at 100, one turn of events.
    EXPECT_EQ(ui.text(ctl::ExpandedText3).left(2), QStringLiteral("1 "));
    EXPECT_EQ(ui.progress.value(ctl::ExpandedProgressBar3).first, 100);
    EXPECT_EQ(ui.eventTurns, 1);
    EXPECT_TRUE(log.empty());
}

TEST_F(BuildExpanded, ThePackagesJockeyRowWinsAndAJockeyInNeitherGetsBlanks) {
    runs(kReg1, seImage(kReg1, kRace1, "00101") + seImage(kReg1, kRace2, "00999"));
    app.write(QString::fromUtf16(jv::kKsWeekFile), ksImage("00101", "19850312"));
    app.write(QString::fromUtf16(kPackageJockeyFile), ksImage("00101", "19790101"));
    app.write(QString::fromUtf16(jv::kRaNewFile), raImage(kRace1) + raImage(kRace2));
    build({kReg1});
    EXPECT_EQ(m(exRecord(kReg1, 1), ex::JockeyBirthYear), "1979");
    const QByteArray second = exRecord(kReg1, 2);
    EXPECT_EQ(m(second, ex::JockeyBirthYear), "    ");
    EXPECT_EQ(m(second, ex::at("JockeyInvitedArea")), QByteArray(20, ' '));
}

TEST_F(BuildExpanded, FailedJoinsKeepTheValuesOfTheLastSuccessfulOne) {
    runs(kReg1, seImage(kReg1, kRace1));
    runs(kReg2, seImage(kReg2, "2024120705040109"));  // no race record, no UM row
    app.write(QString::fromUtf16(jv::kUmNewFile), umImage(kReg1, "20180505"));
    app.write(QString::fromUtf16(jv::kRaNewFile), raImage(kRace1, '2', "2400"));
    app.write(QString::fromUtf16(jv::kKsWeekFile), ksImage("00101", "19850312"));
    build({kReg1, kReg2});
    const QByteArray rec = exRecord(kReg2, 1);
    EXPECT_EQ(m(rec, ex::BirthYear), "2018");
    EXPECT_EQ(m(rec, ex::Distance), "2400");
    EXPECT_EQ(m(rec, ex::JockeyBirthYear), "1985");
    EXPECT_EQ(m(rec, ex::RegistrationNo), kReg2);
}

TEST_F(BuildExpanded, TwoRunsOfOneRaceJoinItsLastRecord) {
    runs(kReg1, seImage(kReg1, kRace1) + seImage(kReg1, kRace1));
    app.write(QString::fromUtf16(jv::kRaNewFile), raImage(kRace1, '2', "1200") + raImage(kRace1, '7', "1400"));
    build({kReg1});
    EXPECT_EQ(m(exRecord(kReg1, 1), ex::Distance), "1400");
    EXPECT_EQ(m(exRecord(kReg1, 2), ex::Distance), "1400");
}

TEST_F(BuildExpanded, AnEmptyRaceFileInANewWindowLeavesTheRaceMembersBlank) {
    runs(kReg1, seImage(kReg1, kRace1));
    build({kReg1});
    const QByteArray rec = exRecord(kReg1, 1);
    EXPECT_EQ(m(rec, ex::GradeCode), " ");
    EXPECT_EQ(m(rec, ex::CornerPassingOrder(3)), QByteArray(70, ' '));
    EXPECT_EQ(m(rec, ex::WeekdayCode), " ");
    EXPECT_TRUE(app.exists(QString::fromUtf16(jv::kRaNewFile)));  // created empty
    EXPECT_EQ(ui.progress.value(ctl::ExpandedProgressBar3).first, 100);
}

TEST_F(BuildExpanded, AStaleLastRecordIsDroppedAndNeverShowsAnotherHorsesRecords) {
    QByteArray big, small;
    for (int k = 0; k < 5; ++k) big += seImage(kReg1, kRace1, "00101", k < 4 ? "2024110" + QByteArray::number(k + 1) : "20241001");
    for (int k = 0; k < 3; ++k) small += seImage(kReg2, kRace2, "00101", k < 2 ? "2024120" + QByteArray::number(k + 1) : "20241130");
    runs(kReg1, big);
    runs(kReg2, small);
    runs(kReg3, seImage(kReg3, kRace1, "00101", "20241201"));  // one run: nothing to compare
    build({kReg1, kReg2, kReg3});
    EXPECT_EQ(exFile(kReg1).size(), 4 * 2603);
    const QByteArray two = exFile(kReg2);
    ASSERT_EQ(two.size(), 2 * 2603);
    EXPECT_EQ(m(two, ex::RegistrationNo), kReg2);
    EXPECT_EQ(m(two.mid(2603), ex::RegistrationNo), kReg2);
    EXPECT_EQ(exFile(kReg3).size(), 2603);
    // The scratch file keeps the longer horse's tail beyond the shorter one's.
    const QByteArray temp = app.read(QStringLiteral("TEMPORARY"));
    ASSERT_EQ(temp.size(), 4 * 2603);
    EXPECT_EQ(temp.left(2 * 2603), two);
}

TEST_F(BuildExpanded, AHorseWithoutRunsKeepsAnEmptyFile) {
    build({kReg1});
    EXPECT_TRUE(app.exists(QStringLiteral("UMAGOTOEXTHISWEEKN\\2019100001EX.dat")));
    EXPECT_EQ(exFile(kReg1).size(), 0);
    EXPECT_TRUE(app.exists(QStringLiteral("UMAGOTOTHISWEEKN\\2019100001.dat")));
}

TEST_F(BuildExpanded, ASecondPressWritesWhatAFirstPressInANewWindowWrites) {
    runs(kReg1, seImage(kReg1, kRace1) + seImage(kReg1, kRace2));
    runs(kReg2, seImage(kReg2, "2024120705040109"));
    app.write(QString::fromUtf16(jv::kUmNewFile), umImage(kReg2));
    app.write(QString::fromUtf16(jv::kRaNewFile), raImage(kRace2));
    build({kReg1, kReg2});
    const QByteArray first1 = exFile(kReg1), first2 = exFile(kReg2);
    // What a compute pass leaves in the window between presses.
    state.ExRecord.fill('x');
    state.HorseJoinValues = HorseJoinOf(umImage(kReg1, "20000101"));
    state.RaceJoinValues.RaceItems = QByteArray(595, 'r');
    build({kReg1, kReg2});
    EXPECT_EQ(exFile(kReg1), first1);
    EXPECT_EQ(exFile(kReg2), first2);
    EXPECT_EQ(m(first1, ex::Distance), "    ");  // the first horse's first run joined nothing yet
}

TEST_F(BuildExpanded, OneBadHorseIsReportedAndTheNextIsBuilt) {
    runs(kReg1, seImage(kReg1, kRace1));
    QDir().mkpath(app.file(QStringLiteral("UMAGOTOTHISWEEKN\\2019100002.dat")));  // cannot be read as a file
    runs(kReg3, seImage(kReg3, kRace1));
    build({kReg1, kReg2, "12345", kReg3});
    EXPECT_EQ(exFile(kReg1).size(), 2603);
    EXPECT_EQ(exFile(kReg3).size(), 2603);
    ASSERT_EQ(log.skipped().size(), 2u);
    EXPECT_NE(log.skipped()[0].find("2019100002"), std::string::npos);
    EXPECT_NE(log.skipped()[1].find("12345"), std::string::npos);
    EXPECT_FALSE(app.exists(QStringLiteral("UMAGOTOEXTHISWEEKN\\12345EX.dat")));
}

TEST_F(BuildExpanded, DamFoalOrderCountsTwentyOneRecordsFromTheDamsFirst) {
    QByteArray hnsk;
    for (int j = 1; j <= 70; ++j) {
        const QByteArray dam = j < 40 ? "1100000009" : j < 65 ? "1100000001" : "1100000002";
        hnsk += dam + QByteArray::number(2019000000 + j) + "\r\n";
    }
    app.write(QString::fromUtf16(kDamFoalFile), hnsk);
    DamFoalIndex index;
    index.load();
    struct Case {
        QByteArray dam, reg, order;
    } cases[] = {
        {"1100000001", "2019000042", "03"},  // the third record from record 40
        {"1100000001", "2019000040", "01"},
        {"1100000001", "2019000060", "21"},  // record j + 20
        {"1100000001", "2019000061", "01"},  // record j + 21: beyond the window
        {"1100000001", "2019000041", "02"},
        {"1100000009", "2019000021", "21"},  // another dam's foal … 
        {"1100000009", "2019000020", "20"},
        {"1100000002", "2019000070", "06"},  // the window ends with the file
        {"1100000003", "2019000042", "01"},  // a dam not listed
    };
    for (const Case& c : cases) {
        const QByteArray um = umImage(c.reg, "20190401", c.dam);
        EXPECT_EQ(DamFoalOrder(index, um), c.order) << c.dam.constData() << " " << c.reg.constData();
    }
    // Records of another dam inside the window are compared too.
    EXPECT_EQ(DamFoalOrder(index, umImage("2019000045", "20190401", "1100000009")), "01");
    EXPECT_EQ(DamFoalOrder(index, umImage("2019000021", "20190401", "1100000009")), "21");
}

TEST(BuildExpandedLiteral, IndexedBuildEqualsThePlainScansOnRandomWeeks) {
    QRandomGenerator rng(2024);
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE(round);
        rwtest::AppFolder app;
        const auto week = rwtest::writeRandomExpandedWeek(rng, {int(rng.bounded(1, 10)), false});
        const auto inputs = rwtest::snapshotApp();

        rwtest::literalBuildExpandedRecords(week.horseList);
        const auto expected = rwtest::snapshotApp();

        rwtest::restoreApp(inputs);
        RecordingUi ui;
        ExpandedState state;
        SkipLog log("build");
        state.WeekList = week.horseList;
        state.WeekListCount = int(week.horseList.size());
        BuildExpandedRecords(ui, state, log);
        const auto got = rwtest::snapshotApp();

        ASSERT_EQ(got.size(), expected.size());
        for (const auto& [name, bytes] : expected) {
            ASSERT_TRUE(got.count(name)) << name.toStdString();
            EXPECT_TRUE(got.at(name) == bytes) << name.toStdString();
        }
    }
}

}  // namespace
