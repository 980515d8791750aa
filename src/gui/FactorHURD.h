#pragma once
// The model-weight viewer of the jump model: a single instance, loaded
// before it is shown, only raised while open, loaded afresh after it was
// closed (factor_viewer_window.h).
#include "gui/factor_viewer_window.h"

namespace rw::gui {

class FactorHURD : public FactorViewerWindow {
    Q_OBJECT
public:
    FactorHURD() : FactorViewerWindow(model::Surface::Jump) {}

    // Shows the one instance, creating and loading it when none is open.
    static FactorHURD* open();
};

}  // namespace rw::gui
