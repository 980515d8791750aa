#include "gui/KOUZOUTAIZ.h"

#include "gui/controls.h"
#include "gui/gui_ui.h"
#include "jvdata/structure.h"

#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace rw::gui {

KOUZOUTAIZ::KOUZOUTAIZ() {
    setUpWindow(this, "KOUZOUTAIZ", QString::fromUtf8("Ver.2024.6.29Z　構造体"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    addTextBox(this, layout, "Text1", "");
    auto* command1 = addButton(this, layout, "Command1", "構造体処理終了");
    resize(520, 110);
    connect(command1, &QPushButton::clicked, this, &QWidget::close);
}

bool KOUZOUTAIZ::Form_Load() {
    SkipLog log("structure processing");
    const bool ran = jv::RunStructureProcessing(Ui(), log);
    log.report(Ui());
    return ran;
}

KOUZOUTAIZ* KOUZOUTAIZ::open() {
    auto* w = new KOUZOUTAIZ;
    if (!w->Form_Load()) {
        delete w;
        return nullptr;
    }
    w->show();
    return w;
}

}  // namespace rw::gui
