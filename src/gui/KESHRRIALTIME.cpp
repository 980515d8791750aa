#include "gui/KESHRRIALTIME.h"

#include "gui/controls.h"
#include "gui/gui_ui.h"
#include "gui/single_instance.h"
#include "prediction/flash_results.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace rw::gui {
namespace {
QPointer<KESHRRIALTIME> theWindow;
}

KESHRRIALTIME::KESHRRIALTIME() {
    setUpWindow(this, "KESHRRIALTIME", QStringLiteral("2024.6.29Z"));
    JVLink1 = jv::createJvLink();
    auto* layout = new QVBoxLayout(this);
    auto* label1 = new QLabel(QString::fromUtf8("速報払戻・単勝･着順取得"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    layout->addWidget(label1);
    auto* command1 = addButton(this, layout, "Command1", "速報払戻単勝着順所得完了");
    resize(320, 100);
    connect(command1, &QPushButton::clicked, this, &QWidget::close);
}

void KESHRRIALTIME::Form_Load() {
    SkipLog log("flash results");
    prediction::LoadFlashResults(Ui(), *JVLink1, log);
    log.report(Ui());
}

KESHRRIALTIME* KESHRRIALTIME::open() {
    return showSingleInstance(theWindow, [](KESHRRIALTIME& w) { w.Form_Load(); });
}

KESHRRIALTIME* KESHRRIALTIME::instance() { return theWindow; }

}  // namespace rw::gui
