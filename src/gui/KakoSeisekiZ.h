#pragma once
// The past-performance browser: its load lists the past race days and
// rebuilds the external-index files; a click on a day shows its hits, rates
// and races. Single instance, opened by the menu's "過去予想成績".
#include "reference/past_day_view.h"

#include <QPointer>
#include <QWidget>
#include <array>

class QListWidget;
class QPlainTextEdit;

namespace rw::gui {

class TabControl;

class KakoSeisekiZ : public QWidget {
    Q_OBJECT
public:
    KakoSeisekiZ();
    void Form_Load();
    void List1_Click();

    // Shows the one instance; only a new one loads.
    static KakoSeisekiZ* open();
    static KakoSeisekiZ* instance();

private:
    void showControls();

    reference::PastDayControls day_;
    QListWidget* List1 = nullptr;
    TabControl* SSTab1 = nullptr;
    TabControl* SSTab2 = nullptr;
    QPlainTextEdit* Text1 = nullptr;
    std::array<QPlainTextEdit*, reference::kRaceTabs> Text2{};
};

}  // namespace rw::gui
