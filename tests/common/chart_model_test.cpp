#include "common/chart_model.h"

#include "common/errors.h"

#include <gtest/gtest.h>

using rw::ChartModel;
using rw::ChartType;

TEST(ChartModel, AFreshChartIsEmptyAndScalesItself) {
    ChartModel c;
    EXPECT_EQ(c.chartType(), ChartType::Line2d);
    EXPECT_EQ(c.rowCount(), 0);
    EXPECT_EQ(c.seriesCount(), 0);
    EXPECT_TRUE(c.autoScale());
    EXPECT_THROW(c.value(1, 1), rw::StepFailure);
}

TEST(ChartModel, HoldsAValuePerRowAndSeriesNumberedFromOne) {
    ChartModel c;
    c.setSeriesCount(3);
    c.setRowCount(2);
    c.setValue(1, 1, 0.7);
    c.setValue(2, 3, -3.1);
    c.setRowLabel(2, QStringLiteral("28"));
    c.setSeriesLabel(3, QStringLiteral("s3"));
    c.setSeriesColor(3, 0x0000FF);
    EXPECT_EQ(c.value(1, 1), 0.7);
    EXPECT_EQ(c.value(2, 3), -3.1);
    EXPECT_EQ(c.value(1, 2), 0.0);
    EXPECT_EQ(c.rowLabel(2), QStringLiteral("28"));
    EXPECT_TRUE(c.rowLabel(1).isEmpty());
    EXPECT_EQ(c.seriesLabel(3), QStringLiteral("s3"));
    EXPECT_EQ(c.seriesColor(3), 0x0000FFu);
    EXPECT_EQ(c.seriesColor(1), 0u);
}

TEST(ChartModel, ResizingKeepsWhatStays) {
    ChartModel c;
    c.setSeriesCount(2);
    c.setRowCount(2);
    c.setValue(2, 2, 5);
    c.setRowLabel(2, QStringLiteral("b"));
    c.setSeriesCount(3);
    c.setRowCount(4);
    EXPECT_EQ(c.value(2, 2), 5.0);
    EXPECT_EQ(c.rowLabel(2), QStringLiteral("b"));
    EXPECT_EQ(c.value(4, 3), 0.0);
    c.setRowCount(1);
    EXPECT_THROW(c.value(2, 2), rw::StepFailure);
}

TEST(ChartModel, AnAddressOutsideTheChartFails) {
    ChartModel c;
    c.setSeriesCount(3);
    c.setRowCount(33);
    struct Case {
        int row, series;
    };
    for (const Case k : {Case{0, 1}, Case{34, 1}, Case{1, 0}, Case{1, 4}, Case{-1, -1}}) {
        SCOPED_TRACE(testing::Message() << k.row << "," << k.series);
        EXPECT_THROW(c.setValue(k.row, k.series, 1), rw::StepFailure);
        EXPECT_THROW(c.value(k.row, k.series), rw::StepFailure);
    }
    EXPECT_THROW(c.setSeriesLabel(4, QString()), rw::StepFailure);
    EXPECT_THROW(c.setRowLabel(0, QString()), rw::StepFailure);
    EXPECT_THROW(c.setSeriesColor(0, 0), rw::StepFailure);
}

TEST(ChartModel, AHostileSizeFailsWithoutAllocating) {
    ChartModel c;
    c.setSeriesCount(3);
    EXPECT_THROW(c.setRowCount(2'000'000'000), rw::StepFailure);
    EXPECT_THROW(c.setRowCount(-1), rw::StepFailure);
    EXPECT_EQ(c.rowCount(), 0);
}

TEST(ChartModel, TheValueAxisIsFixedWhereItIsSet) {
    ChartModel c;
    c.setValueAxis(-2.5, 2.5, 10);
    EXPECT_FALSE(c.autoScale());
    EXPECT_EQ(c.axisMinimum(), -2.5);
    EXPECT_EQ(c.axisMaximum(), 2.5);
    EXPECT_EQ(c.axisDivisions(), 10);
    // A value beyond it does not move it.
    c.setSeriesCount(1);
    c.setRowCount(1);
    c.setValue(1, 1, 3.1);
    EXPECT_EQ(c.axisMaximum(), 2.5);
    EXPECT_THROW(c.setValueAxis(1, 1, 10), rw::StepFailure);
    EXPECT_THROW(c.setValueAxis(-1, 1, 0), rw::StepFailure);
}

TEST(ChartModel, DescribesItsContentAsText) {
    ChartModel c;
    c.setSeriesCount(2);
    c.setRowCount(2);
    c.setSeriesLabel(1, QString::fromUtf8("上がり"));
    c.setSeriesColor(1, 0xFF0000);
    c.setRowLabel(1, QStringLiteral("27"));
    c.setValue(1, 1, 0.7);
    c.setValue(2, 2, -3.1);
    c.setValueAxis(-2.5, 2.5, 10);
    const QStringList expected = {
        QStringLiteral("type line2d, rows 2, series 2"),  QStringLiteral("axis -2.5 to 2.5 in 10 divisions (fixed)"),
        QString::fromUtf8("series 1 \"上がり\" #FF0000"), QStringLiteral("series 2 \"\" #000000"),
        QStringLiteral("row 1 \"27\": 0.7, 0"),           QStringLiteral("row 2 \"\": 0, -3.1"),
    };
    EXPECT_EQ(c.describe(), expected);
}

TEST(ChartModel, EveryWriteMovesTheRevision) {
    ChartModel c;
    auto r = c.revision();
    c.setSeriesCount(1);
    EXPECT_GT(c.revision(), r);
    r = c.revision();
    c.setRowCount(1);
    EXPECT_GT(c.revision(), r);
    r = c.revision();
    c.setValue(1, 1, 1);
    EXPECT_GT(c.revision(), r);
}
