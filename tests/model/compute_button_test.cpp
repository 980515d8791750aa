#include "common/control_names.h"
#include "common/file_ops.h"
#include "common/fixed_text.h"
#include "common/kestrav_path.h"
#include "support/recording_ui.h"
#include "jvdata/store_files.h"
#include "jvdata/structure.h"
#include "model/compute_button.h"
#include "model/expanded_record.h"
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

const QString kStart = QString::fromUtf8("計算を開始しました。標準で約10分かります。。。。。。");
const QString kEnd = QString::fromUtf8("計算終了");

QByteArray stat(int length, const QByteArray& key, char fill) {
    QByteArray r(length, fill);
    putFixed(r, 1, key.size(), key);
    r[length - 2] = '\r';
    r[length - 1] = '\n';
    return r;
}

// Records every bar setting in order.
struct BarUi : RecordingUi {
    QStringList bars;
    void setProgress(const QString& c, int v, int m) override {
        RecordingUi::setProgress(c, v, m);
        bars << c.section(u'.', 1) + u'=' + QString::number(v);
    }
};

class ComputeButton : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* d : {"UMAGOTOEXTHISWEEKN", "UMAGOTOTHISWEEKN", "OPTION1N"})
            QDir().mkpath(app.file(QString::fromLatin1(d)));
    }
    void horses(const QByteArray& values) { app.write(QString::fromUtf16(jv::kHorseListFile), values); }
    void dams(const QByteArray& values) { app.write(QString::fromUtf16(jv::kDamListFile), values); }
    QByteArray file(const char16_t* name) { return app.read(QString::fromUtf16(name)); }
    QByteArray exFile(const QByteArray& reg) {
        return app.read(QStringLiteral("UMAGOTOEXTHISWEEKN\\") + QString::fromLatin1(reg) + QStringLiteral("EX.dat"));
    }
    bool press() {
        SkipLog log("compute");
        const bool ran = RunComputeButton(ui, state, log);
        skipped = log.skipped();
        return ran;
    }

    rwtest::AppFolder app;
    BarUi ui;
    ExpandedState state;
    std::vector<std::string> skipped;
};

TEST_F(ComputeButton, AnEmptyHorseListBuildsNothingAndEnds) {
    horses("");
    dams("");
    ASSERT_TRUE(press());
    EXPECT_EQ(ui.textLog.first(), QStringLiteral("KESTRAVEXPDTHISWEEKNZ.Text3: ") + kStart);
    EXPECT_EQ(ui.text(ctl::ExpandedText3), kEnd);
    EXPECT_EQ(state.WeekListCount, 0);
    EXPECT_FALSE(app.exists(QString::fromUtf16(kHorseExtractFile)));
    EXPECT_TRUE(app.exists(QString::fromUtf16(kHorseStatsFile)));  // opened, so created
    EXPECT_TRUE(app.exists(QString::fromUtf16(jv::kUmNewFile)));    // the builder still loads its tables
}

TEST_F(ComputeButton, ExtractsKeepPackageOrderListingsAndAnEarlierLongerTail) {
    dams("\"1100000002\",\"1100000001\",\"1100000002\"\r\n");
    app.write(QString::fromUtf16(kDamStatsFile), stat(402, "1100000001", 'a') + stat(402, "1100000009", 'b') +
                                                     stat(402, "1100000002", 'c'));
    app.write(QString::fromUtf16(kDamExtractFile), stat(402, "1100000077", 'z').repeated(5));
    horses("\"2019100001\",\"2019100003\"\r\n");
    app.write(QString::fromUtf16(kHorseStatsFile), stat(228, "2019100001", 'h') + stat(228, "2019100002", 'i'));
    ASSERT_TRUE(press());
    EXPECT_EQ(file(kDamExtractFile), stat(402, "1100000001", 'a') + stat(402, "1100000002", 'c').repeated(2) +
                                         stat(402, "1100000077", 'z').repeated(2));
    EXPECT_EQ(file(kHorseExtractFile), stat(228, "2019100001", 'h'));  // 2019100003 has no record
    EXPECT_EQ(exFile("2019100001").size(), 0);                        // no runs: an empty file
    EXPECT_TRUE(app.exists(QStringLiteral("UMAGOTOEXTHISWEEKN\\2019100003EX.dat")));
    // The dam list's tail stays beyond the horse list in the window's table.
    EXPECT_EQ(state.WeekListCount, 2);
    EXPECT_EQ(state.WeekList.size(), 3);
    EXPECT_EQ(ui.text(ctl::ExpandedText3), kEnd);
}

