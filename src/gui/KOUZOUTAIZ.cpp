#include "gui/KOUZOUTAIZ.h"

#include "gui/gui_ui.h"
#include "jvdata/structure.h"

#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace rw::gui {

KOUZOUTAIZ::KOUZOUTAIZ() {
    setObjectName(QStringLiteral("KOUZOUTAIZ"));
    setWindowTitle(QString::fromUtf8("Ver.2024.6.29Z　構造体"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    auto* text1 = new QLineEdit(this);
    text1->setObjectName(QStringLiteral("Text1"));
    auto* command1 = new QPushButton(QString::fromUtf8("構造体処理終了"), this);
    command1->setObjectName(QStringLiteral("Command1"));
    layout->addWidget(text1);
    layout->addWidget(command1);
    resize(520, 110);
    Ui().registerWindow(this);
    connect(command1, &QPushButton::clicked, this, &QWidget::close);
}

bool KOUZOUTAIZ::Form_Load() {
    SkipLog log("structure processing");
    const bool ran = jv::RunStructureProcessing(Ui(), log);
    log.report();
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
