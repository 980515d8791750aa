#include "gui/FactorDIRT.h"
#include "gui/FactorHURD.h"
#include "gui/FactorTURF.h"
#include "gui/KESF1THISWEEKNZ.h"
#include "gui/controls/chart_view.h"
#include "gui/controls/grid_view.h"
#include "gui/controls/tab_control.h"
#include "gui/gui_ui.h"
#include "support/factor_package.h"
#include "support/test_support.h"
#include "support/window_press.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPlainTextEdit>
#include <gtest/gtest.h>

using namespace rw;
using namespace rw::gui;
using rw::model::Surface;

namespace {

using rwtest::closeWindow;

QString u8(const char* s) { return QString::fromUtf8(s); }

rwtest::FixturePackage package(const char* firstWeight) {
    rwtest::FixturePackage p;
    p.add(1, "2019", "57.5", "56.25", "58.125", "1200");
    p.add(2, "01", firstWeight, "0.125", "-0.0004", "0");
    p.add(12, "127", "0.7", "-0.7", "3.1", "5");
    return p;
}

GridView* grid(QWidget* w, const char* name) { return w->findChild<GridView*>(QString::fromLatin1(name)); }

TEST(FactorViewerWindow, OneInstanceReadsOnlyWhenItIsLoaded) {
    rwtest::AppFolder app;
    package("0.7").write(app, Surface::Turf);
    FactorTURF* first = FactorTURF::open();
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(grid(first, "KijunSpeedFG")->model().text(1, 1), u8("0.699"));

    // A second press while it is open reads nothing again.
    package("1.5").write(app, Surface::Turf);
    FactorTURF* second = FactorTURF::open();
    EXPECT_EQ(second, first);
    EXPECT_EQ(grid(second, "KijunSpeedFG")->model().text(1, 1), u8("0.699"));

    // After it was closed, a press loads a new one.
    closeWindow(first);
    FactorTURF* third = FactorTURF::open();
    ASSERT_TRUE(third);
    EXPECT_EQ(grid(third, "KijunSpeedFG")->model().text(1, 1), u8("1.5"));
    closeWindow(third);
}

TEST(FactorViewerWindow, TheMenuButtonsOpenTheirViewers) {
    rwtest::AppFolder app;
    for (Surface s : model::kSurfaces) package("0.7").write(app, s);
    KESF1THISWEEKNZ menu;
    // The buttons write no status text.
    auto statusTexts = [] {
        QStringList t;
        for (const char* box : {"Text1", "Text2", "Text3", "Text4", "Text5", "Text6", "Label1"})
            t << Ui().text(QStringLiteral("KESF1THISWEEKNZ.") + QLatin1String(box));
        return t;
    };
    const QStringList before = statusTexts();
    const std::pair<const char*, const char*> buttons[] = {
        {"Command5", "FactorTURF"}, {"Command9", "FactorDIRT"}, {"Command10", "FactorHURD"}};
    for (const auto& [button, window] : buttons) {
        SCOPED_TRACE(window);
        menu.findChild<QAbstractButton*>(QString::fromLatin1(button))->click();
        QWidget* w = Ui().findWindow(QString::fromLatin1(window));
        ASSERT_TRUE(w);
        EXPECT_TRUE(w->isVisible());
        EXPECT_TRUE(w->isWindow());
        EXPECT_EQ(w->parentWidget(), nullptr);  // no owner
        EXPECT_FALSE(w->isModal());
        closeWindow(w);
    }
    EXPECT_EQ(statusTexts(), before);
}

TEST(FactorViewerWindow, OpensOnTabF2AndTheThirdInnerTab) {
    rwtest::AppFolder app;
    package("0.7").write(app, Surface::Dirt);
    FactorDIRT* w = FactorDIRT::open();
    auto* outer = w->findChild<TabControl*>(QStringLiteral("SSTab1"));
    auto* inner = w->findChild<TabControl*>(QStringLiteral("SSTab3"));
    ASSERT_TRUE(outer && inner);
    EXPECT_EQ(outer->count(), 30);
    EXPECT_EQ(outer->currentIndex(), 1);
    EXPECT_EQ(outer->tabText(9), u8("F10 負担重量%"));
    EXPECT_EQ(inner->count(), 3);
    EXPECT_EQ(inner->currentIndex(), 2);
    EXPECT_EQ(inner->tabText(2), u8("馬齢（月齢）数値"));
    EXPECT_EQ(w->windowTitle(), u8("ダート予想因子\u3000Ver.2020.7.21"));
    // The item-12 grid and both charts sit on the inner tabs.
    EXPECT_TRUE(inner->page(0)->findChild<ChartView*>(QStringLiteral("MaleAgeChart")));
    EXPECT_TRUE(inner->page(1)->findChild<ChartView*>(QStringLiteral("FemaleAgeChart")));
    EXPECT_TRUE(inner->page(2)->findChild<GridView*>(QStringLiteral("BareiDirtFG")));
    // The item-12 text box stands beside the inner tabs, on tab F12.
    auto* text6 = w->findChild<QPlainTextEdit*>(QStringLiteral("Text6"));
    ASSERT_TRUE(text6);
    EXPECT_FALSE(inner->isAncestorOf(text6));
    EXPECT_TRUE(outer->page(11)->isAncestorOf(text6));
    EXPECT_TRUE(text6->isReadOnly());
    EXPECT_EQ(text6->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    closeWindow(w);
}

TEST(FactorViewerWindow, TheJumpViewerKeepsItsOwnBoxes) {
    rwtest::AppFolder app;
    package("0.7").write(app, Surface::Jump);
    FactorHURD* w = FactorHURD::open();
    auto* outer = w->findChild<TabControl*>(QStringLiteral("SSTab1"));
    auto* inner = w->findChild<TabControl*>(QStringLiteral("SSTab5"));
    ASSERT_TRUE(outer && inner);
    for (int tab : {15, 21, 27}) EXPECT_TRUE(outer->page(tab - 1)->findChildren<QPlainTextEdit*>().isEmpty()) << tab;
    EXPECT_TRUE(inner->page(2)->findChild<QPlainTextEdit*>(QStringLiteral("Text16")));
    EXPECT_EQ(inner->tabText(2), u8("F12\u3000馬齢（月齢）数値"));
    EXPECT_TRUE(w->findChild<ChartView*>(QStringLiteral("MaleAgeShogChart")));
    EXPECT_EQ(w->findChild<QPlainTextEdit*>(QStringLiteral("Text24"))->toPlainText(), QString());  // F22
    EXPECT_EQ(grid(w, "KyosokigoHurdFG")->model().cols(), 7);
    EXPECT_EQ(grid(w, "FatherArningHurdFG")->model().fixedCols(), 0);
    closeWindow(w);
}

TEST(FactorViewerWindow, ABadPackageStillOpensTheViewer) {
    rwtest::AppFolder app;  // no package at all
    FactorTURF* w = FactorTURF::open();
    ASSERT_TRUE(w);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(grid(w, "YearTurfFG")->model().rows(), 1);
    EXPECT_FALSE(w->findChild<QPlainTextEdit*>(QStringLiteral("Text11"))->toPlainText().isEmpty());
    closeWindow(w);
}

}  // namespace
