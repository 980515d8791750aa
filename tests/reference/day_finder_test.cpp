// The folder-listing finder against the loops that open every name, on a
// folder holding every kind of edge name.
#include "support/recording_ui.h"
#include "common/skip.h"
#include "reference/day_finder.h"
#include "reference/hit_list.h"
#include "reference/past_days.h"
#include "support/literal_day_scan.h"
#include "support/test_support.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace rw::reference;
using rwtest::sj;

namespace {

QByteArray dayLine(const char* y, const char* m, const char* d, const char* meeting, const char* course,
                   const char* day) {
    return sj((std::string("\"") + y + "\",\"" + m + "\",\"" + d + "\",\"" + meeting + "\",\"" + course + "\",\"" +
               day + "\"\r\n")
                  .c_str());
}

// Every edge of the candidate names, in "tekichu.txt" and "lupRCM.txt".
void writeEdgeFolder(const rwtest::AppFolder& app) {
    const QByteArray line = dayLine("2024年", "06月", "29日", "3回", "東京", "8日目");
    const char* listed[] = {
        "20240629050308", "20240629090308", "20280101010101", "20241231100712", "20240101010101",
        "20250229050101",  // not a date, but the loops try it
        "20240230050101", "20240231050101", "20240431050101", "20240631050101", "20240931050101",
        "20241131050101", "20270229050101", "20260229050101",
    };
    for (const char* key : listed) {
        app.write(QString("TEKICHU\\%1tekichu.txt").arg(key), line);
        app.write(QString("TEKICHU\\%1lupRCM.txt").arg(key), "\"RC\"\r\n");
    }
    const char* outside[] = {
        "20231231050101", "20290101050101", "20240629110101",  "20240629000101", "20240629050801",
        "20240629050001", "20240629050113", "20240629050100",  "20241329050101", "20241232050101",
        "20240600050101", "2024062905030",  "202406290503081",
    };
    for (const char* key : outside) {
        app.write(QString("TEKICHU\\%1tekichu.txt").arg(key), line);
        app.write(QString("TEKICHU\\%1lupRCM.txt").arg(key), "\"RC\"\r\n");
    }
    // Names that are not the window's file.
    app.write("TEKICHU\\20240622050101tekichuPC.txt", line);
    app.write("TEKICHU\\20240622050102lupRCMPC.txt", line);
    app.write("TEKICHU\\20240622050103lup.txt", line);
    app.write("TEKICHU\\20240622050104kaiteki.txt", line);
    app.write("TEKICHU\\20240622050105TEKICHU.TXT", line);  // another letter case
    app.write("TEKICHU\\20240622050106lupRCM.txt.bak", line);
    // Folders named like day files.
    QDir().mkpath(app.file("TEKICHU\\20240623050101tekichu.txt"));
    QDir().mkpath(app.file("TEKICHU\\20240623050101lupRCM.txt"));
    // Files that open but are no day: an empty first value, no values.
    app.write("TEKICHU\\20240616050101tekichu.txt", "\"\",\"06月\"\r\n");
    app.write("TEKICHU\\20240616050102tekichu.txt", "");
    // Fewer than six values: listed with what there is.
    app.write("TEKICHU\\20240616050103tekichu.txt", sj("\"2024年\",\"06月\"\r\n"));
}

struct Scan {
    QStringList items;
    QByteArray dayList;
    QStringList texts;
    int events = 0;
    QStringList hitTexts;
    int hitEvents = 0;
    QList<QByteArray> lupKeys;
    bool probed = false;  // the last finder probed name by name
};

Scan scanWithFinder(const rwtest::AppFolder& app) {
    Scan s;
    rw::RecordingUi ui;
    rw::SkipLog log("scan");
    RunRaceDayScan(ui, s.items, log);
    s.dayList = app.read("TEKICHU\\RACEIDYMDLKN.txt");
    s.texts = ui.textLog;
    s.events = ui.eventTurns;
    rw::RecordingUi hitUi;
    rw::GridModel grid;
    TekichuListLoad(hitUi, grid, log);
    s.hitTexts = hitUi.textLog;
    s.hitEvents = hitUi.eventTurns;
    const DayFinder lup(app.file("TEKICHU\\"), "lupRCM.txt");
    ForEachScanDate(lup, [&](const ScanDate&, const QList<QByteArray>& keys) { s.lupKeys += keys; });
    s.probed = lup.probed();
    return s;
}

void expectSame(const Scan& found, const rwtest::LiteralDayScan& loops, const rw::RecordingUi& ui,
                const rw::RecordingUi& hitUi) {
    EXPECT_EQ(found.items, loops.items);
    EXPECT_EQ(found.dayList, loops.dayList);
    EXPECT_EQ(found.lupKeys, loops.lupKeys);
    EXPECT_EQ(found.texts, ui.textLog);
    EXPECT_EQ(found.texts.size(), 1860);
    EXPECT_EQ(found.events, 0);
    EXPECT_EQ(found.hitTexts, hitUi.textLog);
    EXPECT_EQ(found.hitEvents, 1860);
    EXPECT_EQ(hitUi.eventTurns, 1860);
}

}  // namespace

