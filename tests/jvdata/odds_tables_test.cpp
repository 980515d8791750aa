#include "common/kestrav_path.h"
#include "common/numbers.h"
#include "support/recording_ui.h"
#include "jvdata/odds_tables.h"
#include "support/odds_records.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace rw;
using namespace rw::jv;
using rwtest::oddsDigits;
using rwtest::oddsRecord;

namespace {

const QByteArray kKeyA = "2024120705040111";  // RaceID 202412070511
const QByteArray kKeyB = "2024120806040203";  // RaceID 202412080603

class OddsTables : public ::testing::Test {
protected:
    void SetUp() override { QDir(app.path()).mkpath(QStringLiteral("KAIME")); }
    int build(std::int16_t flag = 0) {
        SkipLog log("odds tables");
        const int n = BuildOddsTables(grids, flag, log);
        skipped = log.skipped();
        return n;
    }
    QList<QByteArray> table(const char* raceId, const char* word) {
        const QByteArray all =
            app.read(QStringLiteral("KAIME\\") + QLatin1String(raceId) + QLatin1String(word) + QStringLiteral("ODDS.dat"));
        QList<QByteArray> lines = all.split('\n');
        if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
        for (QByteArray& l : lines) {
            EXPECT_TRUE(l.endsWith('\r'));
            l.chop(1);
        }
        return lines;
    }
    void source(const char16_t* name, const QByteArray& lines) { app.write(QString::fromUtf16(name), lines); }

    rwtest::AppFolder app;
    OddsGrids grids;
    std::vector<std::string> skipped;
};

}  // namespace

TEST(OddsLines, LineNumbersOfTheCells) {
    EXPECT_EQ(OddsGrids::trioLine(1, 2, 3), 403);
    EXPECT_EQ(OddsGrids::trioLine(18, 18, 18), 6859);
    EXPECT_EQ(OddsGrids::pairLine(1, 2), 22);
    EXPECT_EQ(OddsGrids::pairLine(18, 18), 361);
}

TEST(OddsLines, NoOddsGiveZeroAndOtherTextsAreTenths) {
    const std::pair<const char*, float> cases[] = {
        {"0000000", 0.0f}, {"-------", 0.0f}, {"*******", 0.0f}, {"       ", 0.0f},
        {"000000", 0.0f},  {"------", 0.0f},  {"******", 0.0f},  {"      ", 0.0f},
        {"0000123", 12.3f}, {"000010", 1.0f}, {"9999999", 999999.9f}, {"", 0.0f},
    };
    for (auto [text, value] : cases) EXPECT_EQ(OddsValue(text), value) << text;
}

TEST(OddsLines, CellTextsEqualTheSinglePrinter) {
    // Values are printed with at most seven significant digits; the grids
    // write the digits of the tenths directly and must agree.
    auto check = [](float v) { ASSERT_EQ(OddsGrids::cellText(v), singleText(v)) << v; };
    for (int n = 0; n < 200000; n += 7) check(float(n / 10.0));
    for (int n = 9999999; n > 9800000; n -= 13) check(float(n / 10.0));
    for (int p = 1; p < 24; ++p) {
        const int n = 1 << p;
        for (int d = -3; d <= 3; ++d) check(float((n + d) / 10.0));
    }
    for (float v : {0.05f, 1.0f / 3.0f, -1.5f, 1234567.8f, 12345678.0f}) check(v);
}

TEST_F(OddsTables, TrifectaOddsStandOnTheirLine) {
    source(u"O6THISWEEKN.dat", oddsRecord(Kind::O6, kKeyA, 18, [](int a, int b, int c) -> QByteArray {
               if (a == 1 && b == 2 && c == 3) return "0000123";
               if (a == 1 && b == 2 && c == 4) return "-------";
               return oddsDigits(Kind::O6, rwtest::sampleOdds(a, b, c));
           }));
    EXPECT_EQ(build(), 1);
    const auto t = table("202412070511", "SANRENTAN");
    ASSERT_EQ(t.size(), 6859);
    EXPECT_EQ(t[403 - 1], "12.3");
    EXPECT_EQ(t[OddsGrids::trioLine(1, 2, 4) - 1], "0");
    // Every entry is written, the last ones included.
    for (auto [a, b, c] : {std::array{18, 16, 3}, std::array{18, 17, 15}, std::array{18, 17, 16}})
        EXPECT_EQ(t[OddsGrids::trioLine(a, b, c) - 1], singleText(float(rwtest::sampleOdds(a, b, c) / 10.0)));
    // Horse 0 and repeated horses are never set.
    for (int line = 1; line <= 361; ++line) ASSERT_EQ(t[line - 1], "0") << line;
    EXPECT_EQ(t[OddsGrids::trioLine(1, 1, 2) - 1], "0");
}

