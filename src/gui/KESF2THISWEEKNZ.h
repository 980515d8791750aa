#pragma once
// The download progress dialog: modal over its owner, ticks every 10 ms.
#include "common/ui_port.h"

#include <QDialog>
#include <QTimer>

namespace rw::gui {

class KESF2THISWEEKNZ : public QDialog {
    Q_OBJECT
public:
    KESF2THISWEEKNZ(TimedDialog& logic, QWidget* owner);
    int exec() override;
    // Esc and the close box cancel, as the cancel button does.
    void reject() override;

    static QString title();

private:
    void onTick();
    TimedDialog& logic_;
    QTimer Timer1;
};

}  // namespace rw::gui
