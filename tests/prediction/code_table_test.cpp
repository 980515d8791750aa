#include "prediction/code_table.h"

#include "common/errors.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

using namespace rw::prediction;
using rwtest::sj;

namespace {
CodeTable tableOf(const QByteArray& content) {
    rwtest::AppFolder app;
    app.write(QStringLiteral("JRACODE\\CodeTable.csv"), content);
    CodeTable t;
    LoadCodeTable(t);
    return t;
}
}  // namespace

TEST(CodeTable, TheLaterOfTwoMatchingRowsWins) {
    const CodeTable t = tableOf(sj("2001,05,a,b,東京,e,Tokyo,x\r\n"
                                   "2005,11,a,b,サラ系２歳,e,f,g\r\n"
                                   "\"2001\",\"05\",a,b,東京２,e,Tokyo2,x\r\n"));
    EXPECT_EQ(CodeName(t, "2001", "05", 4), sj("東京２"));
    EXPECT_EQ(CodeName(t, "2001", "05", 6), "Tokyo2");
    EXPECT_EQ(CodeName(t, "2005", "11", 4), sj("サラ系２歳"));
}

TEST(CodeTable, AMissingCodeOrFileGivesNoValueAndAnEmptyNameIsAValue) {
    const CodeTable t = tableOf("2003,A,,b,c,d,e,f\r\n");
    EXPECT_EQ(CodeLookup(t, "2003", "A", 2), QByteArray());  // found, empty name
    EXPECT_TRUE(CodeLookup(t, "2003", "A", 2).has_value());
    EXPECT_FALSE(CodeLookup(t, "2003", "B", 2).has_value());
    EXPECT_FALSE(CodeLookup(t, "2099", "A", 2).has_value());
    EXPECT_EQ(CodeName(t, "2003", "B", 2), QByteArray());

    rwtest::AppFolder app;  // no file at all
    CodeTable empty;
    LoadCodeTable(empty);
    EXPECT_TRUE(empty.rows.isEmpty());
    EXPECT_FALSE(CodeLookup(empty, "2001", "05", 4).has_value());
}

TEST(CodeTable, ARowOfSevenValuesShiftsEveryLaterRow) {
    const CodeTable t = tableOf("2001,01,a,b,Sapporo,e,f\r\n"      // seven values
                                "2001,02,a,b,Hakodate,e,g,h\r\n"
                                "2001,03,a,b,Fukushima,e,i,j\r\n");
    // Row 0 takes "2001" of the next line as its eighth value.
    EXPECT_EQ(t.rows[0][7], "2001");
    EXPECT_EQ(CodeName(t, "2001", "01", 4), "Sapporo");
    EXPECT_FALSE(CodeLookup(t, "2001", "02", 4).has_value());
    EXPECT_EQ(t.rows[1][0], "02");
    // The last row ends inside: its missing values stay empty.
    ASSERT_EQ(t.rows.size(), 3);
    EXPECT_EQ(t.rows[2][7], QByteArray());
}

TEST(CodeTable, AColumnOutsideZeroToSevenIsAFailedStatement) {
    const CodeTable t = tableOf("2001,05,a,b,c,d,e,f\r\n");
    EXPECT_THROW(CodeLookup(t, "2001", "05", 8), rw::StepFailure);
    EXPECT_THROW(CodeLookup(t, "2001", "05", -1), rw::StepFailure);
    QByteArray target = "kept";
    try {
        target = CodeName(t, "2001", "05", 9);
    } catch (const rw::StepFailure&) {
    }
    EXPECT_EQ(target, "kept");
}

TEST(CodeTable, GrowsBeyondFiveHundredAndOneRowsAndMatchesTheLinearScan) {
    QByteArray content;
    for (int i = 0; i < 700; ++i)
        content += "20" + QByteArray::number(i % 7) + "," + QByteArray::number(i % 41) + ",c2,c3,n" +
                   QByteArray::number(i) + ",c5,c6,c7\r\n";
    const CodeTable t = tableOf(content);
    ASSERT_EQ(t.rows.size(), 700);
    for (int table = 0; table < 8; ++table)
        for (int code = 0; code < 45; ++code) {
            const QByteArray tn = "20" + QByteArray::number(table), cd = QByteArray::number(code);
            std::optional<QByteArray> literal;  // every row in order, the last match remembered
            for (const CodeRow& r : t.rows)
                if (r[0] == tn && r[1] == cd) literal = r[4];
            EXPECT_EQ(CodeLookup(t, tn, cd, 4), literal) << tn.constData() << " " << cd.constData();
        }
}
