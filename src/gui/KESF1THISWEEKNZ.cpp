#include "gui/KESF1THISWEEKNZ.h"

#include "common/control_names.h"
#include "common/kestrav_path.h"
#include "jvdata/package_check.h"
#include "common/shell.h"
#include "app/startup.h"
#include "gui/CHUSIRIALTIME.h"
#include "gui/KESTRAVEXPDTHISWEEKNZ.h"
#include "gui/KOUZOUTAIZ.h"
#include "gui/KakoSeisekiZ.h"
#include "gui/TekichuListZ.h"
#include "gui/single_instance.h"
#include "reference/reference_buttons.h"
#include "gui/YOSOKEKKATHISWEEKNZ.h"
#include "app/prediction_load.h"
#include "gui/FactorDIRT.h"
#include "gui/FactorHURD.h"
#include "gui/FactorTURF.h"
#include "gui/KESFOTHISWEEKNZ.h"
#include "gui/KESP2RIALTIME.h"
#include "gui/KESTRAVODDSN.h"
#include "jvdata/odds_tables.h"
#include "jvdata/structure.h"
#include "gui/controls.h"
#include "gui/gui_ui.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace rw::gui {
namespace {
KESF1THISWEEKNZ* theMenu = nullptr;

QString u8(const char* s) { return QString::fromUtf8(s); }

QGroupBox* frame(QWidget* parent, const char* name, const char* caption) {
    auto* g = new QGroupBox(u8(caption), parent);
    g->setObjectName(QLatin1String(name));
    return g;
}

QPixmap picture() {
    // The picture stored with the window: a plain emblem.
    QPixmap pm(160, 90);
    pm.fill(QColor(0x20, 0x40, 0x80));
    QPainter p(&pm);
    p.setPen(Qt::white);
    p.setFont(QFont(QStringLiteral("Sans"), 14, QFont::Bold));
    p.drawText(pm.rect(), Qt::AlignCenter, QStringLiteral("DEDERIDU1"));
    return pm;
}
}  // namespace

QString KESF1THISWEEKNZ::title() { return u8("DEDERIDU1 今週予想    Ver.2024.6.29Z (2014.1.4-2019.7.29　BASE)"); }
KESF1THISWEEKNZ* KESF1THISWEEKNZ::instance() { return theMenu; }

QPushButton* KESF1THISWEEKNZ::button(const char* name, const char* caption, Handler handler) {
    QPushButton* b = addButton(this, nullptr, name, caption);
    if (handler) connect(b, &QPushButton::clicked, this, handler);
    return b;
}

QLineEdit* KESF1THISWEEKNZ::statusBox(const char* name) { return addTextBox(this, nullptr, name); }

