// ⑥ through the window-less driver on the typical sample weeks pressed along
// the real road (① ② ③ ④ ⑤ ⑥): the week's races listed (72 on Friday; on
// Monday one per payoff record, 71, the cancelled race having none), a
// runner file per race filled from the horses' expanded records, the
// sort, score and bet-import files of every race with their line counts,
// the rate files of every course-day on official results, the menu's end
// message, and a second run leaving every file as the first did.
#include "common/record_file.h"
#include "common/text_file.h"
#include "jvdata/records.h"
#include "model/expanded_record.h"
#include "prediction/runner_record.h"
#include "sample/generator.h"
#include "support/road_week.h"
#include "support/test_support.h"

#include <QDir>
#include <QHash>
#include <QSet>
#include <gtest/gtest.h>

#include <array>
#include <map>

using namespace rw;
namespace rr = rw::prediction::rr;
namespace ex = rw::model::ex;

namespace {

using rwtest::RoadWeek;

template <class F>
QByteArray at(const QByteArray& rec, const F& f) {
    return rec.mid(f.offset(), f.width);
}

std::unique_ptr<RoadWeek> road(sample::Scenario scenario) {
    return rwtest::PressedRoadWeek(sample::Scale::Typical, scenario);
}

void expectTheRoadEnded(const RoadWeek& w) {
    ASSERT_EQ(w.road.exitCode, 0) << w.road.err.toStdString();
    EXPECT_TRUE(w.road.err.isEmpty()) << w.road.err.toStdString();
    EXPECT_FALSE(w.road.out.contains(QStringLiteral("MsgBox:"))) << w.road.out.toStdString();
    EXPECT_EQ(w.road.line(QStringLiteral("Text5")), QStringLiteral("予想･結果終了"));
}

QString betImportName(const QByteArray& id) {
    static const QStringList courses = {QStringLiteral("札幌"), QStringLiteral("函館"), QStringLiteral("福島"),
                                        QStringLiteral("新潟"), QStringLiteral("東京"), QStringLiteral("中山"),
                                        QStringLiteral("中京"), QStringLiteral("京都"), QStringLiteral("阪神"),
                                        QStringLiteral("小倉")};
    const QString race = QString::fromLatin1(id);
    return race.mid(2, 6) + courses.value(race.mid(8, 2).toInt() - 1) + race.mid(10, 2) + "R.csv";
}

// The score and sort files by the race's runner count, and the five
// bet-import files (the week's fields have at least five runners: the
// counts of a full field).
void expectRaceFiles(const RoadWeek& w, const QByteArray& id) {
    SCOPED_TRACE(id.toStdString());
    const QString race = QString::fromLatin1(id);
    const qint64 n = QFileInfo(w.file("RACE/" + race + ".dat")).size() / prediction::kRunnerRecordLength;
    ASSERT_GE(n, 5);
    const qint64 pairs = n * (n - 1) / 2, trios = n * (n - 1) * (n - 2) / 6;
    auto lines = [&](const QString& rel) { return readLines(w.file(rel)).size(); };
    EXPECT_EQ(lines("KAIME/" + race + ".dat"), n + pairs + trios);
    EXPECT_EQ(lines("KAIME/" + race + "SORT.dat"), n);
    EXPECT_EQ(lines("KAIME/" + race + "LUPSORT.dat"), n);
    EXPECT_EQ(lines("KAIME/" + race + "UMARENSORT.dat"), pairs);
    EXPECT_EQ(lines("KAIME/" + race + "UMATANSORT.dat"), pairs);
    EXPECT_EQ(lines("KAIME/" + race + "SANRENSORT.dat"), trios);
    EXPECT_EQ(lines("KAIME/" + race + "SANRENTANSORT.dat"), trios);
    const int want[] = {7, 3, 14, 10, 60};
    int i = 0;
    for (const char* folder : {"UMAREN", "WIDE", "UMATAN", "SANRENPUKU", "SANRENTAN"}) {
        const QList<QByteArray> l = readLines(w.file(QLatin1String(folder) + QLatin1Char('/') + betImportName(id)));
        EXPECT_EQ(l.size(), want[i++]) << folder;
        for (const QByteArray& line : l) EXPECT_FALSE(line.contains(",,")) << folder << " " << line.constData();
    }
}

// Every listed race's runner file: one record per horse number up to the
// highest entered, slot 0 the race and the entry, slots 1 on the horse's
// earlier expanded records newest first, zero bytes beyond them.
void expectRunnerFiles(const RoadWeek& w) {
    std::map<QByteArray, std::map<int, QByteArray>> entries;  // RaceID -> horse number -> registration number
    for (const QByteArray& se : RecordFile::readAll(w.file(QStringLiteral("SETHISWEEKNNEW.dat")), 555)) {
        const QByteArray id = at(se, jv::head::Year) + at(se, jv::head::MonthDay) + at(se, jv::head::Racecourse) +
                              at(se, jv::head::RaceNumber);
        entries[id][at(se, jv::se::HorseNumber).toInt()] = at(se, jv::se::RegistrationNumber);
    }
    int horses = 0, earlier = 0;
    for (const QByteArray& id : w.listed()) {
        SCOPED_TRACE(id.toStdString());
        const QList<QByteArray> records =
            RecordFile::readAll(w.file("RACE/" + QString::fromLatin1(id) + ".dat"), prediction::kRunnerRecordLength);
        const auto& race = entries.at(id);
        ASSERT_EQ(records.size(), race.rbegin()->first);
        for (qsizetype h = 1; h <= records.size(); ++h) {
            const QByteArray& r = records[h - 1];
            const auto entry = race.find(int(h));
            if (entry == race.end()) {
                EXPECT_EQ(r, QByteArray(prediction::kRunnerRecordLength, '\0')) << "gap " << h;
                continue;
            }
            EXPECT_EQ(at(r, rr::HorseNo(0)).toInt(), h);
            EXPECT_EQ(at(r, rr::RegistrationNo(0)), entry->second);
            EXPECT_TRUE(r.endsWith("\r\n"));
            const QList<QByteArray> exs = RecordFile::readAll(
                w.file("UMAGOTOEXTHISWEEKN/" + QString::fromLatin1(entry->second) + "EX.dat"), model::kExRecordLength);
            ASSERT_FALSE(exs.isEmpty()) << entry->second.constData();
            const QByteArray key0 = at(r, rr::RunRaceKey(0));
            EXPECT_EQ(key0.left(10) + key0.right(2), id) << "horse " << h;
            for (int slot = 0; slot < prediction::kRunSlots; ++slot) {
                const QByteArray key = at(r, rr::RunRaceKey(slot));
                if (slot >= exs.size()) {
                    EXPECT_EQ(key, QByteArray(key.size(), '\0')) << "horse " << h << " slot " << slot;
                    continue;
                }
                const QByteArray& e = exs[exs.size() - 1 - slot];
                EXPECT_EQ(key, at(e, ex::RaceYear) + at(e, ex::RaceMonthDay) + at(e, ex::CourseCode) +
                                   at(e, ex::MeetingNo) + at(e, ex::DayNo) + at(e, ex::RaceNo))
                    << "horse " << h << " slot " << slot;
                EXPECT_EQ(at(r, rr::Result(slot, 0)), at(e, ex::Result(0))) << "horse " << h << " slot " << slot;
                earlier += slot > 0;
            }
            ++horses;
        }
    }
    EXPECT_GT(horses, 900);
    EXPECT_GT(earlier, 5000);
}

// The course-day (DayKey) of every race of the week, by RaceID.
QHash<QByteArray, QString> dayOfRace(const RoadWeek& w) {
    QHash<QByteArray, QString> day;
    for (const sample::WeekRace& r : w.summary.weekRaces) day[r.raceId] = QString::fromLatin1(r.raceKey16.left(14));
    return day;
}

// Normal mode: one selection day file per course-day of the listed races,
// and no results-mode file, hit table or rate file.
void expectSelectionDayFiles(const RoadWeek& w) {
    const auto day = dayOfRace(w);
    QSet<QString> days;
    for (const QByteArray& id : w.listed()) days.insert(day.value(id));
    ASSERT_FALSE(days.isEmpty());
    for (const QString& d : days) {
        const QList<QByteArray> lines = readLines(w.file("TEKICHU/" + d + "lupPC.txt"));
        ASSERT_FALSE(lines.isEmpty()) << d.toStdString();
        EXPECT_TRUE(lines[0].startsWith("\"DY\"")) << d.toStdString();
    }
    for (const QString& f : QDir(w.file(QStringLiteral("TEKICHU"))).entryList(QDir::Files))
        EXPECT_FALSE(f.contains(QStringLiteral("RCM")) || f.contains(QStringLiteral("tekichu")) ||
                     f.contains(QStringLiteral("kaiteki")))
            << f.toStdString();
}

// Results mode: every course-day's hit table holds its date line and
// column header, then three rows per race (every listed race has its own
// payoff record); read back value by value as the past-performance browser
// reads it, 6 values and then groups of 12. Where the course-day starts at
// race 1 its rate file sums what the hit table shows.
void expectSelectionHitTables(const RoadWeek& w) {
    const auto day = dayOfRace(w);
    std::map<QString, int> races;
    for (const QByteArray& id : w.listed()) ++races[day.value(id)];
    ASSERT_FALSE(races.empty());
    for (const auto& [d, n] : races) {
        SCOPED_TRACE(d.toStdString());
        EXPECT_TRUE(QFile::exists(w.file("TEKICHU/" + d + "lupRCMPC.txt")));
        EXPECT_FALSE(QFile::exists(w.file("TEKICHU/" + d + "lupPC.txt")));
        const QString table = w.file("TEKICHU/" + d + "tekichuPC.txt");
        const QList<QByteArray> lines = readLines(table);
        ASSERT_EQ(lines.size(), 2 + 3 * n);
        for (qsizetype i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i].count(',') + 1, i == 0 ? 6 : 12) << i;
        const QList<QByteArray> v = readValues(table);
        ASSERT_EQ(v.size(), 6 + 12 * (1 + 3 * n));
        auto row = [&](int r) { return v.mid(6 + 12 * r, 12); };
        EXPECT_EQ(row(0)[0], rwtest::sj(" R番号"));
        std::array<qint64, 11> hits{}, pays{}, tickets{};
        for (int race = 0; race < n; ++race) {
            const QList<QByteArray> count = row(1 + 3 * race), hit = row(2 + 3 * race), pay = row(3 + 3 * race);
            EXPECT_TRUE(count[0].endsWith(rwtest::sj("R点数  "))) << count[0].constData();
            EXPECT_EQ(hit[0], rwtest::sj("  的中目"));
            EXPECT_EQ(pay[0], rwtest::sj("  配当"));
            // The seven exotic counts are bare numbers.
            const QList<QByteArray> raw = lines[2 + 3 * race].split(',');
            for (int c = 1; c <= 11; ++c) {
                EXPECT_EQ(raw[c].startsWith('"'), c <= 4) << raw[c].constData();
                EXPECT_EQ(hit[c].isEmpty(), pay[c].isEmpty()) << c;
                hits[size_t(c - 1)] += hit[c].isEmpty() ? 0 : 1;
                pays[size_t(c - 1)] += pay[c].toLongLong();
                if (c > 4) tickets[size_t(c - 1)] += count[c].toLongLong();
            }
        }
        if (!row(1)[0].startsWith("01R")) continue;
        const QList<QByteArray> pc = readLines(w.file("TEKICHU/" + d + "kaitekiPC.txt"));
        ASSERT_EQ(pc.size(), 8);
        const QList<QByteArray> hitLine = pc[3].split(','), ticketLine = pc[5].split(','), payLine = pc[6].split(',');
        for (size_t c = 0; c < 11; ++c) {
            EXPECT_EQ(hitLine[qsizetype(c) + 1].toLongLong(), hits[c]) << c;
            EXPECT_EQ(payLine[qsizetype(c) + 1].toLongLong(), pays[c]) << c;
            if (c >= 4) {
                EXPECT_EQ(ticketLine[qsizetype(c) + 1].toLongLong(), tickets[c]) << c;
            }
        }
    }
}

}  // namespace

