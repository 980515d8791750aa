// The odds road end to end on the typical sample week, through the
// window-less driver: the week's download, structure processing, both odds
// downloads, the odds tables, the flash odds and the flash odds tables.
#include "common/record_file.h"
#include "jvdata/records.h"
#include "sample/generator.h"
#include "support/driver.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>

using namespace rw::jv;

namespace {

using rwtest::readFile;
using rwtest::splitRecords;

QByteArray raceIdOf(const QByteArray& rec) {
    auto at = [&](const Field& f) { return rec.mid(f.pos - 1, f.width); };
    return at(head::Year) + at(head::MonthDay) + at(head::Racecourse) + at(head::RaceNumber);
}

// The table text of an odds text, worked out here on its own: no odds give
// "0", digits give the tenths.
QByteArray expectedText(QByteArrayView odds) {
    bool digits = true;
    qint64 n = 0;
    for (char c : odds) {
        if (c < '0' || c > '9') digits = false;
        else n = n * 10 + (c - '0');
    }
    if (!digits) {
        for (char c : odds) EXPECT_EQ(c, odds[0]) << "odds text " << odds.toByteArray().constData();
        EXPECT_TRUE(odds[0] == '-' || odds[0] == '*' || odds[0] == ' ');
        return "0";
    }
    return n % 10 ? QByteArray::number(n / 10) + '.' + QByteArray::number(n % 10) : QByteArray::number(n / 10);
}

struct KindInfo {
    Kind kind;
    const char* code;
    const char* word;
    int horses;
};
constexpr KindInfo kKinds[] = {{Kind::O6, "O6", "SANRENTAN", 3},
                               {Kind::O5, "O5", "SANREN", 3},
                               {Kind::O4, "O4", "UMATAN", 2},
                               {Kind::O2, "O2", "UMAREN", 2}};

class OddsEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        rw::sample::Options o;
        o.scale = rw::sample::Scale::Typical;
        o.scenario = rw::sample::Scenario::Friday;
        week = rw::sample::generate(o, dir.path());
        ASSERT_FALSE(week.weekRaces.isEmpty());
    }
    QString file(const QString& rel) const { return dir.path() + QLatin1Char('/') + rel; }

    QByteArray press(const QStringList& presses) {
        const rwtest::PressResult r = rwtest::runPress(dir.path(), presses);
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        return r.out.toUtf8();
    }

    // Every race of the week has its four tables, and each table holds the
    // odds of the race's last record of its kind (`byRace`).
    void checkTables(const std::map<QByteArray, QByteArray>& byRace, const KindInfo& k) {
        const Layout& L = layout(k.kind);
        for (const rw::sample::WeekRace& race : week.weekRaces) {
            const QString name = QStringLiteral("KAIME/") + QLatin1String(race.raceId) + QLatin1String(k.word) +
                                 QStringLiteral("ODDS.dat");
            QList<QByteArray> lines = readFile(file(name)).split('\n');
            ASSERT_EQ(lines.takeLast(), QByteArray()) << qPrintable(name);
            ASSERT_EQ(lines.size(), k.horses == 3 ? 6859 : 361) << qPrintable(name);
            const auto it = byRace.find(race.raceId);
            ASSERT_NE(it, byRace.end()) << race.raceId.constData() << k.code;
            int checked = 0;
            for (int i = 0; i < odds::entryCount(L); ++i) {
                const QByteArray comb = it->second.mid(odds::Combination(L, i).pos - 1, k.horses * 2);
                int h[3] = {0, 0, 0};
                bool real = true;
                for (int j = 0; j < k.horses; ++j) {
                    h[j] = comb.mid(j * 2, 2).toInt();
                    real = real && h[j] >= 1 && h[j] <= 18;
                }
                if (!real) continue;
                const int line = k.horses == 3 ? 1 + 361 * h[0] + 19 * h[1] + h[2] : 1 + 19 * h[0] + h[1];
                const QByteArray odds = it->second.mid(odds::Odds(L, i).pos - 1, odds::Odds(L, i).width);
                ASSERT_EQ(lines[line - 1], expectedText(odds) + '\r')
                    << qPrintable(name) << " line " << line << " odds " << odds.constData();
                ++checked;
            }
            // Every combination of the race's runners was there.
            const int n = race.runners;
            const int combos = k.kind == Kind::O6   ? n * (n - 1) * (n - 2)
                               : k.kind == Kind::O5 ? n * (n - 1) * (n - 2) / 6
                               : k.kind == Kind::O4 ? n * (n - 1)
                                                    : n * (n - 1) / 2;
            EXPECT_EQ(checked, combos) << qPrintable(name);
        }
    }

    QTemporaryDir dir;
    rw::sample::Summary week;
};

}  // namespace

