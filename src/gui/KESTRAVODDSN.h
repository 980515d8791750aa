#pragma once
// The odds-table window: its load builds every race's odds tables from the
// source OddsSourceFlag chooses. Single instance, opened by the menu's
// "オッズ処理" and "Ⅳ　速報処理(一括）".
#include <QWidget>

namespace rw::gui {

class KESTRAVODDSN : public QWidget {
    Q_OBJECT
public:
    KESTRAVODDSN();
    // Builds the tables; the grids are the program's, kept across loads.
    void Form_Load();

    // Tables the load wrote.
    int TablesWritten = 0;

    // Shows the one instance; only a new one loads (and builds).
    static KESTRAVODDSN* open();
    static KESTRAVODDSN* instance();
    static QString title();
};

}  // namespace rw::gui
