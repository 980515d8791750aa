#include "gui/KESF2THISWEEKNZ.h"

#include "gui/controls.h"
#include "gui/gui_ui.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace rw::gui {

KESF2THISWEEKNZ::KESF2THISWEEKNZ(TimedDialog& logic, QWidget* owner) : QDialog(owner), logic_(logic) {
    setObjectName(logic.windowName());
    setWindowTitle(title());
    Ui().registerWindow(this);
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* bar = new QProgressBar(this);
    bar->setObjectName(QStringLiteral("ProgressBar1"));
    auto* label = new QLabel(this);
    label->setObjectName(QStringLiteral("Label1"));
    layout->addWidget(bar);
    layout->addWidget(label);
    auto* cancel = addButton(this, layout, "Command1", "キャンセル");
    resize(360, 120);
    connect(cancel, &QPushButton::clicked, this, &KESF2THISWEEKNZ::reject);
    connect(&Timer1, &QTimer::timeout, this, &KESF2THISWEEKNZ::onTick);
}

QString KESF2THISWEEKNZ::title() { return QString::fromUtf8("KESF2THISWEEKN:ダウンロード 2024.6.29Z"); }

int KESF2THISWEEKNZ::exec() {
    logic_.load();
    if (logic_.isClosed()) return 0;
    Timer1.start(logic_.intervalMs());
    return QDialog::exec();
}

void KESF2THISWEEKNZ::reject() {
    logic_.cancel();
    if (logic_.isClosed()) accept();
}

void KESF2THISWEEKNZ::onTick() {
    // The logic may show a message box; the timer must not fire meanwhile.
    Timer1.stop();
    logic_.tick();
    if (logic_.isClosed()) {
        accept();
        return;
    }
    Timer1.start(logic_.intervalMs());
}

}  // namespace rw::gui
