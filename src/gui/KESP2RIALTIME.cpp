#include "gui/KESP2RIALTIME.h"

#include "gui/gui_ui.h"
#include "gui/single_instance.h"
#include "jvdata/flash_odds.h"

#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace rw::gui {
namespace {
QPointer<KESP2RIALTIME> theWindow;
}

KESP2RIALTIME::KESP2RIALTIME() {
    setObjectName(QStringLiteral("KESP2RIALTIME"));
    setWindowTitle(jv::FlashWindowCaption());
    JVLink1 = jv::createJvLink();
    auto* layout = new QVBoxLayout(this);
    auto* command1 = new QPushButton(QString::fromUtf8("Ⅱ　速報オッズ情報"), this);
    command1->setObjectName(QStringLiteral("Command1"));
    auto* command2 = new QPushButton(QString::fromUtf8("Ⅲ　速報着順等情報"), this);
    command2->setObjectName(QStringLiteral("Command2"));
    auto* command3 = new QPushButton(QString::fromUtf8("設定ODDS"), this);
    command3->setObjectName(QStringLiteral("Command3"));
    auto* text1 = new QLineEdit(QStringLiteral("Text1"), this);
    text1->setObjectName(QStringLiteral("Text1"));
    for (QWidget* w : {static_cast<QWidget*>(command1), static_cast<QWidget*>(command2),
                       static_cast<QWidget*>(command3), static_cast<QWidget*>(text1)})
        layout->addWidget(w);
    resize(360, 180);
    Ui().registerWindow(this);
    connect(command1, &QPushButton::clicked, this, &KESP2RIALTIME::Command1_Click);
    connect(command2, &QPushButton::clicked, this, &KESP2RIALTIME::Command2_Click);
    connect(command3, &QPushButton::clicked, this, &KESP2RIALTIME::Command3_Click);
}

KESP2RIALTIME* KESP2RIALTIME::open() { return showSingleInstance(theWindow); }
KESP2RIALTIME* KESP2RIALTIME::instance() { return theWindow; }

void KESP2RIALTIME::Command1_Click() {
    SkipLog log("flash odds");
    jv::FetchFlashOdds(Ui(), *JVLink1, log);
    log.report();
}

void KESP2RIALTIME::Command2_Click() {
    // Opens the flash-results window KESHRRIALTIME, which is not built yet.
}

void KESP2RIALTIME::Command3_Click() {
    if (JVLink1->JVSetUIProperties() == -1)
        Ui().messageBox(QString::fromUtf8("エラーのためJV-Linkの設定に失敗しました。"));
}

}  // namespace rw::gui
