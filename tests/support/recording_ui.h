#pragma once
// A UiPort that keeps everything in memory: the texts and colours last set,
// every message box in order (each answered OK at once), how often events
// were processed. Test equipment: the tests and the benchmarks use it.
#include "common/ui_port.h"

#include <QHash>
#include <QStringList>
#include <functional>

namespace rw {

class RecordingUi : public UiPort {
public:
    void setText(const QString& control, const QString& text) override;
    QString text(const QString& control) const override { return texts.value(control); }
    void setBackColor(const QString& control, std::uint32_t rgb) override { colors[control] = rgb; }
    void messageBox(const QString& text) override;
    void setProgress(const QString& control, int value, int maximum) override;
    void processEvents() override;
    // Ticks the dialog until it closes. onModalTick, when set, is asked
    // before every tick and returns true to press the dialog's cancel
    // button. A dialog still open after maxModalTicks is cancelled, as a
    // user would give up waiting.
    void runModal(TimedDialog& dialog, const QString& owner) override;

    QHash<QString, QString> texts;
    QHash<QString, std::uint32_t> colors;
    QHash<QString, std::pair<int, int>> progress;
    QStringList messages;
    QStringList textLog;  // "control: text" for every write, in order
    int eventTurns = 0;
    // Called at every message box and every turn of events (tests use them
    // to act "meanwhile", as a user would).
    std::function<void(const QString&)> onMessage;
    std::function<void()> onEvents;
    std::function<bool(TimedDialog&, int tick)> onModalTick;
    int maxModalTicks = 100000;
    QStringList modalLog;  // "window over owner" per dialog shown
};

}  // namespace rw
