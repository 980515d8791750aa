// The past-performance browser and the hit list as windows: the menu's two
// buttons, the single instances, a click on the day list, and a press of
// "万馬券リスト" while the list is being built.
#include "common/kestrav_path.h"
#include "gui/KESF1THISWEEKNZ.h"
#include "gui/KakoSeisekiZ.h"
#include "gui/TekichuListZ.h"
#include "gui/controls/grid_view.h"
#include "gui/controls/list_click.h"
#include "gui/gui_ui.h"
#include "gui/single_instance.h"
#include "reference/history_fixture.h"
#include "support/window_press.h"

#include <QAbstractButton>
#include <QApplication>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

using namespace rw;
using namespace rw::gui;

namespace {

using rwtest::press;
using rwtest::closeWindow;

QString u(const char* s) { return QString::fromUtf8(s); }

class ReferenceWindows : public ::testing::Test {
protected:
    void SetUp() override {
        reffix::writeHistory(app);
        Ui().autoAnswer = true;
        menu = new KESF1THISWEEKNZ;
    }
    void TearDown() override {
        closeWindow(KakoSeisekiZ::instance());
        closeWindow(TekichuListZ::instance());
        delete menu;
    }
    rwtest::AppFolder app;
    KESF1THISWEEKNZ* menu = nullptr;
};

}  // namespace

TEST_F(ReferenceWindows, PastResultsLoadsListsAndShowsADay) {
    press(menu, "Command11");
    KakoSeisekiZ* w = KakoSeisekiZ::instance();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(Ui().text("KESF1THISWEEKNZ.Text6"), u("過去の予想成績終了"));
    auto* list = w->findChild<QListWidget*>("List1");
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->count(), 4);
    EXPECT_TRUE(pressListItem(list, 0));
    auto* hits = w->findChild<GridView*>("RACEFG(3)");
    ASSERT_NE(hits, nullptr);
    EXPECT_EQ(hits->model().text(1, 0), "1  02");
    auto* text2 = w->findChild<QPlainTextEdit*>("Text2(3)");
    ASSERT_NE(text2, nullptr);
    EXPECT_TRUE(text2->toPlainText().endsWith(u("晴良")));
    // A second press only brings it to the front: no second scan.
    app.write("SOKUDO\\RACEID.txt", "x\r\n");
    press(menu, "Command11");
    EXPECT_EQ(KakoSeisekiZ::instance(), w);
    EXPECT_EQ(app.read("SOKUDO\\RACEID.txt"), "x\r\n");
}

TEST_F(ReferenceWindows, APressWhileTheHitListLoadsIsIgnored) {
    int pressed = 0;
    // Pressed again from inside one of the load's event turns (the menu's own
    // turn before the window opens does not count).
    std::function<void()> pressDuringLoad = [&] {
        if (!singleInstanceLoading<TekichuListZ>()) {
            QTimer::singleShot(0, menu, pressDuringLoad);
            return;
        }
        ++pressed;
        press(menu, "Command15");
    };
    QTimer::singleShot(0, menu, pressDuringLoad);
    press(menu, "Command15");
    EXPECT_EQ(pressed, 1);
    TekichuListZ* w = TekichuListZ::instance();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->HitRowCount, 4);
    EXPECT_EQ(Ui().text("KESF1THISWEEKNZ.Text6"), u("過去の的中リスト終了"));
    EXPECT_EQ(app.read("TEKICHU\\ATARILIST.txt"),
              rwtest::readFile(QStringLiteral(RACEWEEK_SOURCE_DIR "/tests/reference/golden/ATARILIST.txt")));
    auto* grid = w->findChild<GridView*>("tekichuFG");
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->model().text(1, 9), "182340");
}
