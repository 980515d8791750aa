#pragma once
namespace rw::gui {
// Installs what the windows provide to core code: the desktop shell's
// handlers and the JV-Link settings dialog, and Qt's Japanese translations.
// interactive = false: dialogs that would wait for a user accept at once.
void InstallDesktopHandlers(bool interactive = true);
// Qt's own texts in Japanese (Debian's qt6-translations-l10n); once per
// application, a missing translation is reported on stderr.
void InstallQtTranslations();
}
