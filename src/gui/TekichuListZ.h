#pragma once
// The big-payout hit list: its load writes "TEKICHU\ATARILIST.txt" and shows
// the hits above 10000 yen. Single instance, opened by the menu's
// "万馬券リスト".
#include "common/grid_model.h"

#include <QWidget>

namespace rw::gui {

class GridView;

class TekichuListZ : public QWidget {
    Q_OBJECT
public:
    TekichuListZ();
    void Form_Load();

    // Big-payout hits the load found (rows beyond the grid included).
    int HitRowCount = 0;

    static TekichuListZ* open();
    static TekichuListZ* instance();

private:
    GridModel grid_;
    GridView* tekichuFG = nullptr;
};

}  // namespace rw::gui
