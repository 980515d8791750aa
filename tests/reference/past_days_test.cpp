// The browser's load on a small history, byte for byte against hand-written
// golden files.
#include "common/cp932.h"
#include "common/kestrav_path.h"
#include "support/recording_ui.h"
#include "reference/past_days.h"
#include "reference/history_fixture.h"
#include "support/file_size_limit.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace rw::reference;

namespace {

QByteArray golden(const char* name) {
    return rwtest::readFile(QStringLiteral(RACEWEEK_SOURCE_DIR "/tests/reference/golden/") + name);
}

QByteArray itemsAsFile(const QStringList& items) {
    QByteArray out;
    for (const QString& i : items) out += rw::cp932::encode(i) + "\r\n";
    return out;
}

struct Load {
    QStringList list1;
    QStringList texts;
    int events = 0;
    std::vector<std::string> skipped;
};

Load load() {
    Load l;
    rw::RecordingUi ui;
    rw::SkipLog log("browser");
    KakoSeisekiLoad(ui, l.list1, log);
    l.texts = ui.textLog;
    l.events = ui.eventTurns;
    l.skipped = log.skipped();
    return l;
}

}  // namespace

TEST(PastDays, LoadMatchesTheGoldenFilesAndASecondLoadTheFirst) {
    rwtest::AppFolder app;
    reffix::writeHistory(app);
    for (int round = 0; round < 2; ++round) {
        const Load l = load();
        EXPECT_EQ(itemsAsFile(l.list1), golden("List1.txt"));
        EXPECT_EQ(app.read("TEKICHU\\RACEIDYMDLKN.txt"), golden("RACEIDYMDLKN.txt"));
        EXPECT_EQ(app.read("SOKUDO\\RACEID.txt"), golden("RACEID.txt"));
        EXPECT_EQ(app.read("SOKUDO\\HR20240629.csv"), golden("HR20240629.csv"));
        EXPECT_EQ(app.read("SOKUDO\\HR20240615.csv"), golden("HR20240615.csv"));
        EXPECT_EQ(app.read("SOKUDO\\HR20240608.csv"), "kept, no race of that date\r\n");
        EXPECT_EQ(app.read("SOKUDO\\HR20230105.csv"), "kept\r\n");
        EXPECT_FALSE(app.exists("SOKUDO\\HR20240601.csv"));
        EXPECT_EQ(l.events, 0);
        // Every date's search text, then the start text and one per race.
        ASSERT_EQ(l.texts.size(), 1860 + 1 + 8);
        EXPECT_EQ(l.texts[0], QString::fromUtf8("KESF1THISWEEKNZ.Text6: 2028年12月31日検索中"));
        EXPECT_EQ(l.texts[1859], QString::fromUtf8("KESF1THISWEEKNZ.Text6: 2024年01月01日検索中"));
        EXPECT_EQ(l.texts[1860], QString::fromUtf8("KESF1THISWEEKNZ.Text6: RUDの外部指数作成開始"));
        EXPECT_EQ(l.texts.last(), QString::fromUtf8("KESF1THISWEEKNZ.Text6: 2024061510010103RUDの外部指数作成中"));
    }
}

TEST(PastDays, IndexEntriesOfTimes) {
    const struct {
        const char* time;
        std::int64_t distance;
        bool set;
        std::int64_t speed;
    } cases[] = {
        {"1.34.56", 1600, true, 60913},  // the example
        {"0.58.30", 1000, true, 61749},
        {"0.00.00", 1000, false, 0},  // zero seconds: no entry, no division
        {"", 1600, true, 0},          // no time (no speed): speed 0
        {"x.34.56", 1600, true, 0},   // unreadable: speed 0
        {"1.3a.56", 1600, true, 0},
        {"2.01.00", 2000, true, 59504},
    };
    for (const auto& c : cases) {
        const IndexEntry e = IndexEntryOf(c.time, c.distance, 3);
        EXPECT_EQ(e.set, c.set) << c.time;
        EXPECT_EQ(e.speed, c.speed) << c.time;
        EXPECT_EQ(e.rank, 3);
    }
}

