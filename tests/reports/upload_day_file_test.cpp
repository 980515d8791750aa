#include "reports/upload_day_file.h"

#include "common/errors.h"
#include "common/fixed_text.h"
#include "common/skip.h"
#include "common/text_file.h"
#include "jvdata/layouts.h"
#include "prediction/race_writers.h"
#include "prediction/runner_record.h"
#include "reports/labelled_day_file.h"
#include "support/day_file_lines.h"
#include "support/payoff_image.h"
#include "support/run_state_fixture.h"
#include "support/test_support.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace rw::reports;
using rw::prediction::RunState;
using rwtest::DayFileLine;
using rwtest::sj;
namespace rr = rw::prediction::rr;

namespace {

QString goldenFile(const QString& name) { return QStringLiteral(RACEWEEK_SOURCE_DIR "/tests/reports/golden/") + name; }

struct TekichuFolder : rwtest::AppFolder {
    TekichuFolder() { QDir().mkpath(path() + "TEKICHU"); }
    QByteArray file(const QByteArray& dayKey, const char* suffix) const {
        return read("TEKICHU\\" + QString::fromLatin1(dayKey) + QString::fromUtf8(suffix));
    }
};

const char* const kDays[] = {"20260307060205", "20260307090105"};

void writeWeek(RunState& s, void (*writer)(RunState&)) {
    for (int k = 1; k <= rwtest::kFixtureRaces; ++k) {
        rwtest::LoadFixtureRace(s, k);
        writer(s);
    }
}

}  // namespace

// ---- The fixture against the hand-written files ------------------------------------------------

TEST(UploadDayFile, FixtureWeekMatchesTheHandWrittenFiles) {
    for (const bool results : {false, true}) {
        SCOPED_TRACE(results ? "results" : "normal");
        TekichuFolder app;
        RunState s = rwtest::FixtureRun(results);
        writeWeek(s, WriteTekichuUpload);
        for (const char* day : kDays) {
            for (const char* suffix : {results ? "lupRCM.txt" : "lup.txt", "tekichu.txt"}) {
                const QString name = QString::fromLatin1(day) + QString::fromUtf8(suffix);
                const bool table = std::string_view(suffix) == "tekichu.txt";
                if (table && !results) {
                    EXPECT_FALSE(app.exists("TEKICHU\\" + name)) << name.toStdString();
                    continue;
                }
                const QByteArray expected = rwtest::readFile(goldenFile(name));
                ASSERT_FALSE(expected.isEmpty()) << name.toStdString();
                EXPECT_EQ(app.file(day, suffix), expected) << name.toStdString();
            }
        }
        EXPECT_EQ(s.LastDayKeyLup, QStringLiteral("20260307090105"));
    }
}

TEST(LabelledDayFile, FixtureWeekMatchesTheHandWrittenFiles) {
    for (const bool results : {false, true}) {
        SCOPED_TRACE(results ? "results" : "normal");
        TekichuFolder app;
        RunState s = rwtest::FixtureRun(results);
        writeWeek(s, WriteTwiRaceBlock);
        for (const char* day : kDays) {
            const char* suffix = results ? "twiRCM.txt" : "twi.txt";
            const QString name = QString::fromLatin1(day) + QString::fromUtf8(suffix);
            const QByteArray expected = rwtest::readFile(goldenFile(name));
            ASSERT_FALSE(expected.isEmpty()) << name.toStdString();
            EXPECT_EQ(app.file(day, suffix), expected) << name.toStdString();
        }
        EXPECT_EQ(s.LastDayKeyTwi, QStringLiteral("20260307090105"));
    }
}

// ---- Read back as the past-performance browser reads -------------------------------------------------

TEST(UploadDayFile, ReadBackItemByItem) {
    TekichuFolder app;
    RunState s = rwtest::FixtureRun(true);
    writeWeek(s, WriteTekichuUpload);
    for (const char* day : kDays) {
        const QByteArray content = app.file(day, "lupRCM.txt");
        // Value by value across line ends: RC, 12 values, then RR.
        const QList<QByteArray> v = rw::splitValues(content);
        int races = 0;
        for (qsizetype i = 0; i < v.size(); ++i) {
            if (v[i] != "RC") continue;
            ++races;
            ASSERT_LT(i + 13, v.size());
            EXPECT_EQ(v[i + 13], "RR") << day;
        }
        EXPECT_GT(races, 0);
        const auto lines = rwtest::DayFileLines(content);
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (lines[i].tag() == "RC") {
                EXPECT_EQ(lines[i].size(), 13);
            }
            if (lines[i].tag() == "AT") {
                EXPECT_EQ(lines[i].size(), 6);
            }
            if (lines[i].tag() == "HS" && i + 1 < lines.size() && lines[i + 1].tag() != "HS") {
                EXPECT_EQ(lines[i + 1].tag(), "Q1") << day << " line " << i;
            }
        }
        const QByteArray table = app.file(day, "tekichu.txt");
        const auto rows = rwtest::DayFileLines(table);
        for (const auto& r : rows.mid(2)) EXPECT_EQ(r.size(), 8);
        EXPECT_EQ(rows.size(), 2 + 4 * races);
    }
}

