#include "gui/screen_fit.h"

#include <QApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>

namespace rw::gui {
namespace {

// The frame a window manager puts around a window, as measured on a window
// that shows now; none when no window shows yet.
QMargins knownFrame(const QWidget* except) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w == except || !w->isVisible() || w->isMinimized()) continue;
        const QRect f = w->frameGeometry(), g = w->geometry();
        if (f != g) return {g.left() - f.left(), g.top() - f.top(), f.right() - g.right(), f.bottom() - g.bottom()};
    }
    return {};
}

void moveContentIntoScrollArea(QWidget* window, QSize designed) {
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("content"));
    if (QLayout* layout = window->layout()) {
        content->setLayout(layout);  // takes the layout and its controls over
    } else {
        for (QWidget* child : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (!child->isWindow()) child->setParent(content);
        content->setMinimumSize(designed);
    }
    auto* area = new QScrollArea(window);
    area->setObjectName(QStringLiteral("scrollArea"));
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setWidget(content);
    auto* outer = new QVBoxLayout(window);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(area);
}

}  // namespace

void fitToScreen(QWidget* window, QSize designed) {
    moveContentIntoScrollArea(window, designed);
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen) {
        window->resize(designed);
        return;
    }
    const QRect area = screen->availableGeometry();
    const QMargins frame = knownFrame(window);
    const QSize room(area.width() - frame.left() - frame.right(), area.height() - frame.top() - frame.bottom());
    if (designed.width() <= room.width() && designed.height() <= room.height()) {
        window->resize(designed);
        return;
    }
    window->resize(std::min(designed.width(), std::max(1, room.width())),
                   std::min(designed.height(), std::max(1, room.height())));
    // The position of a window is that of its frame: the title bar at the
    // area's top edge.
    window->move(area.topLeft());
}

}  // namespace rw::gui