TEST(PredictionEndToEnd, FridayWeekListsItsSeventyTwoRacesInNormalMode) {
    const auto w = road(sample::Scenario::Friday);
    expectTheRoadEnded(*w);
    const QList<QByteArray> ids = w->listed();
    EXPECT_EQ(ids.size(), 72);
    EXPECT_EQ(QDir(w->file(QStringLiteral("RACE"))).entryList(QDir::Files).size(), 72);
    for (const QByteArray& id : ids) expectRaceFiles(*w, id);
    // Day files only: no hit table or rate file before the results.
    for (const QString& f : QDir(w->file(QStringLiteral("TEKICHU"))).entryList(QDir::Files))
        EXPECT_FALSE(f.contains(QStringLiteral("tekichu")) || f.contains(QStringLiteral("kaiteki"))) << f.toStdString();
    expectSelectionDayFiles(*w);
    EXPECT_EQ(readLines(w->file(QStringLiteral("RACETHISWEEKNSYOSAI.dat"))).size(), 72);
}

TEST(PredictionEndToEnd, MondayWeekListsOneRacePerPayoffRecordInResultsMode) {
    const auto w = road(sample::Scenario::Monday);
    expectTheRoadEnded(*w);
    QList<QByteArray> payoffs;
    for (const QByteArray& hr : RecordFile::readAll(w->file(QStringLiteral("HRTHISWEEKN.dat")), 719))
        payoffs.append(hr.mid(11, 8) + hr.mid(19, 2) + hr.mid(25, 2));
    const QList<QByteArray> ids = w->listed();
    EXPECT_EQ(ids, payoffs);
    EXPECT_EQ(ids.size(), 71);
    int cancelled = 0;
    for (const sample::WeekRace& r : w->summary.weekRaces) {
        if (!r.cancelled) continue;
        EXPECT_FALSE(ids.contains(r.raceId)) << r.raceId.constData();
        ++cancelled;
    }
    EXPECT_EQ(cancelled, 1);
    EXPECT_EQ(QDir(w->file(QStringLiteral("RACE"))).entryList(QDir::Files).size(), 71);
    // One detail row per listed race: each has its race record.
    EXPECT_EQ(readLines(w->file(QStringLiteral("RACETHISWEEKNSYOSAI.dat"))).size(), 71);
    for (const QByteArray& id : ids) expectRaceFiles(*w, id);
    // The rate files of every course-day of the week.
    QSet<QString> days;
    for (const sample::WeekRace& r : w->summary.weekRaces)
        if (!r.cancelled) days.insert(QString::fromLatin1(r.raceKey16.left(14)));
    ASSERT_EQ(days.size(), 6);
    EXPECT_EQ(QDir(w->file(QStringLiteral("TEKICHU"))).entryList({QStringLiteral("*kaiteki*")}, QDir::Files).size(),
              12);
    int ratedLines = 0;  // the judging fills the totals the rates come from
    for (const QString& day : days) {
        const QList<QByteArray> k = readLines(w->file("TEKICHU/" + day + "kaiteki.txt"));
        ASSERT_EQ(k.size(), 9) << day.toStdString();
        for (int line = 3; line < 9; ++line) ratedLines += k[line].endsWith(",0,0,0,0,0,0") ? 0 : 1;
        const QList<QByteArray> pc = readLines(w->file("TEKICHU/" + day + "kaitekiPC.txt"));
        ASSERT_EQ(pc.size(), 8) << day.toStdString();
        const QList<QByteArray> races = pc[2].split(',');
        ASSERT_EQ(races.size(), 12);
        for (int c = 2; c < 12; ++c) EXPECT_EQ(races[c], races[1]);
    }
    EXPECT_GT(ratedLines, 0);
    expectSelectionHitTables(*w);
}

