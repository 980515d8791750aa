// The grid control, the tab control and the list box's Click on the
// offscreen platform: fixed cells stay when scrolled, cell colours show in
// the picture, long texts are clipped, captions wrap within their cell's
// height, clicks on normal and fixed cells, a re-click on the selected list
// item runs the handler again.
#include "gui/controls/control_print.h"
#include "gui/controls/grid_view.h"
#include "gui/controls/list_click.h"
#include "gui/controls/tab_control.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <gtest/gtest.h>

using namespace rw;
using namespace rw::gui;

namespace {
void click(QWidget* target, const QPoint& at) {
    const QPointF local(at), global(target->mapToGlobal(at));
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
}

QImage picture(GridView& view) {
    view.refresh();
    return view.viewport()->grab().toImage();
}

struct Shown {
    GridModel model{60, 12, 1, 1};
    GridView view{nullptr, &model};
    Shown() {
        for (int c = 0; c < 12; ++c) model.setText(0, c, QStringLiteral("C%1").arg(c));
        for (int r = 0; r < 60; ++r) model.setText(r, 0, QStringLiteral("R%1").arg(r));
        view.resize(400, 300);
        view.show();
        view.refresh();
    }
};
}  // namespace

TEST(GridView, FixedCellsStayInViewWhenScrolled) {
    Shown s;
    s.model.setBack(0, 3, GridColor::rgb(0x00FFFF));  // a caption cell of its own colour
    s.model.setBack(5, 0, GridColor::rgb(0xFF00FF));
    ASSERT_GT(s.view.verticalScrollBar()->maximum(), 0);
    ASSERT_GT(s.view.horizontalScrollBar()->maximum(), 0);
    const QRect caption = s.view.cellRect(0, 3);
    s.view.verticalScrollBar()->setValue(s.view.verticalScrollBar()->maximum());
    EXPECT_EQ(s.view.cellRect(0, 3), caption);  // row 0 stays at the top
    EXPECT_EQ(s.view.cellRect(5, 0).x(), 0);
    EXPECT_LT(s.view.cellRect(5, 1).y(), 0);  // normal rows moved up
    EXPECT_EQ(picture(s.view).pixelColor(caption.center()), QColor(0, 255, 255));
    s.view.horizontalScrollBar()->setValue(s.view.horizontalScrollBar()->maximum());
    s.view.verticalScrollBar()->setValue(0);
    const QRect label = s.view.cellRect(5, 0);
    EXPECT_EQ(label.x(), 0);
    EXPECT_EQ(picture(s.view).pixelColor(label.center()), QColor(255, 0, 255));
    EXPECT_EQ(s.view.cellAt(QPoint(2, 2)), std::make_pair(0, 0));
}

TEST(GridView, ACellColourShowsAlsoOnTheCurrentCell) {
    Shown s;
    s.model.setBack(2, 2, GridColor::rgb(0xFF0000));
    s.model.setBack(3, 2, GridColor::rgb(0x00FF00));
    s.model.setCurrent(2, 2);
    const QImage img = picture(s.view);
    EXPECT_EQ(img.pixelColor(s.view.cellRect(2, 2).center()), QColor(255, 0, 0));
    EXPECT_EQ(img.pixelColor(s.view.cellRect(3, 2).center()), QColor(0, 255, 0));
    // The standard colour is the window's, not white by force.
    EXPECT_EQ(img.pixelColor(s.view.cellRect(4, 4).center()), s.view.palette().color(QPalette::Base));
}

