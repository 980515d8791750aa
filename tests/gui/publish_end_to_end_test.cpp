// The exports and web outputs of ⑥ through the window-less driver on the
// typical sample weeks pressed along the real road (① ② ③ ④ ⑤ ⑥): one page per race, one block file and
// one print page per course-day (complete after race 12), one external-index
// file per date, the day sheets per course-day and a win file per race; on
// Monday the sheets carry the payouts of the runner's own entries, the
// week's dead heat included. Every page that declares a charset reads as
// Japanese under it.
#include "common/record_file.h"
#include "common/text_file.h"
#include "model/expanded_record.h"
#include "sample/generator.h"
#include "support/html_page.h"
#include "support/road_week.h"
#include "support/test_support.h"

#include <QDir>
#include <QDirIterator>
#include <gtest/gtest.h>
#include <map>
#include <set>

using namespace rw;

namespace {

struct Week {
    std::unique_ptr<rwtest::RoadWeek> road;
    sample::Summary summary;
    rwtest::PressResult run;
    QString file(const QString& rel) const { return road->file(rel); }
    QStringList files(const char* folder) const {
        return QDir(file(QLatin1String(folder))).entryList(QDir::Files, QDir::Name);
    }
};

std::unique_ptr<Week> pressWeek(sample::Scenario scenario) {
    auto w = std::make_unique<Week>();
    w->road = rwtest::PressedRoadWeek(sample::Scale::Typical, scenario);
    w->summary = w->road->summary;
    w->run = w->road->road;
    return w;
}

// The sample code table's Latin names, lower-cased by the writers.
QString latin(const QByteArray& course) {
    static const char* const names[] = {"sapporo",  "hakodate", "fukushima", "niigata", "tokyo",
                                        "nakayama", "chukyo",   "kyoto",     "hanshin", "kokura"};
    return QLatin1String(names[course.toInt() - 1]);
}

// The races ⑥ listed, as the sample describes them.
QList<sample::WeekRace> listedRaces(const Week& w) {
    std::map<QByteArray, sample::WeekRace> byId;
    for (const sample::WeekRace& r : w.summary.weekRaces) byId[r.raceId] = r;
    QList<sample::WeekRace> out;
    for (const QByteArray& id : readValues(w.file(QStringLiteral("RACETHISWEEKN.dat")))) out.append(byId.at(id));
    return out;
}

void expectOutputs(const Week& w, bool results) {
    const QList<sample::WeekRace> races = listedRaces(w);
    ASSERT_FALSE(races.isEmpty());
    std::map<QByteArray, QList<sample::WeekRace>> days;  // DayKey -> races in run order
    std::map<QByteArray, int> dates;
    std::set<QString> pages, wins;
    for (const sample::WeekRace& r : races) {
        days[r.raceKey16.left(14)].append(r);
        ++dates[r.date];
        pages.insert(QString::fromLatin1(r.date) + u'_' + latin(r.course) + QStringLiteral("_r") +
                     QString::number(r.raceNumber) + QStringLiteral(".txt"));
    }
    const QStringList pageFiles = w.files("ravelmont_yosou");
    EXPECT_EQ(std::set<QString>(pageFiles.begin(), pageFiles.end()), pages);
    EXPECT_EQ(w.files("TANSHO").size(), races.size());
    EXPECT_EQ(w.files("ravelmont_wp").size(), 2 * days.size());
    for (const auto& [dayKey, dayRaces] : days) {
        const QString base = QString::fromLatin1(dayKey.left(8));
        const QString course = latin(dayKey.mid(8, 2));
        const QByteArray print = rwtest::readFile(w.file("ravelmont_wp/" + base + "_" + course + "_pdf.txt"));
        const QByteArray blocks = rwtest::readFile(w.file("ravelmont_wp/" + base + "-" + course + ".txt"));
        EXPECT_EQ(print.count("<!DOCTYPE html>"), 1) << dayKey.constData();
        EXPECT_EQ(print.count("<table class=\"raceList\">"), dayRaces.size()) << dayKey.constData();
        EXPECT_EQ(blocks.count("<!-- wp:heading -->"), dayRaces.size()) << dayKey.constData();
        const bool complete = dayRaces.last().raceNumber == 12 && dayRaces.size() > 1;
        EXPECT_EQ(print.endsWith("</body>\r\n</html>\r\n"), complete) << dayKey.constData();
        EXPECT_EQ(blocks.endsWith("Finish\r\n"), complete) << dayKey.constData();
        const char* ending = results ? "tnfkRCM.csv" : "tnfk.csv";
        const QList<QByteArray> sheet =
            readLines(w.file("TANFUKU/" + QString::fromLatin1(dayKey) + QLatin1String(ending)));
        EXPECT_EQ(sheet.size(), 2 + dayRaces.size()) << dayKey.constData();
        const char* ending2 = results ? "tnfkRCM2.csv" : "tnfk2.csv";
        EXPECT_TRUE(QFile::exists(w.file("TANFUKU2/" + QString::fromLatin1(dayKey) + QLatin1String(ending2))));
    }
    EXPECT_EQ(w.files("SOKUDO").size(), dates.size() + 1);  // and RACEID.txt

    // Every file of the folder whose head declares a charset: UTF-8, and
    // read so, its heading in Japanese and no character lost.
    int declaring = 0;
    for (QDirIterator it(w.road->path(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        const QString path = it.next();
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly) || !f.read(1024).contains("charset=")) continue;
        ++declaring;
        const QByteArray bytes = rwtest::readFile(path);
        ASSERT_TRUE(bytes.contains("<meta charset=\"UTF-8\">")) << path.toStdString();
        const std::optional<QString> text = rwtest::pageText(bytes);
        ASSERT_TRUE(text.has_value()) << path.toStdString() << " is not UTF-8";
        EXPECT_TRUE(text->contains(QStringLiteral("<h1>無料競馬予想｜"))) << path.toStdString();
        EXPECT_FALSE(text->contains(QChar(0xFFFD))) << path.toStdString();
    }
    EXPECT_EQ(declaring, int(pages.size() + days.size()));  // the pages and the print pages
    for (const auto& [date, count] : dates)
        EXPECT_EQ(readLines(w.file("SOKUDO/HR" + QString::fromLatin1(date) + ".csv")).size(), count)
            << date.constData();
}

TEST(PublishEndToEnd, FridayWeekWritesEveryExportAndPage) {
    const auto w = pressWeek(sample::Scenario::Friday);
    ASSERT_EQ(w->run.exitCode, 0) << w->run.err.toStdString();
    EXPECT_TRUE(w->run.err.isEmpty()) << w->run.err.toStdString();
    expectOutputs(*w, false);
}

TEST(PublishEndToEnd, MondaySheetsCarryThePayoutsOfTheRunnersOwnEntries) {
    const auto w = pressWeek(sample::Scenario::Monday);
    ASSERT_EQ(w->run.exitCode, 0) << w->run.err.toStdString();
    EXPECT_TRUE(w->run.err.isEmpty()) << w->run.err.toStdString();
    expectOutputs(*w, true);
    // Every sheet row against the race's payoff record, entries by horse number.
    std::map<QByteArray, QByteArray> payoff;  // RaceID -> last record
    for (const QByteArray& hr : RecordFile::readAll(w->file(QStringLiteral("HRTHISWEEKN.dat")), 719))
        payoff[hr.mid(11, 8) + hr.mid(19, 2) + hr.mid(25, 2)] = hr;
    int rows = 0, paid = 0, deadHeatRows = 0;
    std::set<QByteArray> deadHeats;
    for (const sample::WeekRace& r : w->summary.weekRaces)
        if (r.deadHeat) deadHeats.insert(r.raceId);
    for (const char* folder : {"TANFUKU", "TANFUKU2"}) {
        for (const QString& name : w->files(folder)) {
            const QByteArray dayKey = name.left(14).toLatin1();
            const QList<QByteArray> lines = readLines(w->file(QLatin1String(folder) + u'/' + name));
            for (qsizetype i = 2; i < lines.size(); ++i) {
                QList<QByteArray> items = lines[i].split(',');
                ASSERT_EQ(items.size(), 19) << lines[i].constData();
                for (QByteArray& item : items) item = item.mid(1, item.size() - 2);
                const QByteArray raceId = dayKey.left(10) + items[1].mid(2, 2);  // "第NNR" in code page 932
                const QByteArray horse = items[3].trimmed().rightJustified(2, '0');
                const QByteArray& rec = payoff.at(raceId);
                QByteArray win, place;
                for (int e = 2; e >= 0; --e)
                    if (rec.mid(102 + 13 * e, 2) == horse) win = rec.mid(104 + 13 * e, 9);
                for (int e = 4; e >= 0; --e)
                    if (rec.mid(141 + 13 * e, 2) == horse) place = rec.mid(143 + 13 * e, 9);
                EXPECT_EQ(items[7], win) << name.toStdString() << " " << lines[i].constData();
                EXPECT_EQ(items[8], place) << name.toStdString() << " " << lines[i].constData();
                ++rows;
                paid += !place.isEmpty();
                deadHeatRows += deadHeats.count(raceId) ? 1 : 0;
            }
        }
    }
    EXPECT_GT(rows, 100);
    EXPECT_GT(paid, rows / 4);  // a place paid in enough rows to check the payouts
    EXPECT_GT(deadHeatRows, 0);
}

}  // namespace
