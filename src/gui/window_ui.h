#pragma once
// The screen port of a window of which several may be open at once (a new
// one at every press): the addresses of its own name reach its own
// controls, every other address goes to the program's port. So a press in
// an older window never writes into a newer one of the same name.
#include "gui/widget_ui.h"

#include <QPointer>
#include <QWidget>

namespace rw::gui {

class WindowUi : public WidgetUi {
public:
    explicit WindowUi(QWidget* window) : window_(window) {}

    void messageBox(const QString& text) override;
    void processEvents() override;
    void runModal(TimedDialog& dialog, const QString& owner) override;

    // The window's own control for an address of its name, else what the
    // program's port finds.
    QWidget* findControl(const QString& control) const override;
    // The program's: one throttle for every status control on the screen.
    RepaintThrottle& repaints() override;

private:
    // The window's own control for an address of its name, else nullptr.
    QWidget* own(const QString& control) const;
    QPointer<QWidget> window_;
};

}  // namespace rw::gui
