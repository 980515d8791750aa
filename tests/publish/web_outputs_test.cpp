// The web page, the print page and the WordPress blocks against golden
// files written by hand from their line templates.
#include "race_fixture.h"
#include "support/html_page.h"

#include "app/race_writers.h"
#include "common/cp932.h"
#include "common/errors.h"
#include "prediction/race_writers.h"
#include "publish/print_page.h"
#include "publish/publishing_strings.h"
#include "publish/site_page.h"
#include "publish/wordpress_blocks.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace rw;
using namespace rw::publish;
using namespace rwtest::publish;
using rw::prediction::RunState;
using rwtest::sj;

namespace {

class WebOutputs : public ::testing::Test {
protected:
    void SetUp() override {
        MakeExportFolders(app);
        FillTestCodeTable(s);
    }
    // The three web writers in the run's order.
    void webWriters(const Race& race, int index = 1) {
        LoadRace(s, race, index);
        WriteWordPressBlocks(s);
        WriteSitePage(s);
        WritePrintPage(s);
    }
    QByteArray file(const char* name) const { return app.read(QString::fromUtf8(name)); }

    rwtest::AppFolder app;
    RunState s;
};

TEST_F(WebOutputs, PageOfRaceOneWithFramesAgesCutsAndMorningStart) {
    LoadRace(s, RaceA());
    WriteSitePage(s);
    EXPECT_EQ(file("ravelmont_yosou/20240601_nakayama_r1.txt"), golden("page_a.txt"));
    EXPECT_EQ(s.LastPageKey, QStringLiteral("202406010601"));
    EXPECT_EQ(s.CurIndex, 6);
}

TEST_F(WebOutputs, PageOfAnUnknownCourseOnAWednesdayWithFourRunnersAndAFrameOutsideOneToEight) {
    LoadRace(s, RaceB());
    WriteSitePage(s);
    EXPECT_EQ(file("ravelmont_yosou/20240515__r11.txt"), golden("page_b.txt"));
}

TEST_F(WebOutputs, PageOfRaceTwelveWithThreeRunnersShowsOnlyItsOwnTrio) {
    LoadRace(s, RaceC());
    WriteSitePage(s);
    EXPECT_EQ(file("ravelmont_yosou/20241203_hanshin_r12.txt"), golden("page_c.txt"));
}

TEST_F(WebOutputs, SecondCallForTheSameRaceWritesNoPageButSetsTheStrings) {
    LoadRace(s, RaceA());
    WriteSitePage(s);
    const QString page = app.file(QStringLiteral("ravelmont_yosou/20240601_nakayama_r1.txt"));
    ASSERT_TRUE(QFile::remove(page));
    s.PublishingStrings = {};
    WriteSitePage(s);
    EXPECT_FALSE(QFile::exists(page));
    EXPECT_EQ(s.PublishingStrings.PubRaceNo, "1");
    EXPECT_EQ(s.PublishingStrings.PubPairHorses[0], "2");
}

TEST_F(WebOutputs, WeekdaysOfTheRaceDate) {
    struct Case {
        int y, m, d;
        const char* weekday;
    };
    // JRA races on a Wednesday or Thursday around New Year show their own day.
    for (const Case& c : {Case{2024, 6, 1, "土"}, Case{2024, 6, 2, "日"}, Case{2024, 6, 3, "月"},
                          Case{2024, 12, 3, "火"}, Case{2024, 5, 15, "水"}, Case{2025, 1, 2, "木"},
                          Case{2024, 12, 27, "金"}})
        EXPECT_EQ(WeekdayText(c.y, c.m, c.d), rwtest::sj(c.weekday)) << c.y << "/" << c.m << "/" << c.d;
    EXPECT_THROW(WeekdayText(2024, 2, 30), StepFailure);
}

TEST_F(WebOutputs, PublishingStringsOfTheRace) {
    LoadRace(s, RaceB());
    SetPublishingStrings(s);
    const auto& p = s.PublishingStrings;
    EXPECT_EQ(p.PubMonth, "5");
    EXPECT_EQ(p.PubDay, "15");
    EXPECT_EQ(p.PubWeekday, rwtest::sj("水"));
    EXPECT_EQ(p.PubMeetingDay, "8");
    EXPECT_EQ(p.RaceLinkClass[10], "bgnabygreen");
    EXPECT_EQ(p.RaceLinkClass[0], "bgnabyblue");
    EXPECT_EQ(p.PubTrioHorses[9], "3");
    EXPECT_EQ(p.PubTrioHorses[12], "");  // the fifth trio: the race has four
    // A field of three: three pairs; the places of the others are empty.
    LoadRace(s, RaceC());
    SetPublishingStrings(s);
    EXPECT_EQ(p.PubPairHorses[5], "3");
    EXPECT_EQ(p.PubPairHorses[6], "");
    EXPECT_EQ(PairCell(s, "|"), "2-1|2-3|1-3");
    EXPECT_EQ(TrioCell(s, "|"), "2-1-3");
    EXPECT_TRUE(p.PubRaceLabel.isEmpty() && p.CourseNaviText[0].isEmpty() && p.CourseNaviClass[2].isEmpty());
}

TEST_F(WebOutputs, ACourseDayOfTwelveRacesGetsItsHeadOnceAndItsFootAfterRaceTwelve) {
    // An earlier run's files are emptied by the day's first race.
    app.write(QStringLiteral("ravelmont_wp/20240601_nakayama_pdf.txt"), "earlier run\r\n");
    app.write(QStringLiteral("ravelmont_wp/20240601-nakayama.txt"), "earlier run\r\n");
    webWriters(RaceA(), 1);
    for (int n = 2; n <= 12; ++n) {
        if (n == 12) {
            EXPECT_FALSE(file("ravelmont_wp/20240601-nakayama.txt").contains("Finish"));
            EXPECT_FALSE(file("ravelmont_wp/20240601_nakayama_pdf.txt").contains("</html>"));
        }
        webWriters(OneRunnerRace(n), n);
    }
    EXPECT_EQ(file("ravelmont_wp/20240601_nakayama_pdf.txt"), golden("print_day.txt"));
    EXPECT_EQ(file("ravelmont_wp/20240601-nakayama.txt"), golden("blog_day.txt"));
}

TEST_F(WebOutputs, NormalAndResultsModeGiveTheSameFiles) {
    std::map<QString, QByteArray> files[2];
    for (int mode = 0; mode < 2; ++mode) {
        RunState run;
        FillTestCodeTable(run);
        run.ResultsMode = std::int16_t(mode);
        for (int n = 1; n <= 3; ++n) {
            LoadRace(run, n == 1 ? RaceA() : OneRunnerRace(n), n);
            WriteWordPressBlocks(run);
            WriteSitePage(run);
            WritePrintPage(run);
        }
        files[mode] = rwtest::filesUnder(app.path());
    }
    EXPECT_EQ(files[0], files[1]);
    EXPECT_EQ(files[0].size(), 5u);  // three pages, one print page, one block file
}

// Sections of a print page: one per race link bar.
int sections(const QByteArray& page) { return int(page.count("<table class=\"raceList\">")); }

TEST_F(WebOutputs, RaceTwelveAloneHasHeadAndSectionButNoFoot) {
    webWriters(OneRunnerRace(12), 1);
    const QByteArray print = file("ravelmont_wp/20240601_nakayama_pdf.txt");
    EXPECT_TRUE(print.startsWith("<!DOCTYPE html>\r\n\r\n"));
    EXPECT_TRUE(rwtest::pageText(print)->contains(QStringLiteral("<h1>無料競馬予想｜中山｜3回中山1日｜12R</h1>")));
    EXPECT_EQ(sections(print), 1);
    EXPECT_FALSE(print.contains("</html>"));
    EXPECT_FALSE(file("ravelmont_wp/20240601-nakayama.txt").contains("Finish"));
}

TEST_F(WebOutputs, RaceTwelveAppendedWithoutRunnersWritesTheFootOnly) {
    webWriters(OneRunnerRace(11), 1);
    Race empty = OneRunnerRace(12);
    empty.runners.clear();
    webWriters(empty, 2);
    const QByteArray print = file("ravelmont_wp/20240601_nakayama_pdf.txt");
    EXPECT_EQ(sections(print), 1);
    EXPECT_TRUE(print.endsWith("</div><!--// wraptop-->\r\n\r\n</body>\r\n</html>\r\n"));
    EXPECT_TRUE(file("ravelmont_wp/20240601-nakayama.txt").endsWith("<!-- /wp:table -->\r\nFinish\r\n"));
}

TEST_F(WebOutputs, TwoCoursesOnOneDateAndADayKeyComingBack) {
    webWriters(OneRunnerRace(1), 1);
    webWriters(OneRunnerRace(2), 2);
    webWriters(OneRunnerRace(1, "20240601090301"), 3);  // Hanshin the same day
    EXPECT_EQ(sections(file("ravelmont_wp/20240601_hanshin_pdf.txt")), 1);
    EXPECT_EQ(sections(file("ravelmont_wp/20240601_nakayama_pdf.txt")), 2);
    webWriters(OneRunnerRace(3), 4);  // back at Nakayama: its files start again
    const QByteArray print = file("ravelmont_wp/20240601_nakayama_pdf.txt");
    EXPECT_EQ(sections(print), 1);
    EXPECT_TRUE(rwtest::pageText(print)->contains(QStringLiteral("｜3R</h1>")));
    EXPECT_EQ(file("ravelmont_wp/20240601-nakayama.txt").count("<!-- wp:heading -->"), 1);
}

TEST_F(WebOutputs, AFrameThatIsNoNumberEndsThePageAtItsRowKeepingTheLinesBefore) {
    Race r = RaceA();
    r.runners[2].frame = "X";
    LoadRace(s, r);
    EXPECT_THROW(WriteSitePage(s), StepFailure);
    const QByteArray page = file("ravelmont_yosou/20240601_nakayama_r1.txt");
    const QByteArray want = golden("page_a.txt");
    const qsizetype cut = want.indexOf("<tr>\r\n   <td class=\"bgred\">");
    EXPECT_EQ(page, want.left(cut));  // the row strings come before the row's lines
}

TEST_F(WebOutputs, CourseNamesThatWouldLeaveTheFolderNameNoFile) {
    QList<QByteArray> v{"2001", "06", "", "", rwtest::sj("中山"), "", "../../outside", ""};
    prediction::FillCodeTable(s.CodeTable, v);
    LoadRace(s, RaceA());
    SkipLog log("test");
    prediction::CallRaceWriters(s, app::InstallRaceWriters(), log);
    std::vector<std::string> skipped = log.skipped();
    auto skippedWriter = [&](const char* name) {
        for (const std::string& line : skipped)
            if (line.find(name) != std::string::npos && line.find("cannot be part of a file name") != std::string::npos)
                return true;
        return false;
    };
    EXPECT_TRUE(skippedWriter("WriteWordPressBlocks"));
    EXPECT_TRUE(skippedWriter("WriteSitePage"));
    EXPECT_TRUE(skippedWriter("WritePrintPage"));
    EXPECT_TRUE(rwtest::filesUnder(app.path() + "ravelmont_wp").empty());
    EXPECT_TRUE(rwtest::filesUnder(app.path() + "ravelmont_yosou").empty());
    EXPECT_FALSE(QFile::exists(app.path() + "../outside_pdf.txt"));
}

}  // namespace
