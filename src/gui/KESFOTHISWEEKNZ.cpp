#include "gui/KESFOTHISWEEKNZ.h"

#include "common/kestrav_path.h"
#include "gui/controls.h"
#include "gui/gui_ui.h"
#include "gui/single_instance.h"

#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace rw::gui {
namespace {
QPointer<KESFOTHISWEEKNZ> theWindow;
}

KESFOTHISWEEKNZ::KESFOTHISWEEKNZ() {
    setUpWindow(this, "KESFOTHISWEEKNZ", title());
    JVLink1 = jv::createJvLink();
    auto* layout = new QVBoxLayout(this);
    auto* command1 = addButton(this, layout, "Command1", "設定ＯＤＤＳ");
    auto* command2 = addButton(this, layout, "Command2", "今週のオッズ");
    auto* command3 = addButton(this, layout, "Command3", "今週の3連単");
    addTextBox(this, layout, "Text1");
    resize(360, 180);
    connect(command1, &QPushButton::clicked, this, [this] { ShowJvLinkSettings(*JVLink1); });
    connect(command2, &QPushButton::clicked, this, &KESFOTHISWEEKNZ::Command2_Click);
    connect(command3, &QPushButton::clicked, this, &KESFOTHISWEEKNZ::Command3_Click);
}

void KESFOTHISWEEKNZ::Form_Load() { AppPath = GetAppPath(); }

KESFOTHISWEEKNZ* KESFOTHISWEEKNZ::open() {
    return showSingleInstance(theWindow, [](KESFOTHISWEEKNZ& w) { w.Form_Load(); });
}

KESFOTHISWEEKNZ* KESFOTHISWEEKNZ::instance() { return theWindow; }
QString KESFOTHISWEEKNZ::title() { return QString::fromUtf8("今週のオッズ Ver.2024.6.29Z"); }

void KESFOTHISWEEKNZ::Command2_Click() {
    SkipLog log("odds download");
    jv::DownloadWeekOdds(Ui(), *JVLink1, Download, log);
    log.report(Ui());
}

void KESFOTHISWEEKNZ::Command3_Click() {
    SkipLog log("trifecta odds download");
    jv::DownloadWeekTrifectaOdds(Ui(), *JVLink1, Download, log);
    log.report(Ui());
}

}  // namespace rw::gui