KESF1THISWEEKNZ::KESF1THISWEEKNZ() {
    theMenu = this;
    setUpWindow(this, "KESF1THISWEEKNZ", title());
    JVLink1 = jv::createJvLink();

    auto* top = new QHBoxLayout;
    // Every button is connected to its handler where it is made; a button
    // without one does nothing yet.
    auto* c1 = button("Command1", "設定", &KESF1THISWEEKNZ::Command1_Click);
    auto* c14 = button("Command14", "回収率・的中率の検証ブログ", &KESF1THISWEEKNZ::Command14_Click);
    auto* c16 = button("Command16", "最新予想因子ウエイトへの更新サイト", &KESF1THISWEEKNZ::Command16_Click);
    for (auto* b : {c1, c14, c16}) {
        b->setMinimumHeight(48);
        top->addWidget(b);
    }

    // Left column.
    auto* left = new QVBoxLayout;
    auto* f1 = frame(this, "Frame1", "今週の予想  (金曜12時以降）");
    auto* f1l = new QVBoxLayout(f1);
    auto* c2 = button("Command2", "①　　今週開催取得", &KESF1THISWEEKNZ::Command2_Click);
    auto* c4 = button("Command4", "②　構造・中止処理", &KESF1THISWEEKNZ::Command4_Click);
    auto* c6 = button("Command6", "③ 拡大構造体展開", &KESF1THISWEEKNZ::Command6_Click);
    auto* label2 = new QLabel(u8("今週の結果　(月曜14時以降）"), f1);
    label2->setObjectName(QStringLiteral("Label2"));
    for (QWidget* w : {static_cast<QWidget*>(c2), static_cast<QWidget*>(c4), static_cast<QWidget*>(c6),
                       static_cast<QWidget*>(label2)})
        f1l->addWidget(w);
    auto* label1 = new QLabel(QStringLiteral("Label1"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setWordWrap(true);
    label1->setMinimumHeight(90);
    // The label's texts differ in length from press to press; its column
    // keeps its width, so no button moves when the text changes.
    label1->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    label1->setStyleSheet(QStringLiteral("background-color: #ff80ff;"));
    left->addWidget(f1);
    left->addWidget(statusBox("Text1"));
    left->addWidget(statusBox("Text4"));
    left->addWidget(label1);

    // Middle column: Frame3, the option below it (spanning middle and
    // right), then Frame5 and Frame4.
    auto* middleTop = new QVBoxLayout;
    auto* f3 = frame(this, "Frame3", "随時  (予想支援の参考として使用）");
    auto* f3l = new QGridLayout(f3);
    f3l->addWidget(button("Command11", "過去予想成績", &KESF1THISWEEKNZ::Command11_Click), 0, 0);
    f3l->addWidget(button("Command15", "万馬券リスト", &KESF1THISWEEKNZ::Command15_Click), 0, 1);
    f3l->addWidget(button("Command5", "芝予想因子ウエイト", &KESF1THISWEEKNZ::Command5_Click), 1, 0, 1, 2);
    f3l->addWidget(button("Command9", "ダート予想因子ウエイト", &KESF1THISWEEKNZ::Command9_Click), 2, 0, 1, 2);
    f3l->addWidget(button("Command10", "障害予想因子ウエイト", &KESF1THISWEEKNZ::Command10_Click), 3, 0, 1, 2);
    middleTop->addWidget(f3);
    auto* middleBottom = new QVBoxLayout;
    auto* f5 = frame(this, "Frame5", "予想");
    (new QVBoxLayout(f5))->addWidget(button("Command8", "⑥　***　予想・結果　***", &KESF1THISWEEKNZ::Command8_Click));
    auto* f4 = frame(this, "Frame4", "速報　（予想・結果表示後使用）");
    auto* f4l = new QVBoxLayout(f4);
    f4l->addWidget(button("Command12", "Ⅰ　速報情報(一括）", &KESF1THISWEEKNZ::Command12_Click));
    f4l->addWidget(statusBox("Text3"));
    f4l->addWidget(button("Command13", "Ⅳ　速報処理(一括）", &KESF1THISWEEKNZ::Command13_Click));
    middleBottom->addWidget(f5);
    middleBottom->addWidget(f4);

    // Right column.
    auto* rightTop = new QVBoxLayout;
    auto* f2 = frame(this, "Frame2", "今週のオッズ （月曜14時以降）");
    auto* f2l = new QVBoxLayout(f2);
    f2l->addWidget(button("Command3", "今週オッズ取得", &KESF1THISWEEKNZ::Command3_Click));
    f2l->addWidget(statusBox("Text2"));
    f2l->addWidget(button("Command7", "オッズ処理", &KESF1THISWEEKNZ::Command7_Click));
    auto* label3 = new QLabel(u8("　注：オッズ情報が必要であれば行う"), f2);
    label3->setObjectName(QStringLiteral("Label3"));
    f2l->addWidget(label3);
    rightTop->addWidget(f2);
    auto* rightBottom = new QVBoxLayout;
    auto* picture1 = new ClickablePicture(this);
    picture1->setObjectName(QStringLiteral("Picture1"));
    picture1->setPixmap(picture());
    rightBottom->addWidget(statusBox("Text5"));
    rightBottom->addWidget(statusBox("Text6"));
    rightBottom->addWidget(picture1);

    Option1 = new QRadioButton(u8(" 中止処理を選択。通常は何もしないでください。"), this);
    Option1->setObjectName(QStringLiteral("Option1"));

    auto* columns = new QGridLayout;
    columns->addLayout(left, 0, 0, 3, 1);
    columns->addLayout(middleTop, 0, 1);
    columns->addLayout(rightTop, 0, 2);
    columns->addWidget(Option1, 1, 1, 1, 2);
    columns->addLayout(middleBottom, 2, 1);
    columns->addLayout(rightBottom, 2, 2);
    for (int column = 0; column < 3; ++column) columns->setColumnStretch(column, 1);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(top);
    outer->addLayout(columns);
    resize(980, 640);

    connect(picture1, &ClickablePicture::clicked, this, &KESF1THISWEEKNZ::Picture1_Click);
}

KESF1THISWEEKNZ::~KESF1THISWEEKNZ() {
    if (theMenu == this) theMenu = nullptr;
}

bool KESF1THISWEEKNZ::option1() const { return Option1->isChecked(); }

void KESF1THISWEEKNZ::setOption1(bool on) {
    // A lone option button cannot be cleared by a click; the program clears it.
    Option1->setAutoExclusive(false);
    Option1->setChecked(on);
    Option1->setAutoExclusive(true);
}

void KESF1THISWEEKNZ::Form_Load() {
    SkipLog log("start-up");
    MenuStartup(Ui(), log);
    log.report(Ui());
}

void KESF1THISWEEKNZ::Command1_Click() {
    ShowJvLinkSettings(*JVLink1);
}

void KESF1THISWEEKNZ::Command2_Click() {
    SkipLog log("download");
    jv::DownloadThisWeek(Ui(), *JVLink1, Download, log);
    log.report(Ui());
}

void KESF1THISWEEKNZ::Command6_Click() {
    // ③ refuses to go on without the package: the program ends.
    if (!CheckPackageBeforeExpansion(Ui())) EndProgram();
    KESTRAVEXPDTHISWEEKNZ::open();
}

void KESF1THISWEEKNZ::Command4_Click() {
    ZansaFlag = option1() ? 0 : 1;
    // A press ignored as busy starts no cancellation processing either.
    if (!KOUZOUTAIZ::open()) return;
    if (ZansaFlag != 1) CHUSIRIALTIME::open();
}

void KESF1THISWEEKNZ::Command8_Click() {
    // A run still in its event turns: refused before ZansaFlag changes under it.
    if (jv::WeeklyStoreGuard::busy()) return jv::SayPressRefused(Ui(), ctl::MenuText5, "prediction");
    ZansaFlag = option1() ? 0 : 1;
    app::PredictionButton(Ui(), [] { YOSOKEKKATHISWEEKNZ::open(); });
    setOption1(false);
}

void KESF1THISWEEKNZ::Command3_Click() { KESFOTHISWEEKNZ::open(); }
void KESF1THISWEEKNZ::Command7_Click() { jv::RunOddsProcessing(Ui(), 0, [] { KESTRAVODDSN::open(); }); }
void KESF1THISWEEKNZ::Command12_Click() { KESP2RIALTIME::open(); }
void KESF1THISWEEKNZ::Command5_Click() { FactorTURF::open(); }
void KESF1THISWEEKNZ::Command9_Click() { FactorDIRT::open(); }
void KESF1THISWEEKNZ::Command10_Click() { FactorHURD::open(); }
void KESF1THISWEEKNZ::Command13_Click() { jv::RunOddsProcessing(Ui(), 1, [] { KESTRAVODDSN::open(); }); }

void KESF1THISWEEKNZ::Command11_Click() {
    if (singleInstanceLoading<KakoSeisekiZ>()) return;  // pressed while it loads
    reference::PastResultsButton(Ui(), [] { KakoSeisekiZ::open(); });
}

void KESF1THISWEEKNZ::Command15_Click() {
    if (singleInstanceLoading<TekichuListZ>()) return;  // pressed from the list's own event turns
    reference::HitListButton(Ui(), [] { TekichuListZ::open(); });
}

void KESF1THISWEEKNZ::Command14_Click() { ShellOpenUrl(blogUrl()); }
void KESF1THISWEEKNZ::Command16_Click() { ShellOpenUrl(supportUrl()); }
void KESF1THISWEEKNZ::Picture1_Click() { EndProgram(); }

}  // namespace rw::gui
