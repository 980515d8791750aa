// The race-card files of ⑥ on the typical sample weeks pressed along the
// real road (① ② ③ ④ ⑤ ⑥): one file per course-day in the run's mode, DY
// and PL once at its top, one block per listed race in list order, each
// tag with its item count, one HS line per runner in horse-number order,
// the pair and trio lines sized by the registered runner count, and on
// Monday the payoff, hit and comment lines of every race.
#include "common/record_file.h"
#include "prediction/runner_record.h"
#include "sample/generator.h"
#include "support/day_file_lines.h"
#include "support/road_week.h"
#include "support/test_support.h"

#include <QDir>
#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace rw;
namespace rr = rw::prediction::rr;

namespace {

using rwtest::DayFileLine;

QByteArray at(const QByteArray& rec, const prediction::Field& f) { return rec.mid(f.offset(), f.width); }

// Item counts with the tag; RC and HS by mode.
int itemsOf(const QByteArray& tag, bool results) {
    static const std::map<QByteArray, int> fixed = {{"DY", 3}, {"PL", 6}, {"K1", 8},  {"K2", 8},  {"K3", 8}, {"S1", 9},
                                                    {"S2", 9}, {"S3", 9}, {"KK", 32}, {"KS", 20}, {"AT", 6}, {"CM", 3}};
    if (tag == "RC") return results ? 13 : 12;
    if (tag == "HS") return results ? 19 : 16;
    const auto it = fixed.find(tag);
    return it == fixed.end() ? -1 : it->second;
}

// How many of the six or seven bet items of a K or S line hold a bet.
int betsIn(const DayFileLine& line) {
    int n = 0;
    for (qsizetype i = 2; i < line.size(); ++i) {
        const QByteArray v = line.value(i);
        EXPECT_FALSE(v.isEmpty()) << line.tag().constData();
        n += v != "  -  " && v != "  -  -  ";
    }
    return n;
}

// The race's block: the tags in order, checked against the race card's
// line order, and the K and S sizes against the registered runner count.
struct Block {
    QList<DayFileLine> lines;
};

void expectBlock(const Block& b, const QByteArray& raceId, const QByteArray& runnerFile, bool results,
                 std::set<QByteArray>& counts) {
    SCOPED_TRACE(raceId.toStdString());
    const qsizetype horses = runnerFile.size() / prediction::kRunnerRecordLength;
    ASSERT_GT(horses, 0);
    const QByteArray last = runnerFile.right(prediction::kRunnerRecordLength);
    const QByteArray c = at(last, rr::RegisteredRunners(0));
    counts.insert(c);

    QByteArray tags;
    for (const DayFileLine& l : b.lines) tags += l.tag() + ' ';
    QByteArray want = "RC K1 K2 K3 ";
    if (results) {
        // Every listed race's payoff record is the race's own: result lines.
        int hits = 0, comments = 0;
        for (const DayFileLine& l : b.lines) hits += l.tag() == "AT", comments += l.tag() == "CM";
        want += "KK KS " + QByteArray("AT ").repeated(hits) + QByteArray("CM ").repeated(comments);
        EXPECT_GE(comments, 1);
    }
    want += QByteArray("HS ").repeated(horses) + "S1 S2 S3 ";
    EXPECT_EQ(tags, want);

    // RC: the race number of the race.
    EXPECT_EQ(b.lines[0].value(1).toInt(), raceId.right(2).toInt());
    // HS in horse-number order, the number and its padded form.
    int h = 0;
    for (const DayFileLine& l : b.lines) {
        if (l.tag() != "HS") continue;
        ++h;
        EXPECT_EQ(l.value(1), QByteArray::number(h));
        EXPECT_EQ(l.value(3), QByteArray::number(h).rightJustified(2, ' '));
        EXPECT_EQ(l.value(results ? 17 : 15).size(), 4);  // speed text
    }

    // Pair and trio lines by c compared as text.
    std::map<QByteArray, int> bets;
    for (const DayFileLine& l : b.lines)
        if (l.tag().startsWith('K') && l.tag().size() == 2 && l.tag() != "KK" && l.tag() != "KS")
            bets[l.tag()] = betsIn(l);
        else if (l.tag().startsWith('S') && l.tag().size() == 2)
            bets[l.tag()] = betsIn(l);
    ASSERT_GE(horses, 5) << "the week's smallest field has five runners";
    EXPECT_EQ(bets["K1"], 6);
    EXPECT_EQ(bets["K2"], c > "05" ? 6 : 0) << c.constData();
    EXPECT_EQ(bets["K3"], c > "06" ? 6 : 0) << c.constData();
    EXPECT_EQ(bets["S1"], c > "04" ? 7 : 4) << c.constData();
    EXPECT_EQ(bets["S2"], c > "05" ? 7 : 0) << c.constData();
    EXPECT_EQ(bets["S3"], c > "06" ? 7 : 0) << c.constData();
}

void expectRaceCards(const rwtest::RoadWeek& w, bool results) {
    ASSERT_EQ(w.road.exitCode, 0) << w.road.err.toStdString();
    const QList<QByteArray> listed = w.listed();
    ASSERT_FALSE(listed.isEmpty());
    // DayKey -> its races in list order, from the runner files' slot 0.
    std::map<QByteArray, QList<QByteArray>> days;
    std::map<QByteArray, QByteArray> runnerFiles;
    QByteArray previousDay;
    for (const QByteArray& id : listed) {
        const QByteArray bytes = rwtest::readFile(w.file("RACE/" + QString::fromLatin1(id) + ".dat"));
        runnerFiles[id] = bytes;
        const QByteArray dayKey = at(bytes.right(prediction::kRunnerRecordLength), rr::RunRaceKey(0)).left(14);
        QList<QByteArray>& races = days[dayKey];
        // A course-day coming back would start its file anew.
        ASSERT_TRUE(dayKey == previousDay || races.isEmpty()) << id.constData();
        races.append(id);
        previousDay = dayKey;
    }
    // One file per course-day, in the run's mode only.
    const char* suffix = results ? "mmkRCM.txt" : "mmk.txt";
    QStringList want;
    for (const auto& [dayKey, races] : days) want << QString::fromLatin1(dayKey) + QLatin1String(suffix);
    EXPECT_EQ(QDir(w.file(QStringLiteral("SHUTSUBAHYO"))).entryList(QDir::Files, QDir::Name), want);

    static const char* const courses[] = {"札幌", "函館", "福島", "新潟", "東京",
                                          "中山", "中京", "京都", "阪神", "小倉"};
    std::set<QByteArray> counts;
    int blocks = 0;
    for (const auto& [dayKey, races] : days) {
        SCOPED_TRACE(dayKey.toStdString());
        const QList<DayFileLine> lines = rwtest::DayFileLines(
            rwtest::readFile(w.file("SHUTSUBAHYO/" + QString::fromLatin1(dayKey) + QLatin1String(suffix))));
        ASSERT_GE(lines.size(), 2);
        for (const DayFileLine& l : lines) EXPECT_EQ(l.size(), itemsOf(l.tag(), results)) << l.tag().constData();
        EXPECT_EQ(rwtest::LinesTagged(lines, "DY").size(), 1);
        EXPECT_EQ(rwtest::LinesTagged(lines, "PL").size(), 1);
        EXPECT_EQ(lines[0].tag(), "DY");
        EXPECT_EQ(lines[0].value(2), dayKey.left(8));
        EXPECT_EQ(lines[1].tag(), "PL");
        EXPECT_EQ(lines[1].value(2), QByteArray::number(dayKey.mid(10, 2).toInt()));
        EXPECT_EQ(lines[1].value(3), rwtest::sj(courses[dayKey.mid(8, 2).toInt() - 1]));
        EXPECT_EQ(lines[1].value(4), QByteArray::number(dayKey.mid(12, 2).toInt()));
        // Blocks from each RC to the next.
        QList<Block> found;
        for (qsizetype i = 2; i < lines.size(); ++i) {
            if (lines[i].tag() == "RC") found.append(Block{});
            ASSERT_FALSE(found.isEmpty()) << "a line before the first RC";
            found.last().lines.append(lines[i]);
        }
        ASSERT_EQ(found.size(), races.size());
        for (qsizetype r = 0; r < races.size(); ++r) {
            expectBlock(found[r], races[r], runnerFiles.at(races[r]), results, counts);
            ++blocks;
        }
    }
    EXPECT_EQ(blocks, listed.size());
    // The week's small fields give the short line sizes.
    for (const char* c : {"05", "06", "07"}) EXPECT_TRUE(counts.count(c)) << "no race of registered count " << c;
}

}  // namespace

