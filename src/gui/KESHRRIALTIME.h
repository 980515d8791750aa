#pragma once
// The flash-results window: the flash results and win odds written into the
// runner files. Single instance, opened by the flash window's "Ⅲ　速報着順等情報";
// all its work runs in its load.
#include "jvdata/jvlink.h"

#include <QWidget>
#include <memory>

namespace rw::gui {

class KESHRRIALTIME : public QWidget {
    Q_OBJECT
public:
    KESHRRIALTIME();
    void Form_Load();

    std::unique_ptr<jv::JvLink> JVLink1;

    // Shows the one instance, loading it when new: while it stays open, a
    // further press fetches nothing.
    static KESHRRIALTIME* open();
    static KESHRRIALTIME* instance();
};

}  // namespace rw::gui