// One run of the loops (3,124,800 names opened) for both ways of finding.
TEST(DayFinder, FindsWhatOpeningEveryNameFindsListedOrProbed) {
    rwtest::AppFolder app;
    writeEdgeFolder(app);
    rw::RecordingUi ui, hitUi;
    const rwtest::LiteralDayScan loops = rwtest::literalDayScan(ui, hitUi);
    const Scan listed = scanWithFinder(app);
    EXPECT_FALSE(listed.probed);
    expectSame(listed, loops, ui, hitUi);
    // A folder that cannot be listed is probed name by name.
    SetDayListingHook([](const QString&) { return true; });
    const Scan probed = scanWithFinder(app);
    SetDayListingHook({});
    EXPECT_TRUE(probed.probed);
    expectSame(probed, loops, ui, hitUi);
    EXPECT_FALSE(DayFinder(app.file("TEKICHU\\"), "tekichu.txt").probed());

    // And what that is: the listed days, newest first, impossible dates in
    // their place, 05 before 09 on one date.
    const Scan& s = listed;
    const QByteArray expected =
        "20280101010101\r\n20270229050101\r\n20260229050101\r\n20250229050101\r\n20241231100712\r\n"
        "20241131050101\r\n20240931050101\r\n20240631050101\r\n20240629050308\r\n20240629090308\r\n"
        "20240616050103\r\n20240431050101\r\n20240231050101\r\n20240230050101\r\n20240101010101\r\n";
    EXPECT_EQ(s.dayList, expected);
    ASSERT_EQ(s.items.size(), 15);
    EXPECT_EQ(s.items[8], QString::fromUtf8("2024年06月29日3回東京8日目") + QString(18, u' ') + "20240629050308");
    EXPECT_EQ(s.items[10], QString::fromUtf8("2024年06月") + QString(18, u' ') + "20240616050103");
    for (int i = 0; i < s.items.size(); ++i)
        EXPECT_EQ(s.items[i].right(14).toLatin1() + "\r\n", s.dayList.mid(i * 16, 16));
}

TEST(DayFinder, NoFolderFindsNothing) {
    rwtest::AppFolder app;
    const DayFinder f(app.file("TEKICHU\\"), "tekichu.txt");
    int keys = 0;
    ForEachScanDate(f, [&](const ScanDate&, const QList<QByteArray>& k) { keys += int(k.size()); });
    EXPECT_EQ(keys, 0);
}

TEST(DayFinder, CandidateKeysAndDates) {
    const struct {
        const char* key;
        bool candidate;
    } cases[] = {
        {"20240101010101", true},  {"20281231100712", true},  {"20281231101207", false},  {"20250230050101", true},
        {"20231231010101", false}, {"20290101010101", false}, {"20240001010101", false},  {"20241301010101", false},
        {"20240100010101", false}, {"20240132010101", false}, {"20240101000101", false},  {"20240101110101", false},
        {"20240101010001", false}, {"20240101010801", false}, {"20240101010100", false},  {"20240101010113", false},
        {"2024010101010", false},  {"2024010101010a", false}, {"202401010101011", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsCandidateDayKey(c.key), c.candidate) << c.key;
    const QList<ScanDate> dates = ScanDates();
    ASSERT_EQ(dates.size(), 1860);
    EXPECT_EQ(dates.first().date, "20281231");
    EXPECT_EQ(dates.last().date, "20240101");
    EXPECT_EQ(SearchingText(dates.first()), QString::fromUtf8("2028年12月31日検索中"));
}
