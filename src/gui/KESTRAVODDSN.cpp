#include "gui/KESTRAVODDSN.h"

#include "common/kestrav_path.h"
#include "gui/controls.h"
#include "gui/gui_ui.h"
#include "gui/single_instance.h"
#include "jvdata/odds_tables.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace rw::gui {
namespace {
QPointer<KESTRAVODDSN> theWindow;
}

KESTRAVODDSN::KESTRAVODDSN() {
    setUpWindow(this, "KESTRAVODDSN", title());
    auto* layout = new QVBoxLayout(this);
    auto* command1 = addButton(this, layout, "Command1", "オッズセット終了");
    resize(260, 80);
    connect(command1, &QPushButton::clicked, this, &QWidget::close);
}

void KESTRAVODDSN::Form_Load() {
    AppPath = GetAppPath();
    SkipLog log("odds tables");
    TablesWritten = jv::BuildOddsTables(jv::ProgramOddsGrids(), OddsSourceFlag, log);
    log.report(Ui());
}

KESTRAVODDSN* KESTRAVODDSN::open() {
    return showSingleInstance(theWindow, [](KESTRAVODDSN& w) { w.Form_Load(); });
}

KESTRAVODDSN* KESTRAVODDSN::instance() { return theWindow; }
QString KESTRAVODDSN::title() { return QString::fromUtf8("オッズセット"); }

}  // namespace rw::gui
