// The large windows on a small screen. Run with the rest on Qt's offscreen
// screen, and again on a 1366x768 one (tests/gui/screen_1366x768.json, see
// tests/CMakeLists.txt): beside the menu, each window opens with its frame
// within the screen's available area, at its designed size where that
// fits, smaller otherwise, its content then scrolling.
#include "gui/FactorDIRT.h"
#include "gui/FactorHURD.h"
#include "gui/FactorTURF.h"
#include "gui/KESF1THISWEEKNZ.h"
#include "gui/KakoSeisekiZ.h"
#include "gui/Kakoso.h"
#include "gui/TekichuListZ.h"
#include "gui/YOSOKEKKATHISWEEKNZ.h"
#include "gui/gui_ui.h"
#include "gui/screen_fit.h"
#include "support/test_support.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

using namespace rw;
using namespace rw::gui;

namespace {

struct Large {
    const char* name;
    std::function<QWidget*()> make;
    QSize designed;
};

void settle() {
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

}  // namespace

TEST(ScreenFit, EachLargeWindowOpensWithinTheAvailableArea) {
    rwtest::AppFolder app;
    Ui().autoAnswer = true;
    auto menu = std::make_unique<KESF1THISWEEKNZ>();
    menu->show();
    settle();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QMargins frame(menu->geometry().left() - menu->frameGeometry().left(),
                         menu->geometry().top() - menu->frameGeometry().top(),
                         menu->frameGeometry().right() - menu->geometry().right(),
                         menu->frameGeometry().bottom() - menu->geometry().bottom());
    const int kakosoW = (14100 * menu->logicalDpiX() + 720) / 1440, kakosoH = (10050 * menu->logicalDpiY() + 720) / 1440;
    const Large windows[] = {
        {"KakoSeisekiZ", [] { return new KakoSeisekiZ; }, {1400, 860}},
        {"TekichuListZ", [] { return new TekichuListZ; }, {1400, 700}},
        {"YOSOKEKKATHISWEEKNZ", [] { return new YOSOKEKKATHISWEEKNZ; }, {1280, 760}},
        {"FactorTURF", [] { return new FactorTURF; }, {1100, 760}},
        {"FactorDIRT", [] { return new FactorDIRT; }, {1100, 760}},
        {"FactorHURD", [] { return new FactorHURD; }, {1100, 760}},
        {"Kakoso", [] { return new Kakoso; }, {kakosoW, kakosoH}},
    };
    for (const Large& l : windows) {
        std::unique_ptr<QWidget> w(l.make());
        w->show();
        settle();
        const QRect f = w->frameGeometry();
        EXPECT_TRUE(area.contains(f)) << l.name << ": frame " << f.x() << "," << f.y() << " " << f.width() << "x"
                                      << f.height() << " on an area of " << area.width() << "x" << area.height();
        EXPECT_GE(f.top(), area.top()) << l.name << ": the title bar is off screen";
        const QSize withFrame = l.designed.grownBy(frame);
        if (withFrame.width() <= area.width() && withFrame.height() <= area.height()) {
            EXPECT_EQ(w->size(), l.designed) << l.name << ": it fits, so it keeps its designed size";
        } else {
            EXPECT_TRUE(w->width() < l.designed.width() || w->height() < l.designed.height()) << l.name;
        }
        // The content lies in a scroll area filling the window.
        auto* scroll = w->findChild<QScrollArea*>(QStringLiteral("scrollArea"));
        ASSERT_NE(scroll, nullptr) << l.name;
        EXPECT_EQ(scroll->size(), w->size()) << l.name;
    }
}

TEST(ScreenFit, ContentLargerThanTheWindowScrolls) {
    // Beside a shown window (the menu, whose frame tells the others'), a
    // window placed by coordinates, designed larger than any screen here.
    QWidget menu;
    menu.resize(300, 200);
    menu.show();
    settle();
    QWidget w;
    auto* label = new QLabel(QStringLiteral("far corner"), &w);
    label->setObjectName(QStringLiteral("corner"));
    label->setGeometry(3900, 2900, 90, 20);
    fitToScreen(&w, {4000, 3000});
    w.show();
    settle();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(area.contains(w.frameGeometry()));
    auto* scroll = w.findChild<QScrollArea*>(QStringLiteral("scrollArea"));
    ASSERT_NE(scroll, nullptr);
    EXPECT_GT(scroll->horizontalScrollBar()->maximum(), 0);
    EXPECT_GT(scroll->verticalScrollBar()->maximum(), 0);
    scroll->ensureWidgetVisible(label);
    EXPECT_TRUE(scroll->viewport()->rect().contains(label->geometry().translated(scroll->widget()->pos())));
    // The controls stay reachable by name below the window.
    EXPECT_EQ(w.findChild<QLabel*>(QStringLiteral("corner")), label);
}