TEST(GridView, LongTextsAreClippedNotElidedOrWrapped) {
    GridModel m(2, 3, 1, 1);
    GridView view(nullptr, &m);
    view.resize(500, 200);
    view.show();
    m.setColWidth(1, 900);
    m.setText(1, 1, QString(60, QLatin1Char('|')));
    m.setFore(1, 1, GridColor::rgb(0x000000));
    m.setBack(1, 1, GridColor::rgb(0xFFFFFF));
    m.setBack(1, 2, GridColor::rgb(0xFFFFFF));
    const QImage img = picture(view);
    const QRect cell = view.cellRect(1, 1);
    auto darkColumn = [&](int x) {
        int dark = 0;
        for (int y = cell.top() + 2; y < cell.bottom() - 2; ++y) dark += img.pixelColor(x, y).lightness() < 128;
        return dark;
    };
    // Bars reach the cell's right edge: no ellipsis ends the text early.
    int lastBar = -1;
    for (int x = cell.left(); x < cell.right(); ++x)
        if (darkColumn(x) >= cell.height() / 3) lastBar = x;
    EXPECT_GE(lastBar, cell.right() - 6);
    // Nothing spills into the next cell, and nothing wraps into a second line.
    const QRect next = view.cellRect(1, 2);
    for (int x = next.left() + 1; x < next.right() - 1; ++x)
        EXPECT_GT(img.pixelColor(x, next.center().y()).lightness(), 200) << x;
    EXPECT_EQ(m.text(1, 1).size(), 60);
}

TEST(GridView, CaptionsWrapWithinTheirCellsHeight) {
    // A caption row two lines tall over a row label one line tall and a
    // normal cell two lines tall.
    GridModel m(3, 2, 1, 1);
    GridView view(nullptr, &m);
    view.resize(500, 200);
    view.show();
    const QString caption = QString::fromUtf8("前走からの上がり速度の差");
    const int twoLines = 2 * 255 + 60;
    for (int c = 0; c < 2; ++c) m.setColWidth(c, 1100);
    m.setRowHeight(0, twoLines);
    m.setRowHeight(2, twoLines);
    auto put = [&](int r, int c, const QString& text) {
        m.setText(r, c, text);
        m.setFore(r, c, GridColor::rgb(0x000000));
        m.setBack(r, c, GridColor::rgb(0xFFFFFF));
    };
    put(0, 0, caption);
    put(1, 0, QStringLiteral("6  11"));
    put(2, 1, caption);
    const QImage img = picture(view);
    // The rows of pixels between the first and the last dark one in a cell.
    auto inkHeight = [&](int row, int col) {
        const QRect cell = view.cellRect(row, col);
        int first = -1, last = -1;
        for (int y = cell.top() + 1; y < cell.bottom(); ++y)
            for (int x = cell.left() + 1; x < cell.right() - 1; ++x)
                if (img.pixelColor(x, y).lightness() < 128) {
                    if (first < 0) first = y;
                    last = y;
                }
        return first < 0 ? 0 : last - first + 1;
    };
    // The normal cell's one line against the caption's two.
    const int oneLine = inkHeight(2, 1);
    EXPECT_GT(oneLine, 0);
    EXPECT_GT(inkHeight(0, 0), oneLine + oneLine / 4) << "the caption goes on in a second line";
    // A label in a cell of one line stays one line, not two halves.
    EXPECT_GT(inkHeight(1, 0), 0);
    EXPECT_LE(inkHeight(1, 0), view.fontMetrics().height());
}

TEST(GridView, ClicksOnNormalAndFixedCells) {
    Shown s;
    QList<std::pair<int, int>> clicks;
    QObject::connect(&s.view, &GridView::cellClicked, [&](int r, int c) { clicks.append({r, c}); });
    click(s.view.viewport(), s.view.cellRect(3, 2).center());
    EXPECT_EQ(s.model.row(), 3);
    EXPECT_EQ(s.model.col(), 2);
    click(s.view.viewport(), s.view.cellRect(0, 4).center());  // a caption
    click(s.view.viewport(), s.view.cellRect(6, 0).center());  // a row label
    EXPECT_EQ(s.model.row(), 3);
    EXPECT_EQ(s.model.col(), 2);
    EXPECT_EQ(clicks, (QList<std::pair<int, int>>{{3, 2}, {0, 4}, {6, 0}}));
    // The driver's press does the same; outside the grid it does nothing.
    EXPECT_TRUE(s.view.pressCell(59, 11));
    EXPECT_EQ(s.model.row(), 59);
    EXPECT_TRUE(s.view.cellRect(59, 11).intersects(s.view.viewport()->rect()));
    EXPECT_FALSE(s.view.pressCell(60, 0));
    EXPECT_FALSE(s.view.pressCell(0, -1));
    EXPECT_EQ(clicks.size(), 4);
}

