#pragma once
// Building the windows: controls named as the system names them, placed in a
// layout; and the JV-Link settings press several windows share.
#include "jvdata/jvlink.h"

#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

namespace rw::gui {

// A button named `name` with its caption (UTF-8), added to `layout`.
QPushButton* addButton(QWidget* window, QLayout* layout, const char* name, const char* caption);
// A text box named `name` showing its initial text (its own name unless given).
QLineEdit* addTextBox(QWidget* window, QLayout* layout, const char* name, const char* initial = nullptr);

// Names the window, gives it its caption and registers it with the screen
// port, so that core code reaches its controls.
void setUpWindow(QWidget* window, const char* name, const QString& caption);

// A press of a settings button: JV-Link's own settings dialog; only a
// failure is reported.
void ShowJvLinkSettings(jv::JvLink& JVLink1);

}  // namespace rw::gui