TEST(PastDays, DayListLinesThatAreNoDayKeyNameNoFile) {
    rwtest::AppFolder app;
    reffix::writeHistory(app);
    rw::RecordingUi ui;
    rw::SkipLog log("browser");
    QStringList list1;
    RunRaceDayScan(ui, list1, log);
    // A day list edited by hand: a short key, a path, a key with a blank.
    app.write("TEKICHU\\RACEIDYMDLKN.txt", "2024062905030\r\n../../x\r\n2024062905030 \r\n20240615100101\r\n");
    app.write("TEKICHU\\2024062905030lupRCM.txt", reffix::rc(1, "1600"));
    RebuildExternalIndex(ui, log);
    EXPECT_EQ(app.read("SOKUDO\\RACEID.txt"), "2024061510010103\r\n");
    EXPECT_EQ(log.skipped().size(), 3u);
}

TEST(PastDays, NoFoldersNoCrashNothingWrittenOutside) {
    QTemporaryDir parent;
    const QString appDir = parent.path() + "/app/";
    QDir().mkpath(appDir);
    rw::SetProgramFolder(appDir);
    rw::AppPath = rw::GetAppPath();
    const Load l = load();
    EXPECT_TRUE(l.list1.isEmpty());
    EXPECT_FALSE(l.skipped.empty());  // the day list and the key list could not be created
    EXPECT_EQ(rwtest::filesUnder(parent.path()).size(), 0u);
    rw::SetProgramFolder({});
}

TEST(PastDays, TruncatedAndUnreadableDayFiles) {
    rwtest::AppFolder app;
    reffix::writeHistory(app);
    // Cut inside a runner line; a folder in place of a tagged file.
    QByteArray cut = app.read("TEKICHU\\20240629090308lupRCM.txt");
    cut.truncate(cut.indexOf("1.48.00"));
    app.write("TEKICHU\\20240629090308lupRCM.txt", cut);
    QFile::remove(app.file("TEKICHU\\20240615100101lupRCM.txt"));
    QDir().mkpath(app.file("TEKICHU\\20240615100101lupRCM.txt"));
    const Load l = load();
    EXPECT_EQ(l.list1.size(), 4);
    const QByteArray hr = app.read("SOKUDO\\HR20240629.csv");
    // The runner cut before its time is written as one without a speed.
    EXPECT_TRUE(hr.endsWith("2024062905030812,61749,01\r\n2024062909030801,0,01\r\n")) << hr.constData();
    EXPECT_EQ(app.read("SOKUDO\\RACEID.txt"),
              "2024062905030801\r\n2024062905030802\r\n2024062905030805\r\n2024062905030811\r\n"
              "2024062905030812\r\n2024062909030801\r\n");
}

// A day file that is not a regular file (a FIFO) is skipped and named; the
// load does not wait on it.
TEST(PastDays, ADayFileThatIsNoRegularFileIsSkippedAndNamed) {
    rwtest::AppFolder app;
    reffix::writeHistory(app);
    const Load whole = load();
    const char* fifos[] = {"TEKICHU\\20240615100101tekichu.txt", "TEKICHU\\20240629090308lupRCM.txt"};
    for (const char* name : fifos) {
        QFile::remove(app.file(name));
        ASSERT_EQ(mkfifo(QFile::encodeName(app.file(name)).constData(), 0600), 0);
    }
    const Load l = load();
    EXPECT_EQ(l.list1.size(), whole.list1.size() - 1);
    for (const char* name : fifos) {
        const std::string file = QFile::encodeName(app.file(name)).toStdString();
        int named = 0;
        for (const std::string& s : l.skipped) named += s.find(file + ": not a regular file") != std::string::npos;
        EXPECT_EQ(named, 1) << file;
    }
}

// The disk fills during a second load: the day list, the race key list and
// the speed files keep what they held before it, and the failures are
// recorded.
TEST(PastDays, ADiskThatFillsLeavesTheFilesAsTheyWere) {
    rwtest::AppFolder app;
    reffix::writeHistory(app);
    load();
    const auto before = rwtest::filesUnder(app.path());
    Load l;
    {
        rwtest::FileSizeLimit full(40);
        l = load();
    }
    EXPECT_EQ(rwtest::filesUnder(app.path()), before);
    EXPECT_FALSE(l.skipped.empty());
}
