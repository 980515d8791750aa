#pragma once
// Status controls (progress bars, status boxes) take every value the system
// sets at once, so that reading one back gives the last value; the screen
// shows them at most every kRepaintIntervalMs. A change within the interval
// holds the control's repaint back until the interval has passed; the held
// controls are then shown with their last values, when the event loop next
// runs. A progress bar would otherwise repaint itself synchronously at each
// value, which costs more than the work it reports.
#include <QElapsedTimer>
#include <QList>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace rw::gui {

inline constexpr int kRepaintIntervalMs = 50;

class RepaintThrottle {
public:
    RepaintThrottle();
    // Applies `set` to `control` now; its repaint waits for the interval.
    void change(QWidget* control, const std::function<void()>& set);
    // Shows every held control now.
    void flush();
    bool holding() const { return !held_.isEmpty(); }

private:
    QElapsedTimer shown_;  // since the last repaint let through
    QTimer timer_;
    QList<QPointer<QWidget>> held_;
};

}  // namespace rw::gui
