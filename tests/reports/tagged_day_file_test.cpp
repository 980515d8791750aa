#include "reports/tagged_day_file.h"

#include "common/errors.h"
#include "common/fixed_text.h"
#include "prediction/runner_record.h"
#include "support/day_file_lines.h"
#include "support/run_state_fixture.h"
#include "support/test_support.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace rw::reports;
using rw::prediction::RunState;
using rwtest::sj;
namespace rr = rw::prediction::rr;

namespace {

QList<QByteArray> values(const QList<rw::CsvValue>& items) {
    DayLines l;
    l.add(items);
    const auto lines = rwtest::DayFileLines(l.bytes());
    QList<QByteArray> out;
    for (qsizetype i = 0; i < lines[0].size(); ++i) out.append(lines[0].value(i));
    return out;
}

RunState race(int k, bool results) {
    RunState s = rwtest::FixtureRun(results);
    rwtest::LoadFixtureRace(s, k);
    return s;
}

QList<QByteArray> sjList(std::initializer_list<const char*> utf8) {
    QList<QByteArray> out;
    for (const char* u : utf8) out.append(sj(u));
    return out;
}

}  // namespace

TEST(TaggedDayFile, HeadLines) {
    RunState s = race(2, false);
    EXPECT_EQ(DayKey(s), "20260307060205");
    EXPECT_EQ(values(DyLine(DayKey(s))), (QList<QByteArray>{"DY", "1", "20260307"}));
    EXPECT_EQ(values(PlLine(s, DayKey(s))), sjList({"PL", "1", "2", "中山", "5", "11"}));
    rw::putFixed(s.CurrentHorse, rr::MeetingNo(0).pos, 2, "10");
    rw::putFixed(s.CurrentHorse, rr::DayNo(0).pos, 2, "12");
    EXPECT_EQ(values(PlLine(s, DayKey(s))), sjList({"PL", "1", "10", "中山", "12", "11"}));
}

TEST(TaggedDayFile, RaceLinesInTheirFormsAndCounts) {
    RunState s = race(1, false);  // no race name
    const auto plain = sjList({"RC", "1", "1005", "01", "", "サラ系３歳", "未勝利", "", "ダ", "1200", " 5", "晴良"});
    EXPECT_EQ(values(RaceLine(s, RcForm::Plain, false)), plain);
    EXPECT_EQ(values(RaceLine(s, RcForm::Plain, true)), plain + QList<QByteArray>{""});
    const auto named = sjList({"RC", "1", "1005", "01", "", "サラ系３歳未勝利", "サラ系３歳未勝利", "", "ダ", "1200",
                               " 5", "晴良"});
    EXPECT_EQ(values(RaceLine(s, RcForm::Named, false)), named);
    EXPECT_EQ(values(RaceLine(s, RcForm::Named, true)).size(), 13);
    // In both forms the ninth value after the tag is the distance, the tenth SD.
    for (const auto form : {RcForm::Plain, RcForm::Named}) {
        EXPECT_EQ(values(RaceLine(s, form, false))[9], "1200");
        EXPECT_EQ(values(RaceLine(s, form, false))[10], " 5");
    }
    RunState t = race(2, false);
    EXPECT_EQ(values(RaceLine(t, RcForm::Named, false))[5], sj("若竹賞"));
    EXPECT_EQ(values(RaceLine(t, RcForm::Named, false))[6], sj("サラ系３歳１勝クラス"));
}

