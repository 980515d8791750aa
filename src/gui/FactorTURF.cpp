#include "gui/FactorTURF.h"

#include "gui/single_instance.h"

namespace rw::gui {

namespace {
QPointer<FactorTURF> theWindow;
}

FactorTURF* FactorTURF::open() {
    return showSingleInstance(theWindow, [](FactorTURF& w) { w.Form_Load(); });
}

}  // namespace rw::gui