TEST(GridView, TwipsBecomePixelsAtTheScreensResolution) {
    GridModel m(3, 3, 1, 1);
    m.setColWidth(1, 1440);
    m.setRowHeight(1, 720);
    GridView view(nullptr, &m);
    view.refresh();
    EXPECT_EQ(view.cellRect(1, 1).width(), view.logicalDpiX());
    EXPECT_EQ(view.cellRect(1, 1).height(), view.logicalDpiY() / 2);
}

TEST(GridView, ThousandsOfCellsRefillAndPrint) {
    GridModel m(817, 8, 1, 1);
    GridView view(nullptr, &m);
    view.resize(600, 400);
    view.show();
    for (int r = 1; r < 817; ++r)
        for (int c = 1; c < 8; ++c) m.setText(r, c, QStringLiteral("%1-%2").arg(r).arg(c));
    m.setBack(816, 7, GridColor::rgb(0xFF00FF));
    view.pressCell(816, 7);
    EXPECT_FALSE(picture(view).isNull());
    const QStringList lines = describeControl(&view, QStringLiteral("W.G"));
    ASSERT_EQ(lines.size(), 816 * 7);
    EXPECT_EQ(lines.first(), QStringLiteral("W.G(1,1): 1-1"));
    EXPECT_EQ(lines.last(), QStringLiteral("W.G(816,7): 816-7\t#FF00FF"));
}

TEST(TabControl, TabsInRowsAndAPageToTheFront) {
    TabControl tabs(nullptr, 3);
    QList<int> changes;
    QObject::connect(&tabs, &TabControl::currentChanged, [&](int i) { changes.append(i); });
    for (const char* caption : {"因子", "残差", "馬連･馬単", "3連複"}) tabs.addPage(QString::fromUtf8(caption));
    EXPECT_EQ(tabs.count(), 4);
    EXPECT_EQ(tabs.currentIndex(), 0);
    EXPECT_TRUE(tabs.setCurrentIndex(3));
    EXPECT_FALSE(tabs.setCurrentIndex(4));
    EXPECT_EQ(tabs.currentIndex(), 3);
    EXPECT_EQ(changes, QList<int>{3});
    EXPECT_EQ(describeControl(&tabs, QStringLiteral("W.SSTab1")),
              (QStringList{"W.SSTab1(1): 因子", "W.SSTab1(2): 残差", "W.SSTab1(3): 馬連･馬単", "W.SSTab1(4): 3連複",
                           "W.SSTab1: front 4"}));
}

TEST(ListClick, EveryClickRunsTheHandlerAlsoOnTheSelectedItem) {
    QListWidget list;
    list.addItems({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    list.resize(200, 200);
    list.show();
    QList<int> runs;
    connectListClick(&list, [&] { runs.append(list.currentRow()); });
    click(list.viewport(), list.visualItemRect(list.item(1)).center());
    click(list.viewport(), list.visualItemRect(list.item(1)).center());  // again on the selected item
    click(list.viewport(), list.visualItemRect(list.item(2)).center());
    EXPECT_EQ(runs, (QList<int>{1, 1, 2}));
    QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier),
        upRelease(QEvent::KeyRelease, Qt::Key_Up, Qt::NoModifier);
    QApplication::sendEvent(&list, &up);  // keys move the selection
    QApplication::sendEvent(&list, &upRelease);
    EXPECT_EQ(runs, (QList<int>{1, 1, 2, 1}));
    list.setCurrentRow(0);  // the list's own move (as at focus-in) is no Click
    EXPECT_EQ(runs, (QList<int>{1, 1, 2, 1}));
    EXPECT_TRUE(pressListItem(&list, 0));
    EXPECT_TRUE(pressListItem(&list, 2));
    EXPECT_FALSE(pressListItem(&list, 3));
    EXPECT_EQ(runs, (QList<int>{1, 1, 2, 1, 0, 2}));
}

TEST(GlyphCheck, FindsTheMissingGlyphBox) {
    const QFont font = QApplication::font();
    EXPECT_FALSE(drawsMissingGlyph(font, QStringLiteral("abc 123")));
    EXPECT_FALSE(drawsMissingGlyph(font, QString()));
    // A private-use character no font here draws.
    EXPECT_TRUE(drawsMissingGlyph(font, QStringLiteral("a\uE000b")));
}