TEST(TaggedDayFile, RunnerHeadersByFileModeAndTrack) {
    struct Case {
        DayFileKind kind;
        bool results;
        const char* track;
        QList<QByteArray> items;
    };
    const Case cases[] = {
        {DayFileKind::Upload, false, "49",
         sjList({"RR", "n", "w", "馬", "予", "性", "齢", "馬名　　　　　　　", "負担", "騎手名　", "調教師名", "推定タイム",
                 "推定上3F"})},
        {DayFileKind::Upload, true, "00",
         sjList({"RR", "n", "w", "馬", "予", "人", "入", "性", "齢", "馬名　　　　　　　", "負担", "騎手名　", "調教師名",
                 "推定タイム", "実タイム", "推定上3F", "実上3F"})},
        {DayFileKind::Upload, true, "51",
         sjList({"RR", "n", "w", "馬", "予", "人", "入", "性", "齢", "馬名　　　　　　　", "負担", "騎手名　", "調教師名",
                 "推定タイム", "実タイム", "推定平1F", "実平1F"})},
        {DayFileKind::Labelled, false, "  ",
         sjList({"RR", "連番", "枠番", "馬番", "予順", "性", "齢", "馬名　　　　　　　", "負担", "騎手名　", "調教師名",
                 "推定タイム", "推定平1F"})},
        {DayFileKind::Labelled, true, "24",
         sjList({"RR", "連番", "枠番", "馬番", "予順", "人気", "入線", "性", "齢", "馬名　　　　　　　", "負担", "騎手名　",
                 "調教師名", "推定タイム", "実タイム", "推定上3F", "実上3F"})},
        {DayFileKind::Selection, false, "11",
         sjList({"RR", "n", "w", "馬", "予", "性", "齢", "馬名　　　　　　　", "負担", "騎手名　", "推定タイム"})},
        {DayFileKind::Selection, true, "11",
         sjList({"RR", "n", "w", "馬", "予", "人", "入", "性", "齢", "馬名　　　　　　　", "負担", "騎手名　", "推定タイム",
                 "実タイム"})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("track \"") + c.track + "\" items " + std::to_string(c.items.size()));
        RunState s = race(2, c.results);
        rw::putFixed(s.CurrentHorse, rr::TrackCode(0).pos, 2, c.track);
        EXPECT_EQ(values(RunnerHeader(s, c.kind, c.results)), c.items);
    }
}

TEST(TaggedDayFile, RunnerLinesInPredictedOrderWithTheirFilesColumns) {
    for (const auto kind : {DayFileKind::Upload, DayFileKind::Labelled, DayFileKind::Selection}) {
        for (const bool results : {false, true}) {
            RunState s = race(2, results);
            DayLines out;
            AddRunnerLines(s, kind, results, out);
            const auto lines = rwtest::DayFileLines(out.bytes());
            const qsizetype width = values(RunnerHeader(s, kind, results)).size();
            ASSERT_EQ(lines.size(), 12);
            for (int r = 1; r <= 12; ++r) {
                const auto& l = lines[r - 1];
                EXPECT_EQ(l.size(), width);
                EXPECT_EQ(l.tag(), "HS");
                EXPECT_EQ(l.value(1), QByteArray::number(r));
                EXPECT_EQ(l.value(4), s.PredRank[s.RankedHorse[r].toInt()]);
            }
            EXPECT_EQ(s.CurIndex, 13);
            EXPECT_EQ(s.CurSubIndex, 13);
            // Rank 1 is horse 7, rank 2 horse 12 (藤原英昭 trains horse 2, rank 3).
            const auto first = lines[0], third = lines[2];
            EXPECT_EQ(first.value(3), " 7");
            EXPECT_EQ(lines[1].value(3), "12");
            const int trainer = results ? 12 : 10;
            if (kind != DayFileKind::Selection) {
                EXPECT_EQ(third.value(trainer), sj(results ? "藤原英昭" : "藤原英"));
                EXPECT_EQ(third.value(width - (results ? 2 : 1)), s.PredLast3FText[2]);
            }
            EXPECT_EQ(third.value(results ? 9 : 7), sj("リバティアイランド"));
            EXPECT_EQ(third.value(results ? 11 : 9), sj("武豊  "));
            if (results) {
                EXPECT_EQ(first.value(5), " 1");  // popularity
                EXPECT_EQ(first.value(6), " 3");  // arrival order
            }
        }
    }
}

TEST(TaggedDayFile, RunnerLinesFailOnAnAgeOrIndexTheyCannotRead) {
    RunState s = race(1, false);
    s.HorseAge[2] = "  ";
    DayLines out;
    EXPECT_THROW(AddRunnerLines(s, DayFileKind::Upload, false, out), rw::StepFailure);
    RunState t = race(1, false);
    t.HorseCount = 19;  // more horses than the fixed arrays hold
    EXPECT_THROW(AddRunnerLines(t, DayFileKind::Upload, false, out), rw::StepFailure);
}

