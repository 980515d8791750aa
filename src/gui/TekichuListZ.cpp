#include "gui/TekichuListZ.h"

#include "common/skip.h"
#include "gui/controls.h"
#include "gui/screen_fit.h"
#include "gui/controls/grid_view.h"
#include "gui/gui_ui.h"
#include "gui/single_instance.h"
#include "reference/hit_list.h"

#include <QLabel>
#include <QPointer>
#include <QVBoxLayout>

namespace rw::gui {
namespace {
QPointer<TekichuListZ> theWindow;
}

TekichuListZ::TekichuListZ() : grid_(reference::NewHitGrid()) {
    setUpWindow(this, "TekichuListZ", QString::fromUtf8("万馬券的中リスト　Ver.2024.6.29Z"));
    auto* layout = new QVBoxLayout(this);
    tekichuFG = new GridView(this, &grid_);
    tekichuFG->setObjectName(QStringLiteral("tekichuFG"));
    layout->addWidget(tekichuFG);
    auto* label = new QLabel(reference::HitListLabel(), this);
    label->setObjectName(QStringLiteral("Label1"));
    label->setWordWrap(true);
    layout->addWidget(label);
    fitToScreen(this, {1400, 700});
}

void TekichuListZ::Form_Load() {
    SkipLog log("hit list");
    HitRowCount = reference::TekichuListLoad(Ui(), grid_, log);
    tekichuFG->refresh();
    log.report(Ui());
}

TekichuListZ* TekichuListZ::open() {
    return showSingleInstance(theWindow, [](TekichuListZ& w) { w.Form_Load(); });
}

TekichuListZ* TekichuListZ::instance() { return theWindow; }

}  // namespace rw::gui
