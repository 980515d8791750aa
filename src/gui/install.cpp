#include "gui/install.h"

#include "common/shell.h"
#include "gui/jvlink_settings_dialog.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QLibraryInfo>
#include <QTranslator>
#include <QUrl>
#include <cstdio>

namespace rw::gui {

void InstallQtTranslations() {
    // Qt's own texts (the standard buttons of dialogs and message boxes)
    // speak the program's language, whatever the system's locale.
    static QTranslator* translator = nullptr;
    if (translator || !QCoreApplication::instance()) return;
    auto* t = new QTranslator(QCoreApplication::instance());
    if (!t->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        std::fprintf(stderr, "raceweek: Qt's Japanese translations (qtbase_ja.qm) were not found; "
                             "Qt's standard buttons stay in English\n");
        delete t;
        return;
    }
    QCoreApplication::installTranslator(t);
    translator = t;
}

void InstallDesktopHandlers(bool interactive) {
    InstallQtTranslations();
    installJvLinkSettingsDialog();
    setJvLinkSettingsAutoAccept(!interactive);
    ShellHandlers h;
    h.openUrl = [](const QString& url) { return QDesktopServices::openUrl(QUrl(url)); };
    SetShellHandlers(h);
}

}  // namespace rw::gui
