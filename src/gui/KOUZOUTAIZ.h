#pragma once
// ② structure processing: a new window at every press; all the work runs in
// its load, and the window is shown when it has finished.
#include <QWidget>

namespace rw::gui {

class KOUZOUTAIZ : public QWidget {
    Q_OBJECT
public:
    KOUZOUTAIZ();
    // Runs the processing; false when another one was still running (the
    // window is then not wanted).
    bool Form_Load();

    // Creates, loads and shows a new window; returns it, or nullptr.
    static KOUZOUTAIZ* open();
};

}  // namespace rw::gui