TEST_F(OddsTables, EachKindHasItsWordAndLineCount) {
    source(u"O6THISWEEKN.dat", oddsRecord(Kind::O6, kKeyA, 5));
    source(u"O5THISWEEKN.dat", oddsRecord(Kind::O5, kKeyA, 5));
    source(u"O4THISWEEKN.dat", oddsRecord(Kind::O4, kKeyA, 5));
    source(u"O2THISWEEKN.dat", oddsRecord(Kind::O2, kKeyA, 5));
    EXPECT_EQ(build(), 4);
    EXPECT_EQ(table("202412070511", "SANRENTAN").size(), 6859);
    EXPECT_EQ(table("202412070511", "SANREN").size(), 6859);
    EXPECT_EQ(table("202412070511", "UMATAN").size(), 361);
    EXPECT_EQ(table("202412070511", "UMAREN").size(), 361);
    EXPECT_FALSE(app.exists(QStringLiteral("KAIME\\202412070511SANRENPUKUODDS.dat")));
    EXPECT_EQ(QDir(app.file(QStringLiteral("KAIME"))).entryList(QDir::Files).size(), 4);
    EXPECT_TRUE(skipped.empty());
}

TEST_F(OddsTables, BlankOddsAndBlankCombinations) {
    // Six blanks of O5 give 0; a blank combination is horse 0.
    source(u"O5THISWEEKN.dat", oddsRecord(Kind::O5, kKeyA, 4, [](int a, int b, int c) -> QByteArray {
               if (a == 1 && b == 2 && c == 3) return "      ";
               return "000055";
           }));
    build();
    const auto t = table("202412070511", "SANREN");
    EXPECT_EQ(t[OddsGrids::trioLine(1, 2, 3) - 1], "0");
    EXPECT_EQ(t[OddsGrids::trioLine(2, 3, 4) - 1], "5.5");
    EXPECT_EQ(t[0], "0");  // the blank entries landed on 0-0-0 with no odds
}

TEST_F(OddsTables, CellsKeepWhatEarlierRecordsAndKindsLeft) {
    // Race A with 6 runners, then race B with 4: B's table carries A's odds
    // where B sets nothing; the trio tables carry the last trifecta record
    // outside the ascending cells, the quinella tables the last exacta one.
    source(u"O6THISWEEKN.dat", oddsRecord(Kind::O6, kKeyA, 6) + oddsRecord(Kind::O6, kKeyB, 4));
    source(u"O5THISWEEKN.dat", oddsRecord(Kind::O5, kKeyB, 4, [](int, int, int) { return QByteArray("000020"); }));
    source(u"O4THISWEEKN.dat", oddsRecord(Kind::O4, kKeyB, 4));
    source(u"O2THISWEEKN.dat", oddsRecord(Kind::O2, kKeyB, 4, [](int, int, int) { return QByteArray("000030"); }));
    EXPECT_EQ(build(), 5);
    auto tenths = [](int a, int b, int c) { return singleText(float(rwtest::sampleOdds(a, b, c) / 10.0)); };
    const auto b6 = table("202412080603", "SANRENTAN");
    EXPECT_EQ(b6[OddsGrids::trioLine(1, 2, 3) - 1], tenths(1, 2, 3));
    EXPECT_EQ(b6[OddsGrids::trioLine(5, 6, 1) - 1], tenths(5, 6, 1));  // from race A
    EXPECT_EQ(table("202412070511", "SANRENTAN")[OddsGrids::trioLine(5, 6, 1) - 1], tenths(5, 6, 1));
    const auto b5 = table("202412080603", "SANREN");
    EXPECT_EQ(b5[OddsGrids::trioLine(1, 2, 3) - 1], "2");
    EXPECT_EQ(b5[OddsGrids::trioLine(3, 2, 1) - 1], tenths(3, 2, 1));  // trifecta of race B
    EXPECT_EQ(b5[OddsGrids::trioLine(4, 5, 6) - 1], tenths(4, 5, 6));  // trifecta of race A
    const auto b2 = table("202412080603", "UMAREN");
    EXPECT_EQ(b2[OddsGrids::pairLine(1, 2) - 1], "3");
    EXPECT_EQ(b2[OddsGrids::pairLine(2, 1) - 1], tenths(2, 1, 0));  // exacta of race B

    // A later load with the same grids still carries them.
    QFile::remove(app.file(QStringLiteral("O6THISWEEKN.dat")));
    QFile::remove(app.file(QStringLiteral("O5THISWEEKN.dat")));
    source(u"O5THISWEEKN.dat", oddsRecord(Kind::O5, kKeyA, 3));
    build();
    EXPECT_EQ(table("202412070511", "SANREN")[OddsGrids::trioLine(5, 6, 1) - 1], tenths(5, 6, 1));
}

