// ⑥ through the window-less driver on the typical sample weeks: the upload
// and labelled day files of every course-day. On official results the hit
// lines of the three day files with hits agree, and the race hit table has
// four rows per race; before the results there is no hit table.
#include "common/text_file.h"
#include "sample/generator.h"
#include "support/day_file_lines.h"
#include "support/driver.h"
#include "support/road_week.h"
#include "support/test_support.h"

#include <QDir>
#include <QSet>
#include <gtest/gtest.h>

using namespace rw;
using rwtest::DayFileLine;

namespace {

// The week after the road (cached for the build), with the day files' lines.
struct Week {
    std::unique_ptr<rwtest::RoadWeek> road;
    const rwtest::PressResult& run() const { return road->road; }
    QString file(const QString& rel) const { return road->file(rel); }
    QList<DayFileLine> lines(const QString& day, const char* suffix) const {
        return rwtest::DayFileLines(rwtest::readFile(file("TEKICHU/" + day + QLatin1String(suffix))));
    }
    QSet<QString> days() const {
        QSet<QString> d;
        for (const sample::WeekRace& r : road->summary.weekRaces)
            if (!r.cancelled) d.insert(QString::fromLatin1(r.raceKey16.left(14)));
        return d;
    }
};

std::unique_ptr<Week> pressWeek(sample::Scenario scenario) {
    auto w = std::make_unique<Week>();
    w->road = rwtest::PressedRoadWeek(sample::Scale::Typical, scenario);
    return w;
}

// The lines of each race block (from RC to the next RC), by race number.
QMap<QByteArray, QList<DayFileLine>> blocks(const QList<DayFileLine>& lines) {
    QMap<QByteArray, QList<DayFileLine>> out;
    QByteArray race;
    for (const DayFileLine& l : lines) {
        if (l.tag() == "RC") race = l.value(3);
        if (!race.isEmpty()) out[race].append(l);
    }
    return out;
}

}  // namespace

TEST(UploadEndToEnd, MondayWeekHitLinesAgreeAcrossTheDayFiles) {
    const auto w = pressWeek(sample::Scenario::Monday);
    ASSERT_EQ(w->run().exitCode, 0) << w->run().err.toStdString();
    const QSet<QString> days = w->days();
    ASSERT_FALSE(days.isEmpty());
    int hits = 0, trifectaHits = 0, orderLines = 0;
    for (const QString& day : days) {
        SCOPED_TRACE(day.toStdString());
        const auto lup = w->lines(day, "lupRCM.txt");
        const auto twi = w->lines(day, "twiRCM.txt");
        const auto card = rwtest::DayFileLines(rwtest::readFile(w->file("SHUTSUBAHYO/" + day + "mmkRCM.txt")));
        const int races = int(LinesTagged(lup, "RC").size());
        ASSERT_GT(races, 0);
        EXPECT_EQ(w->lines(day, "tekichu.txt").size(), 2 + 4 * races);

        // Upload and labelled files: the same AT lines but for item 3.
        const auto a = LinesTagged(lup, "AT"), b = LinesTagged(twi, "AT");
        ASSERT_EQ(a.size(), b.size());
        for (qsizetype i = 0; i < a.size(); ++i) {
            ASSERT_EQ(a[i].size(), 6);
            ASSERT_EQ(b[i].size(), 6);
            for (qsizetype j : {0, 1, 3, 4, 5}) EXPECT_EQ(a[i].raw[j], b[i].raw[j]) << "AT line " << i;
        }
        hits += int(a.size());

        // The race card's AT lines are the upload file's without the
        // trifecta: the same hit numbers, codes and payouts.
        const auto up = blocks(lup), rc = blocks(card);
        for (auto it = up.cbegin(); it != up.cend(); ++it) {
            QList<QList<QByteArray>> fromUpload, fromCard;
            for (const DayFileLine& l : LinesTagged(it.value(), "AT")) {
                if (l.value(2) == "7") {
                    ++trifectaHits;
                    continue;
                }
                fromUpload.append({l.value(1), l.value(2), l.value(5)});
            }
            for (const DayFileLine& l : LinesTagged(rc.value(it.key()), "AT"))
                fromCard.append({l.value(1), l.value(2), l.value(5)});
            EXPECT_EQ(fromUpload, fromCard) << "race " << it.key().constData();
        }
        // The browser's reading: RC with 12 values, Q1 after the last HS.
        for (qsizetype i = 0; i < lup.size(); ++i) {
            if (lup[i].tag() == "RC") {
                EXPECT_EQ(lup[i].size(), 13);
            }
            if (lup[i].tag() == "HS" && lup[i + 1].tag() != "HS") {
                EXPECT_EQ(lup[i + 1].tag(), "Q1");
                ++orderLines;
            }
        }
    }
    EXPECT_GT(hits, 0);
    EXPECT_GT(trifectaHits, 0);
    EXPECT_GT(orderLines, 60);
}

TEST(UploadEndToEnd, FridayWeekWritesTheDayFilesWithoutHitTable) {
    const auto w = pressWeek(sample::Scenario::Friday);
    ASSERT_EQ(w->run().exitCode, 0) << w->run().err.toStdString();
    for (const QString& day : w->days()) {
        SCOPED_TRACE(day.toStdString());
        const auto lup = w->lines(day, "lup.txt");
        EXPECT_GT(LinesTagged(lup, "RC").size(), 0);
        EXPECT_EQ(LinesTagged(lup, "AT").size(), 0);
        EXPECT_GT(LinesTagged(w->lines(day, "twi.txt"), "RC").size(), 0);
        EXPECT_FALSE(QFile::exists(w->file("TEKICHU/" + day + "tekichu.txt")));
        EXPECT_FALSE(QFile::exists(w->file("TEKICHU/" + day + "lupRCM.txt")));
    }
}
