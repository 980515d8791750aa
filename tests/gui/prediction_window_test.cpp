#include "gui/KESF1THISWEEKNZ.h"
#include "gui/YOSOKEKKATHISWEEKNZ.h"
#include "prediction/week_fixture.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QListWidget>
#include <gtest/gtest.h>

using namespace rw::gui;

TEST(PredictionWindow, MenuSixOpensTheWindowWithOneListItemPerRace) {
    rwtest::AppFolder app;
    predtest::writeWeek(app, {{predtest::key16("20241207", "05", 1), {60, 61}},
                              {predtest::key16("20241207", "05", 2), {62, 63, 64}}});
    KESF1THISWEEKNZ menu;
    menu.setOption1(true);
    menu.findChild<QAbstractButton*>(QStringLiteral("Command8"))->click();
    EXPECT_EQ(menu.ZansaFlag, 0);
    EXPECT_FALSE(menu.option1());
    EXPECT_EQ(menu.findChild<QLineEdit*>(QStringLiteral("Text5"))->text(), QStringLiteral("予想･結果終了"));
    YOSOKEKKATHISWEEKNZ* w = YOSOKEKKATHISWEEKNZ::latest();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    ASSERT_EQ(w->List1->count(), 2);
    EXPECT_EQ(w->List1->item(1)->text(), QStringLiteral("2024年12月07日05東京05回03日02R") + QString(9, u' ') + "202412070502");
    EXPECT_EQ(w->State.RaceCount, 2);
    EXPECT_EQ(w->State.HorseCount, 3);  // the last race's runners stay for the viewer
    w->close();
}
