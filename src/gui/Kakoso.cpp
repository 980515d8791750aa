#include "gui/Kakoso.h"

#include "common/kestrav_path.h"
#include "common/skip.h"
#include "gui/gui_ui.h"
#include "gui/controls.h"
#include "gui/screen_fit.h"
#include "gui/controls/grid_view.h"
#include "gui/single_instance.h"
#include "viewer/past_run_view.h"

#include <QPushButton>

namespace rw::gui {
namespace {
QPointer<Kakoso> theWindow;

// Twips to pixels at the window's resolution.
int px(const QWidget* w, int twips, bool vertical = false) {
    const int dpi = vertical ? w->logicalDpiY() : w->logicalDpiX();
    return (twips * dpi + 720) / 1440;
}
}  // namespace

Kakoso::Kakoso() : EXFG1Grid(viewer::DesignPastRunGrid()) {
    setUpWindow(this, "Kakoso", QStringLiteral("全過去走詳細  Ver.2024.6.29Z"));
    Command1 = new QPushButton(
        QStringLiteral("別の競走馬の全過去走を表示させたい場合、一旦終了（ここをクリック）させて下さい。"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(px(this, 480), px(this, 120, true), px(this, 13335), px(this, 375, true));
    EXFG1 = new GridView(this, &EXFG1Grid);
    EXFG1->setObjectName(QStringLiteral("EXFG1"));
    EXFG1->setGeometry(px(this, 480), px(this, 600, true), px(this, 13335), px(this, 9255, true));
    fitToScreen(this, {px(this, 14100), px(this, 10050, true)});
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
}

void Kakoso::Form_Load() {
    SkipLog log("past-run window");
    viewer::LoadPastRuns(EXFG1Grid, SelectedCellText, log);
    EXFG1->refresh();
    log.report(Ui());
}

void Kakoso::Command1_Click() { close(); }

Kakoso* Kakoso::open() {
    return showSingleInstance(theWindow, [](Kakoso& w) { w.Form_Load(); });
}

Kakoso* Kakoso::instance() { return theWindow; }

}  // namespace rw::gui