TEST_F(OddsTables, RaceWithSeveralLinesEndsWithTheLast) {
    const QByteArray first = oddsRecord(Kind::O2, kKeyA, 3, [](int, int, int) { return QByteArray("000040"); });
    const QByteArray last = oddsRecord(Kind::O2, kKeyA, 3, [](int, int, int) { return QByteArray("000041"); });
    source(u"O2THISWEEKN.dat", first + last);
    EXPECT_EQ(build(), 2);
    EXPECT_EQ(table("202412070511", "UMAREN")[OddsGrids::pairLine(1, 3) - 1], "4.1");
}

TEST_F(OddsTables, HorseNumbersOutsideTheGridsSetNoCell) {
    const Layout& L = layout(Kind::O4);
    rwtest::RecordBuilder rb(Kind::O4, '1', ' ');
    rb.raceKey(kKeyA);
    const std::pair<const char*, const char*> entries[] = {
        {"1902", "000080"}, {"02-1", "000080"}, {"9901", "000080"}, {"  03", "000090"}, {" 104", "000100"}};
    for (int i = 0; i < 5; ++i) rb.set(odds::Combination(L, i), entries[i].first).set(odds::Odds(L, i), entries[i].second);
    source(u"O4THISWEEKN.dat", rb.bytes());
    build();
    const auto t = table("202412070511", "UMATAN");
    ASSERT_EQ(t.size(), 361);
    EXPECT_EQ(t[OddsGrids::pairLine(0, 3) - 1], "9");   // blank first horse: horse 0
    EXPECT_EQ(t[OddsGrids::pairLine(1, 4) - 1], "10");  // " 1" is horse 1
    for (int line = 1; line <= 361; ++line)
        if (line != OddsGrids::pairLine(0, 3) && line != OddsGrids::pairLine(1, 4)) {
            ASSERT_EQ(t[line - 1], "0") << line;
        }
}

TEST_F(OddsTables, RaceIdsThatAreNotDigitsNameNoFile) {
    const QByteArray bad = oddsRecord(Kind::O2, "2024../../x04011", 3);
    const QByteArray good = oddsRecord(Kind::O2, kKeyB, 3);
    source(u"O2THISWEEKN.dat", bad + good);
    EXPECT_EQ(build(), 1);
    ASSERT_EQ(skipped.size(), 4u);  // three missing sources and the bad id
    EXPECT_NE(skipped.back().find("race id"), std::string::npos);
    EXPECT_EQ(QDir(app.file(QStringLiteral("KAIME"))).entryList(QDir::Files),
              QStringList{QStringLiteral("202412080603UMARENODDS.dat")});
    EXPECT_EQ(QDir(app.path()).entryList(QDir::Files), QStringList{QStringLiteral("O2THISWEEKN.dat")});
}

