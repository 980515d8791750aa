#include "gui/KESFOTHISWEEKNZ.h"

#include "app/kestrav_path.h"
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
    setObjectName(QStringLiteral("KESFOTHISWEEKNZ"));
    setWindowTitle(jv::OddsWindowCaption());
    JVLink1 = jv::createJvLink();
    auto* layout = new QVBoxLayout(this);
    auto* command1 = new QPushButton(QString::fromUtf8("設定ＯＤＤＳ"), this);
    command1->setObjectName(QStringLiteral("Command1"));
    auto* command2 = new QPushButton(QString::fromUtf8("今週のオッズ"), this);
    command2->setObjectName(QStringLiteral("Command2"));
    auto* command3 = new QPushButton(QString::fromUtf8("今週の3連単"), this);
    command3->setObjectName(QStringLiteral("Command3"));
    auto* text1 = new QLineEdit(QStringLiteral("Text1"), this);
    text1->setObjectName(QStringLiteral("Text1"));
    for (QWidget* w : {static_cast<QWidget*>(command1), static_cast<QWidget*>(command2),
                       static_cast<QWidget*>(command3), static_cast<QWidget*>(text1)})
        layout->addWidget(w);
    resize(360, 180);
    Ui().registerWindow(this);
    connect(command1, &QPushButton::clicked, this, &KESFOTHISWEEKNZ::Command1_Click);
    connect(command2, &QPushButton::clicked, this, &KESFOTHISWEEKNZ::Command2_Click);
    connect(command3, &QPushButton::clicked, this, &KESFOTHISWEEKNZ::Command3_Click);
}

void KESFOTHISWEEKNZ::Form_Load() { AppPath = GetAppPath(); }

KESFOTHISWEEKNZ* KESFOTHISWEEKNZ::open() {
    return showSingleInstance(theWindow, [](KESFOTHISWEEKNZ& w) { w.Form_Load(); });
}

KESFOTHISWEEKNZ* KESFOTHISWEEKNZ::instance() { return theWindow; }

void KESFOTHISWEEKNZ::Command1_Click() {
    if (JVLink1->JVSetUIProperties() == -1)
        Ui().messageBox(QString::fromUtf8("エラーのためJV-Linkの設定に失敗しました。"));
}

void KESFOTHISWEEKNZ::Command2_Click() {
    SkipLog log("odds download");
    jv::DownloadWeekOdds(Ui(), *JVLink1, Download, log);
    log.report();
}

void KESFOTHISWEEKNZ::Command3_Click() {
    SkipLog log("trifecta odds download");
    jv::DownloadWeekTrifectaOdds(Ui(), *JVLink1, Download, log);
    log.report();
}

}  // namespace rw::gui
