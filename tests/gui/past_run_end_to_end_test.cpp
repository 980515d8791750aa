// The past-run window end to end on the typical friday sample week: ① ②
// ③ ④ ⑤ ⑥, a race selected, clicks on horses' name cells of the factor and
// residual tables through the driver; the window shows the clicked horse's
// expanded records, newest first, and keeps it until Kakoso.Command1.
#include "common/record_file.h"
#include "sample/generator.h"
#include "support/driver.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>
#include <memory>

using namespace rw;

namespace {

// The cells "WINDOW.GRID(r,c): text" of a print, by (r, c).
std::map<std::pair<int, int>, QString> cells(const QString& out, const QString& grid) {
    std::map<std::pair<int, int>, QString> m;
    const QRegularExpression re(QStringLiteral("^") + QRegularExpression::escape(grid) +
                                QStringLiteral("\\((\\d+),(\\d+)\\): ([^\\t]*)"));
    for (const QString& line : out.split(QLatin1Char('\n'))) {
        const auto hit = re.match(line);
        if (hit.hasMatch()) m[{hit.captured(1).toInt(), hit.captured(2).toInt()}] = hit.captured(3);
    }
    return m;
}

class PastRunEndToEnd : public ::testing::Test {
protected:
    // The week through ⑤ once for the suite; each test presses ⑥ again.
    static void SetUpTestSuite() {
        dir = new QTemporaryDir;
        sample::generate({sample::Scale::Typical, sample::Scenario::Friday, 1}, dir->path());
        const rwtest::PressResult road =
            rwtest::runPress(dir->path(), {QStringLiteral("Command2"), QStringLiteral("Command4"),
                                           QStringLiteral("Command6"), QStringLiteral("KESTRAVEXPDTHISWEEKNZ.Command3"),
                                           QStringLiteral("KESTRAVEXPDTHISWEEKNZ.Command1")});
        ASSERT_EQ(road.exitCode, 0) << road.err.toStdString();
    }
    static void TearDownTestSuite() {
        delete dir;
        dir = nullptr;
    }
    static rwtest::PressResult press(const QStringList& steps, const QString& table) {
        QStringList args{QStringLiteral("Command8"), QStringLiteral("YOSOKEKKATHISWEEKNZ.List1=3")};
        args << steps << QStringLiteral("--print") << table << QStringLiteral("--print") << QStringLiteral("Kakoso")
             << QStringLiteral("--print") << QStringLiteral("Kakoso.EXFG1");
        return rwtest::runPress(dir->path(), args);
    }
    // The window shows the horse of `nameCell`'s file, newest record first.
    static void expectHorse(const rwtest::PressResult& r, const QString& nameCell) {
        ASSERT_TRUE(nameCell.endsWith(QStringLiteral("EX.dat"))) << nameCell.toStdString();
        const QString file = dir->path() + QStringLiteral("/UMAGOTOEXTHISWEEKN/") + nameCell.right(16);
        const QList<QByteArray> records = RecordFile::readAll(file, 2603);
        ASSERT_FALSE(records.isEmpty());
        const int n = int(records.size());
        const auto grid = cells(r.out, QStringLiteral("Kakoso.EXFG1"));
        for (int c = 1; c <= n; ++c) {
            SCOPED_TRACE(c);
            EXPECT_EQ(grid.at({0, c}), QStringLiteral("前 ") + QString::number(c - 1) + QStringLiteral("走"));
            const QByteArray& rec = records[n - c];
            EXPECT_EQ(grid.at({4, c}), QString::fromLatin1(rec.mid(11, 8)));
            EXPECT_EQ(grid.at({6, c}), QString::fromLatin1(rec.mid(27, 13)));
        }
        EXPECT_EQ(grid.count({0, n + 1}), 0u);
        EXPECT_EQ(grid.at({1, 0}), QStringLiteral("レコードスペック"));
        EXPECT_EQ(grid.at({6, 1}).right(10), nameCell.right(16).left(10));
        EXPECT_EQ(r.line(QStringLiteral("Kakoso")), QStringLiteral("全過去走詳細  Ver.2024.6.29Z"));
    }
    static QTemporaryDir* dir;
};
QTemporaryDir* PastRunEndToEnd::dir = nullptr;

TEST_F(PastRunEndToEnd, AHorsesNameCellShowsItsExpandedRecordsNewestFirst) {
    // A second horse while the window is open changes nothing.
    const rwtest::PressResult r = press(
        {QStringLiteral("YOSOKEKKATHISWEEKNZ.RACEDETAILGrid1(2,6)"), QStringLiteral("YOSOKEKKATHISWEEKNZ.SSTab1=2"),
         QStringLiteral("YOSOKEKKATHISWEEKNZ.RACEDETAILGrid2(5,5)")},
        QStringLiteral("YOSOKEKKATHISWEEKNZ.RACEDETAILGrid1"));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    expectHorse(r, cells(r.out, QStringLiteral("YOSOKEKKATHISWEEKNZ.RACEDETAILGrid1")).at({2, 6}));
}

TEST_F(PastRunEndToEnd, ClosedByCommand1TheNextClickShowsTheNextHorse) {
    const rwtest::PressResult r = press(
        {QStringLiteral("YOSOKEKKATHISWEEKNZ.SSTab1=2"), QStringLiteral("YOSOKEKKATHISWEEKNZ.RACEDETAILGrid2(3,5)"),
         QStringLiteral("Kakoso.Command1"), QStringLiteral("YOSOKEKKATHISWEEKNZ.RACEDETAILGrid2(4,5)")},
        QStringLiteral("YOSOKEKKATHISWEEKNZ.RACEDETAILGrid2"));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    expectHorse(r, cells(r.out, QStringLiteral("YOSOKEKKATHISWEEKNZ.RACEDETAILGrid2")).at({4, 5}));
}

}  // namespace
