#include "gui/YOSOKEKKATHISWEEKNZ.h"

#include "app/prediction_load.h"
#include "common/kestrav_path.h"
#include "gui/Kakoso.h"
#include "gui/controls.h"
#include "gui/screen_fit.h"
#include "gui/controls/grid_view.h"
#include "gui/controls/list_click.h"
#include "gui/controls/tab_control.h"
#include "gui/gui_ui.h"
#include "viewer/race_selection.h"
#include "viewer/runner_tables.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QVBoxLayout>

namespace rw::gui {
namespace {
QPointer<YOSOKEKKATHISWEEKNZ> lastWindow;

GridView* addGrid(QWidget* page, QLayout* layout, const char* name, GridModel& model) {
    auto* g = new GridView(page, &model);
    g->setObjectName(QLatin1String(name));
    layout->addWidget(g);
    return g;
}

QLabel* addLabel(QWidget* page, QLayout* layout, const char* name, const char* text) {
    auto* l = new QLabel(QString::fromUtf8(text), page);
    if (name) l->setObjectName(QLatin1String(name));
    l->setWordWrap(true);
    layout->addWidget(l);
    return l;
}
// A caption beside a table.
void addCaption(QWidget* page, QLayout* layout, const char* name, const QString& text) {
    auto* l = new QLabel(text, page);
    l->setObjectName(QLatin1String(name));
    layout->addWidget(l);
}
}  // namespace

YOSOKEKKATHISWEEKNZ::YOSOKEKKATHISWEEKNZ() {
    setUpWindow(this, "YOSOKEKKATHISWEEKNZ", QStringLiteral("予想・結果"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QHBoxLayout(this);
    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setMaximumWidth(380);
    layout->addWidget(List1);

    auto* right = new QVBoxLayout;
    layout->addLayout(right, 1);
    auto* top = new QHBoxLayout;
    right->addLayout(top);
    Text1 = addTextBox(this, top, "Text1", "");
    Text1->setReadOnly(true);
    Command1 = addButton(this, top, "Command1", "買い目");  // has no action

    SSTab1 = new TabControl(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    right->addWidget(SSTab1, 1);
    auto page = [&](const char* caption) {
        QWidget* p = SSTab1->addPage(QString::fromUtf8(caption));
        auto* l = new QVBoxLayout(p);
        return std::pair<QWidget*, QVBoxLayout*>(p, l);
    };
    viewer::RaceViewer& v = Viewer;
    {
        auto [p, l] = page("因子");
        RACEDETAILGrid1 = addGrid(p, l, "RACEDETAILGrid1", v.RACEDETAILGrid1);
        addCaption(p, l, "Label1", viewer::FactorTabCaption1());
        addCaption(p, l, "Label2", viewer::FactorTabCaption2());
    }
    {
        auto [p, l] = page("残差");
        RACEDETAILGrid2 = addGrid(p, l, "RACEDETAILGrid2", v.RACEDETAILGrid2);
        addCaption(p, l, "Label7", viewer::FactorTabCaption1());
    }
    {
        auto [p, l] = page("馬連･馬単");
        auto* row = new QHBoxLayout;
        l->addLayout(row);
        addGrid(p, row, "UMARENGrid1", v.UMARENGrid1);
        addGrid(p, row, "UMATANGrid2", v.UMATANGrid2);
    }
    {
        auto [p, l] = page("3連複");
        addGrid(p, l, "SANRENGrid3", v.SANRENGrid3);
    }
    {
        auto [p, l] = page("3連単");
        addGrid(p, l, "SANTANGrid4", v.SANTANGrid4);
        addLabel(
            p, l, "Label3",
            "買い目及び順目は馬番A,B,Cが予想順位から得られた場合,第1順の買い目はA→B→Cとなり、買い目に表示されて"
            "いるものと一致します。第2順はA→C→B,第3順はB→A→C,第4順はB→C→A、第5順はC→A→B,第6順はC→B→"
            "Aとなります。順序を問わない場合はA,B,Cの3連単ボックスと同一になります。なお、準本線3点目第6順目まで"
            "の買い目60点は上位5頭3連単ボックス買いの60点とは等価では有りません。理論的にはより最適化された買い"
            "目となります。");
    }
    {
        auto [p, l] = page("配当");
        addGrid(p, l, "HAITOGrid1", v.HAITOGrid1);
    }
    {
        auto [p, l] = page("EXCEL");
        addLabel(p, l, "Label4", "単複シート（1位・2位の馬）: TANFUKU, TANFUKU2");
        addLabel(p, l, "Label5", "単勝・複勝の投票ファイル: TANSHO, FUKUSHO");
        addLabel(p, l, "Label6", "外部指数ファイル: SOKUDO");
        l->addStretch(1);
    }
    connectListClick(List1, [this] { List1_Click(); });
    connect(RACEDETAILGrid1, &GridView::cellClicked, this, [this] { RACEDETAILGrid1_Click(); });
    connect(RACEDETAILGrid2, &GridView::cellClicked, this, [this] { RACEDETAILGrid2_Click(); });
    fitToScreen(this, {1280, 760});
}

bool YOSOKEKKATHISWEEKNZ::Form_Load() {
    SkipLog log("prediction run");
    const bool ran = app::LoadPredictionWindow(Ui(), State, log);
    log.report(Ui());
    const QSignalBlocker quiet(List1);
    List1->clear();
    List1->addItems(State.List1);
    return ran;
}

void YOSOKEKKATHISWEEKNZ::List1_Click() {
    SkipLog log("race viewer");
    viewer::List1_Click(ui_, State, Viewer, List1->currentRow(), log);
    GridView::refreshAll(this);
    log.report(ui_);
}

void YOSOKEKKATHISWEEKNZ::RACEDETAILGrid1_Click() {
    SelectedCellText = Viewer.RACEDETAILGrid1.currentText();
    Kakoso::open();
}

void YOSOKEKKATHISWEEKNZ::RACEDETAILGrid2_Click() {
    SelectedCellText = Viewer.RACEDETAILGrid2.currentText();
    Kakoso::open();
}

YOSOKEKKATHISWEEKNZ* YOSOKEKKATHISWEEKNZ::open() {
    auto* w = new YOSOKEKKATHISWEEKNZ;
    if (!w->Form_Load()) {
        delete w;
        return nullptr;
    }
    lastWindow = w;
    w->show();
    return w;
}

YOSOKEKKATHISWEEKNZ* YOSOKEKKATHISWEEKNZ::latest() { return lastWindow; }

}  // namespace rw::gui
