#include "gui/FactorHURD.h"

#include "gui/single_instance.h"

namespace rw::gui {

namespace {
QPointer<FactorHURD> theWindow;
}

FactorHURD* FactorHURD::open() {
    return showSingleInstance(theWindow, [](FactorHURD& w) { w.Form_Load(); });
}

}  // namespace rw::gui
