#include "gui/factor_viewer_window.h"

#include "common/skip.h"
#include "gui/controls.h"
#include "gui/screen_fit.h"
#include "gui/controls/chart_view.h"
#include "gui/controls/grid_view.h"
#include "gui/controls/tab_control.h"
#include "gui/gui_ui.h"
#include "reference/factor_viewer_design.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace rw::gui {

namespace {

using reference::FactorViewerDesign;
using reference::ItemTab;
using reference::ViewerDesign;

// An explanation box: read-only, its text wrapped over as many lines as it
// needs. Empty until the load puts a text in.
QPlainTextEdit* explanationBox(QWidget* parent, const QString& name) {
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    box->setMaximumHeight(90);
    return box;
}

}  // namespace

FactorViewerWindow::FactorViewerWindow(model::Surface s) : models_(s) {
    const ViewerDesign& d = FactorViewerDesign(s);
    setUpWindow(this, qPrintable(d.window), d.caption);
    auto* layout = new QVBoxLayout(this);

    auto grid = [&](GridModel& model, const QString& name, QWidget* parent) {
        auto* view = new GridView(parent, &model);
        view->setObjectName(name);
        return view;
    };
    auto* legend = grid(models_.legend, d.legendGrid, this);
    legend->setMaximumHeight(static_cast<QWidget*>(legend)->sizeHint().height());
    layout->addWidget(legend);

    auto* tabs = new TabControl(this, reference::kOuterTabsPerRow);
    tabs->setObjectName(d.outerTabs);
    tabs->setTabHeight(reference::kTabHeightTwips);
    layout->addWidget(tabs, 1);
    for (int k = 1; k <= model::kItemCount; ++k) {
        const ItemTab& item = d.items[size_t(k)];
        QWidget* page = tabs->addPage(item.caption);
        if (k != 12) {
            auto* v = new QVBoxLayout(page);
            v->addWidget(grid(models_.items[size_t(k)], item.grid, page), 1);
            if (!item.textBox.isEmpty()) v->addWidget(explanationBox(page, item.textBox));
            continue;
        }
        // Tab F12: the inner tabs with the charts and the grid; the text box
        // beside them (jump: beside the grid on the third inner tab).
        auto* h = new QHBoxLayout(page);
        auto* inner = new TabControl(page, 0);
        inner->setObjectName(d.innerTabs);
        inner->setTabHeight(reference::kTabHeightTwips);
        h->addWidget(inner, 1);
        QWidget* male = inner->addPage(d.innerCaptions[0]);
        (new QVBoxLayout(male))->addWidget(new ChartView(models_.maleChart, d.maleChart, male));
        QWidget* female = inner->addPage(d.innerCaptions[1]);
        (new QVBoxLayout(female))->addWidget(new ChartView(models_.femaleChart, d.femaleChart, female));
        QWidget* third = inner->addPage(d.innerCaptions[2]);
        auto* t = new QHBoxLayout(third);
        t->addWidget(grid(models_.items[size_t(k)], item.grid, third), 1);
        QWidget* boxParent = d.item12TextOnInnerTab ? third : page;
        auto* box = explanationBox(boxParent, item.textBox);
        box->setMaximumHeight(QWIDGETSIZE_MAX);
        box->setFixedWidth(220);
        (d.item12TextOnInnerTab ? static_cast<QBoxLayout*>(t) : h)->addWidget(box);
        inner->setCurrentIndex(reference::kInnerTabInFront);
    }
    tabs->setCurrentIndex(reference::kOuterTabInFront);
    fitToScreen(this, {1100, 760});
}

FactorViewerWindow::~FactorViewerWindow() = default;

void FactorViewerWindow::Form_Load() {
    SkipLog log(FactorViewerDesign(models_.surface).window.toStdString());
    reference::LoadFactorViewer(models_.surface, Ui(), models_, log);
    log.report(Ui());
    GridView::refreshAll(this);
}

}  // namespace rw::gui