// ---- Blocks by mode and rule ---------------------------------------------------------------------------

TEST(UploadDayFile, NormalModeHasNoResultLinesAndNoHitTable) {
    TekichuFolder app;
    RunState s = rwtest::FixtureRun(false);
    rwtest::LoadFixtureRace(s, 3);
    WriteTekichuUpload(s);
    const auto tags = rwtest::TagsOf(rwtest::DayFileLines(app.file(kDays[1], "lup.txt")));
    for (const char* t : {"ATQ1", "AT", "KK", "KS"}) EXPECT_EQ(tags.count(t), 0) << t;
    EXPECT_FALSE(app.exists("TEKICHU\\20260307090105tekichu.txt"));
}

TEST(UploadDayFile, APayoffRecordOfAnotherRaceWritesNoResultLinesAndNoHitRows) {
    TekichuFolder app;
    RunState s = rwtest::FixtureRun(true);
    rwtest::LoadFixtureRace(s, 1);
    s.CurrentHR = rwtest::FixturePayoffRecord(2);
    s.TicketHitSummary.Umaren.HitLabel = "left by an earlier race";
    WriteTekichuUpload(s);
    const auto tags = rwtest::TagsOf(rwtest::DayFileLines(app.file(kDays[0], "lupRCM.txt")));
    EXPECT_EQ(tags.count("ATQ1"), 1);  // by the mode alone
    for (const char* t : {"AT", "KK", "KS"}) EXPECT_EQ(tags.count(t), 0) << t;
    EXPECT_EQ(rwtest::DayFileLines(app.file(kDays[0], "tekichu.txt")).size(), 2);  // its head only
}

TEST(UploadDayFile, NoTrifectaSoldEndsWithKS2) {
    for (const char* comb : {"      ", "000000"}) {
        TekichuFolder app;
        RunState s = rwtest::FixtureRun(true);
        rwtest::LoadFixtureRace(s, 1);
        rw::putFixed(s.CurrentHR, rw::jv::findField(rw::jv::kHR, "trifecta payouts", "combination", 0).pos, 6, comb);
        WriteTekichuUpload(s);
        WriteTwiRaceBlock(s);
        for (const char* suffix : {"lupRCM.txt", "twiRCM.txt"}) {
            const auto lines = rwtest::DayFileLines(app.file(kDays[0], suffix));
            EXPECT_EQ(lines.last().tag(), "KS") << suffix;
            EXPECT_EQ(lines.last().value(1), "2") << suffix;
        }
    }
}

TEST(UploadDayFile, BlankAndZeroWinEntries) {
    TekichuFolder app;
    RunState s = rwtest::FixtureRun(true);
    rwtest::LoadFixtureRace(s, 1);
    rwtest::PayoffImage p(s);
    p.image = s.CurrentHR;
    p.entry("win payouts", 2, "00", 0, 0);
    s.CurrentHR = p.image;
    WriteTekichuUpload(s);
    const auto kk = LinesTagged(rwtest::DayFileLines(app.file(kDays[0], "lupRCM.txt")), "KK");
    EXPECT_EQ(kk[0].raw, (QList<QByteArray>{"\"KK\"", "\"1\"", "\" 3\"", "\"250\"", "\" 0\"", "\"0\""}));
    EXPECT_EQ(kk[1].raw.mid(8), (QList<QByteArray>{"\"\"", "\"\""}));  // the fourth place entry is blank
}

