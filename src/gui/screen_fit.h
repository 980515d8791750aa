#pragma once
// Windows larger than a small screen: a window keeps its designed size where
// the screen's available area (without task bars and panels) holds it with
// its frame; otherwise it opens within that area with its title bar on
// screen, and its content scrolls instead of being cut off.
#include <QSize>
#include <QWidget>

namespace rw::gui {

// Called once the window's controls are built, in place of a resize to its
// designed size. The content (the window's layout, or, in a window placed
// by coordinates, its controls with the designed size as their area) moves
// into a scroll area that fills the window. The frame is taken as that of
// a window already on screen (the menu); before any, as none.
void fitToScreen(QWidget* window, QSize designed);

}  // namespace rw::gui
