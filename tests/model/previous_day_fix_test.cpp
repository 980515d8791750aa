#include "common/control_names.h"
#include "common/fixed_text.h"
#include "support/recording_ui.h"
#include "jvdata/store_files.h"
#include "jvdata/structure.h"
#include "model/previous_day_fix.h"
#include "support/record_builder.h"
#include "support/test_support.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace rw;
using namespace rw::model;
using rw::jv::Kind;
using rwtest::RecordBuilder;
namespace se = rw::jv::se;
namespace ra = rw::jv::ra;

namespace {

const QString kDone = QString::fromUtf8("前日固定終了");

QByteArray entry(const QByteArray& reg, const QByteArray& body, const QByteArray& jockeyBefore = "00000",
                 const QByteArray& weightBefore = "000") {
    return RecordBuilder(Kind::SE)
        .set(se::RegistrationNumber, reg)
        .set(se::BodyWeight, body)
        .set(se::JockeyCode, "01111")
        .set(se::JockeyShortName, rwtest::sj("騎手甲"))
        .set(se::JockeyCodeBefore, jockeyBefore)
        .set(se::JockeyShortNameBefore, rwtest::sj("騎手乙"))
        .set(se::WeightCarried, "560")
        .set(se::WeightCarriedBefore, weightBefore)
        .set(se::TimeDifference, "0123");
}
QByteArray race(const QByteArray& key16, char kind) {
    return RecordBuilder(Kind::RA, kind, '3').raceKey(key16).set(ra::WeatherCode, "3").set(ra::TurfGoingCode, "4").set(
        ra::DirtGoingCode, "2");
}
QByteArray payoff(const QByteArray& key16) { return RecordBuilder(Kind::HR).raceKey(key16); }

class PreviousDayFix : public ::testing::Test {
protected:
    void SetUp() override { QDir().mkpath(app.file(QStringLiteral("UMAGOTOTHISWEEKN"))); }
    void list(const QByteArray& values) { app.write(QString::fromUtf16(jv::kHorseListFile), values); }
    void runs(const QByteArray& reg, const QByteArray& images) {
        app.write(QStringLiteral("UMAGOTOTHISWEEKN\\") + QString::fromLatin1(reg) + QStringLiteral(".dat"), images);
    }
    QByteArray runFile(const QByteArray& reg) {
        return app.read(QStringLiteral("UMAGOTOTHISWEEKN\\") + QString::fromLatin1(reg) + QStringLiteral(".dat"));
    }
    static QByteArray item(const QByteArray& rec, Field f) { return rec.mid(f.offset(), f.width); }
    bool press() { return RunPreviousDayFix(ui, state); }

    rwtest::AppFolder app;
    RecordingUi ui;
    ExpandedState state;
};

TEST_F(PreviousDayFix, AFirstStartGets440AndTheLatestRunOfOthersThePreviousWeightAsStored) {
    list("\"2019100001\",\"2019100002\",\"2019100003\"\r\n");
    runs("2019100001", entry("2019100001", "512"));
    runs("2019100002", entry("2019100002", " 48") + entry("2019100002", "999") + entry("2019100002", "502"));
    runs("2019100003", "");
    ASSERT_TRUE(press());
    const QByteArray first = runFile("2019100001");
    EXPECT_EQ(item(first, se::BodyWeight), "440");
    EXPECT_EQ(item(first, se::TimeDifference), "0000");
    const QByteArray three = runFile("2019100002");
    EXPECT_EQ(item(three.mid(2 * 555), se::BodyWeight), "999");
    EXPECT_EQ(item(three.mid(2 * 555), se::TimeDifference), "0000");
    EXPECT_EQ(three.left(2 * 555), entry("2019100002", " 48") + entry("2019100002", "999"));
    EXPECT_EQ(runFile("2019100003").size(), 0);
    EXPECT_EQ(ui.text(ctl::ExpandedText1), kDone);
}

TEST_F(PreviousDayFix, JockeyAndWeightBeforeAChangeReplaceOnlyWhenNotZero) {
    struct Case {
        QByteArray jockeyBefore, weightBefore, jockey, shortName, weight;
    } cases[] = {
        {"00000", "000", "01111", rwtest::sj("騎手甲"), "560"},
        {"     ", "   ", "01111", rwtest::sj("騎手甲"), "560"},
        {"0 0 0", " 0 ", "01111", rwtest::sj("騎手甲"), "560"},
        {"01234", "540", "01234", rwtest::sj("騎手乙"), "540"},
        {"0 1  ", " 5 ", "0 1  ", rwtest::sj("騎手乙"), " 5 "},  // blanks ignored: 1 and 5
    };
    list("\"2019100001\"");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.jockeyBefore.constData());
        runs("2019100001", entry("2019100001", "480", c.jockeyBefore, c.weightBefore));
        ASSERT_TRUE(press());
        const QByteArray rec = runFile("2019100001");
        EXPECT_EQ(item(rec, se::JockeyCode), c.jockey);
        EXPECT_EQ(item(rec, se::JockeyShortName), c.shortName.leftJustified(8, ' '));
        EXPECT_EQ(item(rec, se::WeightCarried), c.weight);
    }
}

