// Status controls keep every value at once and are shown with the last one,
// however fast the values come; the screen is not repainted per value.
#include "gui/gui_ui.h"
#include "gui/window_ui.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QLineEdit>
#include <QProgressBar>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace rw::gui;

namespace {

// What a control showed at each of its paints.
class PaintLog : public QObject {
public:
    explicit PaintLog(std::function<QString()> shown) : shown_(std::move(shown)) {}
    QStringList painted;

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) painted << shown_();
        return false;
    }

private:
    std::function<QString()> shown_;
};

// The event loop turned until nothing is held back (at most a few seconds).
void settle() {
    QElapsedTimer t;
    t.start();
    while (Ui().repaints().holding() && t.elapsed() < 5000) QApplication::processEvents(QEventLoop::AllEvents, 20);
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

TEST(RepaintThrottle, EveryValueIsKeptAndTheLastIsShownWithoutARepaintPerValue) {
    QWidget window;
    window.setObjectName(QStringLiteral("ThrottledWindow"));
    auto* layout = new QVBoxLayout(&window);
    auto* bar = new QProgressBar(&window);
    bar->setObjectName(QStringLiteral("Bar"));
    auto* box = new QLineEdit(&window);
    box->setObjectName(QStringLiteral("Box"));
    auto* own = new QProgressBar(&window);
    own->setObjectName(QStringLiteral("OwnBar"));
    for (QWidget* w : {static_cast<QWidget*>(bar), static_cast<QWidget*>(box), static_cast<QWidget*>(own)})
        layout->addWidget(w);
    Ui().registerWindow(&window);
    window.show();
    settle();
    PaintLog barLog([&] { return QString::number(bar->value()); });
    PaintLog boxLog([&] { return box->text(); });
    PaintLog ownLog([&] { return QString::number(own->value()); });
    bar->installEventFilter(&barLog);
    box->installEventFilter(&boxLog);
    own->installEventFilter(&ownLog);

    WindowUi windowUi(&window);  // a window's own port goes the same way
    const int n = 2000;
    for (int i = 1; i <= n; ++i) {
        Ui().setProgress(QStringLiteral("ThrottledWindow.Bar"), i, n);
        Ui().setText(QStringLiteral("ThrottledWindow.Box"), QString::number(i));
        windowUi.setProgress(QStringLiteral("ThrottledWindow.OwnBar"), i, n);
        ASSERT_EQ(bar->value(), i);
        ASSERT_EQ(Ui().text(QStringLiteral("ThrottledWindow.Box")), QString::number(i));
        ASSERT_EQ(own->value(), i);
        if (i % 10 == 0) Ui().processEvents();  // as a long step lets pending events through
    }
    settle();
    ASSERT_FALSE(barLog.painted.isEmpty());
    ASSERT_FALSE(boxLog.painted.isEmpty());
    ASSERT_FALSE(ownLog.painted.isEmpty());
    EXPECT_EQ(barLog.painted.last(), QString::number(n));
    EXPECT_EQ(boxLog.painted.last(), QString::number(n));
    EXPECT_EQ(ownLog.painted.last(), QString::number(n));
    EXPECT_LT(barLog.painted.size(), n / 2);
    EXPECT_LT(boxLog.painted.size(), n / 2);
    EXPECT_TRUE(bar->updatesEnabled());
    EXPECT_TRUE(box->updatesEnabled());

    // A single value after a quiet spell is shown too.
    Ui().setProgress(QStringLiteral("ThrottledWindow.Bar"), 7, n);
    settle();
    EXPECT_EQ(barLog.painted.last(), QStringLiteral("7"));
}

}  // namespace

// The work asks for an event turn per record; turns within the interval of
// the last one are let go, so a click waits at most the interval.
TEST(EventTurns, TurnsCloserThanTheIntervalAreLetGo) {
    int delivered = 0;
    QObject target;
    Ui().setEventTurnInterval(60 * 60 * 1000);
    Ui().processEvents();  // a turn: the clock starts
    QMetaObject::invokeMethod(&target, [&] { ++delivered; }, Qt::QueuedConnection);
    Ui().processEvents();
    EXPECT_EQ(delivered, 0);
    Ui().setEventTurnInterval(0);
    Ui().processEvents();
    EXPECT_EQ(delivered, 1);
}
