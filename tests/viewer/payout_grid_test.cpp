// The payout grid: captions, each ticket kind's entries, dead heats,
// entries present or absent one by one, refills.
#include "viewer/payout_grid.h"
#include "viewer/viewer_records.h"

#include <gtest/gtest.h>

using namespace rw;
using namespace viewertest;

namespace {
const QByteArray kId = "202412070501";

QStringList rowTexts(const GridModel& g, int row) {
    QStringList t;
    for (int c = 1; c <= 21; ++c) t << g.text(row, c);
    while (!t.isEmpty() && t.last().isEmpty()) t.removeLast();
    return t;
}
}  // namespace

TEST(PayoutGrid, PreparationWritesCaptionsAndEmptiesTheRows) {
    viewer::RaceViewer v;
    v.HAITOGrid1.setText(3, 17, QStringLiteral("old"));
    viewer::PreparePayoutGrid(v.HAITOGrid1);
    const GridModel& g = v.HAITOGrid1;
    EXPECT_EQ(g.rows(), 10);
    EXPECT_EQ(g.cols(), 22);
    EXPECT_EQ(g.text(0, 0), QStringLiteral("券種"));
    const QStringList kinds = {"単勝", "複勝", "枠連", "馬連", "ワイド", "馬単", "３連複", "３連単"};
    for (int r = 1; r <= 8; ++r) {
        EXPECT_EQ(g.text(r, 0), kinds[r - 1]);
        EXPECT_TRUE(rowTexts(g, r).isEmpty()) << r;
    }
    for (int e = 0; e < 5; ++e) {
        EXPECT_EQ(g.text(0, 3 * e + 1), QStringLiteral("当り目"));
        EXPECT_EQ(g.text(0, 3 * e + 2), QStringLiteral("配当(円)"));
        EXPECT_EQ(g.text(0, 3 * e + 3), QStringLiteral("人気"));
    }
    for (int c = 16; c <= 21; ++c) EXPECT_TRUE(g.text(0, c).isEmpty());
    EXPECT_EQ(g.colWidth(1), 1200);
}

TEST(PayoutGrid, EdgeCasesOfThePayoffEntries) {
    struct Case {
        const char* name;
        std::function<void(QByteArray&)> set;
        int row;
        QStringList expected;
    };
    const std::vector<Case> cases = {
        {"dead heat for first: two win entries",
         [](QByteArray& r) {
             setEntry(r, kWin, 1, "03", 350, 1);
             setEntry(r, kWin, 2, "11", 1230, 4);
         },
         1,
         {"03", "350", "1", "11", "1230", "4"}},
        {"two places only",
         [](QByteArray& r) {
             setEntry(r, kPlace, 1, "03", 150, 1);
             setEntry(r, kPlace, 2, "07", 220, 3);
         },
         2,
         {"03", "150", "1", "07", "220", "3"}},
        {"bracket pair 3 and 5", [](QByteArray& r) { setEntry(r, kBracket, 1, "35", 990, 5); }, 3, {"3-5", "990", "5"}},
        {"quinella", [](QByteArray& r) { setEntry(r, kQuinella, 1, "0311", 4560, 12); }, 4, {"03-11", "4560", "12"}},
        {"seven wide entries fill columns 16 to 21",
         [](QByteArray& r) {
             for (int k = 1; k <= 7; ++k) setEntry(r, kWide, k, two(k) + two(k + 1), 100 * k, k);
         },
         5,
         {"01-02", "100",   "1",   "02-03", "200",   "2",   "03-04", "300",   "3",   "04-05", "400",
          "4",     "05-06", "500", "5",     "06-07", "600", "6",     "07-08", "700", "7"}},
        {"exacta 3 then 11",
         [](QByteArray& r) { setEntry(r, kExacta, 1, "0311", 8800, 20); },
         6,
         {"03→11", "8800", "20"}},
        {"dead heat exacta both ways",
         [](QByteArray& r) {
             setEntry(r, kExacta, 1, "0311", 8800, 20);
             setEntry(r, kExacta, 2, "1103", 9900, 25);
         },
         6,
         {"03→11", "8800", "20", "11→03", "9900", "25"}},
        {"trio 3, 7, 11",
         [](QByteArray& r) { setEntry(r, kTrio, 1, "030711", 12340, 40); },
         7,
         {"03-07-11", "12340", "40"}},
        {"trifecta",
         [](QByteArray& r) { setEntry(r, kTrifecta, 1, "110307", 123450, 321); },
         8,
         {"11→03→07", "123450", "321"}},
        {"a later entry shows when an earlier one is absent",
         [](QByteArray& r) { setEntry(r, kQuinella, 2, "0102", 700, 2); },
         4,
         {"", "", "", "01-02", "700", "2"}},
        {"win entry with horse 00 is absent", [](QByteArray& r) { setEntry(r, kWin, 1, "00", 350, 1); }, 1, {}},
        {"a payout that is no number marks the entry absent",
         [](QByteArray& r) { r.replace(245 + 4, 9, "ab       "); },
         4,
         {}},
        {"blank win entry", [](QByteArray& r) { r.replace(102, 13, QByteArray(13, ' ')); }, 1, {}},
    };
    for (const Case& c : cases) {
        viewer::RaceViewer v;
        viewer::PreparePayoutGrid(v.HAITOGrid1);
        QByteArray r = hr(kId);
        c.set(r);
        viewer::FillPayoutGrid(v.HAITOGrid1, r);
        EXPECT_EQ(rowTexts(v.HAITOGrid1, c.row), c.expected) << c.name;
        for (int row = 1; row <= 8; ++row)
            if (row != c.row) {
                EXPECT_TRUE(rowTexts(v.HAITOGrid1, row).isEmpty()) << c.name << " row " << row;
            }
    }
}

TEST(PayoutGrid, EachRecordRefillsEveryEntrySoTheLastRemains) {
    viewer::RaceViewer v;
    viewer::PreparePayoutGrid(v.HAITOGrid1);
    QByteArray first = hr(kId);
    setEntry(first, kWin, 1, "03", 350, 1);
    setEntry(first, kWin, 2, "11", 1230, 4);
    setEntry(first, kWide, 7, "0102", 700, 9);
    viewer::FillPayoutGrid(v.HAITOGrid1, first);
    QByteArray second = hr(kId);
    setEntry(second, kWin, 1, "05", 410, 2);
    viewer::FillPayoutGrid(v.HAITOGrid1, second);
    EXPECT_EQ(rowTexts(v.HAITOGrid1, 1), (QStringList{"05", "410", "2"}));
    EXPECT_TRUE(rowTexts(v.HAITOGrid1, 5).isEmpty());
}