TEST_F(PreviousDayFix, OnlyDataKind7LastSwitchesToResultsMode) {
    const QByteArray a = "2024120705040101", b = "2024120705040102", c = "2024120806050101";
    list("");
    app.write(QString::fromUtf16(jv::kHrWeekFile), payoff(b) + payoff(a) + payoff(b));
    app.write(QString::fromUtf16(jv::kRaceListFile), "\"old\"\r\n");
    const QByteArray before = race(a, '2') + race(b, '2') + race(c, '7') + race(b, '2');
    app.write(QString::fromUtf16(jv::kRaNewFile), before);
    ASSERT_TRUE(press());
    EXPECT_EQ(app.read(QString::fromUtf16(jv::kRaNewFile)), before);  // last kind "2": normal mode
    EXPECT_EQ(app.read(QString::fromUtf16(jv::kRaceListFile)), "\"old\"\r\n");
    EXPECT_EQ(ui.progress.value(ctl::ExpandedProgressBar1).first, 100);

    app.write(QString::fromUtf16(jv::kRaNewFile), race(a, '2') + race(b, '2') + race(c, '7') + race(b, '7'));
    ASSERT_TRUE(press());
    const QByteArray after = app.read(QString::fromUtf16(jv::kRaNewFile));
    for (int i : {0, 1, 3}) {  // races a and b, both data kinds of b
        const QByteArray r = after.mid(i * 1272, 1272);
        EXPECT_EQ(item(r, ra::WeatherCode) + item(r, ra::TurfGoingCode) + item(r, ra::DirtGoingCode), "111") << i;
    }
    EXPECT_EQ(after.mid(2 * 1272, 1272), race(c, '7'));  // no payoff: as it was
    EXPECT_EQ(app.read(QString::fromUtf16(jv::kRaceListFile)),
              "\"202412070502\"\r\n\"202412070501\"\r\n\"202412070502\"\r\n");
    // A second press leaves everything as the first did.
    const auto once = rwtest::filesUnder(app.path());
    ASSERT_TRUE(press());
    EXPECT_EQ(rwtest::filesUnder(app.path()), once);
}

TEST_F(PreviousDayFix, AnEmptyRaceFileIsNormalMode) {
    list("");
    ASSERT_TRUE(press());
    EXPECT_FALSE(app.exists(QString::fromUtf16(jv::kRaceListFile)));
    EXPECT_EQ(app.read(QString::fromUtf16(jv::kRaNewFile)), "");  // a missing race file is created empty
    EXPECT_EQ(ui.text(ctl::ExpandedText1), kDone);
}

TEST_F(PreviousDayFix, ARaceOrPayoffFileThatCannotBeReadStopsTheFixNamingIt) {
    for (const char16_t* name : {jv::kRaNewFile, jv::kHrWeekFile}) {
        const QString file = QString::fromUtf16(name);
        SCOPED_TRACE(file.toStdString());
        list("");
        if (file != QString::fromUtf16(jv::kRaNewFile))
            app.write(QString::fromUtf16(jv::kRaNewFile), race("2024120705040101", '7'));  // results mode
        ASSERT_TRUE(QDir().mkpath(app.file(file)));  // a folder where the file should be
        testing::internal::CaptureStderr();
        EXPECT_FALSE(press());
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_NE(err.find(file.toStdString()), std::string::npos) << err;
        EXPECT_NE(err.find("not a regular file"), std::string::npos) << err;
        QDir(app.file(file)).removeRecursively();
    }
}

TEST_F(PreviousDayFix, AValueThatIsNotTenDigitsIsSkippedAndTheOthersFixed) {
    list("\"../../etc\",\"2019100001\"");
    runs("2019100001", entry("2019100001", "512"));
    testing::internal::CaptureStderr();
    ASSERT_TRUE(press());
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("../../etc"), std::string::npos);
    EXPECT_EQ(item(runFile("2019100001"), se::BodyWeight), "440");
    EXPECT_EQ(ui.text(ctl::ExpandedText1), kDone);
}

TEST_F(PreviousDayFix, AFailureEndsTheFixBeforeItsMessage) {
    list("\"2019100001\",\"2019100002\"");
    QDir().mkpath(app.file(QStringLiteral("UMAGOTOTHISWEEKN\\2019100001.dat")));  // not a readable file
    runs("2019100002", entry("2019100002", "512"));
    testing::internal::CaptureStderr();
    EXPECT_FALSE(press());
    EXPECT_NE(testing::internal::GetCapturedStderr().find("stopped"), std::string::npos);
    EXPECT_EQ(item(runFile("2019100002"), se::BodyWeight), "512");
    EXPECT_TRUE(ui.text(ctl::ExpandedText1).isEmpty());
}

TEST_F(PreviousDayFix, AMissingHorseListEndsTheFix) {
    testing::internal::CaptureStderr();
    EXPECT_FALSE(press());
    EXPECT_NE(testing::internal::GetCapturedStderr().find("KETTONUMTHISWEEKN.dat"), std::string::npos);
}

TEST_F(PreviousDayFix, APressWhileTheStoreIsRewrittenDoesNothing) {
    list("\"2019100001\"");
    runs("2019100001", entry("2019100001", "512"));
    jv::WeeklyStoreGuard running;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(press());
    EXPECT_NE(testing::internal::GetCapturedStderr().find("ignored"), std::string::npos);
    EXPECT_TRUE(ui.texts.value(QStringLiteral("KESTRAVEXPDTHISWEEKNZ.Text1")).startsWith(QStringLiteral("他の処理の実行中")));
    EXPECT_EQ(item(runFile("2019100001"), se::BodyWeight), "512");
}

TEST_F(PreviousDayFix, PayoffsBeyondTheSystemsTableAreListedWhole) {
    list("");
    QByteArray hr;
    for (int i = 0; i < 20001; ++i) hr += payoff("2024120705040101");
    app.write(QString::fromUtf16(jv::kHrWeekFile), hr);
    app.write(QString::fromUtf16(jv::kRaNewFile), race("2024120705040101", '7'));
    ASSERT_TRUE(press());
    EXPECT_EQ(state.FixRaceIds.size(), 20001);
    EXPECT_EQ(app.read(QString::fromUtf16(jv::kRaceListFile)).count('\n'), 20001);
}

}  // namespace
