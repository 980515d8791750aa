#pragma once
// The flash window: flash odds, the flash-results window and JV-Link's
// settings. Single instance, opened by the menu's "Ⅰ　速報情報(一括）"; it has
// no load of its own (AppPath is set at start-up).
#include "jvdata/jvlink.h"

#include <QWidget>
#include <memory>

namespace rw::gui {

class KESP2RIALTIME : public QWidget {
    Q_OBJECT
public:
    KESP2RIALTIME();

    std::unique_ptr<jv::JvLink> JVLink1;

    static KESP2RIALTIME* open();
    static KESP2RIALTIME* instance();
    static QString title();

private:
    void Command1_Click();
    void Command2_Click();
};

}  // namespace rw::gui
