#pragma once
namespace rw::gui {
// Installs what the windows provide to core code: the desktop shell's
// handlers and the JV-Link settings dialog.
// interactive = false: dialogs that would wait for a user accept at once.
void InstallDesktopHandlers(bool interactive = true);
}