TEST_F(OddsTables, MissingSourcesBuildNothingAndCreateNothing) {
    EXPECT_EQ(build(0), 0);
    EXPECT_EQ(build(1), 0);
    EXPECT_EQ(skipped.size(), 4u);
    EXPECT_TRUE(QDir(app.file(QStringLiteral("KAIME"))).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(QDir(app.path()).entryList(QDir::Files).isEmpty());
    // An empty source file is not missing: nothing to build, nothing to say.
    source(u"O6THISWEEKN.dat", "");
    source(u"O5THISWEEKN.dat", "");
    source(u"O4THISWEEKN.dat", "");
    source(u"O2THISWEEKN.dat", "");
    EXPECT_EQ(build(0), 0);
    EXPECT_TRUE(skipped.empty());
}

TEST_F(OddsTables, FlagOneTakesTheFlashFilesOverTheWeekTables) {
    source(u"O2THISWEEKN.dat", oddsRecord(Kind::O2, kKeyA, 3, [](int, int, int) { return QByteArray("000050"); }));
    source(u"O2RIALTIME.dat", oddsRecord(Kind::O2, kKeyA, 3, [](int, int, int) { return QByteArray("000061"); }));
    build(0);
    EXPECT_EQ(table("202412070511", "UMAREN")[OddsGrids::pairLine(1, 2) - 1], "5");
    build(1);
    EXPECT_EQ(table("202412070511", "UMAREN")[OddsGrids::pairLine(1, 2) - 1], "6.1");
}

TEST_F(OddsTables, ShortAndEmptyLinesDoNotStopTheLoad) {
    // A line cut short, an empty line, a last line without its line end.
    QByteArray cut = oddsRecord(Kind::O2, kKeyA, 3).left(120);
    cut += "\r\n\r\n";
    QByteArray good = oddsRecord(Kind::O2, kKeyB, 3);
    good.chop(2);
    source(u"O2THISWEEKN.dat", cut + good);
    EXPECT_EQ(build(), 2);  // the cut line still names its race; the empty one none
    EXPECT_EQ(table("202412080603", "UMAREN").size(), 361);
    EXPECT_EQ(table("202412070511", "UMAREN").size(), 361);
}

TEST(OddsProcessing, MenuTextsFlagAndWindowInOrder) {
    struct Case {
        std::int16_t flag;
        const char* box;
        const char* start;
        const char* end;
    } cases[] = {
        {0, "KESF1THISWEEKNZ.Text2", "今週のオッズ処理を開始しました。しばらくお待ちください。。。。。。。。", "今週のオッズ処理終了"},
        {1, "KESF1THISWEEKNZ.Text3", "速報オッズ処理を開始しました。しばらくお待ちください。。。。。。", "速報オッズ処理終了"},
    };
    for (const Case& c : cases) {
        RecordingUi ui;
        OddsSourceFlag = std::int16_t(1 - c.flag);
        QStringList order;
        ui.onEvents = [&] { order << QStringLiteral("events"); };
        RunOddsProcessing(ui, c.flag, [&] {
            order << QStringLiteral("show %1 %2").arg(OddsSourceFlag).arg(ui.text(QLatin1String(c.box)));
        });
        EXPECT_EQ(order, (QStringList{QStringLiteral("events"),
                                      QStringLiteral("show %1 ").arg(c.flag) + QString::fromUtf8(c.start)}));
        EXPECT_EQ(ui.text(QLatin1String(c.box)), QString::fromUtf8(c.end));
        EXPECT_EQ(ui.textLog.size(), 2);
    }
}

TEST_F(OddsTables, GarbageLinesNameNoFileOutsideKaime) {
    // Random bytes, digits in the race key now and then: whatever comes out
    // is a table named by twelve digits inside KAIME.
    std::uint32_t seed = 12345;
    auto next = [&] { return seed = seed * 1664525u + 1013904223u; };
    QByteArray lines;
    for (int i = 0; i < 60; ++i) {
        QByteArray l(int(next() % 3000), '\0');
        for (char& c : l) c = char(next() >> 24);
        if (i % 3 == 0 && l.size() > 30) l.replace(11, 16, "2024120705040111");
        l.replace('\r', ' ').replace('\n', ' ');
        lines += l + "\r\n";
    }
    for (const char16_t* f : {u"O6THISWEEKN.dat", u"O5THISWEEKN.dat", u"O4THISWEEKN.dat", u"O2THISWEEKN.dat"})
        source(f, lines);
    build();
    EXPECT_EQ(QDir(app.file(QStringLiteral("KAIME"))).entryList(QDir::Files).size(), 4);  // the keyed race's
    for (const QString& f : QDir(app.file(QStringLiteral("KAIME"))).entryList(QDir::Files))
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9]{12}(SANRENTAN|SANREN|UMATAN|UMAREN)ODDS\\.dat$")).match(f).hasMatch())
            << qPrintable(f);
    EXPECT_EQ(QDir(app.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 5);
}
