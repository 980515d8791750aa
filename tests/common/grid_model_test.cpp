#include "common/grid_model.h"

#include "common/errors.h"

#include <gtest/gtest.h>

using rw::GridColor;
using rw::GridModel;

TEST(GridModel, AFreshGridIsTheDesignersTwoByTwo) {
    GridModel g;
    EXPECT_EQ(g.rows(), 2);
    EXPECT_EQ(g.cols(), 2);
    EXPECT_EQ(g.fixedRows(), 1);
    EXPECT_EQ(g.fixedCols(), 1);
    EXPECT_EQ(g.row(), 1);
    EXPECT_EQ(g.col(), 1);
    EXPECT_TRUE(g.back(0, 0).isStandard());
    EXPECT_EQ(g.colWidth(1), -1);
}

TEST(GridModel, ResizingKeepsTheCellsThatStay) {
    GridModel g(3, 3, 1, 0);
    g.setText(1, 2, QStringLiteral("x"));
    g.setBack(1, 2, GridColor::rgb(0xFFFF00));
    g.setRows(10);
    g.setCols(5);
    EXPECT_EQ(g.text(1, 2), QStringLiteral("x"));
    EXPECT_EQ(g.back(1, 2), GridColor::rgb(0xFFFF00));
    EXPECT_TRUE(g.text(9, 4).isEmpty());
    g.setRows(2);
    EXPECT_EQ(g.text(1, 2), QStringLiteral("x"));
    EXPECT_THROW(g.text(2, 0), rw::StepFailure);
}

TEST(GridModel, StandardColourIsNotWhite) {
    EXPECT_NE(GridColor::standard(), rw::kGridWhite);
    EXPECT_EQ(rw::kGridWhite.rgb(), 0xFFFFFFu);
    EXPECT_EQ(GridColor::rgb(0), GridColor::rgb(0));
    EXPECT_FALSE(GridColor::rgb(0).isStandard());
}

TEST(GridModel, AnAddressOutsideTheGridFailsAndWritesNothing) {
    GridModel g(3, 4, 1, 1);
    const auto before = g.revision();
    for (auto [r, c] : {std::pair{-1, 0}, {3, 0}, {0, -1}, {0, 4}}) {
        EXPECT_THROW(g.setText(r, c, QStringLiteral("x")), rw::StepFailure) << r << "," << c;
        EXPECT_THROW(g.setBack(r, c, rw::kGridWhite), rw::StepFailure);
        EXPECT_THROW(g.setCurrent(r, c), rw::StepFailure);
    }
    EXPECT_THROW(g.setColWidth(4, 100), rw::StepFailure);
    EXPECT_THROW(g.setRowHeight(3, 100), rw::StepFailure);
    EXPECT_THROW(g.setFixedRows(4), rw::StepFailure);
    EXPECT_THROW(g.setRows(-1), rw::StepFailure);
    EXPECT_THROW(g.setRows(0), rw::StepFailure);  // below its fixed row
    EXPECT_THROW(g.setCols(1'000'000'000), rw::StepFailure);
    EXPECT_EQ(g.revision(), before);
    EXPECT_EQ(g.rows(), 3);
}

TEST(GridModel, ClearEmptiesCellsButKeepsTheDesign) {
    GridModel g(2, 2, 1, 1);
    g.setText(1, 1, QStringLiteral("a"));
    g.setFore(1, 1, GridColor::rgb(0xFF0000));
    g.setColWidth(0, 1200);
    g.setCurrent(1, 1);
    g.clear();
    EXPECT_TRUE(g.text(1, 1).isEmpty());
    EXPECT_TRUE(g.fore(1, 1).isStandard());
    EXPECT_EQ(g.colWidth(0), 1200);
    EXPECT_EQ(g.currentText(), QString());
}