TEST(UploadDayFile, MissingRanksKeepTheRestOfTheBlock) {
    TekichuFolder app;
    RunState s = rwtest::FixtureRun(true);
    rwtest::LoadFixtureRace(s, 3);  // 8 runner records
    rw::putFixed(s.CurrentHorse, rr::RegisteredRunners(0).pos, 2, "10");
    WriteTekichuUpload(s);
    const auto lines = rwtest::DayFileLines(app.file(kDays[1], "lupRCM.txt"));
    const auto q2 = LinesTagged(lines, "Q2");
    ASSERT_EQ(q2.size(), 1);
    EXPECT_EQ(q2[0].size(), 4);  // ranks 6 to 8
    EXPECT_EQ(LinesTagged(lines, "AT").size(), 10);
    EXPECT_EQ(LinesTagged(lines, "KS").size(), 3);
    EXPECT_EQ(rwtest::DayFileLines(app.file(kDays[1], "tekichu.txt")).size(), 6);
    EXPECT_EQ(s.TierHitTotals.Sanrentan.TierHits[1], 2);
}

TEST(UploadDayFile, AFailureKeepsTheLinesBeforeAndLosesTheHitRows) {
    TekichuFolder app;
    RunState s = rwtest::FixtureRun(true);
    rwtest::LoadFixtureRace(s, 1);
    rw::putFixed(s.CurrentHR, rw::jv::findField(rw::jv::kHR, "quinella payouts", "payout", 0).pos, 9, "00000X520");
    EXPECT_THROW(WriteTekichuUpload(s), rw::StepFailure);
    const auto lines = rwtest::DayFileLines(app.file(kDays[0], "lupRCM.txt"));
    EXPECT_EQ(lines.last().tag().left(2), "PS");
    EXPECT_EQ(rwtest::DayFileLines(app.file(kDays[0], "tekichu.txt")).size(), 2);
}

TEST(UploadDayFile, HitTableStartsWithTheCourseDayAndTheRacesAddFourRows) {
    TekichuFolder app;
    RunState s = rwtest::FixtureRun(true);
    for (int k : {1, 2, 3, 1}) {  // course-days A, B, A: the second A starts anew
        rwtest::LoadFixtureRace(s, k);
        WriteTekichuUpload(s);
    }
    const auto a = rwtest::DayFileLines(app.file(kDays[0], "tekichu.txt"));
    ASSERT_EQ(a.size(), 6);
    EXPECT_EQ(a[2].value(0), sj("01R 的中"));
    EXPECT_EQ(TagsOf(rwtest::DayFileLines(app.file(kDays[0], "lupRCM.txt"))).count("DY"), 1);
}

// ---- The slots ------------------------------------------------------------------------------------------

TEST(UploadDayFile, TheRunCallsBothWritersInTheirSlots) {
    TekichuFolder app;
    RunState s = rwtest::FixtureRun(true);
    rw::prediction::RaceWriterSlots w;
    w[rw::prediction::WriterSlot::WriteTekichuUpload] = WriteTekichuUpload;
    w[rw::prediction::WriterSlot::WriteTwiRaceBlock] = WriteTwiRaceBlock;
    rw::SkipLog log("prediction run");
    for (int k = 1; k <= rwtest::kFixtureRaces; ++k) {
        rwtest::LoadFixtureRace(s, k);
        rw::prediction::CallRaceWriters(s, w, log);
    }
    for (const char* day : kDays)
        for (const char* suffix : {"lupRCM.txt", "tekichu.txt", "twiRCM.txt"})
            EXPECT_EQ(app.file(day, suffix), rwtest::readFile(goldenFile(QString::fromLatin1(day) + suffix)))
                << day << suffix;
}

// ---- The labelled day file ------------------------------------------------------------------------------

TEST(LabelledDayFile, BlocksByModeAndRule) {
    TekichuFolder app;
    RunState n = rwtest::FixtureRun(false);
    rwtest::LoadFixtureRace(n, 3);
    WriteTwiRaceBlock(n);
    auto lines = rwtest::DayFileLines(app.file(kDays[1], "twi.txt"));
    EXPECT_EQ(TagsOf(lines),
              (QList<QByteArray>{"DY", "PL", "RC", "RR", "HS", "HS", "HS", "HS", "HS", "HS", "HS", "HS"}));
    EXPECT_EQ(lines[2].size(), 12);
    EXPECT_EQ(lines[3].size(), 13);

    RunState r = rwtest::FixtureRun(true);
    rwtest::LoadFixtureRace(r, 3);
    r.CurrentHR = rwtest::FixturePayoffRecord(1);  // another race's record
    WriteTwiRaceBlock(r);
    lines = rwtest::DayFileLines(app.file(kDays[1], "twiRCM.txt"));
    EXPECT_EQ(TagsOf(lines).last(), "HS");
    EXPECT_EQ(lines[2].size(), 12);
    EXPECT_EQ(lines.last().size(), 17);
}
