#include "gui/repaint_throttle.h"

#include <algorithm>

namespace rw::gui {

RepaintThrottle::RepaintThrottle() {
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, [this] { flush(); });
}

void RepaintThrottle::change(QWidget* control, const std::function<void()>& set) {
    const bool held = held_.contains(control);
    if (!held && (!shown_.isValid() || shown_.elapsed() >= kRepaintIntervalMs)) {
        shown_.start();
        set();
        return;
    }
    if (!held) {
        // A control whose repaints someone else holds back is left to them.
        if (!control->updatesEnabled()) return set();
        control->setUpdatesEnabled(false);
        held_.append(control);
    }
    set();
    if (!timer_.isActive()) timer_.start(int(std::max<qint64>(0, kRepaintIntervalMs - shown_.elapsed())));
}

void RepaintThrottle::flush() {
    timer_.stop();
    const QList<QPointer<QWidget>> held = std::exchange(held_, {});
    for (const QPointer<QWidget>& w : held)
        if (w) w->setUpdatesEnabled(true);  // schedules the repaint with the last value
    shown_.start();
}

}  // namespace rw::gui
