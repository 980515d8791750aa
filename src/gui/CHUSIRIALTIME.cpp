#include "gui/CHUSIRIALTIME.h"

#include "gui/controls.h"
#include "gui/gui_ui.h"
#include "jvdata/cancellation.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace rw::gui {

CHUSIRIALTIME::CHUSIRIALTIME() {
    setUpWindow(this, "CHUSIRIALTIME", QString::fromUtf8("中止処理 Ver.2024.6.29Z"));
    setAttribute(Qt::WA_DeleteOnClose);
    JVLink1 = jv::createJvLink();
    auto* layout = new QVBoxLayout(this);
    addTextBox(this, layout, "Text1", "");
    auto* command1 = addButton(this, layout, "Command1", "触れないで");
    resize(620, 110);
    connect(command1, &QPushButton::clicked, this, &CHUSIRIALTIME::Command1_Click);
}

void CHUSIRIALTIME::Form_Load() {
    SkipLog log("cancellation processing");
    jv::LoadCancellations(Ui(), *JVLink1, log);
    log.report(Ui());
}

void CHUSIRIALTIME::Command1_Click() {
    if (jv::CancellationWindowMayClose()) close();
}

CHUSIRIALTIME* CHUSIRIALTIME::open() {
    auto* w = new CHUSIRIALTIME;
    w->Form_Load();
    w->show();
    return w;
}

}  // namespace rw::gui