TEST_F(OddsEndToEnd, TheWeeksAndTheFlashOddsBecomeTables) {
    const QByteArray out = press({QStringLiteral("Command2"), QStringLiteral("Command4"), QStringLiteral("Command3"),
                                  QStringLiteral("KESFOTHISWEEKNZ.Command2"), QStringLiteral("KESFOTHISWEEKNZ.Command3"),
                                  QStringLiteral("Command7"), QStringLiteral("Command12"),
                                  QStringLiteral("KESP2RIALTIME.Command1"), QStringLiteral("Command13")});
    EXPECT_FALSE(out.contains("MsgBox:")) << out.constData();
    EXPECT_TRUE(out.contains("Text2: 今週のオッズ処理終了\n")) << out.constData();
    EXPECT_TRUE(out.contains("Text3: 速報オッズ処理終了\n")) << out.constData();

    // The odds downloads: every odds record of the data, in delivery order.
    std::map<QByteArray, QByteArray> weekLines;  // kind -> file content expected
    std::map<QByteArray, std::map<QByteArray, QByteArray>> weekByRace;
    for (const QByteArray& r : rwtest::storedRecords(dir.path(), QStringLiteral("TCOVRCOV"))) {
        weekLines[r.left(2)] += r;
        weekByRace[r.left(2)][raceIdOf(r)] = r;
    }
    for (const KindInfo& k : kKinds) {
        EXPECT_FALSE(weekLines[k.code].isEmpty());
        EXPECT_EQ(readFile(file(QStringLiteral("%1THISWEEKN.dat").arg(QLatin1String(k.code)))), weekLines[k.code]) << k.code;
    }
    // The table window was still open when Command13 was pressed after
    // Command7: the tables are those of the week's odds.
    for (const KindInfo& k : kKinds) checkTables(weekByRace[k.code], k);

    // The flash odds: the latest races newest first, O1 left out.
    const QList<QByteArray> raceRecords =
        rw::RecordFile::readAll(file(QStringLiteral("RATHISWEEKNNEW.dat")), imageLength(Kind::RA));
    ASSERT_GE(raceRecords.size(), week.weekRaces.size());
    std::map<QByteArray, QByteArray> flashLines;
    std::map<QByteArray, std::map<QByteArray, QByteArray>> flashByRace;
    for (qsizetype i = raceRecords.size() - 1; i >= std::max<qsizetype>(0, raceRecords.size() - 97); --i) {
        const QString key = QString::fromLatin1(raceRecords[i].mid(head::RaceKey16.pos - 1, head::RaceKey16.width));
        for (const QByteArray& r : splitRecords(readFile(file(QStringLiteral("JVDATA/0B30/") + key + QStringLiteral(".jvd"))))) {
            flashLines[r.left(2)] += r;
            flashByRace[r.left(2)][raceIdOf(r)] = r;
        }
    }
    for (const KindInfo& k : kKinds)
        EXPECT_EQ(readFile(file(QStringLiteral("%1RIALTIME.dat").arg(QLatin1String(k.code)))), flashLines[k.code]) << k.code;

    // A second run: start-up deletes the flash files, the fetch brings them
    // back, and the flash odds processing now loads the table window anew.
    const QByteArray out2 =
        press({QStringLiteral("Command12"), QStringLiteral("KESP2RIALTIME.Command1"), QStringLiteral("Command13")});
    EXPECT_FALSE(out2.contains("MsgBox:")) << out2.constData();
    for (const KindInfo& k : kKinds) checkTables(flashByRace[k.code], k);
}
