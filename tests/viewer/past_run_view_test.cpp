// The past-run window's grid, filled from fixture expanded-record files in
// a scratch application folder, without a screen.
#include "common/cp932.h"
#include "common/fixed_text.h"
#include "common/kestrav_path.h"
#include "model/ex_fixture.h"
#include "model/expanded_record.h"
#include "support/test_support.h"
#include "viewer/past_run_view.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <cmath>
#include <limits>

namespace {

using namespace rw;
using namespace rw::viewer;
namespace ex = rw::model::ex;
using rw::model::put;
using rwtest::AppFolder;

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

const QByteArray kHorse = "2020101234";
const QString kCell = u("サンプルホース     2020101234EX.dat");

QByteArray record(int run, std::initializer_list<rwtest::FieldValue> values = {}) {
    QByteArray r = rwtest::exRecord(values);
    put(r, ex::RaceMonthDay, QByteArray::number(100 + run).rightJustified(4, '0'));
    put(r, ex::HorseName, cp932::fromUtf8("サンプルホース"));
    putSingle(r, ex::Result(0).pos, float(run));
    return r;
}

struct Folder : AppFolder {
    Folder() {
        QDir(path()).mkpath(QStringLiteral("UMAGOTOEXTHISWEEKN"));
        QDir(path()).mkpath(QStringLiteral("JRACODE"));
        write(QStringLiteral("JRACODE\\CodeTable.csv"),
              cp932::fromUtf8("\"2001\",\"05\",\"\",\"\",\"東京\",\"\",\"TOKYO\",\"\"\r\n"
                              "\"2002\",\"1\",\"\",\"\",\"土\",\"\",\"\",\"\"\r\n"));
    }
    void horse(const QList<QByteArray>& records, const QByteArray& number = kHorse) const {
        QByteArray all;
        for (const QByteArray& r : records) all += r;
        write(QStringLiteral("UMAGOTOEXTHISWEEKN\\") + QString::fromLatin1(number) + QStringLiteral("EX.dat"), all);
    }
    QStringList horseFiles() const {
        return QDir(path() + QStringLiteral("UMAGOTOEXTHISWEEKN")).entryList(QDir::Files);
    }
};

GridModel load(const QString& cell, SkipLog* logOut = nullptr) {
    GridModel g = DesignPastRunGrid();
    SkipLog log("past runs");
    LoadPastRuns(g, cell, log);
    if (logOut) *logOut = log;
    return g;
}

TEST(PastRunView, DesignGrid) {
    const GridModel g = DesignPastRunGrid();
    EXPECT_EQ(g.rows(), 312);
    EXPECT_EQ(g.cols(), 2);
    EXPECT_EQ(g.fixedRows(), 1);
    EXPECT_EQ(g.fixedCols(), 1);
}

TEST(PastRunView, OneRecordShowsOneColumnCaptionedNoughtRuns) {
    Folder f;
    f.horse({record(1)});
    SkipLog log("x");
    const GridModel g = load(kCell, &log);
    EXPECT_TRUE(log.empty());
    ASSERT_EQ(g.cols(), 2);
    EXPECT_EQ(g.rows(), 312);
    EXPECT_EQ(g.text(0, 0), QString());
    EXPECT_EQ(g.text(0, 1), u("前 0走"));
    EXPECT_EQ(g.text(1, 1), u("SE"));
    EXPECT_EQ(g.text(4, 1), u("20240101"));
    EXPECT_EQ(g.text(5, 1), u("東京030811"));
    EXPECT_EQ(g.text(6, 1), u("4072020101234"));
    EXPECT_EQ(g.text(7, 1), u("サンプルホース") + QString(22, u' '));
    EXPECT_EQ(g.text(8, 1), u("20200410"));
    EXPECT_EQ(g.text(32, 1), u("土"));
    EXPECT_EQ(g.text(47, 1), u("03 +003"));
    EXPECT_EQ(g.text(51, 1), u("1345"));
    EXPECT_EQ(g.text(77, 1), u("1600"));
    EXPECT_EQ(g.text(142, 1), u("1"));
    EXPECT_EQ(g.colWidth(0), 2000);
    EXPECT_EQ(g.colWidth(1), 1500);
    EXPECT_EQ(g.colAlignment(1), GridAlign::LeftTop);
}

TEST(PastRunView, ThirteenRecordsNewestFirst) {
    Folder f;
    QList<QByteArray> runs;
    for (int k = 1; k <= 13; ++k) runs.append(record(k));
    f.horse(runs);
    const GridModel g = load(kCell);
    ASSERT_EQ(g.cols(), 14);
    EXPECT_EQ(g.text(0, 1), u("前 0走"));
    EXPECT_EQ(g.text(0, 2), u("前 1走"));
    EXPECT_EQ(g.text(0, 11), u("前 10走"));
    EXPECT_EQ(g.text(0, 13), u("前 12走"));
    EXPECT_EQ(g.text(4, 1), u("20240113"));
    EXPECT_EQ(g.text(142, 1), u("13"));
    EXPECT_EQ(g.text(4, 13), u("20240101"));
    EXPECT_EQ(g.text(142, 13), u("1"));
    for (int c = 1; c <= 13; ++c) EXPECT_EQ(g.colWidth(c), 1500);
}

TEST(PastRunView, RacecourseMissingFromTheCodeTable) {
    Folder f;
    f.horse({record(1, {{ex::CourseCode, "42"}, {ex::WeekdayCode, "9"}})});
    const GridModel g = load(kCell);
    EXPECT_EQ(g.text(5, 1), u("030811"));
    EXPECT_EQ(g.text(32, 1), QString());
}

TEST(PastRunView, CodeTableMissingLongOrEndingInsideARow) {
    {
        Folder f;
        QFile::remove(f.file(QStringLiteral("JRACODE\\CodeTable.csv")));
        f.horse({record(1)});
        SkipLog log("x");
        const GridModel g = load(kCell, &log);
        EXPECT_EQ(g.text(5, 1), u("030811"));
        EXPECT_EQ(g.text(7, 1).trimmed(), u("サンプルホース"));
    }
    {
        // Rows 0 to 500 are read; a row beyond them names nothing.
        Folder f;
        QByteArray table;
        for (int i = 0; i < 501; ++i)
            table += "\"9999\",\"" + QByteArray::number(i) + "\",\"\",\"\",\"x\",\"\",\"\",\"\"\r\n";
        table += cp932::fromUtf8("\"2001\",\"05\",\"\",\"\",\"東京\",\"\",\"\",\"\"\r\n");
        f.write(QStringLiteral("JRACODE\\CodeTable.csv"), table);
        f.horse({record(1)});
        EXPECT_EQ(load(kCell).text(5, 1), u("030811"));
    }
    {
        Folder f;
        f.write(QStringLiteral("JRACODE\\CodeTable.csv"), cp932::fromUtf8("\"2001\",\"05\",\"\",\"\",\"東京\""));
        f.horse({record(1)});
        EXPECT_EQ(load(kCell).text(5, 1), u("東京030811"));
    }
}

TEST(PastRunView, LapRowShowsFourLapsEachFollowedByAHyphen) {
    Folder f;
    QByteArray r = record(1);
    for (int i = 0; i < 25; ++i) put(r, ex::LapTimes(i), QByteArray::number(110 + i));
    QByteArray blank = record(2);
    f.horse({r, blank});
    const GridModel g = load(kCell);
    EXPECT_EQ(g.text(111, 2), u("110-111-112-113-"));
    EXPECT_EQ(g.text(111, 1), u("   -   -   -   -"));
    EXPECT_EQ(g.text(111, 0), u("ハロン毎先頭馬タイム"));
}

TEST(PastRunView, ResultRowsUntitledButFilled) {
    Folder f;
    QByteArray r = record(1);
    for (int i = 0; i < 20; ++i) putSingle(r, ex::Result(i).pos, float(i) + 0.5f);
    f.horse({r});
    const GridModel g = load(kCell);
    for (int row = 155; row <= 161; ++row) {
        EXPECT_EQ(g.text(row, 0), QString()) << row;
        EXPECT_EQ(g.text(row, 1), QString::number(row - 142) + u(".5")) << row;
    }
    EXPECT_EQ(g.text(154, 0), u("100*(sps-spa)/(spp-spa)"));
    EXPECT_EQ(g.text(142, 0), u("上がり時速（単）"));
}

TEST(PastRunView, NumberFormat) {
    struct Case {
        float v;
        const char* text;
    } cases[] = {
        {58.123456f, "58.1234"},
        {-0.00005f, "-0.0001"},
        {0.0f, "0"},
        {1234.5678f, "1234.568"},
        {-58.123456f, "-58.1235"},
        {0.5f, "0.5"},
        {-0.0f, "0"},
        {123456.78f, "123456.8"},
        {1e10f, "1E+10"},
        {0.00012f, "0.0001"},
        {-3.0f, "-3"},
        {12.0001f, "12.0001"},
        {std::numeric_limits<float>::infinity(), ""},
        {std::numeric_limits<float>::quiet_NaN(), ""},
    };
    for (const Case& c : cases) EXPECT_EQ(PastRunNumberText(c.v), QString::fromLatin1(c.text)) << c.v;
}

TEST(PastRunView, ItemGroupsAndTheirTitles) {
    Folder f;
    QByteArray r = record(1);
    put(r, ex::Category(1), "2024     ");
    put(r, ex::Category(30), "ABCD");
    put(r, ex::CategoryIndex(0), "9999");
    put(r, ex::CategoryIndex(1), "0007");
    put(r, ex::CategoryIndex(30), "0012");
    putSingle(r, ex::AgariW(1).pos, 0.25f);
    putSingle(r, ex::PaceW(30).pos, -1.5f);
    putSingle(r, ex::SohaW(30).pos, std::numeric_limits<float>::quiet_NaN());
    putSingle(r, ex::SohaW(1).pos, 58.123456f);
    f.horse({r});
    const GridModel g = load(kCell);
    EXPECT_EQ(g.text(162, 0), u("F1 年度"));
    EXPECT_EQ(g.text(191, 0), u("F30 馬主アーニング"));
    EXPECT_EQ(g.text(192, 0), u("FC1 年度"));
    EXPECT_EQ(g.text(222, 0), u("AgariFW1 年度"));
    EXPECT_EQ(g.text(252, 0), u("PaceFW1 年度"));
    EXPECT_EQ(g.text(311, 0), u("SohaFW30 馬主アーニング"));
    EXPECT_EQ(g.text(162, 1), u("2024     "));
    EXPECT_EQ(g.text(191, 1), u("ABCD"));
    EXPECT_EQ(g.text(192, 1), u("0007"));
    EXPECT_EQ(g.text(221, 1), u("0012"));
    EXPECT_EQ(g.text(222, 1), u("0.25"));
    EXPECT_EQ(g.text(281, 1), u("-1.5"));
    EXPECT_EQ(g.text(282, 1), u("58.1234"));
    EXPECT_EQ(g.text(311, 1), QString());
    EXPECT_EQ(g.text(47, 0), u("入線順位　1着との秒差"));
    EXPECT_EQ(g.text(1, 0), u("レコードスペック"));
    EXPECT_EQ(g.text(141, 0), u("市場取引価格"));
}

TEST(PastRunView, EveryMemberRowShowsItsOwnBytes) {
    // Each byte of the record's text members is a letter chosen by its offset,
    // so a row shows exactly the members at the offsets it names.
    Folder f;
    QByteArray r = record(1);
    for (int i = 0; i < ex::ComputedBlock.offset(); ++i) r[i] = char('A' + i % 26);
    put(r, ex::CourseCode, "05");
    put(r, ex::WeekdayCode, "1");
    f.horse({r});
    const GridModel g = load(kCell);
    auto at = [&](int offset, int width) {
        QString t;
        for (int i = offset; i < offset + width; ++i) t += QChar(u'A' + i % 26);
        return t;
    };
    EXPECT_EQ(g.text(3, 1), at(3, 8));
    EXPECT_EQ(g.text(5, 1), u("東京") + at(21, 6));
    EXPECT_EQ(g.text(9, 1), at(214, 20));
    EXPECT_EQ(g.text(21, 1), at(825, 2));
    EXPECT_EQ(g.text(35, 1), at(988, 8));
    EXPECT_EQ(g.text(47, 1), at(1049, 2) + u(" ") + at(1110, 4));
    EXPECT_EQ(g.text(89, 1), at(1201, 8));
    EXPECT_EQ(g.text(102, 1), at(1305, 8));
    EXPECT_EQ(g.text(110, 1), at(1329, 1));
    EXPECT_EQ(g.text(113, 1), at(1412, 3));
    EXPECT_EQ(g.text(114, 1), at(1409, 3));
    EXPECT_EQ(g.text(120, 1), at(1637, 72));
    EXPECT_EQ(g.text(121, 1), at(40, 2));
    EXPECT_EQ(g.text(133, 1), at(242, 72));
    EXPECT_EQ(g.text(140, 1), at(195, 1) + u(" ") + at(179, 8) + at(187, 8));
    EXPECT_EQ(g.text(141, 1), at(196, 10));
}

TEST(PastRunView, SpeedTextsShownAsStored) {
    Folder f;
    QByteArray r = record(1);
    for (int i = 0; i <= 10; ++i) put(r, ex::SpeedTexts(i), QByteArray::number(6000000 + i));
    put(r, ex::SpeedTexts(9), "       ");
    f.horse({r});
    const GridModel g = load(kCell);
    EXPECT_EQ(g.text(122, 1), u("6000000"));
    EXPECT_EQ(g.text(132, 1), u("6000010"));
    EXPECT_EQ(g.text(131, 1), u("       "));
    EXPECT_EQ(g.text(122, 0), u("上がり時速"));
}

// The clicked text names a file only when its last 16 characters are ten
// digits and "EX.dat"; nothing is ever created.
TEST(PastRunView, ClickedTextsThatNameNoHorseFile) {
    struct Case {
        const char* cell;
        int cols;  // 2 with no titles for the design grid, 1 with titles
        bool titles;
    } cases[] = {
        {"", 2, false},
        {"騎手一  ", 1, true},
        {"1.34.50", 1, true},
        {"60.123", 1, true},
        {"サンプル  2020109999EX.dat", 1, true},  // a horse without a file
        {"../../../2020101234EX.dat", 2, true},
        {"2020101234EX.DAT", 1, true},
        {"202010123XEX.dat", 1, true},
        {"２０２０１０１２３４EX.dat", 1, true},
        {"x2020101234EX.dat ", 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cell);
        Folder f;
        f.horse({record(1)});
        const QStringList before = f.horseFiles();
        const GridModel g = load(u(c.cell));
        EXPECT_EQ(g.cols(), c.cols);
        EXPECT_EQ(g.rows(), 312);
        EXPECT_EQ(g.text(1, 0).isEmpty(), !c.titles);
        EXPECT_EQ(g.text(311, 0).isEmpty(), !c.titles);
        EXPECT_EQ(f.horseFiles(), before);
        EXPECT_EQ(QDir(f.path()).entryList(QDir::Files), QStringList());
    }
}

TEST(PastRunView, PastRunFileNamesOnlyAHorseFile) {
    AppFolder f;
    EXPECT_EQ(PastRunFile(kCell), f.path() + u("UMAGOTOEXTHISWEEKN/2020101234EX.dat"));
    EXPECT_EQ(PastRunFile(u("2020101234EX.dat")), f.path() + u("UMAGOTOEXTHISWEEKN/2020101234EX.dat"));
    EXPECT_FALSE(PastRunFile(u("")));
    EXPECT_FALSE(PastRunFile(u("020101234EX.dat")));
    EXPECT_FALSE(PastRunFile(u("/020101234EX.dat")));
    EXPECT_FALSE(PastRunFile(u("2020101234EX.da")));
    EXPECT_FALSE(PastRunFile(u("2020101234EX.dat\n")));
}

TEST(PastRunView, UnreadableOrPartialHorseFile) {
    Folder f;
    QByteArray partial = record(1) + record(2).left(100);
    f.horse({partial});
    GridModel g = load(kCell);
    EXPECT_EQ(g.cols(), 2);
    EXPECT_EQ(g.text(4, 1), u("20240101"));

    Folder d;
    QDir(d.path()).mkpath(QStringLiteral("UMAGOTOEXTHISWEEKN/2020101234EX.dat"));  // a folder, not a file
    SkipLog log("x");
    g = load(kCell, &log);
    EXPECT_EQ(g.cols(), 1);
    EXPECT_EQ(g.text(1, 0), u("レコードスペック"));
}

}  // namespace
