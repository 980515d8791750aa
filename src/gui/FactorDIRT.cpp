#include "gui/FactorDIRT.h"

#include "gui/single_instance.h"

namespace rw::gui {

namespace {
QPointer<FactorDIRT> theWindow;
}

FactorDIRT* FactorDIRT::open() {
    return showSingleInstance(theWindow, [](FactorDIRT& w) { w.Form_Load(); });
}

}  // namespace rw::gui
