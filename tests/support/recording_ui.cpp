#include "support/recording_ui.h"

namespace rw {

void RecordingUi::setText(const QString& control, const QString& t) {
    texts[control] = t;
    textLog.append(control + QStringLiteral(": ") + t);
}

void RecordingUi::messageBox(const QString& t) {
    messages.append(t);
    if (onMessage) onMessage(t);
}

void RecordingUi::setProgress(const QString& control, int value, int maximum) {
    progress[control] = {value, maximum};
}

void RecordingUi::processEvents() {
    ++eventTurns;
    if (onEvents) onEvents();
}

void RecordingUi::runModal(TimedDialog& dialog, const QString& owner) {
    modalLog.append(dialog.windowName() + QStringLiteral(" over ") + owner);
    dialog.load();
    for (int tick = 0; !dialog.isClosed(); ++tick) {
        if ((onModalTick && onModalTick(dialog, tick)) || tick >= maxModalTicks) {
            dialog.cancel();
            break;
        }
        dialog.tick();
    }
}

}  // namespace rw
