#include "gui/KESTRAVODDSN.h"

#include "app/kestrav_path.h"
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
    setObjectName(QStringLiteral("KESTRAVODDSN"));
    setWindowTitle(jv::OddsTablesCaption());
    auto* layout = new QVBoxLayout(this);
    auto* command1 = new QPushButton(QString::fromUtf8("オッズセット終了"), this);
    command1->setObjectName(QStringLiteral("Command1"));
    layout->addWidget(command1);
    resize(260, 80);
    Ui().registerWindow(this);
    connect(command1, &QPushButton::clicked, this, &QWidget::close);
}

void KESTRAVODDSN::Form_Load() {
    AppPath = GetAppPath();
    SkipLog log("odds tables");
    TablesWritten = jv::BuildOddsTables(jv::ProgramOddsGrids(), OddsSourceFlag, log);
    log.report();
}

KESTRAVODDSN* KESTRAVODDSN::open() {
    return showSingleInstance(theWindow, [](KESTRAVODDSN& w) { w.Form_Load(); });
}

KESTRAVODDSN* KESTRAVODDSN::instance() { return theWindow; }

}  // namespace rw::gui
