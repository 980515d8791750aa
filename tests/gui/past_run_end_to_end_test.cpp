// The past-run window end to end on the typical friday sample week: ① ②
// ③ ④ ⑤ ⑥, a race selected, a click on a horse's name cell of the factor
// table; the window shows that horse's expanded records, newest first.
#include "common/record_file.h"
#include "sample/generator.h"
#include "support/driver.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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

TEST(PastRunEndToEnd, AHorsesNameCellShowsItsExpandedRecordsNewestFirst) {
    QTemporaryDir dir;
    sample::generate({sample::Scale::Typical, sample::Scenario::Friday, 1}, dir.path());
    const rwtest::PressResult r = rwtest::runPress(
        dir.path(), {QStringLiteral("Command2"), QStringLiteral("Command4"), QStringLiteral("Command6"),
                     QStringLiteral("KESTRAVEXPDTHISWEEKNZ.Command3"), QStringLiteral("KESTRAVEXPDTHISWEEKNZ.Command1"),
                     QStringLiteral("Command8"), QStringLiteral("YOSOKEKKATHISWEEKNZ.List1=3"),
                     QStringLiteral("YOSOKEKKATHISWEEKNZ.RACEDETAILGrid1(2,6)"), QStringLiteral("--print"),
                     QStringLiteral("YOSOKEKKATHISWEEKNZ.RACEDETAILGrid1"), QStringLiteral("--print"),
                     QStringLiteral("Kakoso"), QStringLiteral("--print"), QStringLiteral("Kakoso.EXFG1")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.line(QStringLiteral("Kakoso")), QStringLiteral("全過去走詳細  Ver.2024.6.29Z"));

    const auto table = cells(r.out, QStringLiteral("YOSOKEKKATHISWEEKNZ.RACEDETAILGrid1"));
    const QString name = table.at({2, 6});
    ASSERT_TRUE(name.endsWith(QStringLiteral("EX.dat"))) << name.toStdString();
    const QString file = dir.path() + QStringLiteral("/UMAGOTOEXTHISWEEKN/") + name.right(16);
    const QList<QByteArray> records = rw::RecordFile::readAll(file, 2603);
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
    // Column 1 is this week's entry: the race of the selected item.
    EXPECT_EQ(grid.at({6, 1}).right(10), name.right(16).left(10));
}

}  // namespace