TEST(PredictionEndToEnd, RunnerFilesCarryTheHorsesExpandedRecordsOnBothWeeks) {
    for (const sample::Scenario scenario : {sample::Scenario::Friday, sample::Scenario::Monday}) {
        SCOPED_TRACE(scenario == sample::Scenario::Friday ? "Friday" : "Monday");
        const auto w = road(scenario);
        expectTheRoadEnded(*w);
        expectRunnerFiles(*w);
    }
}

TEST(PredictionEndToEnd, ASecondRunLeavesEveryFileAsTheFirstDid) {
    for (const sample::Scenario scenario : {sample::Scenario::Friday, sample::Scenario::Monday}) {
        SCOPED_TRACE(scenario == sample::Scenario::Friday ? "Friday" : "Monday");
        const auto w = road(scenario);
        expectTheRoadEnded(*w);
        const std::map<QString, QByteArray> first = rwtest::filesUnder(w->path());
        const rwtest::PressResult again = w->press({QStringLiteral("Command8")});
        ASSERT_EQ(again.exitCode, 0) << again.err.toStdString();
        EXPECT_TRUE(again.err.isEmpty()) << again.err.toStdString();
        const std::map<QString, QByteArray> second = rwtest::filesUnder(w->path());
        ASSERT_EQ(first.size(), second.size());
        for (auto a = first.begin(), b = second.begin(); a != first.end(); ++a, ++b) {
            ASSERT_EQ(a->first, b->first);
            EXPECT_TRUE(a->second == b->second) << a->first.toStdString();
        }
    }
}

