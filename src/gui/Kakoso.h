#pragma once
// The past-run window: every stored run of one horse side by side, for the
// cell of the race viewer's factor or residual table clicked last
// (SelectedCellText). One instance, without an owner: a click loads it when
// it is not loaded, otherwise only brings it to the front; Command1 or the
// close box unloads it. It outlives the prediction window.
#include "common/grid_model.h"

#include <QWidget>

class QPushButton;

namespace rw::gui {

class GridView;

class Kakoso : public QWidget {
    Q_OBJECT
public:
    Kakoso();
    // Fills EXFG1 from the code table and the horse file that
    // SelectedCellText names; processes no events.
    void Form_Load();
    void Command1_Click();

    GridModel EXFG1Grid;
    GridView* EXFG1 = nullptr;
    QPushButton* Command1 = nullptr;

    // Shows the single instance, loading it when it is not loaded.
    static Kakoso* open();
    // The instance while it is loaded, else nullptr.
    static Kakoso* instance();
};

}  // namespace rw::gui
