#pragma once
// ⑥ the prediction window: a new window at every press; its load is the
// prediction run, after which it stays open as the race viewer: the week's
// races in List1, the selected race's header in Text1 and its grids on the
// tabs of SSTab1.
#include "gui/window_ui.h"
#include "prediction/run_state.h"
#include "viewer/race_viewer.h"

#include <QWidget>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace rw::gui {

class GridView;
class TabControl;

class YOSOKEKKATHISWEEKNZ : public QWidget {
    Q_OBJECT
public:
    YOSOKEKKATHISWEEKNZ();
    // Runs the prediction; false when the weekly store was busy (the window
    // is then not wanted).
    bool Form_Load();

    // A click on the race list (also on the item already selected).
    void List1_Click();
    // A click on a cell of the factor or residual table: its current cell's
    // text becomes SelectedCellText, then the past-run window shows.
    void RACEDETAILGrid1_Click();
    void RACEDETAILGrid2_Click();

    // The run's state, read by the race viewer.
    prediction::RunState State;
    // The viewer's grids and working values.
    viewer::RaceViewer Viewer;

    QListWidget* List1 = nullptr;
    QLineEdit* Text1 = nullptr;
    QPushButton* Command1 = nullptr;
    // Tabs 0 "因子" … 6 "EXCEL"; page(k) holds the tab's controls.
    TabControl* SSTab1 = nullptr;
    GridView* RACEDETAILGrid1 = nullptr;
    GridView* RACEDETAILGrid2 = nullptr;

    // Creates, loads and shows a new window; returns it, or nullptr.
    static YOSOKEKKATHISWEEKNZ* open();
    // The window opened last, while it is open.
    static YOSOKEKKATHISWEEKNZ* latest();

private:
    WindowUi ui_{this};
};

}  // namespace rw::gui
