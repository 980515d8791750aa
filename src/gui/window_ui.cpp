#include "gui/window_ui.h"

#include "gui/gui_ui.h"

namespace rw::gui {

QWidget* WindowUi::own(const QString& control) const {
    if (!window_) return nullptr;
    const QString prefix = window_->objectName() + QLatin1Char('.');
    if (!control.startsWith(prefix)) return nullptr;
    return window_->findChild<QWidget*>(control.mid(prefix.size()));
}

QWidget* WindowUi::findControl(const QString& control) const {
    if (QWidget* w = own(control)) return w;
    return Ui().findControl(control);
}

RepaintThrottle& WindowUi::repaints() { return Ui().repaints(); }

void WindowUi::messageBox(const QString& text) { Ui().messageBox(text); }
void WindowUi::processEvents() { Ui().processEvents(); }
void WindowUi::runModal(TimedDialog& dialog, const QString& owner) { Ui().runModal(dialog, owner); }

}  // namespace rw::gui
