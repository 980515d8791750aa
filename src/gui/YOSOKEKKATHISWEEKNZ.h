#pragma once
// ⑥ the prediction window: a new window at every press; its load is the
// prediction run, after which it stays open with the week's races in List1
// and the run's state for the race viewer.
#include "prediction/run_state.h"

#include <QWidget>

class QListWidget;

namespace rw::gui {

class YOSOKEKKATHISWEEKNZ : public QWidget {
    Q_OBJECT
public:
    YOSOKEKKATHISWEEKNZ();
    // Runs the prediction; false when the weekly store was busy (the window
    // is then not wanted).
    bool Form_Load();

    // The run's state, read by the race viewer.
    prediction::RunState State;
    QListWidget* List1 = nullptr;

    // Creates, loads and shows a new window; returns it, or nullptr.
    static YOSOKEKKATHISWEEKNZ* open();
    // The window opened last, while it is open.
    static YOSOKEKKATHISWEEKNZ* latest();
};

}  // namespace rw::gui
