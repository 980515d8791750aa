#pragma once
// ③ the expanded-records window: a new modeless instance at every press of
// the menu's "③ 拡大構造体展開", each with its own state (models, record
// buffer, lists). ④ previous-day fix, ⑤ compute, and the close button.
#include "gui/window_ui.h"
#include "model/expanded_state.h"

#include <QWidget>

namespace rw::gui {

class KESTRAVEXPDTHISWEEKNZ : public QWidget {
    Q_OBJECT
public:
    KESTRAVEXPDTHISWEEKNZ();
    // Reads the three models of the package; failures go to stderr.
    void Form_Load();

    model::ExpandedState State;

    // The menu's press: creates, loads and shows a new window.
    static KESTRAVEXPDTHISWEEKNZ* open();
    static QString title();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

    WindowUi ui_{this};
    bool closeWhenDone_ = false;
};

}  // namespace rw::gui