TEST(TaggedDayFile, TheHitTableStartsAndEndsWithItsDayFileAndKeepsWhatWasMadeBeforeAFailure) {
    rwtest::AppFolder app;
    QDir().mkpath(app.path() + "TEKICHU");
    RunState s = race(1, true);
    auto block = [&](bool failAfterOneLine) {
        WriteDayFileBlock(s, kUploadDayFile, [&](TaggedDayFile& f) {
            if (f.isNew()) f.hitHead.add({T("head")});
            f.lines.add({T("first")});
            f.hitLines.add({T("row")});
            if (failAfterOneLine) rw::fail("formatter failed");
            f.lines.add({T("second")});
        });
    };
    block(false);
    EXPECT_EQ(app.read("TEKICHU\\20260307060205lupRCM.txt").count("\"DY\""), 1);
    EXPECT_EQ(app.read("TEKICHU\\20260307060205tekichu.txt"), "\"head\"\r\n\"row\"\r\n");
    rwtest::LoadFixtureRace(s, 2);
    EXPECT_THROW(block(true), rw::StepFailure);
    const auto tags = TagsOf(rwtest::DayFileLines(app.read("TEKICHU\\20260307060205lupRCM.txt")));
    EXPECT_EQ(tags, (QList<QByteArray>{"DY", "PL", "first", "second", "first"}));
    EXPECT_EQ(app.read("TEKICHU\\20260307060205tekichu.txt"), "\"head\"\r\n\"row\"\r\n\"row\"\r\n");
    EXPECT_EQ(s.LastDayKeyLup, QStringLiteral("20260307060205"));
    EXPECT_TRUE(s.LastDayKeyMmk.isEmpty() && s.LastDayKeyPc.isEmpty() && s.LastDayKeyTwi.isEmpty());

    // Normal mode keeps no hit table.
    RunState n = race(3, false);
    WriteDayFileBlock(n, kUploadDayFile, [](TaggedDayFile& f) { EXPECT_FALSE(f.hasHitTable()); });
    EXPECT_TRUE(app.exists("TEKICHU\\20260307090105lup.txt"));
    EXPECT_FALSE(app.exists("TEKICHU\\20260307090105tekichu.txt"));
}

TEST(TaggedDayFile, FileNamesOfTheFourMembers) {
    rwtest::AppFolder app;
    RunState s = race(3, true);
    struct Case {
        const DayFileMember* m;
        const char* day;
        const char* hit;
    } cases[] = {{&kRaceCardFile, "SHUTSUBAHYO/20260307090105mmkRCM.txt", ""},
                 {&kUploadDayFile, "TEKICHU/20260307090105lupRCM.txt", "TEKICHU/20260307090105tekichu.txt"},
                 {&kSelectionDayFile, "TEKICHU/20260307090105lupRCMPC.txt", "TEKICHU/20260307090105tekichuPC.txt"},
                 {&kLabelledDayFile, "TEKICHU/20260307090105twiRCM.txt", ""}};
    for (const Case& c : cases) {
        TaggedDayFile f(s, *c.m);
        EXPECT_EQ(f.dayFilePath(), app.path() + c.day);
        EXPECT_EQ(f.hitTablePath(), *c.hit ? app.path() + c.hit : QString());
    }
    s.ResultsMode = 0;
    EXPECT_EQ(TaggedDayFile(s, kSelectionDayFile).dayFilePath(), app.path() + "TEKICHU/20260307090105lupPC.txt");
    EXPECT_EQ(TaggedDayFile(s, kLabelledDayFile).dayFilePath(), app.path() + "TEKICHU/20260307090105twi.txt");
}

TEST(TaggedDayFile, CountsComparedAsText) {
    EXPECT_TRUE(rw::textBetween("00", "00", "05"));
    EXPECT_TRUE(rw::textBetween("05", "00", "05"));
    EXPECT_FALSE(rw::textBetween("06", "00", "05"));
    EXPECT_FALSE(rw::textBetween(" 5", "00", "05"));  // a blank lies below "0"
    EXPECT_FALSE(rw::textBetween("  ", "00", "49"));
    EXPECT_TRUE(rw::textBetween("49", "00", "49"));
    EXPECT_FALSE(rw::textBetween("5", "00", "49"));
}
