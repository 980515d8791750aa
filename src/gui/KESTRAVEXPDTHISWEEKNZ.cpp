#include "gui/KESTRAVEXPDTHISWEEKNZ.h"

#include "gui/controls.h"
#include "model/compute_button.h"
#include "model/expanded_window.h"
#include "model/previous_day_fix.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace rw::gui {

namespace {
QProgressBar* addBar(QWidget* window, QLayout* layout, const char* name) {
    auto* bar = new QProgressBar(window);
    bar->setObjectName(QLatin1String(name));
    bar->setRange(0, 100);
    bar->setValue(0);
    layout->addWidget(bar);
    return bar;
}
QLabel* addLabel(QWidget* window, QLayout* layout, const char* name, const char* caption) {
    auto* label = new QLabel(QString::fromUtf8(caption), window);
    label->setObjectName(QLatin1String(name));
    label->setWordWrap(true);
    layout->addWidget(label);
    return label;
}
}  // namespace

QString KESTRAVEXPDTHISWEEKNZ::title() { return QString::fromUtf8("拡大構造体展開　Ver.2024.6.29Z"); }

KESTRAVEXPDTHISWEEKNZ::KESTRAVEXPDTHISWEEKNZ() {
    setUpWindow(this, "KESTRAVEXPDTHISWEEKNZ", title());
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    addLabel(this, layout, "Label2", "天候･馬場状態並びに馬体重が不明な場合、晴・良・前走馬体重、初440KGに設定");
    auto* command3 = addButton(this, layout, "Command3", "④　　　　　　　前日固定");
    addBar(this, layout, "ProgressBar1");
    addTextBox(this, layout, "Text1");
    addLabel(this, layout, "Label4", "拡大構造体にレース・騎手・繁殖馬・過去走の上がり･ペース･走破速度を組み込む");
    auto* command1 = addButton(this, layout, "Command1", "⑤　計算(約１0分）");
    addBar(this, layout, "ProgressBar3");
    addBar(this, layout, "ProgressBar4");
    addTextBox(this, layout, "Text3");
    addTextBox(this, layout, "Text2");
    addLabel(this, layout, "Label1", "");
    auto* command2 = addButton(this, layout, "Command2", "拡大構造体処理終了");
    resize(520, 420);
    connect(command3, &QPushButton::clicked, this, &KESTRAVEXPDTHISWEEKNZ::Command3_Click);
    connect(command1, &QPushButton::clicked, this, &KESTRAVEXPDTHISWEEKNZ::Command1_Click);
    connect(command2, &QPushButton::clicked, this, &KESTRAVEXPDTHISWEEKNZ::Command2_Click);
}

void KESTRAVEXPDTHISWEEKNZ::Form_Load() {
    SkipLog log("expanded-records window");
    model::LoadExpandedWindow(State, log);
    log.report(ui_);
}

KESTRAVEXPDTHISWEEKNZ* KESTRAVEXPDTHISWEEKNZ::open() {
    auto* w = new KESTRAVEXPDTHISWEEKNZ;
    w->Form_Load();
    w->show();
    return w;
}

void KESTRAVEXPDTHISWEEKNZ::Command3_Click() { model::RunPreviousDayFix(ui_, State); }

void KESTRAVEXPDTHISWEEKNZ::Command1_Click() {
    SkipLog log("compute");
    model::RunComputeButton(ui_, State, log);
    log.report(ui_);
    if (closeWhenDone_) close();
}

void KESTRAVEXPDTHISWEEKNZ::Command2_Click() { close(); }

// ⑤ lets events through: a close asked for meanwhile waits until the press
// has ended, so nothing the press uses is destroyed under it.
void KESTRAVEXPDTHISWEEKNZ::closeEvent(QCloseEvent* event) {
    if (State.PressRunning) {
        closeWhenDone_ = true;
        event->ignore();
        return;
    }
    event->accept();
}

}  // namespace rw::gui
