#pragma once
// The model-weight viewer of the dirt model: a single instance, loaded
// before it is shown, only raised while open, loaded afresh after it was
// closed (factor_viewer_window.h).
#include "gui/factor_viewer_window.h"

namespace rw::gui {

class FactorDIRT : public FactorViewerWindow {
    Q_OBJECT
public:
    FactorDIRT() : FactorViewerWindow(model::Surface::Dirt) {}

    // Shows the one instance, creating and loading it when none is open.
    static FactorDIRT* open();
};

}  // namespace rw::gui
