#pragma once
// The model-weight viewer of the turf model: a single instance, loaded
// before it is shown, only raised while open, loaded afresh after it was
// closed (factor_viewer_window.h).
#include "gui/factor_viewer_window.h"

namespace rw::gui {

class FactorTURF : public FactorViewerWindow {
    Q_OBJECT
public:
    FactorTURF() : FactorViewerWindow(model::Surface::Turf) {}

    // Shows the one instance, creating and loading it when none is open.
    static FactorTURF* open();
};

}  // namespace rw::gui
