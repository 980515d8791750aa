#pragma once
// Cancellation processing: a new window after every structure processing run
// with the menu's Option1 chosen; all the work runs in its load, and the
// window is shown when it has finished.
#include "jvdata/jvlink.h"

#include <QWidget>
#include <memory>

namespace rw::gui {

class CHUSIRIALTIME : public QWidget {
    Q_OBJECT
public:
    CHUSIRIALTIME();
    void Form_Load();

    std::unique_ptr<jv::JvLink> JVLink1;

    // Creates, loads and shows a new window.
    static CHUSIRIALTIME* open();

private:
    void Command1_Click();
};

}  // namespace rw::gui
