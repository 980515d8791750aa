#include "gui/install.h"

#include "common/shell.h"
#include "gui/jvlink_settings_dialog.h"

#include <QDesktopServices>
#include <QUrl>

namespace rw::gui {

void InstallDesktopHandlers(bool interactive) {
    installJvLinkSettingsDialog();
    setJvLinkSettingsAutoAccept(!interactive);
    ShellHandlers h;
    h.openUrl = [](const QString& url) { return QDesktopServices::openUrl(QUrl(url)); };
    SetShellHandlers(h);
}

}  // namespace rw::gui