// The disk fills during a second run: no file ends with less than it held
// before (the whole-file writes are replaced in one rename, the files
// appended race by race get their old bytes back), the end text stays the
// system's own, and a box says how many statements were skipped and where
// their list is. With no room at all even the list cannot be written: the
// box says so and stderr carries each message once.
TEST(PredictionEndToEnd, ADiskThatFillsLeavesEveryFileAsItWasAndSaysSo) {
    const auto w = road(sample::Scenario::Monday);
    expectTheRoadEnded(*w);
    const QString logName = QStringLiteral("SKIPLOG.txt");
    struct Case {
        const char* name;
        qint64 limit;
        bool listWritten;
    };
    for (const Case& c : {Case{"room for the small files", 300000, true}, Case{"no room at all", 0, false}}) {
        SCOPED_TRACE(c.name);
        std::map<QString, QByteArray> before = rwtest::filesUnder(w->path());
        before.erase(logName);
        const rwtest::PressResult r = w->press({QStringLiteral("Command8")}, c.limit);
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_EQ(r.line(QStringLiteral("Text5")), QStringLiteral("予想･結果終了"));
        std::map<QString, QByteArray> after = rwtest::filesUnder(w->path());
        const QByteArray list = after[logName];
        after.erase(logName);
        for (const auto& [name, bytes] : before) {
            const auto b = after.find(name);
            if (b == after.end())
                ADD_FAILURE() << "gone: " << name.toStdString();
            else
                EXPECT_TRUE(bytes == b->second)
                    << name.toStdString() << ": " << bytes.size() << " bytes before, " << b->second.size() << " after";
        }
        for (const auto& [name, bytes] : after)
            if (!before.count(name)) ADD_FAILURE() << "new: " << name.toStdString();
        const QString box = r.line(QStringLiteral("MsgBox"));
        EXPECT_TRUE(box.contains(QString::fromUtf8("件"))) << r.out.toStdString();
        EXPECT_EQ(box.contains(QString::fromUtf8("書けませんでした")), !c.listWritten) << box.toStdString();
        const QStringList errLines = r.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        EXPECT_EQ(errLines.size(), QSet<QString>(errLines.cbegin(), errLines.cend()).size());
        if (c.listWritten) {
            EXPECT_LE(errLines.size(), 5) << r.err.toStdString();
            EXPECT_TRUE(list.contains("prediction run: ")) << list.left(2000).toStdString();
        }
    }
}
