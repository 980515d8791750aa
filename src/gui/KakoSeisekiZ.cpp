#include "gui/KakoSeisekiZ.h"

#include "common/kestrav_path.h"
#include "common/skip.h"
#include "gui/controls.h"
#include "gui/screen_fit.h"
#include "gui/controls/grid_view.h"
#include "gui/controls/list_click.h"
#include "gui/controls/tab_control.h"
#include "gui/gui_ui.h"
#include "gui/single_instance.h"
#include "reference/past_days.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace rw::gui {
namespace {
QPointer<KakoSeisekiZ> theWindow;

GridView* grid(QWidget* parent, QLayout* layout, const QString& name, GridModel& model) {
    auto* g = new GridView(parent, &model);
    g->setObjectName(name);
    layout->addWidget(g);
    return g;
}

QPlainTextEdit* textBox(QWidget* parent, QLayout* layout, const QString& name) {
    auto* t = new QPlainTextEdit(parent);
    t->setObjectName(name);
    t->setReadOnly(true);
    layout->addWidget(t);
    return t;
}

GridView* grid(QWidget* parent, QLayout* layout, const char* name, GridModel& model) {
    return grid(parent, layout, QString::fromLatin1(name), model);
}

QPlainTextEdit* textBox(QWidget* parent, QLayout* layout, const char* name) {
    return textBox(parent, layout, QString::fromLatin1(name));
}

}  // namespace

KakoSeisekiZ::KakoSeisekiZ() {
    setUpWindow(this, "KakoSeisekiZ", QString::fromUtf8("過去の予想成績 Ver.2024.6.29Z"));
    auto* outer = new QHBoxLayout(this);
    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setMinimumWidth(360);
    outer->addWidget(List1, 1);

    SSTab1 = new TabControl(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    outer->addWidget(SSTab1, 3);
    auto* hits = SSTab1->addPage(QString::fromUtf8("的中状況"));
    grid(hits, new QVBoxLayout(hits), "KakoSeiFG", day_.KakoSeiFG);
    auto* rates = SSTab1->addPage(QString::fromUtf8("的中率・回収率"));
    auto* ratesLayout = new QVBoxLayout(rates);
    grid(rates, ratesLayout, "TekiKaiFG", day_.TekiKaiFG);
    Text1 = textBox(rates, ratesLayout, "Text1");
    auto* races = SSTab1->addPage(QString::fromUtf8("レース詳細"));
    auto* racesLayout = new QVBoxLayout(races);
    SSTab2 = new TabControl(races, 6);
    SSTab2->setObjectName(QStringLiteral("SSTab2"));
    racesLayout->addWidget(SSTab2);
    for (int i = 0; i < reference::kRaceTabs; ++i) {
        auto* page = SSTab2->addPage(reference::RaceTabCaption(i));
        auto* l = new QVBoxLayout(page);
        Text2[i] = textBox(page, l, QStringLiteral("Text2(%1)").arg(i));
        Text2[i]->setMaximumHeight(60);
        grid(page, l, QStringLiteral("TKFG(%1)").arg(i), day_.TKFG[i])->setMaximumHeight(200);
        grid(page, l, QStringLiteral("RACEFG(%1)").arg(i), day_.RACEFG[i]);
    }
    auto* selections = SSTab1->addPage(QString::fromUtf8("単複的中状況"));
    auto* selLayout = new QVBoxLayout(selections);
    grid(selections, selLayout, "TanFukuFG", day_.TanFukuFG);
    grid(selections, selLayout, "TFTekiKaiFG", day_.TFTekiKaiFG);
    fitToScreen(this, {1400, 860});
    connectListClick(List1, [this] { List1_Click(); });
}

void KakoSeisekiZ::Form_Load() {
    SkipLog log("past performance");
    QStringList items;
    reference::KakoSeisekiLoad(Ui(), items, log);
    List1->clear();
    List1->addItems(items);
    log.report(Ui());
}

void KakoSeisekiZ::List1_Click() {
    SkipLog log("past performance day");
    const QListWidgetItem* item = List1->currentItem();
    reference::List1Click(item ? item->text() : QString(), day_, log);
    showControls();
    log.report(Ui());
}

void KakoSeisekiZ::showControls() {
    Text1->setPlainText(day_.Text1);
    for (int i = 0; i < reference::kRaceTabs; ++i) Text2[i]->setPlainText(day_.Text2[i]);
    GridView::refreshAll(this);
}

KakoSeisekiZ* KakoSeisekiZ::open() {
    return showSingleInstance(theWindow, [](KakoSeisekiZ& w) { w.Form_Load(); });
}

KakoSeisekiZ* KakoSeisekiZ::instance() { return theWindow; }

}  // namespace rw::gui
