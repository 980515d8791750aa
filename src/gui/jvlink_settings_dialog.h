#pragma once
// The settings dialog of the file-backed JV-Link: shows and changes the
// folder it serves JV-Data from. JVSetUIProperties of every window's
// JVLink1 opens it once installJvLinkSettingsDialog() has run.
#include <QDialog>

class QLineEdit;

namespace rw::gui {

class JvLinkSettingsDialog : public QDialog {
    Q_OBJECT
public:
    // Object name "JVLinkSettings"; the line edit is "FolderEdit", the browse
    // button "BrowseButton".
    explicit JvLinkSettingsDialog(const QString& folder, QWidget* parent = nullptr);
    QString folder() const;

private:
    void browse();
    QLineEdit* folderEdit_;
};

// Installs the dialog as the JV-Link settings hook.
void installJvLinkSettingsDialog();
// When on, the hook accepts the current folder at once without showing
// anything (the window-less driver presses the settings buttons).
void setJvLinkSettingsAutoAccept(bool on);
bool jvLinkSettingsAutoAccept();

}  // namespace rw::gui
