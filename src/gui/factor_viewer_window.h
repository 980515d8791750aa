#pragma once
// The model-weight viewers FactorTURF, FactorDIRT and FactorHURD share one
// window, built from the surface's design (reference/factor_viewer_design.h):
// the legend grid above the tab control SSTab1 (30 tabs, five to a row),
// on each tab the item's grid and its explanation box, on tab F12 the inner
// tabs with the two age charts and the item-12 grid. All work is the load
// (reference/factor_viewer.h); the window then only shows, and reacts to no
// click but the tabs' own.
#include "model/package_files.h"
#include "reference/factor_viewer.h"

#include <QWidget>

namespace rw::gui {

class TabControl;

class FactorViewerWindow : public QWidget {
    Q_OBJECT
public:
    explicit FactorViewerWindow(model::Surface s);
    ~FactorViewerWindow() override;

    // Reads the model files and fills every control; before the window is
    // shown.
    void Form_Load();

    const reference::FactorViewerModels& models() const { return models_; }

private:
    reference::FactorViewerModels models_;
};

}  // namespace rw::gui
