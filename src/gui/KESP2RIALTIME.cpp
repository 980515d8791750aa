#include "gui/KESP2RIALTIME.h"

#include "gui/KESHRRIALTIME.h"
#include "gui/controls.h"
#include "gui/gui_ui.h"
#include "gui/single_instance.h"
#include "jvdata/flash_odds.h"
#include "prediction/flash_results.h"

#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace rw::gui {
namespace {
QPointer<KESP2RIALTIME> theWindow;
}

KESP2RIALTIME::KESP2RIALTIME() {
    setUpWindow(this, "KESP2RIALTIME", title());
    JVLink1 = jv::createJvLink();
    auto* layout = new QVBoxLayout(this);
    auto* command1 = addButton(this, layout, "Command1", "Ⅱ　速報オッズ情報");
    auto* command2 = addButton(this, layout, "Command2", "Ⅲ　速報着順等情報");
    auto* command3 = addButton(this, layout, "Command3", "設定ODDS");
    addTextBox(this, layout, "Text1");
    resize(360, 180);
    connect(command1, &QPushButton::clicked, this, &KESP2RIALTIME::Command1_Click);
    connect(command2, &QPushButton::clicked, this, &KESP2RIALTIME::Command2_Click);
    connect(command3, &QPushButton::clicked, this, [this] { ShowJvLinkSettings(*JVLink1); });
}

KESP2RIALTIME* KESP2RIALTIME::open() { return showSingleInstance(theWindow); }
KESP2RIALTIME* KESP2RIALTIME::instance() { return theWindow; }
QString KESP2RIALTIME::title() { return QString::fromUtf8("速報 Ver.2024.7.8"); }

void KESP2RIALTIME::Command1_Click() {
    SkipLog log("flash odds");
    jv::FetchFlashOdds(Ui(), *JVLink1, log);
    log.report(Ui());
}

void KESP2RIALTIME::Command2_Click() {
    prediction::RunFlashResults(Ui(), [] { KESHRRIALTIME::open(); });
}

}  // namespace rw::gui