TEST(RaceCardEndToEnd, FridayWeekWritesOneRaceCardPerCourseDay) {
    const auto w = rwtest::PressedRoadWeek(sample::Scale::Typical, sample::Scenario::Friday);
    expectRaceCards(*w, false);
}

TEST(RaceCardEndToEnd, MondayRaceCardsCarryThePayoffHitAndCommentLines) {
    const auto w = rwtest::PressedRoadWeek(sample::Scale::Typical, sample::Scenario::Monday);
    expectRaceCards(*w, true);
    // The week's dead heat for second: two 馬連 entries in its KK line.
    int deadHeats = 0;
    for (const sample::WeekRace& r : w->summary.weekRaces) {
        if (!r.deadHeat || !w->listed().contains(r.raceId)) continue;
        const QByteArray dayKey = r.raceKey16.left(14);
        const QList<DayFileLine> lines = rwtest::DayFileLines(
            rwtest::readFile(w->file("SHUTSUBAHYO/" + QString::fromLatin1(dayKey) + "mmkRCM.txt")));
        bool inRace = false;
        for (const DayFileLine& l : lines) {
            if (l.tag() == "RC") inRace = l.value(1).toInt() == r.raceNumber;
            if (!inRace || l.tag() != "KK") continue;
            // 馬連 entries 1 and 2: items 18 to 21 (combination, payout).
            for (int i = 18; i < 22; ++i) EXPECT_FALSE(l.value(i).isEmpty()) << r.raceId.constData() << " item " << i;
            ++deadHeats;
        }
    }
    EXPECT_GE(deadHeats, 1);
}
