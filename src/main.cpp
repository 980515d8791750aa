#include "gui/KESF1THISWEEKNZ.h"
#include "gui/gui_ui.h"
#include "gui/install.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    rw::gui::InstallDesktopHandlers();
    rw::gui::KESF1THISWEEKNZ menu;
    menu.Form_Load();
    menu.show();
    return app.exec();
}