TEST_F(ComputeButton, MissingListsAndPackageFilesGiveEmptyExtractsAndAreReported) {
    ASSERT_TRUE(press());
    EXPECT_EQ(ui.text(ctl::ExpandedText3), kEnd);
    EXPECT_EQ(file(kDamStatsFile).size(), 0);  // created empty by its open
    EXPECT_FALSE(app.exists(QString::fromUtf16(kDamExtractFile)));
    ASSERT_GE(skipped.size(), 2u);
    EXPECT_NE(skipped[0].find("HAHAHANNUMTHISWEEKN.dat"), std::string::npos);
    EXPECT_NE(skipped[1].find("KETTONUMTHISWEEKN.dat"), std::string::npos);
}

TEST_F(ComputeButton, ABadListValueAndAnUnreadableRunFileCostOnlyTheirHorse) {
    horses("\"2019100001\",\"../x\",\"2019100002\",\"2019100003\"\r\n");
    app.write(QStringLiteral("UMAGOTOTHISWEEKN\\2019100001.dat"), RecordBuilder(Kind::SE).set(jv::se::RegistrationNumber, "2019100001"));
    QDir().mkpath(app.file(QStringLiteral("UMAGOTOTHISWEEKN\\2019100002.dat")));
    app.write(QStringLiteral("UMAGOTOTHISWEEKN\\2019100003.dat"), RecordBuilder(Kind::SE).set(jv::se::RegistrationNumber, "2019100003"));
    ASSERT_TRUE(press());
    EXPECT_EQ(exFile("2019100001").size(), 2603);
    EXPECT_EQ(exFile("2019100003").size(), 2603);
    EXPECT_EQ(ui.text(ctl::ExpandedText3), kEnd);
    int named = 0;
    for (const auto& s : skipped) named += s.find("../x") != std::string::npos || s.find("2019100002") != std::string::npos;
    EXPECT_EQ(named, 4);  // the bad value when emptying, building and computing; the unreadable run file
}

// Each horse is built and computed in one go, yet the messages stand as if
// every horse were built before any was computed.
TEST_F(ComputeButton, BuildMessagesComeBeforeComputeMessages) {
    horses("\"2019100001\",\"2019100002\",\"2019100003\"\r\n");
    // Horse 1 builds, but its run date cannot be read as a number.
    app.write(QStringLiteral("UMAGOTOTHISWEEKN\\2019100001.dat"),
              RecordBuilder(Kind::SE).raceKey("20x4120705040101").set(jv::se::RegistrationNumber, "2019100001"));
    QDir().mkpath(app.file(QStringLiteral("UMAGOTOTHISWEEKN\\2019100002.dat")));  // horse 2 cannot be built
    app.write(QStringLiteral("UMAGOTOTHISWEEKN\\2019100003.dat"),
              RecordBuilder(Kind::SE).raceKey("2024120705040101").set(jv::se::RegistrationNumber, "2019100003"));
    ASSERT_TRUE(press());
    auto at = [&](const char* start) {
        for (size_t i = 0; i < skipped.size(); ++i)
            if (skipped[i].rfind(start, 0) == 0) return int(i);
        return -1;
    };
    const int built2 = at("building the expanded records of 2019100002: ");
    const int computed1 = at("horse 2019100001: ");
    ASSERT_GE(built2, 0);
    ASSERT_GE(computed1, 0);
    EXPECT_LT(built2, computed1);
    EXPECT_EQ(exFile("2019100001").size(), 2603);
    EXPECT_EQ(exFile("2019100002").size(), 0);  // emptied, then not built
    EXPECT_EQ(exFile("2019100003").size(), 2603);
}

