#pragma once
// The screen side of the UiPort: controls are found by "WINDOW.CONTROL"
// (window object name, then child object name; the newest window of a name
// wins). In auto-answer mode (the window-less driver) every message box is
// answered OK at once and printed as "MsgBox: <text>".
#include "gui/repaint_throttle.h"
#include "gui/widget_ui.h"

#include <QElapsedTimer>
#include <QList>
#include <QPointer>
#include <QWidget>
#include <functional>

namespace rw::gui {

// The work turns the event loop once per record; a turn costs a look at the
// window system, more than a record's work. Turns closer together than this
// are let go: presses and repaints still wait no longer than this.
inline constexpr int kEventTurnIntervalMs = 5;

class GuiUi : public WidgetUi {
public:
    void messageBox(const QString& text) override;
    void processEvents() override;
    void runModal(TimedDialog& dialog, const QString& owner) override;

    // Every window of the system registers itself when created.
    void registerWindow(QWidget* window);
    QWidget* findWindow(const QString& name) const;
    QWidget* findControl(const QString& control) const override;

    bool autoAnswer = false;
    // The least time between two event turns (kEventTurnIntervalMs unless set).
    void setEventTurnInterval(int ms) { turnIntervalMs_ = ms; }
    // Status controls of every window repaint through it.
    RepaintThrottle& repaints() override { return repaints_; }

private:
    RepaintThrottle repaints_;
    QElapsedTimer lastTurn_;
    int turnIntervalMs_ = kEventTurnIntervalMs;
    QList<QPointer<QWidget>> windows_;
};

// The program's one screen port.
GuiUi& Ui();

// Ends the program at once (the menu's picture, ③ without the package),
// after calling the handler if one is set (the driver prints its summary).
[[noreturn]] void EndProgram();
void SetEndProgramHandler(std::function<void()> handler);

}  // namespace rw::gui
