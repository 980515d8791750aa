#include "gui/YOSOKEKKATHISWEEKNZ.h"

#include "app/prediction_load.h"
#include "gui/controls.h"
#include "gui/gui_ui.h"

#include <QListWidget>
#include <QPointer>
#include <QVBoxLayout>

namespace rw::gui {
namespace {
QPointer<YOSOKEKKATHISWEEKNZ> lastWindow;
}

YOSOKEKKATHISWEEKNZ::YOSOKEKKATHISWEEKNZ() {
    setUpWindow(this, "YOSOKEKKATHISWEEKNZ", QStringLiteral("予想・結果"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    layout->addWidget(List1);
    resize(520, 600);
}

bool YOSOKEKKATHISWEEKNZ::Form_Load() {
    SkipLog log("prediction run");
    const bool ran = app::LoadPredictionWindow(Ui(), State, log);
    log.report();
    List1->clear();
    List1->addItems(State.List1);
    return ran;
}

YOSOKEKKATHISWEEKNZ* YOSOKEKKATHISWEEKNZ::open() {
    auto* w = new YOSOKEKKATHISWEEKNZ;
    if (!w->Form_Load()) {
        delete w;
        return nullptr;
    }
    lastWindow = w;
    w->show();
    return w;
}

YOSOKEKKATHISWEEKNZ* YOSOKEKKATHISWEEKNZ::latest() { return lastWindow; }

}  // namespace rw::gui