// A stale last record whose horse file cannot be deleted stays, and the
// horse is computed with it, as a file written by the builder and then read
// by the pass would be.
TEST_F(ComputeButton, AStaleLastRecordThatCannotBeDeletedIsComputed) {
    horses("\"2019100001\"\r\n");
    const auto run = [](const char* race, const char* made) {
        return RecordBuilder(Kind::SE).raceKey(race).setAt(4, made).set(jv::se::RegistrationNumber, "2019100001").image();
    };
    app.write(QStringLiteral("UMAGOTOTHISWEEKN\\2019100001.dat"),
              run("2024120705040101", "20241201") + run("2024121405040101", "20241101"));
    SetRemoveFileHook([](const QString& path) { return !path.endsWith(QStringLiteral("2019100001EX.dat")); });
    const bool ran = press();
    SetRemoveFileHook(nullptr);
    ASSERT_TRUE(ran);
    const QByteArray ex = exFile("2019100001");
    ASSERT_EQ(ex.size(), 2 * 2603);
    EXPECT_EQ(app.read(QStringLiteral("TEMPORARY")).size(), 2603);
    // Computed: the category indexes are no longer the builder's zero bytes.
    EXPECT_NE(ex.mid(2603 + ex::CategoryIndex(1).offset(), 4), QByteArray(4, '\0'));
    int refused = 0;
    for (const auto& m : skipped) refused += m.find("cannot delete") != std::string::npos;
    EXPECT_EQ(refused, 1);
}

TEST_F(ComputeButton, BeyondTwoThousandListValuesTheBarStaysAt100) {
    QByteArray values;
    for (int i = 0; i < 2500; ++i) values += "\"1100" + QByteArray::number(100000 + i) + "\",";
    dams(values);
    horses("");
    ASSERT_TRUE(press());
    EXPECT_EQ(ui.bars.mid(0, 4), QStringList({"ProgressBar3=0", "ProgressBar4=0", "ProgressBar3=100", "ProgressBar3=0"}));
}

TEST_F(ComputeButton, APressWhileTheStoreIsRewrittenDoesNothing) {
    horses("\"2019100001\"");
    jv::WeeklyStoreGuard running;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(press());
    EXPECT_NE(testing::internal::GetCapturedStderr().find("ignored"), std::string::npos);
    // Said on screen too, in ⑤'s own box, and nothing else written.
    ASSERT_EQ(ui.textLog.size(), 1);
    EXPECT_TRUE(ui.textLog[0].startsWith(QStringLiteral("KESTRAVEXPDTHISWEEKNZ.Text3: 他の処理の実行中"))) << ui.textLog[0].toStdString();
    EXPECT_FALSE(app.exists(QStringLiteral("UMAGOTOEXTHISWEEKN\\2019100001EX.dat")));
}

// The press against the plain loops, and two presses in one window against
// one press in a new window, on random weeks.
TEST(ComputeButtonLiteral, PressesEqualThePlainLoopsOnRandomWeeks) {
    QRandomGenerator rng(99);
    for (int round = 0; round < 25; ++round) {
        SCOPED_TRACE(round);
        rwtest::AppFolder app;
        rwtest::writeRandomExpandedWeek(rng, {int(rng.bounded(0, 9)), true});
        const auto inputs = rwtest::snapshotApp();

        QList<QByteArray> literalList;
        rwtest::literalComputePress(literalList);
        const auto expected = rwtest::snapshotApp();

        rwtest::restoreApp(inputs);
        RecordingUi ui;
        ExpandedState state;
        SkipLog log("compute");
        RunComputeButton(ui, state, log);
        EXPECT_EQ(state.WeekList.mid(0, state.WeekListCount), literalList.mid(0, state.WeekListCount));
        EXPECT_EQ(rwtest::snapshotApp(), expected);

        // A second press in the same window, after the inputs have changed
        // back: what a first press in a new window writes.
        rwtest::restoreApp(inputs);
        RunComputeButton(ui, state, log);
        EXPECT_EQ(rwtest::snapshotApp(), expected);
    }
}

}  // namespace
