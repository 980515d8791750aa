// The past-performance browser and the hit list through the window-less
// driver on the typical Monday week, after the weekly road in results mode:
// the week's race days listed; every rebuilt speed pair with the weekly
// run's rank and nearly its speed; the hit list's grid rows the hits above
// 10000 yen of "ATARILIST.txt"; the menu's end texts.
#include "common/text_file.h"
#include "sample/generator.h"
#include "support/driver.h"
#include "support/road_week.h"
#include "support/test_support.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>
#include <set>

using namespace rw;

namespace {

// RaceKey16 -> the pairs (speed, rank) of each HR line of "SOKUDO".
std::map<QByteArray, QList<std::pair<long, QByteArray>>> speedLines(const QString& appDir) {
    std::map<QByteArray, QList<std::pair<long, QByteArray>>> out;
    for (const QString& f : QDir(appDir + "/SOKUDO").entryList({"HR*.csv"}, QDir::Files))
        for (const QByteArray& line : readLines(appDir + "/SOKUDO/" + f)) {
            const QList<QByteArray> v = line.split(',');
            auto& pairs = out[v[0]];
            for (qsizetype i = 1; i + 1 < v.size(); i += 2) pairs.append({v[i].toLong(), v[i + 1]});
        }
    return out;
}

}  // namespace

TEST(ReferenceEndToEnd, MondayWeekBrowsedAndListed) {
    const auto week = rwtest::PressedRoadWeek(sample::Scale::Typical, sample::Scenario::Monday);
    const QString app = week->path();
    const sample::Summary& summary = week->summary;
    const auto weekly = speedLines(app);
    ASSERT_FALSE(weekly.empty());

    const rwtest::PressResult browse =
        rwtest::runPress(app, {"--print", "KakoSeisekiZ.List1", "Command11", "KakoSeisekiZ.List1=1"});
    ASSERT_EQ(browse.exitCode, 0) << browse.err.toStdString();
    EXPECT_EQ(browse.line("Text6"), QString::fromUtf8("過去の予想成績終了"));

    // The week's race days, newest date first.
    std::set<QByteArray> days;
    for (const sample::WeekRace& r : summary.weekRaces) days.insert(r.raceKey16.left(14));
    const QList<QByteArray> listed = readLines(app + "/TEKICHU/RACEIDYMDLKN.txt");
    EXPECT_EQ(std::set<QByteArray>(listed.begin(), listed.end()), days);
    for (qsizetype i = 1; i < listed.size(); ++i) EXPECT_GE(listed[i - 1].left(8), listed[i].left(8));
    EXPECT_TRUE(browse.out.contains("KakoSeisekiZ.List1: selected 1"));

    // Each rebuilt pair: the weekly rank, a speed a few metres per hour off.
    const auto rebuilt = speedLines(app);
    int pairs = 0;
    for (const auto& [key, list] : rebuilt) {
        ASSERT_TRUE(weekly.count(key)) << key.constData();
        const auto& before = weekly.at(key);
        ASSERT_LE(list.size(), before.size()) << key.constData();
        for (qsizetype i = 0; i < list.size(); ++i, ++pairs) {
            EXPECT_EQ(list[i].second, before[i].second) << key.constData() << " horse " << i + 1;
            EXPECT_LE(std::abs(list[i].first - before[i].first), 20) << key.constData() << " horse " << i + 1;
        }
    }
    EXPECT_GT(pairs, 100);

    const rwtest::PressResult hits = rwtest::runPress(app, {"--print", "TekichuListZ.tekichuFG", "Command15"});
    ASSERT_EQ(hits.exitCode, 0) << hits.err.toStdString();
    EXPECT_EQ(hits.line("Text6"), QString::fromUtf8("過去の的中リスト終了"));
    QStringList big;  // payouts of the hit lines above 10000, in file order
    for (const QByteArray& line : readLines(app + "/TEKICHU/ATARILIST.txt")) {
        const QList<QByteArray> v = splitValues(line);
        if (v.size() == 19 && v[18].toLong() > 10000) big.append(QString::fromLatin1(v[18]));
    }
    QStringList shown;
    for (int r = 1; r < 5000; ++r) {
        const QString cell = hits.line(QStringLiteral("TekichuListZ.tekichuFG(%1,9)").arg(r));
        if (cell.isNull()) break;
        shown.append(cell);
    }
    EXPECT_EQ(shown, big);
}
